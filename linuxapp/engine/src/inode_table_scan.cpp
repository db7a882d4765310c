// The inode-table scan shared by the lost-folder and deleted-inode searches.
#include "inode_table_scan.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"

namespace ext2 {

bool StopRequested(const CLinuxDrive& drive) { return drive.frame != nullptr && drive.frame->abortFlag != 0; }

void StartInodeSearch(CLinuxDrive& drive) {
  AppState& app = App();
  app.processRunning = 1;
  app.stopRequested = 0;
  app.recovering = 0;
  if (drive.frame != nullptr) {
    drive.frame->busyFlag = 1;
    drive.frame->abortFlag = 0;
  }
}

bool ScanInodeTables(CLinuxDrive& drive, bool stepPerSector,
                     const std::function<bool(std::uint32_t inode, const InodeCopy& record)>& visit) {
  const std::uint32_t perGroup = drive.inodesPerGroup;
  const std::uint32_t inodeSize = drive.inodeSize;
  if (perGroup == 0 || inodeSize == 0) return true;
  // A table holds no more sectors than its inodes fill, nor more than the drive has.
  const std::uint64_t filled = (static_cast<std::uint64_t>(perGroup) * inodeSize + kSectorSize - 1) / kSectorSize;
  const std::uint64_t sectors =
      std::min<std::uint64_t>({drive.inodeTableSectorsPerGroup, filled, std::max<std::uint32_t>(drive.sectorCount, 1)});
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  FrameServices* frame = drive.frame;
  // All the tables together fit on the drive: damaged descriptors that name the same or too large
  // tables for many groups end the scan there instead of reading the drive over and over.
  std::uint64_t budget = std::max<std::uint32_t>(drive.sectorCount, 1);
  for (std::size_t g = 0; g < drive.descriptors.size(); ++g) {
    const std::uint64_t tableStart = drive.descriptors[g].inodeTableSector;
    for (std::uint64_t s = 0; s < sectors; ++s) {
      if (budget-- == 0) return true;
      if (frame != nullptr) {
        if (stepPerSector) frame->StepProgressBar();
        frame->PumpMessages();
        if (frame->abortFlag) return false;
        char text[96];
        std::snprintf(text, sizeof text, " Reading Inode Sector %llu of Block Group %zu",
                      static_cast<unsigned long long>(s), g + 1);
        frame->UpdateMarkedPane(false, false, text, true);
      }
      std::fill(sector.begin(), sector.end(), 0);
      if (!drive.ReadDriveSectors(tableStart + s, sector.data(), kSectorSize)) {
        drive.ReportInodeTableSector(static_cast<std::uint32_t>(g), tableStart + s);
      }
      // The inodes whose records start in this sector.
      const std::uint64_t from = s * kSectorSize;
      for (std::uint64_t slot = (from + inodeSize - 1) / inodeSize;
           slot < perGroup && slot * inodeSize < from + kSectorSize; ++slot) {
        const std::uint64_t number = static_cast<std::uint64_t>(g) * perGroup + slot + 1;
        if (number > 0xFFFFFFFFu) return true;
        const InodeCopy record = DecodeInode(sector.data(), sector.size(), static_cast<std::size_t>(slot * inodeSize - from));
        if (!visit(static_cast<std::uint32_t>(number), record)) return false;
      }
    }
  }
  return true;
}

}  // namespace ext2
