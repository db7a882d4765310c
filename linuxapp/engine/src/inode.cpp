// Inodes: where they lie and how they are read.
#include <algorithm>
#include <vector>

#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {
// Sectors of an inode-table run: 16 KiB, the inodes of 64 to 128 entries.
constexpr std::uint32_t kInodeRunSectors = 32;
}  // namespace

InodeCopy DecodeInode(const std::uint8_t* buffer, std::size_t size, std::size_t offset) {
  InodeCopy inode;
  if (offset > size) return inode;
  const std::size_t length = std::min(kInodeCopySize, size - offset);
  std::copy_n(buffer + offset, length, inode.raw);
  platform::ByteReader r(inode.raw, sizeof inode.raw);
  inode.mode = r.Le16(kInoMode);
  inode.size = r.Le32(kInoSize);
  if ((inode.mode & kModeTypeMask) == kModeRegular) inode.size |= std::uint64_t{r.Le32(kInoSizeHigh)} << 32;
  inode.atime = static_cast<std::int32_t>(r.Le32(kInoAtime));
  inode.ctime = static_cast<std::int32_t>(r.Le32(kInoCtime));
  inode.mtime = static_cast<std::int32_t>(r.Le32(kInoMtime));
  inode.dtime = r.Le32(kInoDtime);
  inode.flags = r.Le32(kInoFlags);
  for (std::size_t i = 0; i < kBlockPointers; ++i) inode.block[i] = r.Le32(kInoBlock + 4 * i);
  return inode;
}

bool IsFastSymlink(const InodeCopy& inode) {
  return (inode.mode & kModeTypeMask) == kModeSymlink && inode.size < kFastSymlinkMax;
}

bool HasNoBlocks(const InodeCopy& inode) {
  switch (inode.mode & kModeTypeMask) {
    case kModeFifo:
    case kModeCharDevice:
    case kModeBlockDevice:
    case kModeSocket:
      return true;
    default:
      return false;
  }
}

bool KeptInExtents(const InodeCopy& inode) { return (inode.flags & kInodeExtentsFlag) != 0; }

long CLinuxDrive::LocateInode(std::uint32_t inode, std::uint16_t* group, std::uint32_t* sector) const {
  if (inode == 0 || inodesPerGroup == 0) return -1;
  const std::uint32_t i = inode - 1;
  const std::uint32_t g = i / inodesPerGroup;
  const std::uint64_t byteInTable = static_cast<std::uint64_t>(i % inodesPerGroup) * inodeSize;
  if (g > 0xFFFF || byteInTable / kSectorSize > 0xFFFFFFFFu) return -1;
  *group = static_cast<std::uint16_t>(g);
  *sector = static_cast<std::uint32_t>(byteInTable / kSectorSize);
  return static_cast<long>(byteInTable % kSectorSize);
}

bool CLinuxDrive::ReadFromInodeRun(std::uint64_t tableSector, std::uint32_t sectorInTable, std::uint8_t* sector) {
  InodeTableRun& run = inodeRun_;
  const std::uint64_t at = tableSector + sectorInTable;
  if (at < run.firstSector || at >= run.firstSector + run.asked) {
    // The run that holds the sector: aligned in its table and not past the table's end.
    const std::uint32_t start = sectorInTable - sectorInTable % kInodeRunSectors;
    if (start >= inodeTableSectorsPerGroup) return false;
    const std::uint32_t count = std::min(kInodeRunSectors, inodeTableSectorsPerGroup - start);
    run.bytes.assign(static_cast<std::size_t>(count) * kSectorSize, 0);
    std::uint32_t got = 0;
    run.firstSector = tableSector + start;
    run.asked = count;
    ReadDriveSectors(run.firstSector, run.bytes.data(), count * kSectorSize, &got);
    run.delivered = got / kSectorSize;  // a short run still holds the sectors it delivered
  }
  if (at >= run.firstSector + run.delivered) return false;
  std::copy_n(run.bytes.data() + (at - run.firstSector) * kSectorSize, kSectorSize, sector);
  return true;
}

bool CLinuxDrive::ReadInodeRecord(std::uint32_t inode, InodeCopy& record, bool* readFailed,
                                  std::uint64_t* unreadSector) {
  if (readFailed != nullptr) *readFailed = false;
  std::uint16_t group = 0;
  std::uint32_t sectorInTable = 0;
  const long offset = LocateInode(inode, &group, &sectorInTable);
  if (offset < 0 || group >= groupCount || group >= descriptors.size()) return false;
  std::uint8_t sector[kSectorSize] = {};
  const std::uint64_t tableSector = descriptors[group].inodeTableSector;
  if (!inodeRun_.active || !ReadFromInodeRun(tableSector, sectorInTable, sector)) {
    if (!ReadDriveSectors(tableSector + sectorInTable, sector, kSectorSize)) {
      ReportInodeTableSector(group, tableSector + sectorInTable);
      if (readFailed != nullptr) *readFailed = true;
      if (unreadSector != nullptr) *unreadSector = tableSector + sectorInTable;
    }
  }
  record = DecodeInode(sector, sizeof sector, static_cast<std::size_t>(offset));
  return true;
}

std::unique_ptr<InodeCopy> CLinuxDrive::ReadInode(std::uint32_t inode) {
  auto copy = std::make_unique<InodeCopy>();
  if (!ReadInodeRecord(inode, *copy)) return nullptr;
  // A fast symbolic link keeps its target text where the block pointers would be, a device, fifo
  // or socket its device numbers, and a file kept in extents the extent tree's header: none has
  // block numbers to check. Such a file is listed; recovery says that it does not read it.
  const bool extentFile = KeptInExtents(*copy) && (copy->mode & kModeTypeMask) != kModeDirectory;
  if (IsFastSymlink(*copy) || HasNoBlocks(*copy) || extentFile) return copy;
  // Direct pointers past the drive: the first one rejects the inode, a later one ends the list.
  const std::uint32_t blocks = BlockCount();
  for (std::size_t i = 0; i < kDirectBlocks && copy->block[i] != 0; ++i) {
    if (copy->block[i] > blocks) {
      if (i == 0) return nullptr;
      copy->block[i] = 0;
      break;
    }
  }
  return copy;
}

}  // namespace ext2
