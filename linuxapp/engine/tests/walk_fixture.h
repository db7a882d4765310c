// Opens an in-memory ext2 image as a drive and builds its tree on a headless host.
#pragma once

#include <algorithm>
#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "headless_host.h"
#include "test_disk.h"

namespace ext2::testing {

using namespace ext2::headless;

struct OpenedDrive {
  HeadlessHost host;
  CLinuxDrive drive;
  std::shared_ptr<platform::MemoryDevice> disk;

  explicit OpenedDrive(std::vector<std::uint8_t> bytes) {
    App().Reset();
    disk = InstallMemoryDisk(std::move(bytes));
    const auto sectors = static_cast<std::uint32_t>(disk->Bytes().size() / 512);
    drive.disk = 0x80;
    drive.firstSector = 0;
    drive.sectorCount = sectors;
    drive.lastSector = sectors - 1;
    drive.AttachFrame(&host);
    host.SetDrive(&drive);
  }
  ~OpenedDrive() { SetDiskSource(nullptr); }

  LogicalDriveNode Node() const { return {0, 0, drive.sectorCount, 0x83, 0, 0}; }

  // Super block, descriptors and tree, as opening a drive does.
  void Build() {
    drive.ReadSuperBlock(Node());
    if (drive.ReadGroupDescriptors()) drive.BuildDirectoryTree();
  }

  // "name@inode<parent" of every listed entry after Root, in list order.
  std::vector<std::string> Listed() const {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < host.entries.size(); ++i) {
      const auto& e = host.entries[i];
      out.push_back(e.name + "@" + std::to_string(e.inode) + "<" + std::to_string(e.parentInode));
    }
    return out;
  }
};

}  // namespace ext2::testing
