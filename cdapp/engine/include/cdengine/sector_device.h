// The device seam of CD: every read of a drive or image goes through a SectorDevice, so tests
// can put an in-memory or fault-injecting device behind the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace cd {

class SectorDevice {
 public:
  virtual ~SectorDevice() = default;
  // Reads up to N bytes at byte POSITION: the count read (0 at or past the end), or -1 on failure.
  virtual long long ReadAt(std::uint64_t position, void* buffer, std::size_t n) = 0;
  // Size in bytes; false when unknown.
  virtual bool SizeBytes(std::uint64_t& size) const = 0;
  // The media-removal lock of a CD drive; an image file has none (true, nothing done).
  virtual bool LockMedia(bool lock) = 0;
  virtual const std::string& Path() const = 0;
};

// Opens PATH read-only (a CD device or an image file); null when it cannot be opened.
std::unique_ptr<SectorDevice> OpenSectorDevice(const std::string& path);

}  // namespace cd
