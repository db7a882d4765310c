// Reading and writing "Velnora.cfg".
#include "ext2engine/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "ext2engine/app_state.h"

namespace ext2 {

std::string SettingsPathInCurrentDirectory() {
  std::vector<char> dir(4096);
  if (::getcwd(dir.data(), dir.size()) == nullptr) return kSettingsFileName;
  return std::string(dir.data()) + "/" + kSettingsFileName;
}

const std::string& SettingsPath() {
  static const std::string path = SettingsPathInCurrentDirectory();
  return path;
}

void ReadSettings(const std::string& path, AppFields& state) {
  state.readRetryCount = 3;
  state.readMode = 1;
  // Opened for reading and updating as the program always did, so that a read-only file is not
  // taken; without blocking, so that a FIFO or a device of that name cannot hold up the start, and
  // only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  unsigned char bytes[2] = {};
  ssize_t got = -1;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) got = ::pread(fd, bytes, sizeof bytes, 0);
  ::close(fd);
  if (got < 2) return;
  state.readRetryCount = bytes[0] > 6 ? 3 : bytes[0];
  state.readMode = bytes[1];
}

bool WriteSettings(const std::string& path, std::uint8_t retries, bool sectorAtATime) {
  unsigned char bytes[kSettingsFileSize] = {};
  bytes[0] = retries > 6 ? 3 : retries;
  bytes[1] = sectorAtATime ? 1 : 0;
  // A new file beside the old one, renamed over it once written whole: a symbolic link of that
  // name is replaced, not followed into the file it names, and a failed write leaves the old file.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace ext2
