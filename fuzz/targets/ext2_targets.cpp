// Fuzz targets of the ext2 engine.
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "fuzz_targets.h"
#include "headless_host.h"
#include "test_disk.h"

namespace {
std::shared_ptr<MemoryDiskState> Disk(const std::uint8_t* data, std::size_t size) {
  App().Reset();
  App().readRetryCount = 1;
  return InstallMemoryDisk(std::vector<std::uint8_t>(data, data + size));
}
}  // namespace

int FuzzPartitionWalk(const std::uint8_t* data, std::size_t size) {
  Disk(data, size);
  LogicalDriveList list;
  list.StartWalk();
  list.ScanPartitionTable(0x80, 0);
  return 0;
}

int FuzzExt2Tree(const std::uint8_t* data, std::size_t size) {
  if (size < 1024 + 512) return 0;
  Disk(data, size);
  HeadlessHost host;
  CLinuxDrive drive;
  drive.disk = 0x80;
  drive.sectorCount = static_cast<std::uint32_t>(size / 512);
  drive.lastSector = drive.sectorCount - 1;
  drive.AttachFrame(&host);
  LogicalDriveNode node{0, 0, drive.sectorCount, 0x83, 0, 0};
  drive.ReadSuperBlock(node);
  if (drive.ReadGroupDescriptors()) drive.BuildDirectoryTree();
  drive.ClearLists();
  return 0;
}
