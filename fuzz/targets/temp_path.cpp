// The scratch file of the targets that read a named file.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "fuzz_targets.h"

namespace fuzz {

std::string FuzzTempPath(const char* name) {
  std::error_code error;
  const bool shm = std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0;
  return std::string(shm ? "/dev/shm" : "/tmp") + "/qv-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace fuzz
