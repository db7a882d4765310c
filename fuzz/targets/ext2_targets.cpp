// Fuzz targets of the ext2 engine.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/drive_selection.h"

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"
#include "fuzz_targets.h"
#include "headless_host.h"
#include "test_disk.h"

namespace fuzz {

using namespace ext2;
using namespace ext2::headless;
using namespace ext2::testing;

namespace {
std::shared_ptr<platform::MemoryDevice> Disk(const std::uint8_t* data, std::size_t size) {
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

// Opens the whole input as one logical drive on HOST, as Select Logical Drive OK does.
bool OpenWholeDrive(const std::uint8_t* data, std::size_t size, HeadlessHost& host) {
  if (size < 1024 + 512) return false;
  Disk(data, size);
  LogicalDrives().Clear();
  LogicalDrives().Drives().push_back({0, 0, static_cast<std::uint32_t>(size / 512), 0x83, 0, 0});
  OpenLogicalDrive(host, 0x80, 0);
  return App().currentDrive != nullptr;
}

int FuzzExt2Tree(const std::uint8_t* data, std::size_t size) {
  HeadlessHost host;
  OpenWholeDrive(data, size, host);
  App().Reset();
  return 0;
}

int FuzzDeletedAndLost(const std::uint8_t* data, std::size_t size) {
  HeadlessHost host;
  if (OpenWholeDrive(data, size, host) && App().currentDrive->HasGeometry()) SearchDeletedAndLost(host);
  App().Reset();
  return 0;
}

int FuzzDriveSearch(const std::uint8_t* data, std::size_t size) {
  for (int type : {1, 0}) {
    Disk(data, size);
    App().searchType = type;
    HeadlessHost host;
    SearchForLogicalDrives(host, 0);
    App().Reset();
  }
  LogicalDrives().Clear();
  return 0;
}

int FuzzScanFile(const std::uint8_t* data, std::size_t size) {
  static const std::string path = FuzzTempPath("scan.DAT");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  Disk(data, 0);
  HeadlessHost host;
  OpenUsingScanInfo(host, path);
  App().Reset();
  LogicalDrives().Clear();
  return 0;
}

namespace {
bool PlentyOfSpace(const std::string&, std::uint64_t& bytes) {
  bytes = UINT64_MAX;
  return true;
}
}  // namespace

int FuzzRecovery(const std::uint8_t* data, std::size_t size) {
  static const std::string scan = FuzzTempPath("recovery.DAT");
  static const std::string dest = FuzzTempPath("recovery-out");
  if (size < 4) return 0;
  const std::uint32_t n = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
  const std::size_t scanBytes = std::min<std::size_t>(n, size - 4);
  std::FILE* f = std::fopen(scan.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data + 4, 1, scanBytes, f);
  std::fclose(f);
  Disk(data + 4 + scanBytes, size - 4 - scanBytes);
  App().readMode = static_cast<std::uint8_t>(size & 1);
  HeadlessHost host;
  OpenUsingScanInfo(host, scan);
  if (App().currentDrive != nullptr && !host.entries.empty()) {
    App().currentDrive->firstSector = 0;  // the image is the drive
    std::error_code ec;
    std::filesystem::remove_all(dest, ec);
    std::filesystem::create_directories(dest, ec);
    SetFreeSpaceQuery(PlentyOfSpace);
    RecoverFiles(host, *App().currentDrive, kRecoverAll, dest);
    SetFreeSpaceQuery(nullptr);
    std::filesystem::remove_all(dest, ec);
  }
  App().Reset();
  LogicalDrives().Clear();
  return 0;
}

}  // namespace fuzz
