// The logical-drive search: super blocks at track and cylinder boundaries (standard) or in every
// sector (advanced), backup copies dropped, and the overlap pass after an advanced search.
// Sector numbers run in 64 bits: the search covers disks of 2 TiB and more, and no read asks for
// sectors at or past the disk's end. The drive list holds 32-bit sectors, so a drive that reaches
// past sector 2^32 - 1 is named in a row instead of listed.
#include "ext2engine/drive_search.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {

constexpr std::uint32_t kTrack = 63;                 // sectors per track
constexpr std::uint32_t kCylinder = 255 * kTrack;    // 16065
constexpr std::uint32_t kSmallCylinder = 16 * kTrack;  // 1008
constexpr std::uint32_t kSmallCylinderStart = kCylinder + kTrack;  // 16128
constexpr std::uint32_t kMebibyte = 2048;  // partitioning tools align partitions to 1 MiB
constexpr std::uint32_t kStandardReadSectors = 3;
constexpr std::uint32_t kAdvancedReadSectors = 63;

bool HasMagic(const platform::ByteReader& r, std::size_t offset) { return r.Le16(offset + kSbMagic) == kExt2Magic; }

// The first sector of the drive whose super block copy starts at sector AT, in FIRST: the first copy
// lies 2 sectors into its drive, the copy of group g (s_block_group_nr) at the first block of that
// group. False when no drive can hold the copy there (it would start before the disk, or its group
// lies past the drive's blocks). GROUP receives g.
bool DriveStartOf(const platform::ByteReader& sb, std::uint64_t at, std::uint64_t& first, std::uint32_t& group) {
  group = sb.Le16(kSbBlockGroupNr);
  if (group == 0) {
    if (at < kSuperBlockSector) return false;
    first = at - kSuperBlockSector;
    return true;
  }
  const std::uint32_t logBlockSize = sb.U8(kSbLogBlockSize);
  const std::uint64_t blocksPerGroup = sb.Le32(kSbBlocksPerGroup);
  if (logBlockSize > 2 || blocksPerGroup == 0) return false;
  const std::uint64_t firstData = logBlockSize == 0 ? 1 : 0;
  const std::uint64_t block = group * blocksPerGroup + firstData;
  const std::uint64_t offset = block * (2u << logBlockSize);
  if (block >= sb.Le32(kSbBlocksCount) || offset > at) return false;
  first = at - offset;
  return true;
}

struct KeyHash {
  std::size_t operator()(const SuperBlockKey& k) const {
    std::uint64_t h = k.inodesCount;
    for (std::uint32_t v : {k.blocksCount, k.reservedBlocksCount, k.lastCheck, k.checkInterval}) {
      h = h * 0x100000001B3ull ^ v;
    }
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
};

// Finds backup copies of drives already in the list without scanning the whole list for each
// candidate: the nodes are grouped by their super-block key, and as long as candidates come in
// rising order of first sector (both searches offer them so) one comparison settles it.
class DuplicateIndex {
 public:
  explicit DuplicateIndex(const std::vector<FoundDriveNode>& nodes) : nodes_(nodes) {
    for (std::size_t i = 0; i < nodes_.size(); ++i) Add(i);
  }

  // True when a node with the same key has first <= FIRST < end (a backup copy placed by its
  // group lands on its drive's first sector), or, for a copy of group BACKUP_GROUP > 0, a node with
  // the same counts of inodes and blocks starts at FIRST (a copy that a check of the drive left
  // behind with another last-check time).
  bool IsBackupCopy(const SuperBlockKey& key, std::uint32_t first, std::uint32_t backupGroup) const {
    if (backupGroup != 0) {
      auto [from, to] = byFirst_.equal_range(first);
      for (auto it = from; it != to; ++it) {
        const SuperBlockKey& k = nodes_[it->second].key;
        if (k.inodesCount == key.inodesCount && k.blocksCount == key.blocksCount) return true;
      }
    }
    auto it = groups_.find(key);
    if (it == groups_.end()) return false;
    const Group& g = it->second;
    if (first > g.maxFirst) return g.maxEnd > first;
    return std::any_of(g.members.begin(), g.members.end(), [&](std::size_t i) {
      return nodes_[i].firstSector <= first && first < nodes_[i].endSector;
    });
  }

  void Add(std::size_t i) {
    Group& g = groups_[nodes_[i].key];
    g.maxFirst = std::max(g.maxFirst, nodes_[i].firstSector);
    g.maxEnd = std::max(g.maxEnd, nodes_[i].endSector);
    g.members.push_back(i);
    byFirst_.emplace(nodes_[i].firstSector, i);
  }

 private:
  struct Group {
    std::uint32_t maxFirst = 0;
    std::uint32_t maxEnd = 0;
    std::vector<std::size_t> members;
  };
  const std::vector<FoundDriveNode>& nodes_;
  std::unordered_map<SuperBlockKey, Group, KeyHash> groups_;
  std::unordered_multimap<std::uint32_t, std::size_t> byFirst_;
};

// What one search run shares: the drive, the disk size, the duplicate index and the frame.
class SearchRun {
 public:
  SearchRun(CLinuxDrive& drive, std::uint64_t diskSize)
      : drive_(drive), diskSize_(diskSize), index_(drive.foundDrives) {}

  void Log(const char* activity, const char* text, const std::string& status, LogIcon icon) {
    if (drive_.frame != nullptr) drive_.frame->AddLogEntry(activity, text, status.c_str(), icon);
  }

  void LogFound(std::uint32_t first) {
    char text[48];
    char status[64];
    std::snprintf(text, sizeof text, "Logical drive %u", drive_.foundCount);
    std::snprintf(status, sizeof status, "Found at sector number %u", first);
    Log(nullptr, text, status, kIconNone);
  }

  // The pane text, the bar and the pump of one candidate; false when Stop was chosen.
  bool Step(std::uint64_t sector, bool barFirst) {
    FrameServices* frame = drive_.frame;
    if (frame == nullptr) return true;
    if (barFirst) frame->StepProgressBar();
    char text[64];
    std::snprintf(text, sizeof text, " Reading Sector %llu of %llu", static_cast<unsigned long long>(sector),
                  static_cast<unsigned long long>(diskSize_));
    frame->UpdateMarkedPane(false, false, text, true);
    if (!barFirst) frame->StepProgressBar();
    frame->PumpMessages();
    return frame->abortFlag == 0;
  }

  // Reads SECTORS sectors at LBA into BUFFER; sectors at or past the disk's end are not asked for and
  // read as zeros, as does what a read does not deliver (it failed or came back short). Returns the
  // number of sectors asked for.
  std::uint32_t Read(std::uint64_t lba, std::uint32_t sectors, std::vector<std::uint8_t>& buffer) {
    const std::size_t bytes = std::min<std::size_t>(buffer.size(), std::size_t{sectors} * kSectorSize);
    const std::uint32_t n =
        lba >= diskSize_ ? 0 : static_cast<std::uint32_t>(std::min<std::uint64_t>(sectors, diskSize_ - lba));
    std::uint32_t delivered = 0;
    if (n != 0 && !ReadDiskSectors(drive_.disk, static_cast<std::uint32_t>(lba), static_cast<std::uint32_t>(lba >> 32),
                                   buffer.data(), n * kSectorSize, &delivered)) {
      delivered = 0;
    }
    // Clearing only what the read did not deliver keeps the scan to one pass over memory.
    const std::size_t got = std::min<std::size_t>(delivered, bytes);
    std::memset(buffer.data() + got, 0, bytes - got);
    return n;
  }

  // Takes the super block at OFFSET of the read (SIZE bytes from there), which lies at sector AT, as
  // a drive placed by the group the copy names, unless it is implausible or a copy of a drive found
  // before. True when a drive was added.
  bool Consider(const std::vector<std::uint8_t>& buffer, std::size_t offset, std::size_t size, std::uint64_t at) {
    FoundDriveNode node;
    std::uint64_t first = 0;
    std::uint32_t group = 0;
    if (!DriveStartOf(platform::ByteReader(buffer.data() + offset, size), at, first, group)) return false;
    const std::optional<PlausibleDrive> drive = PlausibleDriveOf(buffer.data() + offset, size, first, diskSize_);
    if (!drive) return false;
    if (!FitsDriveList(*drive)) {
      NameUnlisted(*drive, group);
      return false;
    }
    node = ListedNode(*drive);
    if (index_.IsBackupCopy(node.key, node.firstSector, group)) return false;
    drive_.foundDrives.push_back(node);
    index_.Add(drive_.foundDrives.size() - 1);
    ++drive_.foundCount;
    LogFound(node.firstSector);
    return true;
  }

 private:
  // A drive the list cannot hold gets one row, its backup copies none.
  void NameUnlisted(const PlausibleDrive& drive, std::uint32_t group) {
    for (const PlausibleDrive& u : unlisted_) {
      const bool copy = u.key == drive.key && u.first <= drive.first && drive.first < u.first + u.sectors;
      const bool checkedCopy = group != 0 && u.first == drive.first && u.key.inodesCount == drive.key.inodesCount &&
                               u.key.blocksCount == drive.key.blocksCount;
      if (copy || checkedCopy) return;
    }
    unlisted_.push_back(drive);
    char text[160];
    std::snprintf(text, sizeof text, "Logical drive at sector %llu, %llu sectors: past sector %u, not listed",
                  static_cast<unsigned long long>(drive.first), static_cast<unsigned long long>(drive.sectors),
                  kLastListedSector);
    Log(nullptr, text, "Drive list holds 32-bit sectors only", kIconAborted);
  }

  CLinuxDrive& drive_;
  std::uint64_t diskSize_;
  DuplicateIndex index_;
  std::vector<PlausibleDrive> unlisted_;
};

std::uint64_t DiskSizeOf(CLinuxDrive& drive) {
  std::uint64_t size = 0;
  GetDiskSectorCount64(drive.disk, &size, drive.frame != nullptr ? &drive.frame->GetPrompts() : nullptr);
  return size;
}

std::string SearchRangeText(std::uint64_t diskSize) {
  char text[64];
  std::snprintf(text, sizeof text, "Search sector range 0 to %llu", static_cast<unsigned long long>(diskSize));
  return text;
}

}  // namespace

std::optional<PlausibleDrive> PlausibleDriveOf(const std::uint8_t* sb, std::size_t size, std::uint64_t first,
                                               std::uint64_t diskSize) {
  const platform::ByteReader r(sb, size);
  if (r.Le16(kSbMagic) != kExt2Magic) return std::nullopt;
  const std::uint8_t logBlockSize = r.U8(kSbLogBlockSize);
  if (logBlockSize > 2) return std::nullopt;
  const std::uint32_t sectorsPerBlock = 2u << logBlockSize;
  const std::uint32_t blocks = r.Le32(kSbBlocksCount);
  const std::uint32_t inodes = r.Le32(kSbInodesCount);
  const std::uint32_t blocksPerGroup = r.Le32(kSbBlocksPerGroup);
  const std::uint32_t inodesPerGroup = r.Le32(kSbInodesPerGroup);
  // The size and the end in 64 bits: a block count that overflows 32 bits must not wrap into range.
  const std::uint64_t count = static_cast<std::uint64_t>(sectorsPerBlock) * blocks;
  if (blocks == 0 || count > diskSize) return std::nullopt;
  // A drive of one block group (mke2fs makes one for up to 8 MiB with 1 KiB blocks, 128 MiB with
  // 4 KiB) has as many inodes per group as inodes, and when small as many inodes as blocks. Its
  // group keeps the full group size of its block size even when the drive is smaller, so more
  // blocks per group than blocks is a drive while the group's bitmap fits its one block.
  const std::uint32_t bitmapBits = sectorsPerBlock * kSectorSize * 8;
  // More inodes than blocks only as the groups count them: mke2fs -N gives a small drive more.
  const std::uint64_t groups =
      blocksPerGroup == 0 ? 0 : (blocks - (logBlockSize == 0 ? 1u : 0u) + blocksPerGroup - 1) / blocksPerGroup;
  if (inodes == 0 || (inodes > blocks && inodes != groups * inodesPerGroup)) return std::nullopt;
  if (blocksPerGroup == 0 || (blocksPerGroup > blocks && blocksPerGroup > bitmapBits)) return std::nullopt;
  if (inodesPerGroup == 0 || inodesPerGroup > inodes) return std::nullopt;
  if (first + count > diskSize) return std::nullopt;
  PlausibleDrive drive;
  drive.first = first;
  drive.sectors = count;
  drive.sectorsPerBlock = static_cast<std::uint8_t>(sectorsPerBlock);
  drive.key = {inodes, blocks, r.Le32(kSbReservedBlocksCount), r.Le32(kSbLastCheck), r.Le32(kSbCheckInterval)};
  return drive;
}

bool FitsDriveList(const PlausibleDrive& drive) { return drive.first + drive.sectors <= kLastListedSector; }

FoundDriveNode ListedNode(const PlausibleDrive& drive) {
  FoundDriveNode node;
  node.firstSector = static_cast<std::uint32_t>(drive.first);
  node.sectorCount = static_cast<std::uint32_t>(drive.sectors);
  node.endSector = static_cast<std::uint32_t>(drive.first + drive.sectors);
  node.sectorsPerBlock = drive.sectorsPerBlock;
  node.key = drive.key;
  return node;
}

bool IsPlausibleSuperBlock(const std::uint8_t* sb, std::size_t size, std::uint64_t first, std::uint64_t diskSize,
                           FoundDriveNode& node) {
  const std::optional<PlausibleDrive> drive = PlausibleDriveOf(sb, size, first, diskSize);
  if (!drive || !FitsDriveList(*drive)) return false;
  node = ListedNode(*drive);
  return true;
}

void CLinuxDrive::SearchLogicalDrives() {
  AppState& app = App();
  if (frame != nullptr) {
    frame->EnableToolbarButton(kCmdStop, true);
    for (ToolbarCommand command : {kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdFileMask, kCmdAddFileFilter, kCmdFind,
                                   kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
      frame->EnableToolbarButton(command, false);
    }
  }
  auto startProcess = [&] {
    app.processRunning = 1;
    app.stopRequested = 0;
    app.recovering = 0;
    if (frame != nullptr) frame->busyFlag = 1;
  };
  startProcess();
  if (frame != nullptr) frame->abortFlag = 0;
  if (app.searchType == 1) {
    if (StandardSearch() == 0) return;
    if (frame == nullptr) return;
    frame->abortFlag = 0;
    const MessageAnswer answer = frame->GetPrompts().MessageBox(kSwitchToAdvancedSearchText,
                                                                kSwitchToAdvancedSearchCaption, MessageButtons::YesNo);
    if (answer != kAnswerYes) return;
    startProcess();
  } else if (app.searchType != 0) {
    return;
  }
  AdvancedSearch();
}

int CLinuxDrive::StandardSearch() {
  AppState& app = App();
  foundDrives.clear();
  const std::uint64_t size = DiskSizeOf(*this);
  SearchRun run(*this, size);
  run.Log("Searching logical drive", SearchRangeText(size).c_str(), "Started on " + CTimeNow(), kIconStarted);
  if (frame != nullptr) {
    frame->StartProgressText(static_cast<int>(size / kCylinder + size / kSmallCylinder + size / kMebibyte + 255),
                             "Read Progress..");
  }

  std::vector<std::uint8_t> at(kStandardReadSectors * kSectorSize);
  std::vector<std::uint8_t> afterTrack(kStandardReadSectors * kSectorSize);
  const platform::ByteReader afterTrackReader(afterTrack.data(), afterTrack.size());
  bool stopped = false;

  // Track boundaries of the first cylinder.
  for (std::uint64_t s = kTrack; s < kCylinder; s += kTrack) {
    if (!run.Step(s, true)) {
      stopped = true;
      break;
    }
    run.Read(s, kStandardReadSectors, at);
    run.Consider(at, kSuperBlockOffset, kSectorSize, s + kSuperBlockSector);
  }

  // Boundaries of STEP-sector cylinders from START on: a drive one track in (the read at s + 63) is
  // taken before one at the boundary itself, which is tested only when the first holds no magic.
  auto cylinders = [&](std::uint64_t start, std::uint64_t step) {
    bool added = false;
    for (std::uint64_t s = start; s < size && !stopped; s += step) {
      if (!run.Step(s, true)) {
        stopped = true;
        break;
      }
      run.Read(s, kStandardReadSectors, at);
      run.Read(s + kTrack, kStandardReadSectors, afterTrack);
      if (HasMagic(afterTrackReader, kSuperBlockOffset)) {
        added |= run.Consider(afterTrack, kSuperBlockOffset, kSectorSize, s + kTrack + kSuperBlockSector);
      } else {
        added |= run.Consider(at, kSuperBlockOffset, kSectorSize, s + kSuperBlockSector);
      }
    }
    return added;
  };
  bool cylinderDriveAdded = false;
  if (!stopped && size > kCylinder) cylinderDriveAdded = cylinders(kCylinder, kCylinder);
  if (!stopped && !cylinderDriveAdded && size > kSmallCylinderStart) cylinders(kSmallCylinderStart, kSmallCylinder);
  // Partitions made since 2008 start at 1 MiB boundaries; their drives join the list in disk order.
  if (!stopped && size > kMebibyte && cylinders(kMebibyte, kMebibyte)) {
    std::stable_sort(foundDrives.begin(), foundDrives.end(),
                     [](const FoundDriveNode& a, const FoundDriveNode& b) { return a.firstSector < b.firstSector; });
  }

  if (stopped) {
    if (frame != nullptr) frame->EndProgress();
    app.logHasRows = 1;
    run.Log(nullptr, "Process aborted, user intervention", "Aborted on " + CTimeNow(), kIconAborted);
  } else {
    run.Log(nullptr, "Process completed", "Completed on " + CTimeNow(), kIconCompleted);
  }
  if (frame != nullptr) {
    frame->EndProgress();
    frame->UpdateMarkedPane(false, false, nullptr, false);
  }
  return foundCount == 0 && !stopped ? 1 : 0;
}

void CLinuxDrive::AdvancedSearch() {
  AppState& app = App();
  std::vector<std::uint8_t> buffer(kAdvancedReadSectors * kSectorSize);
  const platform::ByteReader reader(buffer.data(), buffer.size());
  foundDrives.clear();
  diskSize = DiskSizeOf(*this);
  SearchRun run(*this, diskSize);
  run.Log("Searching logical drive", SearchRangeText(diskSize).c_str(), "Started on " + CTimeNow(), kIconStarted);
  if (frame != nullptr) frame->StartProgressText(static_cast<int>(diskSize / kAdvancedReadSectors), "Read Progress..");

  bool stopped = false;
  for (std::uint64_t i = 0; i < diskSize; i += kAdvancedReadSectors) {
    if (!run.Step(i, false)) {
      stopped = true;
      break;
    }
    const std::uint32_t n = run.Read(i, kAdvancedReadSectors, buffer);
    for (std::uint32_t k = 0; k < n; ++k) {
      const std::size_t offset = static_cast<std::size_t>(k) * kSectorSize;
      if (!HasMagic(reader, offset)) continue;
      // A magic in sector j is a super block copy: of a drive starting at j - 2 when it is the first.
      run.Consider(buffer, offset, buffer.size() - offset, i + k);
    }
  }

  if (stopped) {
    run.Log(nullptr, "Process aborted, user intervention", "Aborted on " + CTimeNow(), kIconAborted);
    if (foundCount != 0) {
      char status[64];
      std::snprintf(status, sizeof status, "%u Logical drive found", foundCount);
      run.Log(nullptr, nullptr, status, kIconCompleted);
    } else {
      run.Log(nullptr, nullptr, "No logical drive found", kIconAborted);
    }
    if (frame != nullptr) frame->EndProgress();
    app.logHasRows = 1;
    return;
  }

  // A drive found through a backup copy is placed before the drives found since its first sector.
  std::stable_sort(foundDrives.begin(), foundDrives.end(),
                   [](const FoundDriveNode& a, const FoundDriveNode& b) { return a.firstSector < b.firstSector; });
  // Overlap pass: a drive that reaches into its successor gets a copy of itself ending just before
  // the successor. The copies go after the last node once the pass is over.
  std::vector<FoundDriveNode> copies;
  for (std::size_t k = 0; k + 1 < foundDrives.size(); ++k) {
    const FoundDriveNode& n = foundDrives[k];
    const FoundDriveNode& m = foundDrives[k + 1];
    if (n.endSector > m.firstSector && m.firstSector > n.sectorCount) {
      FoundDriveNode copy = n;
      copy.firstSector = m.firstSector - n.sectorCount - 1;
      copies.push_back(copy);
      ++foundCount;
      run.LogFound(copy.firstSector);
    }
  }
  foundDrives.insert(foundDrives.end(), copies.begin(), copies.end());

  const std::string status = "Completed on " + CTimeNow();
  if (foundCount != 0) {
    char text[64];
    std::snprintf(text, sizeof text, "Process completed %u Logical Drives Found", foundCount);
    run.Log(nullptr, text, status, kIconCompleted);
  } else {
    run.Log(nullptr, "Process completed, no drive found", status, kIconAborted);
  }
  if (frame != nullptr) frame->EndProgress();
  app.logHasRows = 1;
}

}  // namespace ext2
