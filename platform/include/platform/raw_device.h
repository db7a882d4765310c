// A disk, disc or image file opened read-only, read by byte position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class RawDevice {
 public:
  // Opens PATH read-only when it is a block device or a regular file; null otherwise, errno telling
  // why: EISDIR for a folder, ENOTBLK for anything else that is neither (a FIFO, a socket, a
  // character device), which is never opened. The open never waits (a FIFO without a writer).
  static std::unique_ptr<RawDevice> OpenReadOnly(const std::string& path);

  ~RawDevice();
  RawDevice(const RawDevice&) = delete;
  RawDevice& operator=(const RawDevice&) = delete;

  // Reads up to N bytes at byte POSITION. Returns the number of bytes read (0 at or past the end),
  // or -1 on an error (errno set). Interrupted reads are resumed; a short count is returned as is.
  long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) const;

  // Size in bytes: BLKGETSIZE64 for a block device, the file size for a regular file.
  bool SizeBytes(std::uint64_t& size) const;

  bool IsBlockDevice() const { return block_device_; }
  int Descriptor() const { return fd_; }
  const std::string& Path() const { return path_; }

 private:
  RawDevice(int fd, std::string path, bool block_device);
  int fd_;
  std::string path_;
  bool block_device_;
};

}  // namespace platform
