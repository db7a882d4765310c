// qv-probe: runs engine steps of Quarvel Velnora FAT on a headless host and prints what happened.
// Output lines are tab-separated records (LOG, MSG, DRIVE, ENTRY, TOTAL, ...); exit status 0 unless
// the probe's own arguments are wrong (2).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/disk_identity.h"
#include "ext2engine/drive_search.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"
#include "ext2engine/settings_file.h"
#include "headless_host.h"
#include "probe_output.h"
#include "probe_steps.h"

namespace ext2::headless {

using namespace probe;

namespace {

const char* const kUsage =
    "usage: qv-probe [--disk PATH]... [--disk-index N] [--retries N] [--read-mode sector|block] STEP...\n"
    "  partitions        walk the partition tables of the selected disk\n"
    "  open K            open row K (from 0) of the logical-drive list\n"
    "  tree              print the entry list\n"
    "  deleted-lost      Search Deleted and Lost, as the frame's command runs it\n"
    "  save-scan FILE    save the scan information of the open drive to FILE\n"
    "  load-scan FILE    open a fresh drive from the scan-information file FILE\n"
    "  search standard|advanced   search the selected disk for logical drives; they become the list\n"
    "  identify          print the selected disk's IDENTITY (model, serial, firmware)\n"
    "  check INODE...    check those entries and mark the folders above them partly checked\n"
    "  filter include|exclude PATTERN...   the drive's file filters\n"
    "  recover selected|all|existing|deleted DIR   recover into DIR/#Root\n"
    "options: --search-advanced-on-fail yes|no   the answer to switching to the advanced search\n"
    "         --on-exists skip|skip-all|overwrite|overwrite-all|rename|rename-all   (default overwrite)\n";

struct Probe {
  HeadlessHost& host;
  std::FILE* out;
  std::uint8_t diskIndex = 0;
  std::uint8_t DiskNumber() const { return static_cast<std::uint8_t>(kFirstPhysicalDisk + diskIndex); }
};

using Args = ProbeArgs;

// A step: its name, how many arguments it takes (-1: one or more, up to the next step's name),
// a check of those arguments (an error text, or empty when they are right) and what it does.
struct Step {
  const char* name;
  int argCount;
  std::function<std::string(const Args&)> check;
  std::function<void(Probe&, const Args&)> run;
};

bool ParseNumber(const std::string& text, long min, long max, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return *end == 0 && value >= min && value <= max;
}

std::string NoCheck(const Args&) { return {}; }

void PrintDrives(Probe& p) {
  const auto& drives = LogicalDrives().Drives();
  for (std::size_t row = 0; row < drives.size(); ++row) {
    const auto& d = drives[row];
    std::fprintf(p.out, "DRIVE\t%zu\t%u\t%u\t%u\t%u\n", row, d.firstSector, d.endSector, d.partitionType, d.ordinal);
  }
}

void PrintTree(Probe& p) {
  for (const auto& e : p.host.entries) {
    std::fprintf(p.out, "ENTRY\t%u\t%u\t%s\t%u\t%u\t%u\t%llu\t%lld\t%lld\t%lld\t%s\n", e.inode, e.parentInode,
                 e.IsFolder() ? "dir" : "file", e.deleted, e.lost, e.check, static_cast<unsigned long long>(e.size),
                 static_cast<long long>(e.accessTime), static_cast<long long>(e.changeTime),
                 static_cast<long long>(e.modificationTime), EscapeField(e.name).c_str());
  }
  const CLinuxDrive* drive = App().currentDrive.get();
  std::fprintf(p.out, "TOTAL\t%u\t%u\t%u\t%llu\n", drive ? drive->entries : 0, drive ? drive->folders : 0,
               drive ? drive->files : 0, static_cast<unsigned long long>(drive ? drive->totalBytes : 0));
}

int RecoveryTypeOf(const std::string& word) {
  if (word == "selected") return kRecoverMarked;
  if (word == "all") return kRecoverAll;
  if (word == "existing") return kRecoverExisting;
  if (word == "deleted") return kRecoverDeleted;
  return -1;
}

// Checks the entries of INODES and marks each folder above them partly checked, then takes the
// marked amount as the views count it.
void CheckEntries(Probe& p, const std::vector<std::uint32_t>& inodes) {
  EntryList& list = p.host.entries;
  std::unordered_map<std::uint32_t, ListedEntry*> folders;
  for (auto& e : list) {
    if (e.IsFolder()) folders.emplace(e.inode, &e);
  }
  for (std::uint32_t inode : inodes) {
    for (auto& e : list) {
      if (e.inode != inode) continue;
      e.check = 1;
      std::unordered_set<std::uint32_t> seen;
      for (auto it = folders.find(e.parentInode); it != folders.end() && seen.insert(it->first).second;
           it = folders.find(it->second->parentInode)) {
        if (it->second->check != 1) it->second->check = 2;
      }
    }
  }
  p.host.markedFolders = p.host.markedFiles = 0;
  p.host.markedBytes = 0;
  for (const auto& e : list) {
    if (e.check != 1 && e.check != 2) continue;
    (e.IsFolder() ? p.host.markedFolders : p.host.markedFiles) += 1;
    p.host.markedBytes += e.size;
  }
  App().marked = (p.host.markedFolders + p.host.markedFiles) > 0 ? 1 : 0;
}

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"partitions", 0, NoCheck,
       [](Probe& p, const Args&) {
         std::string model, serial;
         DiskRowTexts(App().diskModel, App().diskSerial, model, serial);
         WalkPartitionTables(p.host, p.diskIndex, model, serial);
         PrintDrives(p);
       }},
      {"open", 1,
       [](const Args& a) {
         long k = 0;
         return ParseNumber(a[0], 0, 0x7FFFFFFF, k) ? std::string() : std::string("open takes a row number");
       },
       [](Probe& p, const Args& a) { OpenLogicalDrive(p.host, p.DiskNumber(), std::atoi(a[0].c_str())); }},
      {"tree", 0, NoCheck, [](Probe& p, const Args&) { PrintTree(p); }},
      {"deleted-lost", 0, NoCheck, [](Probe& p, const Args&) { SearchDeletedAndLost(p.host); }},
      {"save-scan", 1, NoCheck,
       [](Probe&, const Args& a) {
         if (App().currentDrive) App().currentDrive->SaveScanInfo(a[0]);
       }},
      {"load-scan", 1, NoCheck, [](Probe& p, const Args& a) { OpenUsingScanInfo(p.host, a[0]); }},
      {"check", -1,
       [](const Args& a) {
         long n = 0;
         for (const auto& x : a) {
           if (!ParseNumber(x, 0, 0xFFFFFFFFL, n)) return std::string("check takes inode numbers");
         }
         return std::string();
       },
       [](Probe& p, const Args& a) {
         std::vector<std::uint32_t> inodes;
         for (const auto& x : a) inodes.push_back(static_cast<std::uint32_t>(std::stoul(x)));
         CheckEntries(p, inodes);
       }},
      {"filter", -1,
       [](const Args& a) {
         return a.size() >= 2 && (a[0] == "include" || a[0] == "exclude")
                    ? std::string()
                    : std::string("filter takes include|exclude and patterns");
       },
       [](Probe&, const Args& a) {
         CLinuxDrive* drive = App().currentDrive.get();
         if (drive == nullptr) return;
         drive->filterMode = a[0] == "include" ? 0 : 1;
         for (std::size_t k = 1; k < a.size(); ++k) {
           drive->filters.push_back({a[k].substr(0, 255), static_cast<std::uint8_t>(drive->filters.size() + 1)});
         }
       }},
      {"recover", 2,
       [](const Args& a) {
         return RecoveryTypeOf(a[0]) >= 0 ? std::string() : std::string("recover takes selected|all|existing|deleted");
       },
       [](Probe& p, const Args& a) {
         if (App().currentDrive) {
           RecoverFiles(p.host, *App().currentDrive, static_cast<std::uint8_t>(RecoveryTypeOf(a[0])), a[1]);
         }
       }},
      {"search", 1,
       [](const Args& a) {
         return a[0] == "standard" || a[0] == "advanced" ? std::string()
                                                         : std::string("search takes standard or advanced");
       },
       [](Probe& p, const Args& a) {
         std::string model, serial;
         DiskRowTexts(App().diskModel, App().diskSerial, model, serial);
         LogSelectedDisk(p.host, p.diskIndex, model, serial);
         App().searchType = a[0] == "standard" ? 1 : 0;
         SearchForLogicalDrives(p.host, p.diskIndex);
         PrintDrives(p);
       }},
      {"identify", 0, NoCheck,
       [](Probe& p, const Args&) {
         IdentifyDisk(p.diskIndex);
         std::fprintf(p.out, "IDENTITY\t%s\t%s\t%s\n", EscapeField(App().diskModel).c_str(),
                      EscapeField(App().diskSerial).c_str(), EscapeField(App().diskFirmware).c_str());
       }},
  };
  return steps;
}


int Usage(const std::string& problem) {
  std::fprintf(stderr, "qv-probe: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

}  // namespace

}  // namespace ext2::headless

using namespace ext2;
using namespace ext2::headless;

int main(int argc, char** argv) {
  std::vector<std::string> disks;
  long diskIndex = 0;
  long retries = -1;
  int readMode = -1;
  MessageAnswer advancedOnFail = kAnswerNo;
  FileExistsDecision onExists = FileExistsDecision::Overwrite;
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
    const std::string opt = argv[i];
    if (i + 1 >= argc) return Usage("missing value for " + opt);
    const std::string value = argv[i + 1];
    if (opt == "--disk") {
      disks.push_back(value);
    } else if (opt == "--disk-index") {
      if (!ParseNumber(value, 0, 127, diskIndex)) return Usage("--disk-index takes 0 to 127");
    } else if (opt == "--retries") {
      if (!ParseNumber(value, 0, 255, retries)) return Usage("--retries takes 0 to 255");
    } else if (opt == "--search-advanced-on-fail") {
      if (value != "yes" && value != "no") return Usage("--search-advanced-on-fail takes yes or no");
      advancedOnFail = value == "yes" ? kAnswerYes : kAnswerNo;
    } else if (opt == "--read-mode") {
      if (value != "sector" && value != "block") return Usage("--read-mode takes sector or block");
      readMode = value == "sector" ? 1 : 0;
    } else if (opt == "--on-exists") {
      using enum FileExistsDecision;
      static const std::pair<const char*, FileExistsDecision> answers[] = {
          {"skip-all", SkipAll}, {"overwrite-all", OverwriteAll}, {"rename-all", RenameAll},
          {"skip", Skip},        {"overwrite", Overwrite},        {"rename", Rename}};
      onExists = None;
      for (const auto& [text, decision] : answers) {
        if (value == text) onExists = decision;
      }
      if (onExists == None) return Usage("--on-exists takes skip|skip-all|overwrite|overwrite-all|rename|rename-all");
    } else {
      return Usage("unknown option " + opt);
    }
  }
  // Parse every step before running any, so that a wrong command line runs nothing.
  std::vector<std::pair<const Step*, Args>> plan;
  const std::string problem = PlanSteps(argc, argv, i, Steps(), plan);
  if (!problem.empty()) return Usage(problem);

  AppState& app = App();
  ReadSettings(SettingsPathInCurrentDirectory(), app);
  if (retries >= 0) app.readRetryCount = static_cast<std::uint8_t>(retries);
  if (readMode >= 0) app.readMode = static_cast<std::uint8_t>(readMode);
  if (!disks.empty()) SetDiskSource(PathListDiskSource(disks));
  if (!disks.empty()) SetIdentitySource(PathListIdentitySource(disks));

  std::FILE* out = stdout;
  static char buffer[1 << 16];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  HeadlessHost host(out);
  host.keepLog = false;  // every row is printed as it comes
  host.onExists = onExists;
  host.answersByText[kSwitchToAdvancedSearchText] = advancedOnFail;
  Probe probe{host, out, static_cast<std::uint8_t>(diskIndex)};
  for (const auto& [step, args] : plan) step->run(probe, args);
  std::fflush(out);
  app.Reset();
  return 0;
}
