// Folders and names of a recovery's output tree.
#include "platform/output_tree.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace platform {

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

int OpenFolderBelow(int dirFd, const std::string& name) {
  if (::mkdirat(dirFd, name.c_str(), 0755) != 0 && errno != EEXIST) return -1;
  return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::string FitNameLength(const std::string& name) {
  if (name.size() <= kMaxNameBytes) return name;
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char tag[16];
  std::snprintf(tag, sizeof tag, "~%08x", hash);
  constexpr std::size_t kMaxExtension = 32;
  const std::size_t dot = name.rfind('.');
  const std::string extension =
      dot != std::string::npos && dot > 0 && name.size() - dot <= kMaxExtension ? name.substr(dot) : std::string();
  std::size_t keep = kMaxNameBytes - extension.size() - std::char_traits<char>::length(tag);
  // Do not cut a UTF-8 character: step back over continuation bytes.
  while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  return name.substr(0, keep) + tag + extension;
}

std::string CopyName(unsigned k, std::uint32_t number, const std::string& name) {
  return "Copy" + (k == 0 ? std::string() : std::to_string(k)) + "_" + std::to_string(number) + "_" + name;
}

std::string ProposeCopyName(std::uint32_t number, const std::string& name,
                            const std::function<bool(const std::string&)>& taken) {
  std::string candidate = CopyName(0, number, name);
  for (unsigned k = 1; taken(candidate) && k < 100000; ++k) candidate = CopyName(k, number, name);
  return candidate;
}

}  // namespace platform
