// The logical-drive list: Linux partitions from the partition-table walk, drives found by the
// search, or the drive of a scan-information file.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace ext2 {

struct LogicalDriveNode {
  std::uint32_t firstSector = 0;  // absolute LBA of the drive's first sector
  std::uint32_t tableBase = 0;    // absolute LBA of the table that held the entry (0: MBR or search)
  std::uint32_t endSector = 0;    // one past the drive's last sector
  std::uint8_t partitionType = 0;
  std::uint8_t ordinal = 0;
  std::uint8_t reserved = 0;
};

constexpr std::uint8_t kLinuxPartition = 0x83;

// A Linux partition entry that reaches past the disk's end (sectors in 64 bits). One that starts
// past the end, or ends past the last 32-bit sector, is refused; one that starts inside the disk is
// listed (an image cut short still holds the drive's first part).
struct OverlongPartition {
  std::uint64_t firstSector = 0;
  std::uint64_t endSector = 0;
  std::uint64_t diskSectors = 0;
  bool refused = false;
};

class LogicalDriveList {
 public:
  const std::vector<LogicalDriveNode>& Drives() const { return drives_; }
  std::vector<LogicalDriveNode>& Drives() { return drives_; }
  bool HasSavedList() const { return saved_.has_value(); }
  const std::vector<LogicalDriveNode>* SavedList() const { return saved_ ? &*saved_ : nullptr; }

  // Before a partition walk: a non-empty list becomes the saved list; the walk state is reset.
  void StartWalk();
  // Before a search: the list is dropped and the walk state reset; the saved list stays.
  void StartSearch();
  // Select Logical Drive OK: the saved list is dropped.
  void CommitChoice();
  // Select Logical Drive Cancel: a saved list comes back in place of the current one.
  void AbandonChoice();
  // Closing the frame: both lists go.
  void Clear();

  // Reads the table at LBA of DISK and appends its Linux partitions, following extended partitions
  // depth-first. A table already read in this walk is not read again. Entries reaching past the
  // disk's end are noted in Overlong().
  void ScanPartitionTable(std::uint8_t disk, std::uint32_t lba);
  // The entries of the last walk that reach past the disk's end, in walk order.
  const std::vector<OverlongPartition>& Overlong() const { return overlong_; }

  // A table of this walk that could not be read: its sector, and errno of the failure (0 when the
  // device gave no reason).
  struct UnreadTable {
    std::uint32_t lba = 0;
    int error = 0;
  };
  const std::vector<UnreadTable>& UnreadTables() const { return unread_; }

 private:
  void ResetWalkState();

  std::vector<LogicalDriveNode> drives_;
  std::optional<std::vector<LogicalDriveNode>> saved_;
  std::uint32_t firstExtendedBase_ = 0;
  std::uint32_t currentTableBase_ = 0;
  std::uint8_t ordinalCounter_ = 0;
  std::set<std::uint32_t> tablesRead_;
  std::vector<UnreadTable> unread_;
  std::vector<OverlongPartition> overlong_;
  std::uint32_t diskSectors_ = 0;  // the size of the disk being walked; 0 when it cannot be had
};

// The relative start sector of a 16-byte partition entry.
std::uint32_t GetPartitionStart(const std::uint8_t* entry);

// The program-wide list.
LogicalDriveList& LogicalDrives();

}  // namespace ext2
