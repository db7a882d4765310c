// The group-descriptor table.
#include <vector>

#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace {
constexpr std::size_t kDescriptorSize = 32;
constexpr std::size_t kDescriptorsPerSector = kSectorSize / kDescriptorSize;
constexpr std::size_t kBgBlockBitmap = 0;
constexpr std::size_t kBgInodeBitmap = 4;
constexpr std::size_t kBgInodeTable = 8;
}  // namespace

int CLinuxDrive::ReadGroupDescriptors() {
  if (!HasGeometry()) return 0;
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  // The table holds one descriptor per group: no more are read than the super block counts,
  // and an unreadable sector ends the table.
  for (std::uint64_t k = 0; descriptors.size() < groupCount && k < sectorCount; ++k) {
    std::fill(sector.begin(), sector.end(), 0);
    if (!ReadDriveSectors(descriptorTableOffset + k, sector.data(), kSectorSize)) break;
    platform::ByteReader table(sector.data(), sector.size());
    bool ended = false;
    for (std::size_t j = 0; j < kDescriptorsPerSector && descriptors.size() < groupCount; ++j) {
      const std::size_t at = j * kDescriptorSize;
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
