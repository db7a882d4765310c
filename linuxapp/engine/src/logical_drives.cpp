// The partition-table walk and the logical-drive list.
#include "ext2engine/logical_drives.h"

#include <cerrno>
#include <vector>

#include "ext2engine/disk_access.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {
constexpr std::size_t kFirstEntry = 446;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kEntryType = 4;
constexpr std::size_t kEntryStart = 8;
constexpr std::size_t kEntryCount = 12;
// An extended chain deeper than this is not a chain a partitioning tool makes.
constexpr std::size_t kMaxTablesPerWalk = 4096;

bool IsExtended(std::uint8_t type) { return type == 0x05 || type == 0x0F || type == 0x85; }
}  // namespace

std::uint32_t GetPartitionStart(const std::uint8_t* entry) {
  return platform::ByteReader(entry, kEntrySize).Le32(kEntryStart);
}

void LogicalDriveList::ResetWalkState() {
  firstExtendedBase_ = 0;
  currentTableBase_ = 0;
  ordinalCounter_ = 0;
  tablesRead_.clear();
  unread_.clear();
  overlong_.clear();
  diskSectors_ = 0;
}

void LogicalDriveList::StartWalk() {
  if (!drives_.empty()) saved_ = std::move(drives_);
  drives_.clear();
  ResetWalkState();
}

void LogicalDriveList::StartSearch() {
  drives_.clear();
  ResetWalkState();
}

void LogicalDriveList::CommitChoice() { saved_.reset(); }

void LogicalDriveList::AbandonChoice() {
  if (!saved_) return;
  drives_ = std::move(*saved_);
  saved_.reset();
}

void LogicalDriveList::Clear() {
  drives_.clear();
  saved_.reset();
  ResetWalkState();
}

void LogicalDriveList::ScanPartitionTable(std::uint8_t disk, std::uint32_t lba) {
  // Loop protection: a chain that points back at a table already read ends there.
  if (tablesRead_.empty() && !GetDiskSectorCount(disk, &diskSectors_)) diskSectors_ = 0;
  if (!tablesRead_.insert(lba).second || tablesRead_.size() > kMaxTablesPerWalk) return;
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  errno = 0;
  if (!ReadDiskSectors(disk, lba, 0, sector.data(), kSectorSize)) {
    unread_.push_back({lba, errno});
    return;
  }
  platform::ByteReader table(sector.data(), sector.size());
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t entry = kFirstEntry + i * kEntrySize;
    const std::uint8_t type = table.U8(entry + kEntryType);
    const std::uint32_t start = table.Le32(entry + kEntryStart);
    const std::uint32_t count = table.Le32(entry + kEntryCount);
    if (IsExtended(type)) {
      std::uint32_t newBase;
      if (firstExtendedBase_ == 0) {
        firstExtendedBase_ = start;
        newBase = currentTableBase_ + start;
      } else {
        newBase = firstExtendedBase_ + start;
      }
      const std::uint32_t remembered = currentTableBase_;
      currentTableBase_ = newBase;
      ScanPartitionTable(disk, newBase);
      currentTableBase_ = remembered;
    } else if (type == kLinuxPartition) {
      // The end in 64 bits: a count near 2^32 must not wrap to an end before the start.
      const std::uint64_t first = static_cast<std::uint64_t>(start) + currentTableBase_;
      const std::uint64_t end = first + count;
      if (diskSectors_ != 0 && end > diskSectors_) {
        const bool refused = first >= diskSectors_ || end > 0xFFFFFFFFull;
        overlong_.push_back({first, end, diskSectors_, refused});
        if (refused) continue;
      }
      LogicalDriveNode node;
      node.firstSector = static_cast<std::uint32_t>(first);
      node.tableBase = currentTableBase_;
      node.endSector = static_cast<std::uint32_t>(end);
      node.partitionType = kLinuxPartition;
      node.ordinal = ordinalCounter_++;
      drives_.push_back(node);
    }
  }
}

LogicalDriveList& LogicalDrives() {
  static LogicalDriveList list;
  return list;
}

}  // namespace ext2
