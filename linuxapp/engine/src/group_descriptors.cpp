// The group-descriptor table, and its backup copies when a block of it is damaged.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {
// Backup copies tried for a damaged block of the table: the copies of the first groups that hold
// one. A copy that is not among them is as damaged as the drive whose first copy failed.
constexpr std::uint32_t kBackupCopiesTried = 8;
}  // namespace

std::uint64_t CLinuxDrive::GroupsOnDisk() const {
  if (!HasGeometry() || blocksPerGroup == 0) return 0;
  // The blocks of the drive that the disk holds; a disk of unknown size bounds nothing.
  std::uint64_t sectors = sectorCount;
  std::uint64_t diskSectors = 0;
  if (GetDiskSectorCount64(disk, &diskSectors) && diskSectors != 0) {
    sectors = std::min<std::uint64_t>(sectors, diskSectors > firstSector ? diskSectors - firstSector : 0);
  }
  const std::uint64_t blocks = std::min<std::uint64_t>(fileSystemBlocks, sectors / sectorsPerBlock);
  const std::uint64_t firstData = sectorsPerBlock == 2 ? 1 : 0;
  return blocks > firstData ? (blocks - firstData + blocksPerGroup - 1) / blocksPerGroup : 0;
}

bool CLinuxDrive::ReadDescriptorBlock(std::uint32_t group, std::uint32_t k, std::vector<std::uint8_t>& block) {
  const std::uint64_t firstData = sectorsPerBlock == 2 ? 1 : 0;
  // Group 0's table is where the drive's descriptor offset says; a copy follows its group's super block.
  const std::uint64_t tableBlock = static_cast<std::uint64_t>(group) * blocksPerGroup + firstData + 1;
  const std::uint64_t sector =
      group == 0 ? descriptorTableOffset + static_cast<std::uint64_t>(k) * sectorsPerBlock
                 : (tableBlock + k) * sectorsPerBlock;
  std::fill(block.begin(), block.end(), 0);
  std::uint32_t delivered = 0;
  if (!ReadDriveSectors(sector, block.data(), static_cast<std::uint32_t>(block.size()), &delivered) ||
      delivered < block.size()) {
    return false;
  }
  // Every descriptor of the block up to the group count: bitmaps and inode table inside the drive.
  const std::uint64_t blocks = fileSystemBlocks != 0 ? fileSystemBlocks : BlockCount();
  const std::uint64_t tableBlocks = inodeTableSectorsPerGroup / sectorsPerBlock;
  const platform::ByteReader table(block.data(), block.size());
  const std::size_t perBlock = block.size() / kDescriptorSize;
  for (std::size_t j = 0; j < perBlock && k * perBlock + j < groupCount; ++j) {
    const std::size_t at = j * kDescriptorSize;
    const std::uint32_t blockBitmap = table.Le32(at + kBgBlockBitmap);
    const std::uint32_t inodeBitmap = table.Le32(at + kBgInodeBitmap);
    const std::uint32_t inodeTable = table.Le32(at + kBgInodeTable);
    if (blockBitmap == 0 || blockBitmap >= blocks || inodeBitmap == 0 || inodeBitmap >= blocks || inodeTable == 0 ||
        inodeTable + tableBlocks > blocks) {
      return false;
    }
  }
  return true;
}

int CLinuxDrive::ReadGroupDescriptors() {
  if (!HasGeometry()) return 0;
  std::vector<std::uint8_t> block(BlockSize(), 0);
  const std::size_t perBlock = BlockSize() / kDescriptorSize;
  const std::uint64_t groups = GroupsOnDisk();
  // The table holds one descriptor per group: no more are read than the super block counts. A block
  // that cannot be read, or names places outside the drive, is read from the first backup copy
  // that holds it whole; without one the first copy is read as far as it goes, a sector at a time:
  // an unreadable sector or a zero block bitmap ends the table.
  for (std::uint32_t k = 0; descriptors.size() < groupCount; ++k) {
    bool whole = ReadDescriptorBlock(0, k, block);
    if (!whole) {
      std::vector<std::uint8_t> copy(block.size(), 0);
      std::uint32_t tried = 0;
      for (std::uint32_t group = NextBackupGroup(0, groups); group != 0 && tried < kBackupCopiesTried;
           group = NextBackupGroup(group, groups), ++tried) {
        if (!ReadDescriptorBlock(group, k, copy)) continue;
        block.swap(copy);
        whole = true;
        char text[128];
        std::snprintf(text, sizeof text, "Group descriptor block %u damaged, read from the backup of group %u", k,
                      group);
        Log(nullptr, text, "Backup used", kIconAborted);
        break;
      }
    }
    if (!whole) {
      char text[128];
      std::snprintf(text, sizeof text, "Group descriptor block %u damaged, no backup copy is readable", k);
      Log(nullptr, text, "Groups after it may be missing", kIconAborted);
    }
    platform::ByteReader table(block.data(), block.size());
    bool ended = false;
    for (std::size_t j = 0; j < perBlock && descriptors.size() < groupCount; ++j) {
      const std::size_t at = j * kDescriptorSize;
      if (!whole && j % (kSectorSize / kDescriptorSize) == 0) {
        // The first copy as the old reading took it: sector by sector.
        const std::uint64_t sector = descriptorTableOffset + static_cast<std::uint64_t>(k) * sectorsPerBlock +
                                     at / kSectorSize;
        std::fill(block.begin() + static_cast<std::ptrdiff_t>(at),
                  block.begin() + static_cast<std::ptrdiff_t>(at + kSectorSize), 0);
        if (!ReadDriveSectors(sector, block.data() + at, kSectorSize)) {
          ended = true;
          break;
        }
      }
      const std::uint32_t blockBitmap = table.Le32(at + kBgBlockBitmap);
      if (blockBitmap == 0) {
        ended = true;
        break;
      }
      GroupDescNode node;
      node.blockBitmapSector = blockBitmap * sectorsPerBlock;
      node.inodeBitmapSector = table.Le32(at + kBgInodeBitmap) * sectorsPerBlock;
      node.inodeTableSector = table.Le32(at + kBgInodeTable) * sectorsPerBlock;
      node.inodeTableSectors = inodeTableSectorsPerGroup;
      descriptors.push_back(node);
    }
    if (ended) break;
  }
  return descriptors.empty() ? 0 : 1;
}

}  // namespace ext2
