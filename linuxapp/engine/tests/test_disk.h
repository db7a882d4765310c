// Test support: in-memory disks behind the read seam, and a small ext2 image builder for
// byte-level cases that mke2fs cannot make.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ext2engine/disk_access.h"
#include "memory_device.h"

namespace ext2::testing {

// In-memory disks (platform::MemoryDevice) as the physical disks 0, 1, ...; each open gives a
// device on the same medium, so that its faults and read record outlive a reopen.
class MemoryDiskSource : public DiskSource {
 public:
  std::vector<std::shared_ptr<platform::MemoryDevice>> disks;
  int opens = 0;
  std::unique_ptr<platform::SectorDevice> Open(unsigned index) override {
    if (index >= disks.size()) return nullptr;
    ++opens;
    return disks[index]->Open();
  }
};

// Installs one in-memory disk as physical disk 0 and gives it.
inline std::shared_ptr<platform::MemoryDevice> InstallMemoryDisk(std::vector<std::uint8_t> bytes) {
  auto source = std::make_shared<MemoryDiskSource>();
  auto disk = std::make_shared<platform::MemoryDevice>(std::move(bytes));
  source->disks.push_back(disk);
  SetDiskSource(source);
  return disk;
}

// Sector SECTOR (of 512 bytes) of DISK is bad: every read that touches it fails.
inline void FailSector(platform::MemoryDevice& disk, std::uint64_t sector) {
  disk.Fail(sector * kSectorSize, (sector + 1) * kSectorSize);
}

inline void PutLe16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b.at(at) = v & 0xFF;
  b.at(at + 1) = v >> 8;
}
inline void PutLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = (v >> (8 * i)) & 0xFF;
}

// An ext2 file system of 1 KiB blocks with one group: super block in block 1, descriptors in
// block 2, the inode table from block 5, data blocks from block 40 on. Inode 2 is the root.
class TinyExt2 {
 public:
  static constexpr std::uint32_t kBlock = 1024;
  static constexpr std::uint32_t kInodeTable = 5;
  static constexpr std::uint32_t kFirstData = 40;

  explicit TinyExt2(std::uint32_t blocks = 256, std::uint32_t inodes = 128, std::uint16_t inodeSize = 128)
      : bytes(static_cast<std::size_t>(blocks) * kBlock, 0), inodeSize_(inodeSize) {
    const std::size_t sb = 1024;
    PutLe32(bytes, sb + 0, inodes);
    PutLe32(bytes, sb + 4, blocks);
    PutLe32(bytes, sb + 24, 0);  // 1 KiB blocks
    PutLe32(bytes, sb + 32, 8192);
    PutLe32(bytes, sb + 40, inodes);
    PutLe16(bytes, sb + 56, 0xEF53);
    PutLe32(bytes, sb + 76, 1);
    PutLe16(bytes, sb + 88, inodeSize);
    PutLe32(bytes, 2 * kBlock + 0, 3);  // block bitmap
    PutLe32(bytes, 2 * kBlock + 4, 4);  // inode bitmap
    PutLe32(bytes, 2 * kBlock + 8, kInodeTable);
  }

  std::size_t InodeAt(std::uint32_t ino) const {
    return static_cast<std::size_t>(kInodeTable) * kBlock + static_cast<std::size_t>(ino - 1) * inodeSize_;
  }

  void SetInode(std::uint32_t ino, std::uint16_t mode, std::uint32_t size, std::vector<std::uint32_t> blocks,
                std::uint32_t time = 1000000000, std::uint32_t flags = 0) {
    const std::size_t at = InodeAt(ino);
    PutLe16(bytes, at + 0, mode);
    PutLe32(bytes, at + 4, size);
    PutLe32(bytes, at + 8, time);
    PutLe32(bytes, at + 12, time + 1);
    PutLe32(bytes, at + 16, time + 2);
    PutLe32(bytes, at + 32, flags);
    for (std::size_t i = 0; i < blocks.size() && i < 15; ++i) PutLe32(bytes, at + 40 + 4 * i, blocks[i]);
  }
  void Dir(std::uint32_t ino, std::vector<std::uint32_t> blocks, std::uint32_t flags = 0) {
    SetInode(ino, 0x41ED, kBlock * static_cast<std::uint32_t>(blocks.size()), std::move(blocks), 1000000000, flags);
  }
  void File(std::uint32_t ino, std::uint32_t size, std::vector<std::uint32_t> blocks = {}) {
    SetInode(ino, 0x81A4, size, std::move(blocks));
  }

  // Writes one directory record at byte AT of BLOCK. NAME_LEN -1 takes the name's length.
  void Record(std::uint32_t block, std::uint32_t at, std::uint32_t ino, std::uint16_t recLen, const std::string& name,
              std::uint8_t type, int nameLen = -1) {
    const std::size_t base = static_cast<std::size_t>(block) * kBlock + at;
    PutLe32(bytes, base, ino);
    PutLe16(bytes, base + 4, recLen);
    bytes.at(base + 6) = static_cast<std::uint8_t>(nameLen < 0 ? name.size() : nameLen);
    bytes.at(base + 7) = type;
    for (std::size_t i = 0; i < name.size(); ++i) bytes.at(base + 8 + i) = static_cast<std::uint8_t>(name[i]);
  }
  // "." and ".." at the start of a folder's first block; ".." takes DOTDOT_LEN bytes.
  void Dots(std::uint32_t block, std::uint32_t self, std::uint32_t parent, std::uint16_t dotdotLen = 12) {
    Record(block, 0, self, 12, ".", 2);
    Record(block, 12, parent, dotdotLen, "..", 2);
  }

  std::vector<std::uint8_t> bytes;

 private:
  std::uint16_t inodeSize_;
};

}  // namespace ext2::testing
