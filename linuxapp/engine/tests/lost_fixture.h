// The application's current drive on an in-memory disk with a headless host, as the frame's
// commands find it after a drive was opened.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "headless_host.h"
#include "test_disk.h"

namespace ext2::testing {

using namespace ext2::headless;

struct CurrentDrive {
  HeadlessHost host;
  std::shared_ptr<platform::MemoryDevice> disk;

  explicit CurrentDrive(std::vector<std::uint8_t> bytes) {
    App().Reset();
    LogicalDrives().Clear();
    disk = InstallMemoryDisk(std::move(bytes));
    App().currentDrive = std::make_unique<CLinuxDrive>();
    CLinuxDrive& d = drive();
    const auto sectors = static_cast<std::uint32_t>(disk->Bytes().size() / 512);
    d.disk = 0x80;
    d.sectorCount = sectors;
    d.lastSector = sectors - 1;
    d.AttachFrame(&host);
    host.SetDrive(&d);
  }
  ~CurrentDrive() {
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }

  CLinuxDrive& drive() { return *App().currentDrive; }

  // Super block, descriptors and tree, as Select Logical Drive OK does.
  void Open() {
    CLinuxDrive& d = drive();
    d.ReadSuperBlock({0, 0, d.sectorCount, 0x83, 0, 0});
    if (d.ReadGroupDescriptors()) d.BuildDirectoryTree();
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

  std::vector<std::string> LogTexts() const {
    std::vector<std::string> out;
    for (const auto& row : host.log) out.push_back(row.activity + "|" + row.text);
    return out;
  }
};

}  // namespace ext2::testing
