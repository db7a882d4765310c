// Recovery of marked, all, existing or deleted entries: folders made below the destination, files
// written from their data blocks with their sizes and times. The source is only read. Folders are
// walked with an explicit stack, and every name is made safe before it is used on the destination.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/output_tree.h"

namespace ext2 {

namespace {

constexpr int kMaxRenameAsks = 1000;
constexpr std::size_t kWriteChunk = 1 << 20;
// Descriptors a recovery keeps open for the folders it is in, whatever their depth.
constexpr std::size_t kOpenFolders = 16;

bool Exists(int dirFd, const std::string& name) {
  struct stat st {};
  return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Exists(const std::string& directory, const std::string& name) {
  struct stat st {};
  return ::lstat((directory + "/" + name).c_str(), &st) == 0;
}

// Writes N bytes at file offset AT; false when the file system takes fewer (full, file-size limit).
bool WriteAllAt(int fd, const std::uint8_t* data, std::size_t n, std::uint64_t at) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, data, n, static_cast<off_t>(at));
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) return false;
    data += w;
    at += static_cast<std::uint64_t>(w);
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Whether a recovery of TYPE takes the file CHILD of a folder whose deleted flag is FOLDER_DELETED.
bool TakesFile(const ListedEntry& child, std::uint8_t type, std::uint32_t folderDeleted) {
  switch (type) {
    case kRecoverAll: return true;
    case kRecoverDeleted: return child.deleted == 1 || folderDeleted == 1;
    case kRecoverMarked: return child.check == 1;
    case kRecoverExisting: return !(child.deleted != 0 && folderDeleted != 0);
    default: return false;
  }
}

// Whether a recovery of TYPE walks into CHILD at all: a marked recovery only into marked entries
// and partly marked folders.
bool InRecovery(const ListedEntry& child, std::uint8_t type) {
  return type != kRecoverMarked || child.check == 1 || child.check == 2;
}

}  // namespace

std::string SafeRecoveredName(const std::string& name, std::uint32_t inode) {
  if (name.empty() || name == "." || name == "..") return "Inode #" + std::to_string(inode);
  std::string safe = name;
  std::replace(safe.begin(), safe.end(), '/', '_');
  return safe;
}

std::string ProposeCopyName(const std::string& directory, std::uint32_t inode, const std::string& name) {
  return platform::ProposeCopyName(inode, name, [&directory](const std::string& c) { return Exists(directory, c); });
}

// What one recovery keeps while it runs: the children of each folder in list order, and the
// folders already recovered (a listed folder can name an ancestor only in damaged scan data).
struct CLinuxDrive::RecoveryRun {
  std::unordered_map<std::uint32_t, std::vector<ListedEntry*>> children;
  std::unordered_set<std::uint32_t> foldersDone;
  int last = 0;
};

std::uint32_t CLinuxDrive::CountCheckedEntries() const {
  if (treeView == nullptr) return 0;
  std::uint32_t n = 0;
  for (const auto& e : treeView->Entries()) n += e.check == 1 ? 1 : 0;
  return n;
}

bool CLinuxDrive::HasDataToWrite(const ListedEntry& entry, std::uint32_t folderDeleted) const {
  if (entry.size == 0 && (entry.deleted != 0 || folderDeleted != 0)) return false;
  return entry.inode >= 2 && MatchFilterList(entry.name, filters, filterMode) != 0;
}

std::uint64_t CLinuxDrive::BytesToRecover(std::uint8_t type) const {
  if (treeView == nullptr) return 0;
  std::unordered_map<std::uint32_t, std::vector<const ListedEntry*>> children;
  for (const auto& e : treeView->Entries()) {
    if (e.inode == kRootInode && e.parentInode == kNoParent) continue;
    children[e.parentInode].push_back(&e);
  }
  // The folders as the recovery walks them: each once, from Root.
  std::uint64_t bytes = 0;
  std::unordered_set<std::uint32_t> done{kRootInode};
  std::vector<std::pair<std::uint32_t, std::uint32_t>> pending{{kRootInode, 0}};  // inode, deleted flag
  while (!pending.empty()) {
    const auto [folder, folderDeleted] = pending.back();
    pending.pop_back();
    const auto it = children.find(folder);
    if (it == children.end()) continue;
    for (const ListedEntry* c : it->second) {
      if (!InRecovery(*c, type)) continue;
      if (c->IsFolder()) {
        if (done.insert(c->inode).second) pending.emplace_back(c->inode, c->deleted);
      } else if (WritesFile(*c, type, folderDeleted)) {
        bytes += c->size;
      }
    }
  }
  return bytes;
}

bool CLinuxDrive::WritesFile(const ListedEntry& file, std::uint8_t type, std::uint32_t folderDeleted) const {
  return TakesFile(file, type, folderDeleted) && HasDataToWrite(file, folderDeleted) &&
         !(type == kRecoverExisting && file.deleted != 0);
}

std::vector<std::uint32_t> CLinuxDrive::GetclusterList(std::uint32_t inode) {
  InodeCopy record;
  if (!ReadInodeRecord(inode, record)) return {};
  return GetBlockList(record);
}

void CLinuxDrive::MarkHandled(ListedEntry& entry, std::uint8_t type) {
  if (type != kRecoverMarked) return;
  if (listView != nullptr) listView->UpdateItemCheck(entry.name, entry.inode, entry.treeItem, Uncheck::Fully);
  entry.check = 0;
  if (frame != nullptr) {
    frame->markedBytes -= std::min<std::uint64_t>(frame->markedBytes, entry.size);
    if (frame->markedFiles > 0) --frame->markedFiles;
    frame->UpdateMarkedPane(false, false, nullptr, false);
  }
}

int CLinuxDrive::RecoverFile(ListedEntry& entry, std::uint8_t type, std::uint32_t folderDeleted, int dirFd,
                             const std::string& dirPath) {
  AppState& app = App();
  // How the file ends: written whole, skipped at a name clash, written with unreadable parts as
  // zeros, or not recovered (nothing of it is left on the destination, and it keeps its mark; the
  // counter says why for the end rows).
  enum class Outcome { kCompleted, kSkipped, kIncomplete, kNotRecovered };
  Outcome outcome = Outcome::kCompleted;
  std::uint32_t* notRecovered = &unwrittenFiles;
  bool written = false;  // the file is on the destination, whole or with zeros for what was unreadable
  std::string target = SafeRecoveredName(entry.name, entry.inode);
  auto started = [&] {
    app.rowActivity[0] = app.rowText[0] = app.rowStatus[0] = 0;
    Log(nullptr, (dirPath + "/" + target).c_str(), "Started", kIconNone);
  };
  auto finish = [&]() {
    ++recoveredFileCount;
    if (frame != nullptr) frame->StepProgress(static_cast<int>(recoveredFileCount));
    switch (outcome) {
      case Outcome::kSkipped:
        MarkHandled(entry, type);
        started();
        Log(nullptr, nullptr, "Skipped", kIconNone);
        return 1;
      case Outcome::kCompleted:
        MarkHandled(entry, type);
        writtenFiles += written ? 1 : 0;
        Log(nullptr, nullptr, "Completed", kIconNone);
        return 1;
      case Outcome::kIncomplete:
        MarkHandled(entry, type);
        writtenFiles += written ? 1 : 0;
        ++incompleteFiles;
        Log(nullptr, "Unreadable data written as zeros", "Incomplete", kIconEvent);
        return 1;
      case Outcome::kNotRecovered:
        break;
    }
    ++*notRecovered;
    Log(nullptr, "File not recovered", "Not recovered", kIconAborted);
    return 0;
  };
  // A deleted file whose inode no longer records its data blocks: nothing can be written, and
  // the end rows count such files in one row instead of one row each.
  auto dataGone = [&] {
    ++dataGoneFiles;
    if (frame != nullptr) frame->StepProgress(static_cast<int>(recoveredFileCount));
    MarkHandled(entry, type);
    return 0;
  };
  if (app.stopRequested) return finish();
  const bool keptByFilters = MatchFilterList(entry.name, filters, filterMode) != 0;
  if (entry.inode < 2 || !keptByFilters) {
    if (frame != nullptr) frame->StepProgress(static_cast<int>(recoveredFileCount));
    // The filters decide this recovery only: a file they leave out keeps its mark for the next one.
    if (keptByFilters) MarkHandled(entry, type);
    return 0;
  }
  if (!HasDataToWrite(entry, folderDeleted)) return dataGone();  // a deleted entry of 0 bytes
  if (type == kRecoverExisting && entry.deleted != 0) return finish();

  // What the inode holds, before anything is made on the destination. A live file of 0 bytes is
  // written as an empty file with its times.
  const std::uint64_t size = entry.size;
  InodeCopy record;
  bool inodeUnread = false;
  std::uint64_t unreadSector = 0;
  const bool haveRecord = ReadInodeRecord(entry.inode, record, &inodeUnread, &unreadSector);
  const bool fastLink = haveRecord && !inodeUnread && IsFastSymlink(record);
  const bool extents = haveRecord && !inodeUnread && size != 0 && !fastLink && KeptInExtents(record);
  const bool readBlocks = haveRecord && !inodeUnread && !fastLink && !extents;
  const FileBlocks blocks = readBlocks ? GetFileBlockList(record, size) : FileBlocks{};
  std::string refused;
  if (!haveRecord) {
    refused = "Inode lies outside the drive's inode tables, file not recovered";
  } else if (inodeUnread) {
    // The record would read as zeros: no size, no blocks, nothing that is the file.
    char text[128];
    std::snprintf(text, sizeof text, "Disk read error, inode %u cannot be read (sector %llu), file not recovered",
                  entry.inode, static_cast<unsigned long long>(firstSector + unreadSector));
    refused = text;
    notRecovered = &unreadInodeFiles;
  } else if (extents) {
    refused = "File kept in extents, which are not read: file not recovered";
    notRecovered = &extentFiles;
  } else if (fastLink && size > kFastSymlinkMax) {
    // The link's text is the 60 bytes of the block pointers; a larger size names bytes it does not have.
    refused = "Link size exceeds the 60 bytes of its inode, link not recovered";
  } else if (size != 0 && !fastLink && blocks.runs.empty() && blocks.unreadIndirect.empty() && !blocks.cut &&
             (entry.deleted != 0 || folderDeleted != 0 || record.dtime != 0)) {
    // A deleted inode whose pointers were cleared: its size alone is no file.
    return dataGone();
  }
  if (!refused.empty()) {
    started();
    Log(nullptr, refused.c_str(), inodeUnread ? "Error reading inode" : extents ? "Not read" : "Error reading file",
        kIconEvent);
    outcome = Outcome::kNotRecovered;
    return finish();
  }

  // Most targets are new: creating the file exclusively is also the test of whether the name is taken.
  constexpr int kCreate = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(dirFd, target.c_str(), kCreate | O_EXCL, 0644);
  if (fd < 0 && errno == EEXIST) {
    using enum FileExistsDecision;
    const auto decided = [&app](FileExistsDecision d) { return app.fileExists == d; };
    if (!decided(RenameAll) && !decided(OverwriteAll) && !decided(SkipAll)) {
      // This file's own answer decides it: a question closed without one leaves the decisions of
      // an earlier file in place, and those must not write over or rename this one.
      bool answered = frame != nullptr && frame->GetPrompts().FileExists(dirPath, target, entry.inode);
      for (int asks = 0; answered && decided(Rename) && asks < kMaxRenameAsks; ++asks) {
        const std::string wanted = SafeRecoveredName(app.newName, entry.inode);
        if (!Exists(dirFd, wanted)) {
          target = wanted;
          break;
        }
        answered = frame->GetPrompts().FileExists(dirPath, wanted, entry.inode);
      }
      if (!answered) {
        outcome = Outcome::kSkipped;
        return finish();
      }
    }
    bool skipped = false;
    if (decided(RenameAll)) {
      target = ProposeCopyName(dirPath, entry.inode, target);
    } else if (decided(Rename)) {
      if (Exists(dirFd, target)) skipped = true;  // no free name was given
    } else if (!decided(OverwriteAll) && !decided(Overwrite)) {
      skipped = true;  // Skip, Skip All, or no answer
    }
    if (skipped) {
      outcome = Outcome::kSkipped;
      return finish();
    }
  }

  started();
  if (fd < 0) fd = ::openat(dirFd, target.c_str(), kCreate | O_TRUNC, 0644);
  if (fd < 0) {
    Log(nullptr, "Disk write error, file could not be created", "Error creating file", kIconEvent);
    outcome = Outcome::kNotRecovered;
    return finish();
  }

  bool writeFailed = false;
  bool readFailed = false;
  auto readError = [&](const char* unit, std::uint64_t sector) {
    readFailed = true;
    char status[64];
    std::snprintf(status, sizeof status, "Error reading %s %llu", unit,
                  static_cast<unsigned long long>(firstSector + sector));
    Log(nullptr, "Disk read error, file may not be completely recovered", status, kIconEvent);
  };
  for (std::uint32_t block : blocks.unreadIndirect) readError("block", std::uint64_t{block} * sectorsPerBlock);

  const std::uint32_t blockSize = BlockSize();
  // The bytes go out in writes of up to kWriteChunk at their place in the file: one write for most
  // files, whatever the read mode. Holes are left unwritten (they read as zeros), and the file is
  // set to its size at the end. Reads land in the pending bytes directly.
  std::vector<std::uint8_t> pending;
  std::uint64_t pendingAt = 0;  // the file offset of pending[0]
  const std::uint64_t wholeBlocks = blockSize == 0 ? size : (size + blockSize - 1) / blockSize * blockSize;
  pending.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(wholeBlocks, kWriteChunk + blockSize)));
  auto writeError = [&] {
    writeFailed = true;
    Log(nullptr, "Disk write error, file may not be completely recovered", "Error writing file", kIconEvent);
  };
  auto flush = [&] {
    if (!writeFailed && !pending.empty() && !WriteAllAt(fd, pending.data(), pending.size(), pendingAt)) writeError();
    pendingAt += pending.size();
    pending.clear();
    // A large file lets the window in between its chunks, so that it repaints and Stop arrives.
    if (frame != nullptr) frame->PumpMessages();
  };
  // Appends N bytes to the pending ones from SECTORS sectors from SECTOR on, read in one request.
  // What a read does not deliver is written as zeros, never as bytes read before; a failed read is
  // logged as one of UNIT ("sector" or "block").
  auto put = [&](std::uint32_t n, std::uint64_t sector, std::uint32_t sectors, const char* unit) {
    const std::size_t at = pending.size();
    pending.resize(at + std::max<std::size_t>(n, std::size_t{sectors} * kSectorSize));  // zeros
    std::uint32_t delivered = 0;
    if (!ReadDriveSectors(sector, pending.data() + at, sectors * kSectorSize, &delivered)) {
      std::fill(pending.begin() + static_cast<std::ptrdiff_t>(at + std::min<std::size_t>(delivered, n)), pending.end(),
                0);
      readError(unit, sector);
    }
    pending.resize(at + n);
    if (pending.size() >= kWriteChunk) flush();
  };
  // Sector mode: N bytes of blocks that follow each other on the drive from SECTOR on, in one
  // attempt. Only when that attempt fails or comes short are they read again a sector at a time, each
  // with the retries: a bad sector costs its own reads, and the good sectors around it are kept.
  auto putSectors = [&](std::uint32_t n, std::uint64_t sector) {
    const std::size_t at = pending.size();
    const std::uint32_t sectors = n / kSectorSize + (n % kSectorSize != 0 ? 1 : 0);
    pending.resize(at + std::size_t{sectors} * kSectorSize);
    if (ReadDriveSectorsOnce(sector, pending.data() + at, sectors * kSectorSize)) {
      pending.resize(at + n);
      if (pending.size() >= kWriteChunk) flush();
      return;
    }
    pending.resize(at);
    for (std::uint32_t i = 0, done = 0; done < n; ++i, done += kSectorSize) {
      put(std::min<std::uint32_t>(n - done, kSectorSize), sector + i, 1, "sector");
    }
  };
  if (fastLink) {
    pending.assign(record.raw + kInoBlock, record.raw + kInoBlock + size);  // the link's target text
  }
  bool stoppedInFile = false;  // Stop arrived before the last block was read
  for (const FileRun& run : blocks.runs) {
    for (std::uint32_t k = 0; k < run.count && !writeFailed && !stoppedInFile;) {
      const std::uint64_t at = (run.position + k) * blockSize;
      if (at >= size) break;
      if (app.stopRequested) {
        stoppedInFile = true;
        break;
      }
      if (at != pendingAt + pending.size()) {  // a hole before this block
        flush();
        pendingAt = at;
      }
      const std::uint64_t blockSector = (std::uint64_t{run.block} + k) * sectorsPerBlock;
      if (app.readMode == 1) {
        // The rest of the run, up to the size and to the end of the pending chunk, so that chunks
        // are written (and Stop is seen) where a block at a time would have them.
        const std::uint64_t left = kWriteChunk - std::min(pending.size(), kWriteChunk);
        const std::uint64_t room = std::max<std::uint64_t>(blockSize, left / blockSize * blockSize);
        const std::uint64_t span = std::min<std::uint64_t>(std::uint64_t{run.count - k} * blockSize, room);
        const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(size - at, span));
        putSectors(n, blockSector);
        k += static_cast<std::uint32_t>(span / blockSize);
      } else {
        put(static_cast<std::uint32_t>(std::min<std::uint64_t>(size - at, blockSize)), blockSector, sectorsPerBlock,
            "block");
        ++k;
      }
    }
  }
  flush();
  if (stoppedInFile) {
    // Stopped within this file: the part written is not the file, and does not stay.
    ::close(fd);
    ::unlinkat(dirFd, target.c_str(), 0);
    Log(nullptr, nullptr, "Stopped", kIconNone);
    return 0;
  }
  // A hole at the end: the file still ends at its size.
  if (!writeFailed && pendingAt < size && ::ftruncate(fd, static_cast<off_t>(size)) != 0) writeError();
  if (writeFailed) {
    // A cut file never poses as the file: it goes, and a later recovery writes it whole.
    ::close(fd);
    ::unlinkat(dirFd, target.c_str(), 0);
    outcome = Outcome::kNotRecovered;
    return finish();
  }
  // Access and modification times as stored; Linux has no settable creation time.
  struct timespec times[2] = {{static_cast<time_t>(entry.accessTime), 0},
                              {static_cast<time_t>(entry.modificationTime), 0}};
  ::futimens(fd, times);
  ::close(fd);
  written = true;
  if (readFailed || blocks.cut) outcome = Outcome::kIncomplete;
  return finish();
}

void CLinuxDrive::RecoverFolderFiles(const std::vector<ListedEntry*>& children, std::uint8_t type,
                                     std::uint32_t folderDeleted, RecoveryRun& run, int dirFd,
                                     const std::string& dirPath) {
  AppState& app = App();
  for (ListedEntry* child : children) {
    if (app.stopRequested) break;
    if (child->IsFolder()) continue;
    if (TakesFile(*child, type, folderDeleted)) run.last = RecoverFile(*child, type, folderDeleted, dirFd, dirPath);
  }
}

int CLinuxDrive::RecoverFolder(std::uintptr_t treeItem, std::uint32_t inode, const std::string& path,
                               std::uint8_t type, std::uint32_t deleted) {
  AppState& app = App();
  RecoveryRun run;
  InodeRunScope inodeRuns(inodeRun_);
  if (treeView != nullptr) {
    for (auto& e : treeView->Entries()) {
      if (e.inode == kRootInode && e.parentInode == kNoParent) continue;
      run.children[e.parentInode].push_back(&e);
    }
  }
  auto childrenOf = [&](std::uint32_t folder) {
    std::vector<ListedEntry*> out;
    auto it = run.children.find(folder);
    if (it == run.children.end()) return out;
    for (ListedEntry* e : it->second) {
      if (InRecovery(*e, type)) out.push_back(e);
    }
    return out;
  };

  // The folders from the top one to the one being written. Memory stays linear in the names: one
  // path string, from which each level keeps only its length; and only the deepest kOpenFolders
  // levels keep a descriptor. A level whose descriptor was closed is opened again through ".." of
  // its subfolder when the walk comes back to it, checked to be the same folder.
  struct Open {
    std::uintptr_t treeItem;
    std::uint32_t inode;
    const std::string* key;  // the name the views know the folder by
    std::size_t pathLength;  // of the path string, up to and with this folder
    int fd;                  // -1 while closed
    dev_t device;
    ino_t folderInode;
    std::vector<ListedEntry*> children;
    std::size_t next = 0;
  };
  static const std::string kRootKey = "Root";
  // With file filters in force, a folder is made only when a file below it is written: the
  // folders that hold (at any depth) a file this recovery takes and the filters keep.
  std::unordered_set<std::uint32_t> holdsWritten;
  if (!filters.empty() && treeView != nullptr) {
    std::unordered_map<std::uint32_t, const ListedEntry*> folderOf;
    for (const auto& e : treeView->Entries()) {
      if (e.IsFolder()) folderOf.emplace(e.inode, &e);
    }
    for (const auto& e : treeView->Entries()) {
      if (type == kRecoverMarked && !e.IsFolder() && e.check == 1 && MatchFilterList(e.name, filters, filterMode) == 0) {
        ++filteredOutFiles;
      }
      const auto in = folderOf.find(e.parentInode);
      if (e.IsFolder() || in == folderOf.end() || !WritesFile(e, type, in->second->deleted)) continue;
      for (auto f = in; f != folderOf.end() && holdsWritten.insert(f->first).second;) {
        f = folderOf.find(f->second->parentInode);
      }
    }
  }

  std::vector<Open> stack;
  std::string here;       // the path of the folder at the top of the stack
  std::size_t firstOpen = 0;  // levels from here to the top hold a descriptor
  auto enter = [&](std::uintptr_t item, std::uint32_t folder, int parentFd, const std::string& name,
                   const std::string* key, std::uint32_t folderDeleted) {
    run.foldersDone.insert(folder);
    std::vector<ListedEntry*> children = childrenOf(folder);
    const int fd = platform::OpenFolderBelow(parentFd, name);
    const std::size_t parentLength = here.size();
    if (parentFd != AT_FDCWD) here += '/';
    here += name;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      if (fd >= 0) ::close(fd);
      // Nothing below this folder can be written: say which folder, and go on with the next one.
      ++unwrittenFolders;
      Log(nullptr, ("Disk write error, folder and its contents not recovered: " + here).c_str(),
          "Error creating folder", kIconAborted);
      here.resize(parentLength);
      run.last = 0;
      return;
    }
    RecoverFolderFiles(children, type, folderDeleted, run, fd, here);
    if (type == kRecoverMarked) {
      if (listView != nullptr) listView->UpdateItemCheck(*key, folder, item, Uncheck::Partly);
      if (treeView != nullptr) treeView->UncheckEntry(item, Uncheck::Partly);
    }
    stack.push_back({item, folder, key, here.size(), fd, st.st_dev, st.st_ino, std::move(children)});
    if (stack.size() - firstOpen > kOpenFolders) {
      ::close(stack[firstOpen].fd);
      stack[firstOpen].fd = -1;
      ++firstOpen;
    }
  };

  // The top folder is the destination path itself; the views know it as "Root".
  enter(treeItem, inode, AT_FDCWD, path, &kRootKey, deleted);
  while (!stack.empty()) {
    Open& top = stack.back();
    ListedEntry* next = nullptr;
    while (top.next < top.children.size() && !app.stopRequested) {
      ListedEntry* c = top.children[top.next++];
      if (!filters.empty() && c->IsFolder() && holdsWritten.count(c->inode) == 0) continue;  // the filters empty it
      if (c->IsFolder() && run.foldersDone.count(c->inode) == 0 &&
          (type == kRecoverMarked || type == kRecoverAll || type == kRecoverDeleted || type == kRecoverExisting)) {
        next = c;
        break;
      }
    }
    if (next != nullptr) {
      enter(next->treeItem, next->inode, top.fd, SafeRecoveredName(next->name, next->inode), &next->name,
            next->deleted);
      continue;
    }
    // A folder that still holds marks (files the filters left out) stays partly checked.
    auto keepsMarks = [&top] {
      return std::any_of(top.children.begin(), top.children.end(),
                         [](const ListedEntry* c) { return c->check == 1 || c->check == 2; });
    };
    if (type == kRecoverMarked && !app.stopRequested && !keepsMarks()) {
      if (treeView != nullptr) treeView->UncheckEntry(top.treeItem, Uncheck::Fully);
      if (listView != nullptr) listView->UpdateItemCheck(*top.key, top.inode, top.treeItem, Uncheck::Fully);
      if (frame != nullptr && frame->markedFolders > 0) {
        --frame->markedFolders;
        frame->UpdateMarkedPane(false, false, nullptr, false);
      }
    }
    const int childFd = top.fd;
    stack.pop_back();
    if (!stack.empty() && stack.back().fd < 0) {
      Open& parent = stack.back();
      parent.fd = ::openat(childFd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      struct stat st {};
      if (parent.fd >= 0 && (::fstat(parent.fd, &st) != 0 || st.st_dev != parent.device || st.st_ino != parent.folderInode)) {
        ::close(parent.fd);
        parent.fd = -1;
      }
      if (parent.fd < 0) {
        // The folder moved while it was written: what is left of it is not written elsewhere.
        ++unwrittenFolders;
        Log(nullptr, ("Disk write error, folder and its contents not recovered: " + here.substr(0, parent.pathLength)).c_str(),
            "Error creating folder", kIconAborted);
        parent.next = parent.children.size();
      }
      firstOpen = stack.size() - 1;
    }
    ::close(childFd);
    here.resize(stack.empty() ? 0 : stack.back().pathLength);
  }
  return run.last;
}

}  // namespace ext2
