// Writing the scan-information file of the current drive.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cerrno>
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

// A name that is taken: a file, a folder, or a symbolic link, also one that leads nowhere.
bool NameTaken(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// A new file beside PATH, in the same folder so that a rename can put it in PATH's place: made
// with O_EXCL and O_NOFOLLOW, so that no existing file or link is opened. TEMP receives its name.
File CreateBeside(const std::string& path, std::string& temp) {
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (unsigned n = 0; n < 100; ++n) {
    temp = folder + "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(n) + ".part";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) {
      File file(::fdopen(fd, "wb"));
      if (!file) {
        ::close(fd);
        ::unlink(temp.c_str());
      }
      return file;
    }
    if (errno != EEXIST) break;
  }
  temp.clear();
  return nullptr;
}

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
  // An existing file is written over only when the user says so. A symbolic link of the name is
  // replaced as a name, never written through: the file is made anew beside it and renamed.
  while (NameTaken(path)) {
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
  header.folders = folders;
  header.files = files;
  header.totalBytes = totalBytes;
  header.driveRecords = static_cast<std::uint8_t>(std::min<std::size_t>(drives.size(), 0xFF));
  std::copy(std::begin(fsUuid), std::end(fsUuid), header.uuid);
  std::copy(std::begin(volumeName), std::end(volumeName), header.volumeName);
  header.superBlockSector = superBlockSector;

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
  // The header counts the entries that follow it, so that a reader can tell a file cut short.
  std::uint64_t written = 0;
  for (const std::uint32_t folder : order) {
    const auto it = byParent.find(folder);
    if (it != byParent.end()) written += it->second.size();
  }
  header.entries = static_cast<std::uint32_t>(std::min<std::uint64_t>(written, UINT32_MAX));

  std::string temp;
  File file = CreateBeside(path, temp);
  if (!file) {
    if (frame != nullptr) frame->EndProgress();
    failed("Error creating file ");
    return false;
  }
  std::vector<std::uint8_t> bytes = EncodeScanHeader(header);
  for (std::size_t g = 0; g < header.groupCount; ++g) AppendDescriptorRecord(bytes, descriptors[g]);
  for (std::size_t d = 0; d < header.driveRecords; ++d) AppendDriveRecord(bytes, drives[d]);
  bool whole = WriteAll(file.get(), bytes);
  for (const std::uint32_t folder : order) {
    bytes.clear();
    const auto it = byParent.find(folder);
    if (it != byParent.end()) {
      for (const ListedEntry* e : it->second) AppendEntryRecord(bytes, *e, e->name);
    }
    whole = WriteAll(file.get(), bytes) && whole;
    if (frame != nullptr) frame->StepProgressBar();
  }
  whole = std::fclose(file.release()) == 0 && whole;
  if (frame != nullptr) frame->EndProgress();
  if (!whole) {
    // A full or failing destination would leave a file that loads as a cut tree: say so, and
    // leave the name as it was.
    ::unlink(temp.c_str());
    failed("Error writing file ");
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    // The name is a folder, or the folder does not let it be replaced.
    ::unlink(temp.c_str());
    failed("Error creating file ");
    return false;
  }
  Log(nullptr, nullptr, "Completed", kIconAborted);
  return true;
}

}  // namespace ext2
