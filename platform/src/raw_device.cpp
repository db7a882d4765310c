// Read-only raw devices over POSIX descriptors.
#include "platform/raw_device.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::unique_ptr<RawDevice> RawDevice::OpenReadOnly(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    int saved = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    errno = saved;
    return nullptr;
  }
  return std::unique_ptr<RawDevice>(new RawDevice(fd, path, S_ISBLK(st.st_mode)));
}

RawDevice::RawDevice(int fd, std::string path, bool block_device)
    : fd_(fd), path_(std::move(path)), block_device_(block_device) {}

RawDevice::~RawDevice() { ::close(fd_); }

long long RawDevice::ReadAt(std::uint64_t position, void* buffer, std::size_t n) const {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(position + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      if (done > 0) break;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long long>(done);
}

bool RawDevice::SizeBytes(std::uint64_t& size) const {
  if (block_device_) {
    std::uint64_t bytes = 0;
    if (::ioctl(fd_, BLKGETSIZE64, &bytes) != 0) return false;
    size = bytes;
    return true;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return false;
  size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

}  // namespace platform
