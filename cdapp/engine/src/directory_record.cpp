// Directory-record names and the bounded record walk.
#include "cdengine/directory_record.h"

#include <algorithm>

#include "cdengine/cd_reader.h"

namespace cd {

namespace {

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Drops a trailing ";" followed by digits only.
void DropVersion(std::string& name) {
  const std::size_t semi = name.rfind(';');
  if (semi == std::string::npos || semi + 1 == name.size()) return;
  for (std::size_t i = semi + 1; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return;
  }
  name.resize(semi);
}

}  // namespace

std::string Ucs2BeToUtf8(const std::uint8_t* bytes, std::size_t byteCount) {
  std::string out;
  const std::size_t units = byteCount / 2;
  out.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t c = (static_cast<std::uint32_t>(bytes[2 * i]) << 8) | bytes[2 * i + 1];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
      const std::uint32_t low = (static_cast<std::uint32_t>(bytes[2 * i + 2]) << 8) | bytes[2 * i + 3];
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string ConvertRecordName(const std::uint8_t* name, std::size_t length, bool joliet, bool folder) {
  std::string out = joliet ? Ucs2BeToUtf8(name, length) : std::string(reinterpret_cast<const char*>(name), length);
  if (!folder) DropVersion(out);
  return out;
}

bool IsFillAt(std::span<const std::uint8_t> sector, std::size_t pos) {
  const std::size_t end = std::min(sector.size(), pos + dirrec::kMinLength);
  for (std::size_t i = pos; i < end; ++i) {
    if (sector[i] != kFillByte) return false;
  }
  return pos < end;
}

bool WalkRecords(std::span<const std::uint8_t> buffer, std::size_t start,
                 const std::function<void(std::span<const std::uint8_t> record)>& visit) {
  std::size_t pos = start;
  while (pos < buffer.size()) {
    const std::size_t sectorStart = pos / kSectorSize * kSectorSize;
    const std::size_t sectorEnd = std::min(buffer.size(), sectorStart + kSectorSize);
    const std::size_t length = buffer[pos + dirrec::kLength];
    if (length == kFillByte && IsFillAt(buffer.subspan(sectorStart, sectorEnd - sectorStart), pos - sectorStart)) {
      return false;
    }
    if (length == 0 || length < dirrec::kMinLength || pos + length > sectorEnd) {
      pos = sectorEnd;
      continue;
    }
    const auto record = buffer.subspan(pos, length);
    if (dirrec::kName + record[dirrec::kNameLength] <= length) visit(record);
    pos += length;
  }
  return true;
}

std::size_t FirstRealRecord(std::span<const std::uint8_t> buffer) {
  if (buffer.empty()) return 0;
  const std::size_t first = buffer[dirrec::kLength];
  if (first == 0 || first + dirrec::kLength >= buffer.size()) return first;
  return first + buffer[first + dirrec::kLength];
}

}  // namespace cd
