// Writing the scan-information file of the current drive.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
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

bool OpensForReading(const std::string& path) { return File(std::fopen(path.c_str(), "rb")) != nullptr; }

bool WriteAll(std::FILE* f, const std::vector<std::uint8_t>& bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}
}  // namespace

bool CLinuxDrive::SaveScanInfo(const std::string& chosen) {
  AppState& app = App();
  std::string path = chosen;
  // A file that cannot be created or written is named in a row and a message box.
  auto failed = [&](const char* what) {
    Log("Unable to save scan information", path.c_str(), "Process failed", kIconQuestion);
    if (frame != nullptr) {
      frame->GetPrompts().MessageBox((what + path).c_str(), "Quarvel Velnora Linux", MessageButtons::Ok);
    }
  };
  // An existing file is written over only when the user says so.
  while (OpensForReading(path)) {
    if (frame == nullptr) return false;
    // Closed without a decision: the question is asked again.
    if (!frame->GetPrompts().ScanFileExists(path, static_cast<std::uint8_t>(disk - kFirstPhysicalDisk), driveIndex)) {
      continue;
    }
    if (app.scanFileExists == ScanFileExistsDecision::Overwrite) break;
    if (app.scanFileExists == ScanFileExistsDecision::Cancel) return false;
    // Rename: the new name is tested again.
    if (app.scanFileExists == ScanFileExistsDecision::Rename) path = app.newName;
  }
  if (frame != nullptr) frame->StartProgressText(static_cast<int>(folders), "Saving File..");
  // A drive filled from a scan file has no folder list to save by (a drive read from the disk may
  // have none either, when its root holds only files: that one is saved).
  if (visited.empty() && openedFromScanFile) {
    if (frame != nullptr) {
      frame->GetPrompts().MessageBox("The image of this logical drive is already saved", "Quarvel Velnora Linux",
                                     MessageButtons::Ok);
      frame->EndProgress();
    }
    return true;
  }
  Log("Saving scan information of drive to a file", path.c_str(), "Started", kIconSaveScan);

  const auto& drives = LogicalDrives().Drives();
  ScanFileHeader header;
  header.disk = disk;
  header.sectorsPerBlock = sectorsPerBlock;
  header.firstSector = firstSector;
  header.lastSector = lastSector;
  header.sectorCount = sectorCount;
  header.descriptorTableOffset = descriptorTableOffset;
  header.inodeSize = inodeSize;
  header.inodeTableSectorsPerGroup = inodeTableSectorsPerGroup;
  header.inodesPerGroup = inodesPerGroup;
  header.inodesCount = inodesCount;
  // The records that follow are the ones counted here, so that a reader finds the entries after them.
  header.groupCount = static_cast<std::uint16_t>(std::min<std::size_t>(descriptors.size(), 0xFFFF));
  header.entries = entries;
  header.folders = folders;
  header.files = files;
  header.totalBytes = totalBytes;
  header.driveRecords = static_cast<std::uint8_t>(std::min<std::size_t>(drives.size(), 0xFF));
  std::copy(std::begin(fsUuid), std::end(fsUuid), header.uuid);
  std::copy(std::begin(volumeName), std::end(volumeName), header.volumeName);

  File file(std::fopen(path.c_str(), "wb+"));
  if (!file) {
    if (frame != nullptr) frame->EndProgress();
    failed("Error creating file ");
    return false;
  }
  std::vector<std::uint8_t> bytes = EncodeScanHeader(header);
  for (std::size_t g = 0; g < header.groupCount; ++g) AppendDescriptorRecord(bytes, descriptors[g]);
  for (std::size_t d = 0; d < header.driveRecords; ++d) AppendDriveRecord(bytes, drives[d]);
  bool written = WriteAll(file.get(), bytes);

  // The entries folder by folder: Root, then the folders in the order they were first reached; each
  // folder's entries in the order of the tree's list.
  TreeViewPort* tree = frame != nullptr ? frame->GetLeftPane() : nullptr;
  std::unordered_map<std::uint32_t, std::vector<const ListedEntry*>> byParent;
  if (tree != nullptr) {
    for (const ListedEntry& e : tree->Entries()) byParent[e.parentInode].push_back(&e);
  }
  std::vector<std::uint32_t> order;
  order.reserve(visited.size() + 1);
  order.push_back(kRootInode);
  order.insert(order.end(), visited.begin(), visited.end());
  for (const std::uint32_t folder : order) {
    bytes.clear();
    const auto it = byParent.find(folder);
    if (it != byParent.end()) {
      for (const ListedEntry* e : it->second) AppendEntryRecord(bytes, *e, e->name);
    }
    written = WriteAll(file.get(), bytes) && written;
    if (frame != nullptr) frame->StepProgressBar();
  }
  written = std::fclose(file.release()) == 0 && written;
  if (frame != nullptr) frame->EndProgress();
  if (!written) {
    // A full or failing destination leaves a file that would load as a cut tree: say so.
    failed("Error writing file ");
    return false;
  }
  Log(nullptr, nullptr, "Completed", kIconAborted);
  return true;
}

}  // namespace ext2
