// The inode-table scan shared by the lost-folder and deleted-inode searches.
#pragma once

#include <cstdint>
#include <functional>

#include "ext2engine/linux_drive.h"

namespace ext2 {

// Calls VISIT with the number and the decoded record of every inode of every group's table, group by
// group and sector by sector. Before each sector the frame's messages are pumped, its stop flag is
// tested and " Reading Inode Sector %d of Block Group %d" is shown in the Marked pane; with
// STEP_PER_SECTOR the progress bar is stepped once per sector first. VISIT returns false to stop.
// Returns false when the scan was stopped (by the frame's stop flag or by VISIT).
bool ScanInodeTables(CLinuxDrive& drive, bool stepPerSector,
                     const std::function<bool(std::uint32_t inode, const InodeCopy& record)>& visit);

// True when the frame's stop flag is set.
bool StopRequested(const CLinuxDrive& drive);

// The flags that every inode-table search sets as it starts: process running, stop and recovering
// requests cleared, the frame busy and its stop flag cleared.
void StartInodeSearch(CLinuxDrive& drive);

}  // namespace ext2
