// Reading a scan-information file into a fresh drive, and the Open Using Scan Information command.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/scan_file.h"

namespace ext2 {

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr const char* kScanCaption = "Quarvel Velnora NTFS";

bool ReadExactly(std::FILE* f, void* buffer, std::size_t n) { return n == 0 || std::fread(buffer, 1, n, f) == n; }

// The bytes from the read position to the end of the file (0 when that cannot be told).
std::size_t BytesLeft(std::FILE* f) {
  const long at = std::ftell(f);
  if (at < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(f);
  if (std::fseek(f, at, SEEK_SET) != 0 || end < at) return 0;
  return static_cast<std::size_t>(end - at);
}

// An inode size the drive can work with: a power of two from 128 bytes up to the largest block.
bool UsableInodeSize(std::uint32_t size) { return size >= 128 && size <= 4096 && (size & (size - 1)) == 0; }
}  // namespace

void CLinuxDrive::LoadScanInfo(const std::string& path) {
  AppState& app = App();
  Log("Opening drive using saved scan Information", path.c_str(), ("Started on " + CTimeNow()).c_str(), kIconStarted);
  app.logHasRows = 1;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    Log("Unable to open file containing scan information", path.c_str(), "Process failed", kIconQuestion);
    if (frame != nullptr) {
      const std::string text = "Error opening file " + path;
      frame->GetPrompts().MessageBox(text.c_str(), kScanCaption, MessageButtons::Ok);
    }
    return;
  }

  // The header, and the records it announces, must lie in the file; anything else is no scan file.
  std::vector<std::uint8_t> head(kScanHeaderSize, 0);
  std::optional<ScanFileHeader> header;
  if (ReadExactly(file.get(), head.data(), head.size())) header = DecodeScanHeader(head);
  std::vector<std::uint8_t> records;
  if (header && UsableInodeSize(header->inodeSize)) {
    // Checked against the file before the buffer is made: a short file must not get one as large
    // as its header claims.
    const std::size_t size = header->groupCount * kScanDescriptorSize + header->driveRecords * kScanDriveRecordSize;
    if (size <= BytesLeft(file.get())) {
      records.resize(size);
      if (!ReadExactly(file.get(), records.data(), records.size())) header.reset();
    } else {
      header.reset();
    }
  } else {
    header.reset();
  }
  if (!header) {
    const std::string text = path + ", does not contain scan information";
    Log("Not a valid file", text.c_str(), "Process failed", kIconQuestion);
    if (frame != nullptr) frame->GetPrompts().MessageBox("Not a valid scan file", kScanCaption, MessageButtons::Ok);
    return;
  }

  Log("Getting drive parameters", "Using scan file", "Started", kIconNone);
  openedFromScanFile = true;
  disk = header->disk;
  sectorsPerBlock = header->sectorsPerBlock;
  firstSector = header->firstSector;
  lastSector = header->lastSector;
  sectorCount = header->sectorCount;
  descriptorTableOffset = header->descriptorTableOffset;
  inodeSize = header->inodeSize;
  inodeTableSectorsPerGroup = header->inodeTableSectorsPerGroup;
  inodesPerGroup = header->inodesPerGroup;
  inodesCount = header->inodesCount;
  groupCount = header->groupCount;
  std::copy(std::begin(header->uuid), std::end(header->uuid), fsUuid);
  std::copy(std::begin(header->volumeName), std::end(header->volumeName), volumeName);
  superBlockSector = header->superBlockSector;
  const std::span<const std::uint8_t> all(records);
  descriptors.clear();
  for (std::size_t g = 0; g < header->groupCount; ++g) {
    descriptors.push_back(DecodeDescriptorRecord(all.subspan(g * kScanDescriptorSize, kScanDescriptorSize)));
  }
  const std::size_t drivesAt = header->groupCount * kScanDescriptorSize;
  std::vector<LogicalDriveNode> drives;
  for (std::size_t d = 0; d < header->driveRecords; ++d) {
    drives.push_back(DecodeDriveRecord(all.subspan(drivesAt + d * kScanDriveRecordSize, kScanDriveRecordSize)));
  }
  LogicalDrives().Drives() = std::move(drives);
  Log(nullptr, nullptr, "Done", kIconAborted);

  entries = 0;
  folders = 0;
  files = 0;
  totalBytes = 0;
  Log("Creating directory tree from scan file", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);
  const int progressRange = static_cast<int>(std::min<std::uint32_t>(header->entries, INT_MAX));
  bool stopped = false;
  // Entries to the end of the file; one cut short ends the reading, and those read so far stay.
  for (;;) {
    std::uint8_t nameLength = 0;
    std::uint8_t record[kScanEntryRecordSize];
    char name[kScanMaxNameLength + 1] = {};
    if (!ReadExactly(file.get(), &nameLength, 1) || !ReadExactly(file.get(), record, sizeof record) ||
        !ReadExactly(file.get(), name, nameLength)) {
      break;
    }
    const EntryNode entry = DecodeEntryRecord(record);
    if (entry.IsFolder()) {
      ++folders;
    } else {
      ++files;
      totalBytes += entry.size;  // as the scan counts them: every file's bytes, the deleted inodes' too
    }
    if (entries == 0) {
      if (frame != nullptr) {
        frame->StartProgress(progressRange);
        frame->InsertRootItem();
      }
      ++folders;
    }
    ++entries;
    if (frame != nullptr) {
      frame->AddTreeEntry(entry, name);
      frame->StepProgress(static_cast<int>(entries));
      TreeViewPort* tree = frame->GetLeftPane();
      if (tree != nullptr && entry.IsFolder() && entry.check != 0 && !tree->Entries().empty()) {
        tree->SetItemStateImage(tree->Entries()[tree->Entries().size() - 1].treeItem, entry.check + 1);
      }
      if (frame->abortFlag) {
        frame->EndProgress();
        app.logHasRows = 1;
        stopped = true;
        break;
      }
    }
  }

  if (entries > 0) app.scanned = 1;
  if (stopped) {
    Log(nullptr, "Process aborted, user intervention ", ("Aborted on " + CTimeNow()).c_str(), kIconAborted);
  } else {
    if (frame != nullptr) {
      frame->EndProgress();
      if (treeView != nullptr) {
        treeView->CollapseChildren();
        treeView->ExpandAndSelect(true);
      }
      frame->UpdateMarkedPane(false, false, nullptr, false);
    }
    if (entries < header->entries) {
      // A file cut short (a copy that stopped, a full disk at the save) keeps what it holds, but
      // the tree is not the scanned one: the header counts the entries it was saved with.
      char text[160];
      std::snprintf(text, sizeof text, "Scan file ends early: %u of its %u entries read", entries, header->entries);
      Log(nullptr, text, ("Incomplete on " + CTimeNow()).c_str(), kIconAborted);
    } else {
      Log(nullptr, "Process completed successfully ", ("Completed on " + CTimeNow()).c_str(), kIconCompleted);
    }
  }

  // Disk numbers follow the order of the disk list, which changes when a disk is attached: the
  // file's disk may now be another one, whose sectors would be recovered as this drive's files.
  // The drive stays open (its super block may have died since the scan), but the user is told.
  if (!SuperBlockMatchesGeometry()) {
    char text[160];
    std::snprintf(text, sizeof text, "No matching super block at sector %llu of HardDisk %d",
                  static_cast<unsigned long long>(firstSector) + superBlockSector, disk - kFirstPhysicalDisk + 1);
    Log("Disk does not hold the saved drive", text, "Process failed", kIconQuestion);
    if (frame != nullptr) {
      const std::string message = std::string("The disk does not hold the logical drive saved in ") + path + ".\n" +
                                  text + "; files recovered from it may not be this drive's.";
      frame->GetPrompts().MessageBox(message.c_str(), "Quarvel Velnora Linux", MessageButtons::Ok);
    }
  }
}

void OpenUsingScanInfo(FrameServices& frame, const std::string& path) {
  AppState& app = App();
  app.scanned = 0;
  frame.abortFlag = 0;
  frame.EnableToolbarButton(kCmdGoUp, false);
  frame.EnableToolbarButton(kCmdStop, true);
  for (ToolbarCommand command : {kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdFileMask, kCmdAddFileFilter, kCmdFind,
                                 kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
    frame.EnableToolbarButton(command, false);
  }
  LogicalDrives().Drives().clear();
  if (app.currentDrive) {
    app.currentDrive->ClearLists();
    frame.SetDrive(nullptr);
    app.currentDrive.reset();
  }
  app.currentDrive = std::make_unique<CLinuxDrive>();
  CLinuxDrive& drive = *app.currentDrive;
  frame.SetDrive(&drive);
  drive.AttachFrame(&frame);
  TreeViewPort* tree = frame.GetLeftPane();
  if (app.viewsFilled == 1) {
    if (tree != nullptr) tree->ClearTree();
    if (frame.GetRightPane() != nullptr) frame.GetRightPane()->ClearListView();
  }
  // The old drive's entries go with it, also when the file brings none.
  if (tree != nullptr) tree->FreeEntryLists();
  app.scanSaved = 1;
  drive.LoadScanInfo(path);
  frame.abortFlag = 1;
}

}  // namespace ext2
