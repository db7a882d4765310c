// Byte-level ISO 9660 / Joliet images for tests, and a host wired to a reader reading such an
// image through an in-memory device with chosen faults.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cd_headless_host.h"
#include "memory_device.h"

namespace cd::testing {

using namespace cd::headless;

// An image under construction: sectors of 2048 bytes.
struct TestImage {
  std::vector<std::uint8_t> bytes;

  explicit TestImage(std::uint32_t sectors) : bytes(static_cast<std::size_t>(sectors) * 2048, 0) {}
  std::uint8_t* Sector(std::uint32_t n) { return bytes.data() + static_cast<std::size_t>(n) * 2048; }
  std::uint32_t Sectors() const { return static_cast<std::uint32_t>(bytes.size() / 2048); }

  static void Le32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  static void Be32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[3 - i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  static void Both32(std::uint8_t* p, std::uint32_t v) {
    Le32(p, v);
    Be32(p + 4, v);
  }

  // A directory record at P; returns its length. NAME holds the raw name bytes.
  // SYSTEM_USE bytes of a system-use area (Rock Ridge) follow the name.
  static std::size_t Record(std::uint8_t* p, std::uint32_t extent, std::uint32_t length, bool dir,
                            const std::string& name, int hour = 10, std::uint8_t flags = 0, std::size_t systemUse = 0) {
    const std::size_t n = name.size();
    const std::size_t len = 33 + n + ((n & 1) == 0 ? 1 : 0) + systemUse;
    std::memset(p, 0, len);
    if (systemUse >= 4) std::memcpy(p + len - systemUse, "PX\x24\x01", 4);
    p[0] = static_cast<std::uint8_t>(len);
    Both32(p + 2, extent);
    Both32(p + 10, length);
    const std::uint8_t date[7] = {120, 6, 15, static_cast<std::uint8_t>(hour), 30, 45, 0};
    std::memcpy(p + 18, date, 7);
    p[25] = static_cast<std::uint8_t>((dir ? 2 : 0) | flags);
    p[28] = 1;
    p[32] = static_cast<std::uint8_t>(n);
    std::memcpy(p + 33, name.data(), n);
    return len;
  }

  // UCS-2 big-endian bytes of an ASCII text.
  static std::string Ucs2(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
      out += '\0';
      out += c;
    }
    return out;
  }

  // A directory at EXTENT holding "." (itself), ".." (PARENT) and ENTRIES, SECTORS long.
  struct Entry {
    std::string name;  // raw bytes
    std::uint32_t extent;
    std::uint32_t length;
    bool dir;
    std::uint8_t flags = 0;  // 0x80: a further extent of the file follows
  };
  // With SYSTEM_USE, every record carries a system-use area of that many bytes, as on a Rock Ridge disc.
  void Directory(std::uint32_t extent, std::uint32_t parent, const std::vector<Entry>& entries, std::uint32_t sectors = 1,
                 std::size_t systemUse = 0) {
    std::uint8_t* base = Sector(extent);
    std::size_t pos = 0;
    pos += Record(base + pos, extent, sectors * 2048, true, std::string(1, '\0'), 10, 0, systemUse);
    pos += Record(base + pos, parent, 2048, true, std::string(1, '\1'), 10, 0, systemUse);
    for (const auto& e : entries) {
      const std::size_t need = 33 + e.name.size() + 1 + systemUse;
      if (pos % 2048 + need > 2048) pos = (pos / 2048 + 1) * 2048;
      pos += Record(base + pos, e.extent, e.length, e.dir, e.name, 10, e.flags, systemUse);
    }
  }

  void Descriptor(std::uint32_t sector, std::uint8_t type, std::uint32_t rootExtent, std::uint32_t rootLength,
                  std::uint32_t pathTableSize = 0, std::uint32_t lTable = 0, std::uint32_t mTable = 0) {
    std::uint8_t* d = Sector(sector);
    std::memset(d, 0, 2048);
    d[0] = type;
    std::memcpy(d + 1, "CD001", 5);
    d[6] = 1;
    Both32(d + 80, Sectors());
    d[120] = 1;
    d[123] = 1;
    d[124] = 1;
    d[127] = 1;
    d[128] = 0;
    d[129] = 8;
    Both32(d + 132, pathTableSize);
    Le32(d + 140, lTable);
    Be32(d + 148, mTable);
    Record(d + 156, rootExtent, rootLength, true, std::string(1, '\0'));
  }
  void Terminator(std::uint32_t sector) {
    std::uint8_t* d = Sector(sector);
    d[0] = 255;
    std::memcpy(d + 1, "CD001", 5);
    d[6] = 1;
  }
  // A path table at SECTOR: the root and the folders below it (name bytes, extent, parent number).
  struct PathEntry {
    std::string name;
    std::uint32_t extent;
    std::uint16_t parent;
  };
  std::uint32_t PathTable(std::uint32_t sector, bool bigEndian, std::uint32_t rootExtent, const std::vector<PathEntry>& dirs) {
    std::uint8_t* p = Sector(sector);
    std::size_t pos = 0;
    auto put = [&](const std::string& name, std::uint32_t extent, std::uint16_t parent) {
      p[pos] = static_cast<std::uint8_t>(name.size());
      p[pos + 1] = 0;
      if (bigEndian) {
        Be32(p + pos + 2, extent);
        p[pos + 6] = static_cast<std::uint8_t>(parent >> 8);
        p[pos + 7] = static_cast<std::uint8_t>(parent);
      } else {
        Le32(p + pos + 2, extent);
        p[pos + 6] = static_cast<std::uint8_t>(parent);
        p[pos + 7] = static_cast<std::uint8_t>(parent >> 8);
      }
      std::memcpy(p + pos + 8, name.data(), name.size());
      pos += 8 + name.size() + (name.size() & 1);
    };
    put(std::string(1, '\0'), rootExtent, 1);
    for (const auto& d : dirs) put(d.name, d.extent, d.parent);
    return static_cast<std::uint32_t>(pos);
  }
  void Fill(std::uint32_t sector, std::size_t length, std::uint8_t seed) {
    for (std::size_t i = 0; i < length; ++i) bytes[static_cast<std::size_t>(sector) * 2048 + i] = static_cast<std::uint8_t>(seed + i * 7);
  }
};

// The bytes of disc sector S begin here: the device's faults are put on ranges of these.
inline constexpr std::uint64_t DiscSectorAt(std::uint64_t s) { return s * 2048; }

// A host whose reader reads DEVICE; returns the device for fault setting.
inline platform::MemoryDevice& UseDevice(CdHeadlessHost& host, std::vector<std::uint8_t> bytes) {
  auto device = std::make_unique<platform::MemoryDevice>(std::move(bytes));
  platform::MemoryDevice& ref = *device;
  host.reader.device = std::move(device);
  host.app.driveOpened = 1;
  return ref;
}

// The standard small disc: ISO root 23 with A.TXT (5000 bytes at 30), DIR (24) holding B.DAT
// (3 bytes at 34); the Joliet tree (when JOLIET) at 25/26 with a.txt, dir, dir/b.dat; path tables
// at 19/20 (ISO) and 21/22 (Joliet). 40 sectors.
inline TestImage StandardImage(bool joliet) {
  TestImage img(40);
  const auto isoL = img.PathTable(19, false, 23, {{"DIR", 24, 1}});
  img.PathTable(20, true, 23, {{"DIR", 24, 1}});
  img.Descriptor(16, 1, 23, 2048, isoL, 19, 20);
  if (joliet) {
    const auto jl = img.PathTable(21, false, 25, {{TestImage::Ucs2("dir"), 26, 1}});
    img.PathTable(22, true, 25, {{TestImage::Ucs2("dir"), 26, 1}});
    img.Descriptor(17, 2, 25, 2048, jl, 21, 22);
    img.Terminator(18);
    img.Directory(25, 25, {{TestImage::Ucs2("a.txt;1"), 30, 5000, false}, {TestImage::Ucs2("dir"), 26, 2048, true}});
    img.Directory(26, 25, {{TestImage::Ucs2("b.dat;1"), 34, 3, false}});
  } else {
    img.Terminator(17);
  }
  img.Directory(23, 23, {{"A.TXT;1", 30, 5000, false}, {"DIR", 24, 2048, true}});
  img.Directory(24, 23, {{"B.DAT;1", 34, 3, false}});
  img.Fill(30, 5000, 1);
  img.Fill(34, 3, 9);
  return img;
}

}  // namespace cd::testing
