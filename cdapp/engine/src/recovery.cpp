// Recovery of marked, all or deleted CD files. The walk over the tree keeps its own stack of
// folders (no recursion a deep tree could drive past the stack), each open below its parent, so
// paths of any length are written, nothing is written outside the destination and no link is
// followed.
#include "cdengine/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/output_tree.h"

namespace cd {

using controls::kNoItem;
using controls::TreeItem;

namespace {

// A file is read and written in runs of up to 1 MiB: one read and one write for most files, and
// the window is let in between runs, so that Stop still acts within a run's time.
constexpr std::uint32_t kRunBytes = 1 << 20;

// Writes N bytes of DATA to FD; false when the destination takes fewer (full, a size limit).
bool WriteAll(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// The extents of NODE in file order: its sections, or the one extent of a usual file.
std::vector<FileSection> ExtentsOf(const TreeItemNode& node) {
  if (!node.sections.empty()) return {node.sections.begin(), node.sections.end()};
  return {{node.key, static_cast<std::uint32_t>(std::min<std::uint64_t>(node.size, 0xFFFFFFFFu))}};
}

bool MakeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsMarkedImage(int image) { return image == controls::kStateChecked || image == controls::kStatePartly; }

class Recovery {
 public:
  Recovery(CCDReader& reader, const std::string& destination, int mode)
      : r_(reader), frame_(*reader.frame), app_(*reader.app), view_(*reader.treeView), tree_(view_.Tree()),
        list_(reader.listView), destination_(destination), mode_(mode) {}

  void Run();

 private:
  std::string CurrentDirectory() const {
    std::string path = destination_;
    for (const auto& d : dirs_) path += "/" + d;
    return path;
  }
  bool Admitted(const std::string& name) const {
    const int matched = MatchesFileFilter(r_, name);
    return (matched == 1 && frame_.filterMode == 1) || (matched == 0 && frame_.filterMode == 0);
  }
  void RecoverSubtree(TreeItem start);
  bool EnterFolder(TreeItem item, bool& pushed);
  void RecoverDirectoryFiles(TreeItem item);
  void SaveRecoveredFile(TreeItemNode& node);
  // The name NODE is written under in the current folder: its own, or, when this recovery has
  // written that name in the folder already (two entries of one folder named alike, on a damaged
  // or hostile disc), the first free name of the Copy series, so that neither is written over.
  std::string OutputName(const TreeItemNode& node);
  // Bytes of the extent at SECTOR of LENGTH bytes that the medium holds.
  std::uint64_t BytesOnMedium(std::uint32_t sector, std::uint64_t length) const;
  // Copies the file's bytes, each of its extents in turn, into FD; false when a write failed or
  // came short, or Stop came in the middle of the file.
  bool CopyFileSections(int fd, const TreeItemNode& node);
  // Copies the extent at the read offset of LENGTH recorded bytes. An extent that lies within the
  // volume's recorded size is written at its length, with 0xF6 for what the medium does not hold
  // (a cut disc); one that claims more than the volume is written as far as the medium holds it.
  bool CopyFileExtent(int fd, std::uint64_t length);
  // Reads N bytes at OFFSET into the run buffer: in one attempt, and when that fails or comes
  // short, the rest sector by sector with the retries, so that a bad sector costs only its own
  // bytes (0xF6) and is counted in the file's row.
  void ReadRun(std::uint64_t offset, std::uint32_t n);
  // Folders holding a marked file that was not written keep a mark, and so do the folders above
  // them, so that the next Recover Selected reaches the file.
  void KeepMarksOfUnwrittenFiles();
  // Whether a file in folder ITEM or below it is marked.
  bool HoldsMarkedFiles(TreeItem item);
  void Uncheck(TreeItem item) {
    tree_.SetStateImage(item, controls::kStateUnchecked);
    if (list_ != nullptr) list_->UncheckListItem(tree_.GetItemText(item), tree_.GetItemData(item));
    view_.UnmarkFolder(item);
  }
  void StepFiles() { frame_.StepProgress(r_.filesSaved, 0, nullptr, 0, 0, 0); }

  CCDReader& r_;
  CdFrame& frame_;
  CdAppState& app_;
  CdTreeViewPort& view_;
  controls::TreeControl& tree_;
  CdListViewPort* list_;
  std::string destination_;
  int mode_;
  std::vector<std::string> dirs_;  // folders below the destination of the folder being written
  // The destination and each of dirs_, open; -1 where it could not be made (a name taken by a
  // file or a link), and nothing is created below it.
  int destinationFd_ = -1;
  std::vector<int> dirFds_;
  // Files not recovered whole, for any reason: not written whole, or a read that failed or came short.
  std::uint32_t filesNotWhole_ = 0;
  std::vector<TreeItem> foldersWithUnwritten_;
  bool stoppedInFile_ = false;  // Stop came while the file being saved was copied
  std::vector<std::uint8_t> run_;  // the run being copied; one buffer for the whole recovery
  std::uint64_t mediumBytes_ = 0;  // the medium's size, taken once at the start
  // The names this recovery has written in each destination folder (by device and inode: two disc
  // folders of one name are one destination folder), and those of the folder being written. For
  // each extent and name given a Copy name, the next name of its series to try: a disc of many
  // entries of one name and extent costs one step per entry, not one per entry before it.
  struct FolderNames {
    std::unordered_set<std::string> written;
    std::unordered_map<std::string, unsigned> nextCopy;
  };
  std::map<std::pair<dev_t, ino_t>, FolderNames> namesWritten_;
  FolderNames* folderNames_ = nullptr;
  bool Writable() const {
    return destinationFd_ >= 0 && std::find(dirFds_.begin(), dirFds_.end(), -1) == dirFds_.end();
  }
  int CurrentFd() const { return dirFds_.empty() ? destinationFd_ : dirFds_.back(); }
  void LeaveFolder() {
    if (dirFds_.back() >= 0) ::close(dirFds_.back());
    dirFds_.pop_back();
    dirs_.pop_back();
  }
};

// Steps 1 to 3 of a folder: false when the stop flag ends the walk here.
bool Recovery::EnterFolder(TreeItem item, bool& pushed) {
  pushed = false;
  if (frame_.stopFlag) {
    StepFiles();
    frame_.busy = 0;
    return false;
  }
  const bool marked = IsMarkedImage(tree_.GetStateImage(item));
  // The tree's root is the destination itself; a disc folder of any name, "Root" too, is a folder.
  if (item != view_.RootItem() && ((mode_ == kRecoverMarked && marked) || mode_ == kRecoverAll)) {
    const std::string name = platform::FitNameLength(SafeOutputName(tree_.GetItemText(item), tree_.GetItemData(item)));
    dirFds_.push_back(Writable() ? platform::OpenFolderBelow(CurrentFd(), name) : -1);
    dirs_.push_back(name);
    pushed = true;
  }
  if (((mode_ == kRecoverMarked && marked) || mode_ != kRecoverMarked) && !frame_.stopFlag) {
    RecoverDirectoryFiles(item);
  }
  return true;
}

void Recovery::RecoverSubtree(TreeItem start) {
  struct Level {
    TreeItem nextChild;
    bool pushed;
  };
  std::vector<Level> stack;
  bool pushed = false;
  if (!EnterFolder(start, pushed)) return;
  const bool visitChildren = start != view_.RootItem() && mode_ != kRecoverDeleted;
  stack.push_back({visitChildren ? tree_.GetChild(start) : kNoItem, pushed});
  while (!stack.empty()) {
    Level& top = stack.back();
    TreeItem next = kNoItem;
    while (top.nextChild != kNoItem) {
      const TreeItem child = top.nextChild;
      top.nextChild = tree_.GetNext(child);
      if (frame_.stopFlag) continue;
      if (mode_ == kRecoverMarked && !IsMarkedImage(tree_.GetStateImage(child))) continue;
      next = child;
      break;
    }
    if (next == kNoItem) {
      if (stack.back().pushed) LeaveFolder();
      stack.pop_back();
      continue;
    }
    if (!EnterFolder(next, pushed)) {
      continue;
    }
    stack.push_back({tree_.GetChild(next), pushed});
  }
}

void Recovery::RecoverDirectoryFiles(TreeItem item) {
  app_.itemUnderRecovery = item;
  ++r_.foldersSaved;
  folderNames_ = nullptr;
  struct stat folder {};
  if (Writable() && ::fstat(CurrentFd(), &folder) == 0) folderNames_ = &namesWritten_[{folder.st_dev, folder.st_ino}];
  const std::uint32_t key = tree_.GetItemData(item);
  const std::vector<std::uint32_t> children = view_.ChildrenOf(key);
  auto& nodes = view_.Nodes();
  for (std::uint32_t i : children) {
    TreeItemNode& node = nodes[i];
    if (node.type != 1) continue;
    if (mode_ == kRecoverMarked && node.mark != 1) continue;
    if (mode_ == kRecoverDeleted && node.existence != 1) continue;
    if (app_.recoveryStop) return;
    if (Admitted(node.name)) {
      SaveRecoveredFile(node);
      ++r_.filesSaved;
    }
  }
  for (std::uint32_t i : children) {
    if (nodes[i].type == 1 && nodes[i].mark == 1) {
      foldersWithUnwritten_.push_back(item);
      break;
    }
  }
  if (mode_ == kRecoverDeleted) return;  // it writes no marked entries: the marks stay
  if (mode_ == kRecoverMarked) {
    frame_.UpdateMarkedPane();
    const TreeItem parent = tree_.GetParent(item);
    if (parent != kNoItem && parent != view_.RootItem()) Uncheck(item);
  } else if (IsMarkedImage(tree_.GetStateImage(item))) {
    frame_.UpdateMarkedPane();
    tree_.SetStateImage(item, controls::kStateUnchecked);
  }
}

std::uint64_t Recovery::BytesOnMedium(std::uint32_t sector, std::uint64_t length) const {
  const std::uint64_t at = static_cast<std::uint64_t>(sector) * kSectorSize;
  return at < mediumBytes_ ? std::min(length, mediumBytes_ - at) : 0;
}

bool Recovery::CopyFileSections(int fd, const TreeItemNode& node) {
  for (const FileSection& section : ExtentsOf(node)) {
    r_.readOffset = static_cast<std::uint64_t>(section.extent) * kSectorSize;
    if (!CopyFileExtent(fd, section.length)) return false;
  }
  return true;
}

bool Recovery::CopyFileExtent(int fd, std::uint64_t length) {
  // A recorded length is only a claim: the medium holds what it holds. Where the volume's recorded
  // size takes the extent in, the medium was cut (a disc read short, an image copied short): the
  // file keeps its length and the bytes past the medium's end are written as 0xF6. A claim past
  // the volume is bounded by the medium. Either way a file cut there is not recovered whole
  // (nothing of the extent on the medium: failed; some of it: partial).
  const std::uint64_t held = BytesOnMedium(static_cast<std::uint32_t>(r_.readOffset / kSectorSize), length);
  const std::uint64_t volumeBytes = static_cast<std::uint64_t>(r_.volumeSpaceSize) * kSectorSize;
  const bool inVolume = r_.readOffset <= volumeBytes && length <= volumeBytes - r_.readOffset;
  const std::uint64_t total = inVolume ? length : held;
  if (held < length) {
    if (held == 0) {
      if (r_.failedReads < 255) ++r_.failedReads;
    } else if (r_.shortReads < 255) {
      ++r_.shortReads;
    }
  }
  if (run_.size() < kRunBytes) run_.resize(kRunBytes);
  for (std::uint64_t done = 0; done < total;) {
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(total - done, kRunBytes));
    const auto readable = static_cast<std::uint32_t>(done < held ? std::min<std::uint64_t>(n, held - done) : 0);
    if (readable > 0) ReadRun(r_.readOffset, readable);
    std::fill(run_.begin() + readable, run_.begin() + n, kFillByte);
    // A full or failing destination: the rest of the file is not written either.
    if (!WriteAll(fd, run_.data(), n)) return false;
    r_.readOffset += n;
    done += n;
    // Stop ends the copy in the middle of a file: it is not recovered whole.
    if (r_.PumpWhileReading((n + kSectorSize - 1) / kSectorSize) && done < total && app_.recoveryStop) {
      stoppedInFile_ = true;
      return false;
    }
  }
  return true;
}

void Recovery::ReadRun(std::uint64_t offset, std::uint32_t n) {
  std::uint32_t got = 0;
  const bool read = r_.ReadBytesOnce(offset, n, std::span(run_.data(), n), got);
  if (read && got == n) return;
  // The whole sectors the attempt delivered stand; the rest is read a sector at a time.
  for (std::uint32_t at = read ? got / kSectorSize * kSectorSize : 0; at < n; at += kSectorSize) {
    const std::uint32_t m = std::min(n - at, kSectorSize);
    std::uint8_t* sector = run_.data() + at;
    std::uint32_t part = 0;
    if (!r_.ReadBytes(offset + at, m, 1, std::span(sector, m), part)) {
      part = 0;
      if (r_.failedReads < 255) ++r_.failedReads;
    } else if (part < m && r_.shortReads < 255) {
      ++r_.shortReads;
    }
    std::fill(sector + part, sector + m, kFillByte);
    r_.PumpWhileReading();  // a damaged run can take long: the window goes on repainting
  }
}

std::string Recovery::OutputName(const TreeItemNode& node) {
  const std::string name = platform::FitNameLength(SafeOutputName(node.name, node.key));
  if (folderNames_ == nullptr || folderNames_->written.count(name) == 0) return name;
  unsigned& k = folderNames_->nextCopy[std::to_string(node.key) + "/" + name];
  std::string copy = platform::FitNameLength(platform::CopyName(k, node.key, name));
  while (folderNames_->written.count(copy) != 0) copy = platform::FitNameLength(platform::CopyName(++k, node.key, name));
  ++k;
  return copy;
}

void Recovery::SaveRecoveredFile(TreeItemNode& node) {
  r_.failedReads = r_.shortReads = 0;
  stoppedInFile_ = false;
  const std::string name = OutputName(node);
  const int dirFd = CurrentFd();
  // A file the medium holds nothing of (it lies wholly past the end of a cut disc) is not made:
  // no empty file is left as if it were the file.
  std::uint64_t held = 0;
  for (const FileSection& section : ExtentsOf(node)) held += BytesOnMedium(section.extent, section.length);
  const bool onMedium = node.size == 0 || held > 0;
  if (!onMedium && r_.failedReads < 255) ++r_.failedReads;
  const int fd = Writable() && onMedium
                     ? ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644)
                     : -1;
  bool written = fd >= 0 && CopyFileSections(fd, node);
  r_.recoveredFilePath = CurrentDirectory() + "/" + name;
  if (fd >= 0 && ::close(fd) != 0) written = false;
  // A file not written whole (a full destination, a size limit, Stop) is not left behind as if it were.
  if (fd >= 0 && !written) ::unlinkat(dirFd, name.c_str(), 0);
  if (written && folderNames_ != nullptr) folderNames_->written.insert(name);
  if (!written || r_.failedReads || r_.shortReads) ++filesNotWhole_;
  // A marked file keeps its mark until it is written.
  if (node.mark == 1 && written) {
    node.mark = 0;
    if (list_ != nullptr) list_->UncheckListItem(node.name, node.key);
    if (frame_.markedFiles > 0) --frame_.markedFiles;
    frame_.markedBytes = frame_.markedBytes >= node.size ? frame_.markedBytes - node.size : 0;
    frame_.UpdateMarkedPane();
  }
  const char* status = "File Recovered Successfully";
  CdLogIcon icon = kCdIconOk;
  if (!written) {
    status = "File Recovery Failed";  // not written whole: not a success, whatever the reads gave
    icon = kCdIconError;
  } else if (r_.failedReads || r_.shortReads) {
    status = r_.shortReads ? "File Recovered Partially" : "File Recovery Failed";
    icon = kCdIconError;
  }
  if (stoppedInFile_) status = "File Recovery Stopped";
  app_.rowActivity = "Recovering file";
  app_.rowText = r_.recoveredFilePath;
  app_.rowStatus = status;
  frame_.AddLogEntry("Recovering file", r_.recoveredFilePath.c_str(), status, icon);
  app_.logHasRows = 1;
  StepFiles();
}

void Recovery::Run() {
  for (int cmd : {kCdCmdFileMask, kCdCmdOpenDrive, kCdCmdAddFileFilter, kCdCmdFind, kCdCmdRecoverAll,
                  kCdCmdRecoverSelected, kCdCmdRecoverDeleted}) {
    frame_.EnableToolbarButton(cmd, false);
  }
  app_.recoveryStop = 0;
  r_.foldersSaved = 0;
  frame_.stopFlag = 0;
  frame_.stepsAfterStop = 0;
  r_.filesSaved = 0;
  frame_.busy = 1;
  const int n = mode_ == kRecoverAll ? static_cast<int>(tree_.GetCount()) : view_.CountFiles(mode_);
  frame_.StartProgressRange(static_cast<std::uint32_t>(n));
  platform::IgnoreFileSizeSignal();
  mediumBytes_ = r_.MediumSectors() * kSectorSize;
  if (MakeDirectory(destination_)) {
    destinationFd_ = ::open(destination_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }

  const TreeItem root = view_.RootItem();
  bool stopped = false;
  if (root != kNoItem) {
    const int rootImage = tree_.GetStateImage(root);
    if (mode_ != kRecoverMarked || rootImage == controls::kStateChecked || rootImage == controls::kStatePartly) {
      RecoverSubtree(root);
    }
    for (TreeItem child = tree_.GetChild(root); child != kNoItem; child = tree_.GetNext(child)) {
      const int image = tree_.GetStateImage(child);
      if (image == controls::kStateChecked || image == controls::kStatePartly) {
        RecoverSubtree(child);
        if (mode_ != kRecoverDeleted) Uncheck(child);
      } else if (mode_ != kRecoverMarked) {
        RecoverSubtree(child);
      }
      if (app_.recoveryStop) {
        stopped = true;
        break;
      }
      while (!dirFds_.empty()) LeaveFolder();
    }
    if (app_.recoveryStop) stopped = true;  // also a Stop among the root's own files
    // Files not recovered whole are not counted as saved, and the status says how many.
    char text[96];
    std::snprintf(text, sizeof text, "Saved %ld Files in %ld Dirs", static_cast<long>(r_.filesSaved - filesNotWhole_),
                  static_cast<long>(r_.foldersSaved));
    char failed[96];
    std::snprintf(failed, sizeof failed, "%s, %ld Files Not Recovered Whole", stopped ? "Process Stopped" : "Process Completed",
                  static_cast<long>(filesNotWhole_));
    const CdLogIcon icon = filesNotWhole_ ? kCdIconError : kCdIconOk;
    if (!stopped) {
      app_.recoveryStopped = 0;
      if (mode_ != kRecoverDeleted && tree_.GetStateImage(root) == controls::kStatePartly) {
        tree_.SetStateImage(root, controls::kStateUnchecked);
      }
      frame_.AddLogEntry("Recovery Status", text, filesNotWhole_ ? failed : "Process Completed", icon);
    } else {
      app_.recoveryStopped = 1;
      // Grey the top-level folder that was in progress.
      TreeItem item = static_cast<TreeItem>(app_.itemUnderRecovery);
      while (item != kNoItem && tree_.GetParent(item) != kNoItem && tree_.GetParent(item) != root) {
        item = tree_.GetParent(item);
      }
      // Only while it still holds marked files: a stopped Recover All of unmarked files marks nothing.
      if (item != kNoItem && item != root && HoldsMarkedFiles(item)) {
        tree_.SetStateImage(item, controls::kStatePartly);
        if (list_ != nullptr) list_->GreyListItem(tree_.GetItemText(item), tree_.GetItemData(item), CdGreyRow::Grey);
        if (TreeItemNode* node = view_.FolderOfItem(item)) node->mark = 2;
      }
      frame_.AddLogEntry("Recovery Status", text, filesNotWhole_ ? failed : "Process Stopped", icon);
    }
    if (mode_ != kRecoverDeleted) KeepMarksOfUnwrittenFiles();
    app_.logHasRows = 1;
  }
  while (!dirFds_.empty()) LeaveFolder();
  if (destinationFd_ >= 0) ::close(destinationFd_);
  destinationFd_ = -1;
  frame_.stopFlag = 1;
  StepFiles();
  frame_.busy = 0;
  if (mode_ != kRecoverDeleted && root != kNoItem && IsMarkedImage(tree_.GetStateImage(root))) {
    tree_.SetStateImage(root, controls::kStatePartly);
  }
  view_.CountMarked(nullptr, nullptr);
}

bool Recovery::HoldsMarkedFiles(TreeItem item) {
  std::vector<TreeItem> pending{item};
  while (!pending.empty()) {
    const TreeItem folder = pending.back();
    pending.pop_back();
    for (std::uint32_t i : view_.ChildrenOf(tree_.GetItemData(folder))) {
      if (view_.Nodes()[i].type == 1 && view_.Nodes()[i].mark == 1) return true;
    }
    for (TreeItem c = tree_.GetChild(folder); c != kNoItem; c = tree_.GetNext(c)) pending.push_back(c);
  }
  return false;
}

void Recovery::KeepMarksOfUnwrittenFiles() {
  for (TreeItem item : foldersWithUnwritten_) {
    for (TreeItem f = item; f != kNoItem; f = tree_.GetParent(f)) {
      tree_.SetStateImage(f, controls::kStatePartly);
      if (list_ != nullptr) list_->GreyListItem(tree_.GetItemText(f), tree_.GetItemData(f), CdGreyRow::Grey);
      if (TreeItemNode* node = view_.FolderOfItem(f)) node->mark = 2;
    }
  }
}

}  // namespace

std::string SafeOutputName(const std::string& name, std::uint32_t key) {
  if (name.empty() || name == "." || name == "..") return "Extent #" + std::to_string(key);
  std::string safe = name;
  for (char& c : safe) {
    if (c == '/' || c == 0) c = '_';
  }
  return safe;
}

int ComparePattern(const CCDReader& reader, const std::string& extensionPattern, const std::string& name) {
  for (const auto& p : reader.filterPatterns) {
    if (p == extensionPattern) return 1;
  }
  for (const auto& p : reader.filterPatterns) {
    if (p == name) return 1;
  }
  return 0;
}

int MatchesFileFilter(const CCDReader& reader, const std::string& name) {
  if (reader.filterPatterns.empty()) return 0;
  const std::size_t dot = name.find('.');
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  return ComparePattern(reader, "*." + extension, name);
}

bool AddFilterPattern(CCDReader& reader, const std::string& pattern) {
  const std::string text = pattern.substr(0, 255);
  if (std::find(reader.filterPatterns.begin(), reader.filterPatterns.end(), text) != reader.filterPatterns.end()) {
    return false;
  }
  reader.filterPatterns.push_back(text);
  return true;
}

void RecoverItems(CCDReader& reader, const std::string& destination, int mode) {
  if (reader.treeView == nullptr) return;
  Recovery(reader, destination, mode).Run();
}

}  // namespace cd
