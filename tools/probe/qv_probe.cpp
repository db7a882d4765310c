// qv-probe: runs engine steps of Quarvel Velnora FAT on a headless host and prints what happened.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/settings_file.h"
#include "headless_host.h"

namespace {

const char* const kUsage =
    "usage: qv-probe [--disk PATH]... [--disk-index N] [--retries N] [--read-mode sector|block] STEP...\n"
    "  partitions        walk the partition tables of the selected disk\n"
    "  open K            open row K (from 0) of the logical-drive list\n"
    "  tree              print the entry list\n";

int Usage(const char* problem) {
  std::fprintf(stderr, "qv-probe: %s\n%s", problem, kUsage);
  return 2;
}

bool ParseNumber(const char* text, long min, long max, long& value) {
  if (text == nullptr || *text == 0) return false;
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *end == 0 && value >= min && value <= max;
}

void PrintDrives(std::FILE* out) {
  const auto& drives = LogicalDrives().Drives();
  for (std::size_t row = 0; row < drives.size(); ++row) {
    const auto& d = drives[row];
    std::fprintf(out, "DRIVE\t%zu\t%u\t%u\t%u\t%u\n", row, d.firstSector, d.endSector, d.partitionType, d.ordinal);
  }
}

void PrintTree(std::FILE* out, const HeadlessHost& host) {
  for (const auto& e : host.entries) {
    std::fprintf(out, "ENTRY\t%u\t%u\t%s\t%u\t%u\t%u\t%u\t%llu\t%llu\t%llu\t%s\n", e.inode, e.parentInode,
                 e.IsFolder() ? "dir" : "file", e.deleted, e.lost, e.check, e.size,
                 static_cast<unsigned long long>(e.accessTime), static_cast<unsigned long long>(e.changeTime),
                 static_cast<unsigned long long>(e.modificationTime), EscapeField(e.name).c_str());
  }
  const CLinuxDrive* drive = App().currentDrive.get();
  std::fprintf(out, "TOTAL\t%u\t%u\t%u\t%llu\n", drive ? drive->entries : 0, drive ? drive->folders : 0,
               drive ? drive->files : 0, static_cast<unsigned long long>(drive ? drive->totalBytes : 0));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> disks;
  long diskIndex = 0;
  long retries = -1;
  int readMode = -1;
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    const std::string opt = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (value == nullptr) return Usage(("missing value for " + opt).c_str());
    ++i;
    if (opt == "--disk") {
      disks.push_back(value);
    } else if (opt == "--disk-index") {
      if (!ParseNumber(value, 0, 127, diskIndex)) return Usage("--disk-index takes 0 to 127");
    } else if (opt == "--retries") {
      if (!ParseNumber(value, 0, 255, retries)) return Usage("--retries takes 0 to 255");
    } else if (opt == "--read-mode") {
      if (std::strcmp(value, "sector") == 0) {
        readMode = 1;
      } else if (std::strcmp(value, "block") == 0) {
        readMode = 0;
      } else {
        return Usage("--read-mode takes sector or block");
      }
    } else {
      return Usage(("unknown option " + opt).c_str());
    }
  }
  if (i >= argc) return Usage("no step given");

  // Check every step before running any, so that a wrong command line runs nothing.
  for (int j = i; j < argc; ++j) {
    const std::string step = argv[j];
    long k = 0;
    if (step == "open") {
      if (!ParseNumber(j + 1 < argc ? argv[j + 1] : nullptr, 0, 254, k)) return Usage("open takes a row number");
      ++j;
    } else if (step != "partitions" && step != "tree") {
      return Usage(("unknown step " + step).c_str());
    }
  }

  AppState& app = App();
  ReadSettings(SettingsPathInCurrentDirectory(), app);
  if (retries >= 0) app.readRetryCount = static_cast<std::uint8_t>(retries);
  if (readMode >= 0) app.readMode = static_cast<std::uint8_t>(readMode);
  if (!disks.empty()) SetDiskSource(PathListDiskSource(disks));

  std::FILE* out = stdout;
  static char buffer[1 << 16];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  HeadlessHost host(out);
  const std::uint8_t diskNumber = static_cast<std::uint8_t>(kFirstPhysicalDisk + diskIndex);

  for (int j = i; j < argc; ++j) {
    const std::string step = argv[j];
    if (step == "partitions") {
      std::string model, serial;
      DiskRowTexts(app.diskModel, app.diskSerial, model, serial);
      WalkPartitionTables(host, static_cast<std::uint8_t>(diskIndex), model, serial);
      PrintDrives(out);
    } else if (step == "open") {
      const int row = std::atoi(argv[++j]);
      OpenLogicalDrive(host, diskNumber, row);
    } else if (step == "tree") {
      PrintTree(out, host);
    }
  }
  std::fflush(out);
  app.Reset();
  return 0;
}
