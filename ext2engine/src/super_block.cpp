// The super block: its geometry, and the search for a usable copy when the first is bad.
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "platform/byte_reader.h"

namespace {
constexpr std::size_t kSbInodesCount = 0;
constexpr std::size_t kSbBlocksCount = 4;
constexpr std::size_t kSbLogBlockSize = 24;
constexpr std::size_t kSbInodesPerGroup = 40;
constexpr std::size_t kSbMagic = 56;
constexpr std::size_t kSbRevLevel = 76;
constexpr std::size_t kSbInodeSize = 88;
constexpr std::size_t kSbFeatureIncompat = 96;
constexpr std::uint16_t kExt2Magic = 0xEF53;
constexpr std::uint32_t kSearchStep = 63;
}  // namespace

bool CLinuxDrive::TakeSuperBlock(const std::uint8_t* sector) {
  platform::ByteReader sb(sector, kSectorSize);
  if (sb.Le16(kSbMagic) != kExt2Magic) return false;
  const std::uint32_t count = sb.Le32(kSbInodesCount);
  const std::uint32_t perGroup = sb.Le32(kSbInodesPerGroup);
  if (count == 0 || perGroup == 0) {
    sectorsPerBlock = 0;
    return false;
  }
  const std::uint8_t logBlockSize = sb.U8(kSbLogBlockSize);
  sectorsPerBlock = logBlockSize <= 2 ? static_cast<std::uint8_t>(2u << logBlockSize) : 0;
  // Inodes are s_inode_size bytes from revision 1 on; revision 0 has 128-byte inodes and no
  // feature fields.
  const bool dynamic = sb.Le32(kSbRevLevel) >= 1;
  std::uint32_t size = dynamic ? sb.Le16(kSbInodeSize) : 128;
  const bool sizeOk = size >= 128 && (size & (size - 1)) == 0 && size <= 512u * 8;
  if (!HasGeometry() || !sizeOk || size > BlockSize()) {
    sectorsPerBlock = 0;
    return false;
  }
  inodeSize = static_cast<std::uint16_t>(size);
  incompatFeatures = dynamic ? sb.Le32(kSbFeatureIncompat) : 0;
  inodesPerGroup = perGroup;
  inodesCount = count;
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

bool CLinuxDrive::SuperBlockMatchesGeometry() {
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  if (!ReadDriveSectors(2, sector.data(), kSectorSize)) return false;
  platform::ByteReader sb(sector.data(), sector.size());
  if (sb.Le16(kSbMagic) != kExt2Magic) return false;
  const std::uint8_t logBlockSize = sb.U8(kSbLogBlockSize);
  const std::uint64_t blockSectors = static_cast<std::uint64_t>(sb.Le32(kSbBlocksCount)) * sectorsPerBlock;
  return logBlockSize <= 2 && (2u << logBlockSize) == sectorsPerBlock && sb.Le32(kSbInodesCount) == inodesCount &&
         sb.Le32(kSbInodesPerGroup) == inodesPerGroup && blockSectors != 0 && blockSectors <= sectorCount;
}

void CLinuxDrive::ReadSuperBlock(const LogicalDriveNode& drive) {
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  ReadDriveSectors(2, sector.data(), kSectorSize);
  if (TakeSuperBlock(sector.data())) return;
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
