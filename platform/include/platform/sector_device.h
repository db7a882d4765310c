// The device seam of both engines: every read of a disk, a CD drive or an image file goes through
// a SectorDevice, so that tests can put an in-memory or fault-injecting device behind the reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class SectorDevice {
 public:
  virtual ~SectorDevice() = default;
  // Reads up to N bytes at byte POSITION: the count read (0 at or past the end), or -1 on failure
  // (errno set).
  virtual long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) = 0;
  // Size in bytes; false when unknown.
  virtual bool SizeBytes(std::uint64_t& size) const = 0;
  // The media-removal lock of a drive that has one; a device without one does nothing (true).
  virtual bool LockMedia(bool /*lock*/) { return true; }
  virtual const std::string& Path() const = 0;
};

// Opens PATH read-only (a block device or an image file); null when it cannot be opened, errno
// telling why (ENOTBLK: neither, and never opened). A block device's media lock is the CD drive's
// door lock (CDROM_LOCKDOOR).
std::unique_ptr<SectorDevice> OpenSectorDevice(const std::string& path);

// The row text of a failed open of PATH with errno ERROR: the path and why, naming the kind of
// what was refused ("/tmp/f cannot be opened: a FIFO is neither a regular file nor a block device").
std::string OpenFailureText(const std::string& path, int error);

}  // namespace platform
