// Partition walk and drive opening as the selection dialogs run them.
#include "ext2engine/drive_selection.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/disk_identity.h"
#include "ext2engine/fs_features.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "platform/disk_list.h"

namespace ext2 {

std::string FormatDriveSize(std::uint64_t bytes) {
  constexpr std::uint64_t G = 1ull << 30;
  constexpr std::uint64_t M = 1ull << 20;
  char text[64];
  if (bytes >= G) {
    const std::uint64_t g = bytes / G;
    const std::uint64_t r = (bytes % G) >> 20;
    if (r != 0) {
      std::snprintf(text, sizeof text, "%llu.%llu GB", static_cast<unsigned long long>(g),
                    static_cast<unsigned long long>(r));
    } else {
      std::snprintf(text, sizeof text, "%llu GB", static_cast<unsigned long long>(g));
    }
  } else if (bytes >= M) {
    const std::uint64_t m = bytes / M;
    const std::uint64_t r = (bytes % M) >> 10;
    if (r != 0) {
      std::snprintf(text, sizeof text, "%llu.%llu MB", static_cast<unsigned long long>(m),
                    static_cast<unsigned long long>(r));
    } else {
      std::snprintf(text, sizeof text, "%llu MB", static_cast<unsigned long long>(m));
    }
  } else {
    return "?.? GB";
  }
  return text;
}

const char* FileSystemText(std::uint8_t type) {
  switch (type) {
    case 0x01: return "FAT12";
    case 0x04: case 0x06: return "FAT16";
    case 0x07: case 0x42: return "NTFS";
    case 0x0B: case 0x0C: case 0x0E: return "FAT32";
    case 0x83: return "LINUX";
    case 0x86: case 0x87: return "EXTENDED NTFS";
    default: return "";
  }
}

void DiskRowTexts(const char* model, const char* serial, std::string& modelText, std::string& serialText) {
  if (model != nullptr && model[0] >= 'A' && model[0] <= 'Z') {
    modelText = (model[0] == 'S' && model[1] == 'T') ? std::string("Seagate ") + model : std::string(model);
    serialText = serial != nullptr ? serial : "";
  } else {
    modelText = serialText = "UNKNOWN";
  }
}

void PhysicalDiskRowTexts(std::uint8_t index, int openError, std::string& modelText, std::string& serialText) {
  modelText = serialText = "UNKNOWN";
  if (openError == 0 && IdentifyDisk(index)) {
    DiskRowTexts(App().diskModel, App().diskSerial, modelText, serialText);
  }
  if (modelText == "UNKNOWN") {
    const std::string path = PhysicalDiskPath(index);
    const platform::DiskDescription known = path.empty() ? platform::DiskDescription{} : platform::DescribeDiskPath(path);
    modelText = known.model.empty() ? "UNKNOWN" : known.model;
    serialText = known.serial.empty() ? "UNKNOWN" : known.serial;
  }
  if (openError != 0) modelText += std::string(" (") + std::strerror(openError) + ")";
}

std::string UnopenedDiskAdvice(std::uint8_t index, int openError) {
  const std::string path = PhysicalDiskPath(index);
  std::string text = "HardDisk " + std::to_string(index + 1) + (path.empty() ? "" : " (" + path + ")") +
                     " cannot be opened: " + std::strerror(openError) + ".";
  if (openError == EACCES || openError == EPERM) {
    text += "\n\nReading a disk needs the right to read its device. Run Quarvel Velnora Linux as root, or "
            "join the group that owns the device (usually \"disk\": sudo usermod -aG disk $USER), log in "
            "again and start the program anew.";
  }
  return text;
}

int WalkPartitionTables(FrameServices& frame, std::uint8_t diskIndex, const std::string& modelText,
                        const std::string& serialText, MessageAnswer* answer) {
  LogSelectedDisk(frame, diskIndex, modelText, serialText);

  LogicalDriveList& list = LogicalDrives();
  list.StartWalk();
  list.ScanPartitionTable(static_cast<std::uint8_t>(kFirstPhysicalDisk + diskIndex), 0);
  // A table that cannot be read says so, with the reason: no drives found is not no drives there.
  bool firstUnread = false;
  for (const LogicalDriveList::UnreadTable& table : list.UnreadTables()) {
    std::string reason = table.error != 0 ? std::strerror(table.error) : "read error";
    // A disk refused for what it is (a FIFO, a folder) is named by its path and kind.
    if (table.error == ENOTBLK || table.error == EISDIR) {
      reason = platform::OpenFailureText(PhysicalDiskPath(diskIndex), table.error);
    }
    const std::string text = "Sector " + std::to_string(table.lba) + " cannot be read: " + reason;
    firstUnread |= table.lba == 0;
    frame.AddLogEntry("Read partition table", text.c_str(),
                      table.lba == 0 ? "Partition table not read" : "Extended partition table not read", kIconQuestion);
  }
  for (const OverlongPartition& p : list.Overlong()) {
    char text[160];
    std::snprintf(text, sizeof text, "Linux partition from sector %llu to %llu ends past the disk's end (%llu sectors)",
                  static_cast<unsigned long long>(p.firstSector), static_cast<unsigned long long>(p.endSector - 1),
                  static_cast<unsigned long long>(p.diskSectors));
    frame.AddLogEntry("Read partition table", text, p.refused ? "Partition refused" : "Drive may be incomplete",
                      kIconAborted);
  }
  // Counted in an int: a chain of 256 drives or more is not none, nor a few.
  const int count = static_cast<int>(list.Drives().size());
  if (count > 0) {
    char status[64];
    std::snprintf(status, sizeof status, "%d Linux logical drive(s) found", count);
    frame.AddLogEntry("Read partition table", "Partition table OK", status, kIconQuestion);
    return count;
  }
  if (!firstUnread) frame.AddLogEntry("Read partition table", nullptr, "No valid Linux drives found", kIconQuestion);
  const MessageAnswer a = frame.GetPrompts().MessageBox(
      "No valid Linux drives in partition table, search for logical drives", "Quarvel Velnora Linux",
      MessageButtons::YesNo);
  if (answer != nullptr) *answer = a;
  return 0;
}

void LogSelectedDisk(FrameServices& frame, std::uint8_t diskIndex, const std::string& modelText,
                     const std::string& serialText) {
  AppState& app = App();
  app.selectedDiskIndex = diskIndex;
  std::snprintf(app.rowActivity, sizeof app.rowActivity, "Physical disk #%d selected", diskIndex + 1);
  std::snprintf(app.rowText, sizeof app.rowText, "%s,version %s", modelText.c_str(), serialText.c_str());
  std::snprintf(app.rowStatus, sizeof app.rowStatus, "%s", CTimeNow().c_str());
  frame.AddLogEntry(app.rowActivity, app.rowText, app.rowStatus, kIconEvent);
  app.logHasRows = 1;
}

int SearchForLogicalDrives(FrameServices& frame, std::uint8_t diskIndex) {
  AppState& app = App();
  if (app.searchType == -1) return 0;
  LogicalDriveList& list = LogicalDrives();
  list.StartSearch();
  if (app.viewsFilled == 1) {
    if (TreeViewPort* tree = frame.GetLeftPane()) tree->ClearTree();
    if (ListViewPort* listView = frame.GetRightPane()) listView->ClearListView();
  }
  if (app.currentDrive) {
    app.currentDrive->ClearLists();
    frame.SetDrive(nullptr);
    app.currentDrive.reset();
  }
  app.currentDrive = std::make_unique<CLinuxDrive>();
  CLinuxDrive& search = *app.currentDrive;
  search.disk = static_cast<std::uint8_t>(kFirstPhysicalDisk + diskIndex);
  search.AttachFrame(&frame);
  frame.SetDrive(&search);
  frame.UpdateTotalsPane();
  frame.UpdateMarkedPane(false, false, nullptr, false);

  search.SearchLogicalDrives();
  if (search.foundDrives.empty()) return 0;

  std::size_t ordinal = 0;
  for (const FoundDriveNode& found : search.foundDrives) {
    LogicalDriveNode node;
    node.firstSector = found.firstSector;
    node.endSector = found.firstSector + found.sectorCount;
    node.tableBase = 0;
    node.partitionType = kLinuxPartition;
    node.ordinal = static_cast<std::uint8_t>(++ordinal);  // the record's byte
    list.Drives().push_back(node);
  }
  search.foundDrives.clear();
  search.foundCount = 0;
  frame.SetDrive(nullptr);
  app.currentDrive.reset();
  return static_cast<int>(list.Drives().size());
}

bool OpenLogicalDrive(FrameServices& frame, std::uint8_t diskNumber, int row) {
  AppState& app = App();
  LogicalDriveList& list = LogicalDrives();
  if (row < 0 || static_cast<std::size_t>(row) >= list.Drives().size()) return false;
  TreeViewPort* tree = frame.GetLeftPane();
  ListViewPort* listView = frame.GetRightPane();
  if (tree != nullptr) tree->FreeEntryLists();
  for (ToolbarCommand command :
       {kCmdOpenScanInfo, kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdFileMask, kCmdAddFileFilter, kCmdFind,
        kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
    frame.EnableToolbarButton(command, false);
  }
  list.CommitChoice();
  const LogicalDriveNode node = list.Drives()[static_cast<std::size_t>(row)];

  std::snprintf(app.rowActivity, sizeof app.rowActivity, "Logical drive #%d selected", row + 1);
  const std::string size = FormatDriveSize(static_cast<std::uint64_t>(node.endSector - node.firstSector) * 512);
  std::snprintf(app.rowText, sizeof app.rowText, "Drive starts at sector %u, size %s", node.firstSector, size.c_str());
  std::snprintf(app.rowStatus, sizeof app.rowStatus, "%s", CTimeNow().c_str());
  frame.AddLogEntry(app.rowActivity, app.rowText, app.rowStatus, kIconEvent);
  if (node.partitionType != kLinuxPartition) return true;

  frame.UpdateMarkedPane(false, true, nullptr, false);
  if (app.viewsFilled == 1) {
    if (tree != nullptr) tree->ClearTree();
    if (listView != nullptr) listView->ClearListView();
  }
  if (app.currentDrive) {
    app.currentDrive->ClearLists();
    frame.SetDrive(nullptr);
    app.currentDrive.reset();
  }
  frame.AddLogEntry("Getting drive parameters", nullptr, "Started", kIconStarted);
  frame.EnableToolbarButton(kCmdSelectPhysicalDisk, false);

  app.currentDrive = std::make_unique<CLinuxDrive>();
  CLinuxDrive& drive = *app.currentDrive;
  drive.disk = diskNumber;
  frame.SetDrive(&drive);
  drive.AttachFrame(&frame);
  frame.UpdateTotalsPane();
  frame.UpdateMarkedPane(false, false, nullptr, false);
  frame.AddLogEntry(nullptr, nullptr, "Done", kIconCompleted);

  app.deletedAndLostSearched = 0;
  app.scanSaved = 0;
  app.scanned = 0;
  app.processRunning = 1;
  frame.abortFlag = 0;
  frame.EnableToolbarButton(kCmdGoUp, false);
  frame.EnableToolbarButton(kCmdStop, true);

  drive.firstSector = node.firstSector;
  drive.sectorCount = node.endSector - node.firstSector;
  drive.lastSector = drive.firstSector + drive.sectorCount - 1;
  drive.driveIndex = static_cast<std::uint32_t>(row);
  drive.ReadSuperBlock(node);
  FitDriveToDisk(frame, drive);
  // A drive in a layout the engine does not read shows less than it holds: the log says so.
  const std::string unread = drive.HasGeometry() ? UnreadIncompatFeatures(drive.incompatFeatures) : std::string();
  if (!unread.empty()) {
    frame.AddLogEntry(nullptr, ("File system features not supported: " + unread).c_str(),
                      "Files and folders may be missing", kIconAborted);
  }
  if (drive.ReadGroupDescriptors()) {
    drive.BuildDirectoryTree();
  } else {
    frame.GetPrompts().MessageBox(" Not A Legal Linux Logical Drive", "Quarvel Velnora Ext2 Ext3", MessageButtons::Ok);
    app.scanned = 0;
    app.processRunning = 0;
  }
  return true;
}

}  // namespace ext2
