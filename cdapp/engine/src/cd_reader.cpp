// The read primitives of the CD engine: three attempts at one position, 64-bit positions.
#include "cdengine/cd_reader.h"

#include <algorithm>

namespace cd {

namespace {

constexpr std::uint32_t kSectorsPerPump = 512;  // 1 MiB

bool ReadWithRetries(platform::SectorDevice* device, std::uint64_t position, std::uint8_t* buffer, std::size_t n,
                     std::uint32_t& bytesRead, int attempts = kReadAttempts) {
  bytesRead = 0;
  if (device == nullptr) return false;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    const long long got = device->ReadAt(position, buffer, n);
    if (got >= 0) {
      bytesRead = static_cast<std::uint32_t>(got);
      return true;
    }
  }
  return false;
}

}  // namespace

bool CCDReader::ReadSectors(std::uint32_t sector, std::uint32_t count, std::span<std::uint8_t> buffer,
                            std::uint32_t& bytesRead, std::uint32_t exactBytes, bool useExact) {
  const std::uint64_t wanted = useExact ? exactBytes : static_cast<std::uint64_t>(count) * kSectorSize;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, buffer.size()));
  return ReadWithRetries(device.get(), static_cast<std::uint64_t>(sector) * kSectorSize, buffer.data(), n, bytesRead);
}

bool CCDReader::ReadBytes(std::uint64_t offset, std::uint32_t length, int mode, std::span<std::uint8_t> buffer,
                          std::uint32_t& bytesRead) {
  bytesRead = 0;
  const std::size_t n = std::min<std::size_t>(length, buffer.size());
  std::uint64_t position = offset;
  if (mode != 1) {
    std::uint64_t size = 0;
    if (device == nullptr || !device->SizeBytes(size) || size < kSectorSize) return false;
    position = size - kSectorSize;
  }
  return ReadWithRetries(device.get(), position, buffer.data(), n, bytesRead);
}

bool CCDReader::ReadBytesOnce(std::uint64_t offset, std::uint32_t length, std::span<std::uint8_t> buffer,
                              std::uint32_t& bytesRead) {
  const std::size_t n = std::min<std::size_t>(length, buffer.size());
  return ReadWithRetries(device.get(), offset, buffer.data(), n, bytesRead, 1);
}

std::uint64_t CCDReader::MediumSectors() const {
  std::uint64_t size = 0;
  if (device == nullptr || !device->SizeBytes(size)) return 0xFFFFFFFFull;
  return (size + kSectorSize - 1) / kSectorSize;
}

bool CCDReader::PumpWhileReading(std::uint32_t sectors) {
  if (frame == nullptr) return false;
  sectorsSincePump += sectors;
  if (sectorsSincePump >= kSectorsPerPump) {
    sectorsSincePump = 0;
    frame->PumpMessages();
  }
  return frame->stopFlag != 0;
}

}  // namespace cd
