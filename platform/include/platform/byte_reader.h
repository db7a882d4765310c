// Little- and big-endian field readers over a byte buffer, every read checked against its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

class ByteReader {
 public:
  ByteReader(const void* data, std::size_t size)
      : bytes_(static_cast<const std::uint8_t*>(data), size) {}
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  const std::uint8_t* data() const { return bytes_.data(); }

  // True when LENGTH bytes at OFFSET lie inside the buffer.
  bool Has(std::size_t offset, std::size_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }

  // Each reader returns 0 for a field that does not lie wholly inside the buffer.
  std::uint8_t U8(std::size_t offset) const { return Has(offset, 1) ? bytes_[offset] : 0; }
  std::uint16_t Le16(std::size_t offset) const {
    if (!Has(offset, 2)) return 0;
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }
  std::uint32_t Le32(std::size_t offset) const {
    if (!Has(offset, 4)) return 0;
    return static_cast<std::uint32_t>(bytes_[offset]) | (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
  }
  std::uint16_t Be16(std::size_t offset) const {
    if (!Has(offset, 2)) return 0;
    return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
  }
  std::uint32_t Be32(std::size_t offset) const {
    if (!Has(offset, 4)) return 0;
    return (static_cast<std::uint32_t>(bytes_[offset]) << 24) | (static_cast<std::uint32_t>(bytes_[offset + 1]) << 16) |
           (static_cast<std::uint32_t>(bytes_[offset + 2]) << 8) | static_cast<std::uint32_t>(bytes_[offset + 3]);
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace platform
