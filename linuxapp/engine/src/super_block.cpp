// The super block: its geometry, and the search for a usable copy when the first is bad.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {
constexpr std::uint32_t kSearchStep = 63;

std::string Fault(const char* field, std::uint32_t value) { return std::string(field) + " " + std::to_string(value); }

// Why the super block SB cannot describe a drive, or empty when it can. Fields that only a damaged
// super block holds: a block size above 4 KiB, an inode size that is not a power of two from 128
// bytes to the block size, more blocks in a group than its one bitmap block can count, an inode
// table that does not fit its group, more groups of inodes than 16 bits count.
std::string SuperBlockFault(const platform::ByteReader& sb) {
  if (sb.Le16(kSbMagic) != kExt2Magic) return Fault("s_magic", sb.Le16(kSbMagic));
  const std::uint32_t logBlockSize = sb.Le32(kSbLogBlockSize);
  if (logBlockSize > 2) return Fault("s_log_block_size", logBlockSize);
  const std::uint64_t blockSize = 1024u << logBlockSize;
  const std::uint64_t bitmapBits = blockSize * 8;
  const std::uint32_t count = sb.Le32(kSbInodesCount);
  const std::uint32_t perGroup = sb.Le32(kSbInodesPerGroup);
  const std::uint32_t blocks = sb.Le32(kSbBlocksCount);
  const std::uint32_t blocksPerGroup = sb.Le32(kSbBlocksPerGroup);
  if (count == 0) return Fault("s_inodes_count", count);
  if (perGroup == 0) return Fault("s_inodes_per_group", perGroup);
  const std::uint32_t size = sb.Le32(kSbRevLevel) >= 1 ? sb.Le16(kSbInodeSize) : kRevision0InodeSize;
  if (size < 128 || (size & (size - 1)) != 0 || size > blockSize) return Fault("s_inode_size", size);
  if (blocks == 0) return Fault("s_blocks_count", blocks);
  if (blocksPerGroup == 0 || blocksPerGroup > bitmapBits) return Fault("s_blocks_per_group", blocksPerGroup);
  // A drive smaller than one group has its blocks in that group.
  const std::uint64_t tableBlocks = (static_cast<std::uint64_t>(perGroup) * size + blockSize - 1) / blockSize;
  if (tableBlocks >= std::min(blocksPerGroup, blocks)) return Fault("s_inodes_per_group", perGroup);
  // More groups of inodes than the descriptor table can number.
  if (count / perGroup >= 0xFFFF) return Fault("s_inodes_count", count);
  return {};
}
}  // namespace

bool CLinuxDrive::TakeSuperBlock(const std::uint8_t* sector, std::string* fault) {
  platform::ByteReader sb(sector, kSectorSize);
  std::string why = SuperBlockFault(sb);
  if (!why.empty()) {
    sectorsPerBlock = 0;
    if (fault != nullptr) *fault = std::move(why);
    return false;
  }
  const std::uint32_t count = sb.Le32(kSbInodesCount);
  const std::uint32_t perGroup = sb.Le32(kSbInodesPerGroup);
  sectorsPerBlock = static_cast<std::uint8_t>(2u << sb.Le32(kSbLogBlockSize));
  // Inodes are s_inode_size bytes from revision 1 on; revision 0 has 128-byte inodes and no
  // feature fields.
  const bool dynamic = sb.Le32(kSbRevLevel) >= 1;
  inodeSize = static_cast<std::uint16_t>(dynamic ? sb.Le16(kSbInodeSize) : kRevision0InodeSize);
  incompatFeatures = dynamic ? sb.Le32(kSbFeatureIncompat) : 0;
  roCompatFeatures = dynamic ? sb.Le32(kSbFeatureRoCompat) : 0;
  inodesPerGroup = perGroup;
  inodesCount = count;
  blocksPerGroup = sb.Le32(kSbBlocksPerGroup);
  fileSystemBlocks = sb.Le32(kSbBlocksCount);
  superBlockGroup = sb.Le16(kSbBlockGroupNr);
  std::copy(sector + kSbUuid, sector + kSbUuid + sizeof fsUuid, fsUuid);
  std::copy(sector + kSbVolumeName, sector + kSbVolumeName + sizeof volumeName, volumeName);
  // The count of groups is kept in 16 bits; a larger one (a damaged inode count) is held at the
  // top instead of wrapping to a small number. The descriptor table ends the groups anyway.
  const std::uint32_t groups = count / perGroup + (count % perGroup != 0 ? 1 : 0);
  groupCount = static_cast<std::uint16_t>(groups > 0xFFFF ? 0xFFFF : groups);
  const std::uint64_t tableSectors = static_cast<std::uint64_t>(perGroup) * inodeSize / kSectorSize;
  inodeTableSectorsPerGroup = tableSectors > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(tableSectors);
  // The descriptor table starts at the block after the one that holds the super block.
  descriptorTableOffset = sectorsPerBlock == 8 ? 8 : 4;
  return true;
}

std::uint32_t CLinuxDrive::NextBackupGroup(std::uint32_t after, std::uint64_t groups) const {
  if (!HasGeometry() || blocksPerGroup == 0 || (incompatFeatures & kIncompatMetaBg) != 0) return 0;
  std::uint64_t next = static_cast<std::uint64_t>(after) + 1;
  if ((roCompatFeatures & kRoCompatSparseSuper) != 0 && next > 1) {
    // Group 1 and the powers of 3, 5 and 7: the smallest of them above AFTER.
    std::uint64_t best = UINT64_MAX;
    for (std::uint64_t base : {3, 5, 7}) {
      std::uint64_t p = base;
      while (p <= after) p *= base;
      best = std::min(best, p);
    }
    next = best;
  }
  return next < groups && next <= UINT32_MAX ? static_cast<std::uint32_t>(next) : 0;
}

bool CLinuxDrive::TakeFirstBackupSuperBlock(const std::uint8_t* first) {
  const platform::ByteReader sb(first, kSectorSize);
  // Relative sectors of group 1's copy: by the first copy's own group size when that is one, then
  // by the group size mke2fs gives each block size (8 blocks of bitmap bits: 8192, 16384, 32768).
  std::vector<std::uint64_t> places;
  const std::uint32_t logBlockSize = sb.Le32(kSbLogBlockSize);
  const std::uint32_t firstGroupSize = sb.Le32(kSbBlocksPerGroup);
  if (sb.Le16(kSbMagic) == kExt2Magic && logBlockSize <= 2 && firstGroupSize != 0 &&
      firstGroupSize <= (8192u << logBlockSize)) {
    places.push_back((static_cast<std::uint64_t>(firstGroupSize) + (logBlockSize == 0 ? 1 : 0)) * (2u << logBlockSize));
  }
  for (std::uint32_t log = 0; log <= 2; ++log) {
    const std::uint64_t at = ((8192ull << log) + (log == 0 ? 1 : 0)) * (2u << log);
    if (std::find(places.begin(), places.end(), at) == places.end()) places.push_back(at);
  }
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  for (std::uint64_t at : places) {
    if (at + 1 >= sectorCount) continue;
    std::fill(sector.begin(), sector.end(), 0);
    if (!ReadDriveSectors(at, sector.data(), kSectorSize)) continue;
    if (!TakeSuperBlock(sector.data())) continue;
    // The copy must lie where its own geometry puts group 1's.
    const std::uint64_t own = (static_cast<std::uint64_t>(blocksPerGroup) + (sectorsPerBlock == 2 ? 1 : 0)) *
                              sectorsPerBlock;
    if (own != at || (superBlockGroup != 0 && superBlockGroup != 1)) {
      sectorsPerBlock = 0;
      continue;
    }
    superBlockGroup = 1;
    superBlockSector = static_cast<std::uint32_t>(at);
    char status[64];
    std::snprintf(status, sizeof status, "At sector %llu of the drive", static_cast<unsigned long long>(at));
    Log(nullptr, "Backup super block of group 1 used", status, kIconCompleted);
    return true;
  }
  return false;
}

bool CLinuxDrive::SuperBlockMatchesGeometry() {
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  if (!ReadDriveSectors(superBlockSector, sector.data(), kSectorSize)) return false;
  platform::ByteReader sb(sector.data(), sector.size());
  if (sb.Le16(kSbMagic) != kExt2Magic) return false;
  const std::uint8_t logBlockSize = sb.U8(kSbLogBlockSize);
  const std::uint64_t blockSectors = static_cast<std::uint64_t>(sb.Le32(kSbBlocksCount)) * sectorsPerBlock;
  const bool shape = logBlockSize <= 2 && (2u << logBlockSize) == sectorsPerBlock &&
                     sb.Le32(kSbInodesCount) == inodesCount && sb.Le32(kSbInodesPerGroup) == inodesPerGroup &&
                     blockSectors != 0 && blockSectors <= sectorCount;
  // Two drives of one shape differ in their identity, where the drive holds one (a scan file of the
  // old layout holds none: all zeros).
  const bool identityHeld = std::any_of(std::begin(fsUuid), std::end(fsUuid), [](std::uint8_t b) { return b != 0; });
  return shape && (!identityHeld || (std::equal(std::begin(fsUuid), std::end(fsUuid), sector.begin() + kSbUuid) &&
                                     std::equal(std::begin(volumeName), std::end(volumeName),
                                                sector.begin() + kSbVolumeName)));
}

void CLinuxDrive::ReadSuperBlock(const LogicalDriveNode& drive) {
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  std::string fault = "the first super block cannot be read";
  superBlockSector = kSuperBlockSector;
  if (ReadDriveSectors(kSuperBlockSector, sector.data(), kSectorSize) && TakeSuperBlock(sector.data(), &fault)) return;
  // The row names what is wrong with the first copy; the copy of group 1 is tried before the
  // drive is searched sector by sector.
  Log(nullptr, ("Super block unusable: " + fault).c_str(), "Trying the backup super block", kIconAborted);
  if (TakeFirstBackupSuperBlock(sector.data())) return;
  SearchSuperBlock(drive);
  if (frame != nullptr) frame->EndProgress();
}

int CLinuxDrive::SearchSuperBlock(const LogicalDriveNode& drive) {
  AppState& app = App();
  std::vector<std::uint8_t> buffer(kSearchStep * kSectorSize, 0);
  app.rowActivity[0] = app.rowText[0] = app.rowStatus[0] = 0;
  Log("Searching for valid super block", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);
  app.processRunning = 1;
  if (frame != nullptr) {
    frame->abortFlag = 0;
    frame->busyFlag = 1;
    frame->StartProgressText(static_cast<int>(sectorCount / kSearchStep), "Reading Sector..");
  }
  bool found = false;
  bool stopped = false;
  for (std::uint64_t s = static_cast<std::uint64_t>(drive.firstSector) + kSearchStep; s < drive.endSector && !found;
       s += kSearchStep) {
    if (frame != nullptr) {
      char text[96];
      std::snprintf(text, sizeof text, " Reading Sector %u of %u", static_cast<unsigned>(s), drive.endSector);
      frame->UpdateMarkedPane(false, false, text, true);
      frame->PumpMessages();
      if (frame->abortFlag) {
        stopped = true;
        break;
      }
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    ReadDiskSectors(disk, static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(s >> 32), buffer.data(),
                    static_cast<std::uint32_t>(buffer.size()));
    if (frame != nullptr) frame->StepProgressBar();
    for (std::uint32_t i = 0; i < kSearchStep && !found; ++i) {
      found = TakeSuperBlock(buffer.data() + i * kSectorSize);
      if (found) superBlockSector = static_cast<std::uint32_t>(s + i - drive.firstSector);
    }
  }
  if (stopped) {
    const std::string status = "Aborted on " + CTimeNow();
    Log(nullptr, "Process aborted, user intervention ", status.c_str(), kIconAborted);
    if (frame != nullptr) frame->EndProgress();
    app.logHasRows = 1;
    Log(nullptr, "No valid super block", status.c_str(), kIconAborted);
    return 0;
  }
  const std::string status = "Completed on " + CTimeNow();
  if (frame != nullptr) frame->EndProgress();
  app.logHasRows = 1;
  if (found) {
    Log(nullptr, "Valid super block found", status.c_str(), kIconCompleted);
  } else {
    Log(nullptr, "No valid super block", status.c_str(), kIconAborted);
  }
  return found ? 1 : 0;
}

}  // namespace ext2
