// Recovery of marked, all, existing or deleted entries: folders made below the destination, files
// written from their data blocks with their sizes and times. The source is only read. Folders are
// walked with an explicit stack, and every name is made safe before it is used on the destination.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/linux_drive.h"

namespace {

constexpr int kMaxRenameAsks = 1000;
constexpr std::size_t kWriteChunk = 1 << 20;

bool Exists(int dirFd, const std::string& name) {
  struct stat st {};
  return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Exists(const std::string& directory, const std::string& name) {
  struct stat st {};
  return ::lstat((directory + "/" + name).c_str(), &st) == 0;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Opens (making it first when missing) the folder NAME below DIR_FD, never through a link.
int OpenFolderBelow(int dirFd, const std::string& name) {
  if (::mkdirat(dirFd, name.c_str(), 0755) != 0 && errno != EEXIST) return -1;
  return ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
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
  const std::string tail = "_" + std::to_string(inode) + "_" + name;
  std::string candidate = "Copy" + tail;
  for (unsigned k = 1; Exists(directory, candidate) && k < 100000; ++k) candidate = "Copy" + std::to_string(k) + tail;
  return candidate;
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

bool CLinuxDrive::HasDataToWrite(const ListedEntry& entry) const {
  return entry.size != 0 && entry.inode >= 2 && MatchFilterList(entry.name, filters, filterMode) != 0;
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
      } else if (TakesFile(*c, type, folderDeleted) && HasDataToWrite(*c) &&
                 !(type == kRecoverExisting && c->deleted != 0)) {
        bytes += c->size;
      }
    }
  }
  return bytes;
}

std::vector<std::uint32_t> CLinuxDrive::GetclusterList(std::uint32_t inode) {
  InodeCopy record;
  if (!ReadInodeRecord(inode, record)) return {};
  return GetBlockList(record);
}

void CLinuxDrive::MarkHandled(ListedEntry& entry, std::uint8_t type) {
  if (type != kRecoverMarked) return;
  if (listView != nullptr) listView->UpdateItemCheck(entry.name, entry.inode, entry.treeItem, 0);
  entry.check = 0;
  if (frame != nullptr) {
    frame->markedBytes -= std::min<std::uint64_t>(frame->markedBytes, entry.size);
    if (frame->markedFiles > 0) --frame->markedFiles;
    frame->UpdateMarkedPane(false, false, nullptr, false);
  }
}

int CLinuxDrive::RecoverFile(ListedEntry& entry, std::uint8_t type, int dirFd, const std::string& dirPath) {
  AppState& app = App();
  bool skipped = false;
  std::string target = SafeRecoveredName(entry.name, entry.inode);
  auto finish = [&]() {
    ++recoveredFileCount;
    if (frame != nullptr) frame->StepProgress(static_cast<int>(recoveredFileCount));
    MarkHandled(entry, type);
    if (skipped) {
      Log(nullptr, (dirPath + "/" + target).c_str(), "Started", kIconNone);
      Log(nullptr, nullptr, "Skipped", kIconNone);
    } else {
      Log(nullptr, nullptr, "Completed", kIconNone);
    }
    return 1;
  };
  if (app.stopRequested) return finish();
  if (!HasDataToWrite(entry)) {
    if (frame != nullptr) frame->StepProgress(static_cast<int>(recoveredFileCount));
    MarkHandled(entry, type);
    return 0;
  }
  if (type == kRecoverExisting && entry.deleted != 0) return finish();

  // Most targets are new: creating the file exclusively is also the test of whether the name is taken.
  constexpr int kCreate = O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::openat(dirFd, target.c_str(), kCreate | O_EXCL, 0644);
  if (fd < 0 && errno == EEXIST) {
    int* d = app.fileExists;  // Skip All, Overwrite All, Rename All, Skip, OverWrite, Rename
    if (!d[2] && !d[1] && !d[0]) {
      // This file's own answer decides it: a question closed without one leaves the decisions of
      // an earlier file in place, and those must not write over or rename this one.
      bool answered = frame != nullptr && frame->GetPrompts().FileExists(dirPath, target, entry.inode);
      for (int asks = 0; answered && d[5] && asks < kMaxRenameAsks; ++asks) {
        const std::string wanted = SafeRecoveredName(app.newName, entry.inode);
        if (!Exists(dirFd, wanted)) {
          target = wanted;
          break;
        }
        answered = frame->GetPrompts().FileExists(dirPath, wanted, entry.inode);
      }
      if (!answered) {
        skipped = true;
        return finish();
      }
    }
    if (d[2]) {
      target = ProposeCopyName(dirPath, entry.inode, target);
    } else if (d[5]) {
      if (Exists(dirFd, target)) skipped = true;  // no free name was given
    } else if (!d[1] && !d[4]) {
      skipped = true;  // Skip, Skip All, or no answer
    }
    if (skipped) return finish();
  }

  app.rowActivity[0] = app.rowText[0] = app.rowStatus[0] = 0;
  Log(nullptr, (dirPath + "/" + target).c_str(), "Started", kIconNone);
  if (fd < 0) fd = ::openat(dirFd, target.c_str(), kCreate | O_TRUNC, 0644);
  if (fd < 0) {
    ++unwrittenFiles;
    return 0;
  }

  InodeCopy record;
  const bool haveRecord = ReadInodeRecord(entry.inode, record);
  std::uint32_t remaining = entry.size;  // unsigned: sizes from 2 GiB to 4 GiB are written whole
  bool writeFailed = false;
  const std::uint32_t blockSize = BlockSize();
  // The bytes go out in writes of up to kWriteChunk: one write for most files, whatever the read
  // mode. Reads land in the pending bytes directly.
  std::vector<std::uint8_t> pending;
  const std::uint64_t wholeBlocks =
      blockSize == 0 ? remaining : (std::uint64_t{remaining} + blockSize - 1) / blockSize * blockSize;
  pending.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(wholeBlocks, kWriteChunk + blockSize)));
  auto flush = [&] {
    if (!writeFailed && !pending.empty() && !WriteAll(fd, pending.data(), pending.size())) {
      writeFailed = true;
      Log(nullptr, "Disk write error, file may not be completely recovered", "Error writing file", kIconEvent);
    }
    pending.clear();
    // A large file lets the window in between its chunks, so that it repaints and Stop arrives.
    if (frame != nullptr) frame->PumpMessages();
  };
  // Appends N bytes to the pending ones: zeros, or with SECTORS the start of those sectors from
  // SECTOR on, read in one request. What a read does not deliver is written as zeros, never as
  // bytes read before; a failed read is logged as one of UNIT ("sector" or "block").
  auto put = [&](std::uint32_t n, std::uint64_t sector = 0, std::uint32_t sectors = 0, const char* unit = nullptr) {
    const std::size_t at = pending.size();
    pending.resize(at + std::max<std::size_t>(n, std::size_t{sectors} * kSectorSize));  // zeros
    if (sectors != 0 && !ReadDriveSectors(sector, pending.data() + at, sectors * kSectorSize)) {
      std::fill(pending.begin() + static_cast<std::ptrdiff_t>(at), pending.end(), 0);
      char status[64];
      std::snprintf(status, sizeof status, "Error reading %s %llu", unit,
                    static_cast<unsigned long long>(firstSector + sector));
      Log(nullptr, "Disk read error, file may not be completely recovered", status, kIconEvent);
    }
    pending.resize(at + n);
    if (pending.size() >= kWriteChunk) flush();
  };
  if (haveRecord && IsFastSymlink(record)) {
    pending.assign(record.raw + 40, record.raw + 40 + remaining);  // the link's target text
    remaining = 0;
  }
  const std::vector<std::uint32_t> blocks =
      remaining > 0 && haveRecord ? GetFileBlockList(record) : std::vector<std::uint32_t>{};
  for (std::size_t b = 0; b < blocks.size() && remaining > 0 && !writeFailed && !app.stopRequested; ++b) {
    const std::uint64_t blockSector = static_cast<std::uint64_t>(blocks[b]) * sectorsPerBlock;
    if (blocks[b] == 0) {  // a hole reads as zeros
      const std::uint32_t n = std::min<std::uint32_t>(remaining, blockSize);
      put(n);
      remaining -= n;
    } else if (app.readMode == 1) {
      // A sector at a time, so that a bad sector costs only its own reads and never a failed read
      // of its whole block first.
      for (std::uint32_t i = 0; i < sectorsPerBlock && remaining > 0; ++i) {
        const std::uint32_t n = std::min<std::uint32_t>(remaining, kSectorSize);
        put(n, blockSector + i, 1, "sector");
        remaining -= n;
      }
    } else {
      const std::uint32_t n = std::min<std::uint32_t>(remaining, blockSize);
      put(n, blockSector, sectorsPerBlock, "block");
      remaining -= n;
    }
  }
  flush();
  if (app.stopRequested && remaining > 0) {
    // Stopped within this file: the part written is not the file, and does not stay.
    ::close(fd);
    ::unlinkat(dirFd, target.c_str(), 0);
    Log(nullptr, nullptr, "Stopped", kIconNone);
    return 0;
  }
  if (writeFailed) ++unwrittenFiles;
  // Access and modification times as stored; Linux has no settable creation time.
  struct timespec times[2] = {{static_cast<time_t>(entry.accessTime), 0},
                              {static_cast<time_t>(entry.modificationTime), 0}};
  ::futimens(fd, times);
  ::close(fd);
  return finish();
}

void CLinuxDrive::RecoverFolderFiles(const std::vector<ListedEntry*>& children, std::uint8_t type,
                                     std::uint32_t folderDeleted, RecoveryRun& run, int dirFd,
                                     const std::string& dirPath) {
  AppState& app = App();
  for (ListedEntry* child : children) {
    if (app.stopRequested) break;
    if (child->IsFolder()) continue;
    if (TakesFile(*child, type, folderDeleted)) run.last = RecoverFile(*child, type, dirFd, dirPath);
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

  struct Open {
    std::uintptr_t treeItem;
    std::uint32_t inode;
    std::string key;   // the name the views know the folder by
    std::string path;  // where it is written
    int fd;
    std::vector<ListedEntry*> children;
    std::size_t next = 0;
  };
  std::vector<Open> stack;
  auto enter = [&](std::uintptr_t item, std::uint32_t folder, int parentFd, const std::string& parentPath,
                   const std::string& name, const std::string& key, std::uint32_t folderDeleted) {
    run.foldersDone.insert(folder);
    std::vector<ListedEntry*> children = childrenOf(folder);
    const int fd = parentFd == AT_FDCWD ? OpenFolderBelow(AT_FDCWD, name) : OpenFolderBelow(parentFd, name);
    const std::string here = parentFd == AT_FDCWD ? name : parentPath + "/" + name;
    if (fd < 0) {
      // Nothing below this folder can be written: say which folder, and go on with the next one.
      ++unwrittenFolders;
      Log(nullptr, ("Disk write error, folder and its contents not recovered: " + here).c_str(),
          "Error creating folder", kIconAborted);
      run.last = 0;
      return;
    }
    RecoverFolderFiles(children, type, folderDeleted, run, fd, here);
    if (type == kRecoverMarked) {
      if (listView != nullptr) listView->UpdateItemCheck(key, folder, item, 1);
      if (treeView != nullptr) treeView->UncheckEntry(item, 1);
    }
    stack.push_back({item, folder, key, here, fd, std::move(children)});
  };

  // The top folder is the destination path itself; the views know it as "Root".
  enter(treeItem, inode, AT_FDCWD, "", path, "Root", deleted);
  while (!stack.empty()) {
    Open& top = stack.back();
    ListedEntry* next = nullptr;
    while (top.next < top.children.size() && !app.stopRequested) {
      ListedEntry* c = top.children[top.next++];
      if (c->IsFolder() && run.foldersDone.count(c->inode) == 0 &&
          (type == kRecoverMarked || type == kRecoverAll || type == kRecoverDeleted || type == kRecoverExisting)) {
        next = c;
        break;
      }
    }
    if (next != nullptr) {
      const int parentFd = top.fd;
      const std::string parentPath = top.path;
      enter(next->treeItem, next->inode, parentFd, parentPath, SafeRecoveredName(next->name, next->inode), next->name,
            next->deleted);
      continue;
    }
    if (type == kRecoverMarked && !app.stopRequested) {
      if (treeView != nullptr) treeView->UncheckEntry(top.treeItem, 0);
      if (listView != nullptr) listView->UpdateItemCheck(top.key, top.inode, top.treeItem, 0);
      if (frame != nullptr && frame->markedFolders > 0) {
        --frame->markedFolders;
        frame->UpdateMarkedPane(false, false, nullptr, false);
      }
    }
    ::close(top.fd);
    stack.pop_back();
  }
  return run.last;
}
