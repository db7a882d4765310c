// Read-only raw devices over POSIX descriptors.
#include "platform/raw_device.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Only these hold sectors at byte positions. A FIFO, a socket or a terminal would block the open
// or the reads, and an optical drive's character nodes (SCSI generic) take commands, not reads
// by position: Linux reads discs through the drive's block device.
bool Readable(const struct stat& st) { return S_ISREG(st.st_mode) || S_ISBLK(st.st_mode); }

int RefusalError(const struct stat& st) { return S_ISDIR(st.st_mode) ? EISDIR : ENOTBLK; }

}  // namespace

std::unique_ptr<RawDevice> RawDevice::OpenReadOnly(const std::string& path) {
  // What the path names is checked before it is opened, so that nothing else is opened at all, and
  // again on the opened descriptor, which is what is read. A file is opened with O_NONBLOCK, so
  // that the open cannot wait should the path have become a FIFO in between; it is cleared once
  // the type is known. A block device is opened without it: there it would skip the drivers'
  // medium checks, and an empty card reader or CD drive would open as a disk of no sectors.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return nullptr;
  if (!Readable(st)) {
    errno = RefusalError(st);
    return nullptr;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (S_ISREG(st.st_mode) ? O_NONBLOCK : 0));
  if (fd < 0) return nullptr;
  int refused = 0;
  if (::fstat(fd, &st) != 0) {
    refused = errno;
  } else if (!Readable(st)) {
    refused = RefusalError(st);
  } else {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) refused = errno;
  }
  if (refused != 0) {
    ::close(fd);
    errno = refused;
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
