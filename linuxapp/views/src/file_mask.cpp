// The File Mask on the tree: the masked tree built from the full scan's list, and UnMask.
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <utility>

#include "ext2engine/linux_drive.h"
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"
#include "linuxcore/mask_criteria.h"

namespace ext2::views {

using namespace ext2::core;

using controls::kNoItem;
using controls::TreeItem;

namespace {

constexpr const char* kRootText = "Root";

// The positions of LIST's records by parent inode, each in list order.
std::unordered_map<std::uint32_t, std::vector<std::size_t>> ByParent(const EntryList& list) {
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> children;
  for (std::size_t i = 0; i < list.size(); ++i) children[list[i].parentInode].push_back(i);
  return children;
}

}  // namespace

bool CLeftView::RememberParentKey(std::uint32_t inode) { return !parentKeys_.insert(inode).second; }

void CLeftView::AddParentChain(std::uint32_t inode) {
  while (inode != 0) {
    const ListedEntry* folder = nullptr;
    for (std::size_t i : Index().WithInode(inode)) {
      if (entries_[i].IsFolder()) {
        folder = &entries_[i];
        break;
      }
    }
    if (folder == nullptr || RememberParentKey(inode)) return;
    filtered_.push_back(*folder);
    filtered_.back().treeItem = kNoItem;
    inode = folder->parentInode;  // Root's "no parent" finds no folder and ends the chain
  }
}

void CLeftView::InsertMaskedRoot() {
  root_ = tree_.InsertSorted(kNoItem, kRootText, kTreeImageRoot, kTreeImageRoot);
  tree_.SetItemData(root_, kRootInode);
  tree_.SetStateImage(root_, controls::kStateUnchecked);
  masked_.Clear();
  masked_.StartWithRoot(root_);
}

void CLeftView::BuildMaskedTree() {
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> children;
  for (std::size_t i = 0; i < filtered_.size(); ++i) children[filtered_[i].parentInode].push_back(i);
  // A folder's contents are added once, even if a damaged drive lists its inode twice.
  std::unordered_set<std::uint32_t> expanded;
  for (std::size_t p = 0; p < masked_.size(); ++p) {
    if (!masked_[p].IsFolder()) continue;
    const std::uint32_t inode = masked_[p].inode;
    const TreeItem parentItem = masked_[p].treeItem;
    if (!expanded.insert(inode).second) continue;
    auto found = children.find(inode);
    if (found == children.end()) continue;
    for (std::size_t r : found->second) {
      const ListedEntry& record = filtered_[r];
      TreeItem item = kNoItem;
      if (record.IsFolder()) {
        // Deleted folders too show the normal folder images here.
        item = tree_.InsertSorted(parentItem, record.name, kTreeImageFolder, kTreeImageFolderSelected);
        tree_.SetItemData(item, record.inode);
        tree_.SetStateImage(item, TreeStateOfCheck(record.check));
      }
      masked_.Append(record, record.name.c_str()).treeItem = item;
    }
  }
}

void CLeftView::ApplyFileMask(const SystemTime& today) {
  filtered_.clear();
  parentKeys_.clear();
  masked_.Clear();
  const FileMaskCriteria& criteria = app_.mask;
  for (const ListedEntry& record : entries_) {
    if (record.IsFolder() || !PassesFileMask(record, record.name, criteria, today)) continue;
    filtered_.push_back(record);
    filtered_.back().treeItem = kNoItem;
  }
  const std::size_t files = filtered_.size();
  for (std::size_t i = 0; i < files; ++i) AddParentChain(filtered_[i].parentInode);

  ClearTree();
  if (list_ != nullptr) list_->ClearListView();
  InsertMaskedRoot();
  BuildMaskedTree();

  unmasked_ = std::move(entries_);
  hasUnmasked_ = true;
  entries_ = std::move(masked_);
  masked_.Clear();
  index_.Reset();
  filtered_.clear();
  parentKeys_.clear();
  app_.scanned = 1;
  // The copies keep their files' marks; each folder, Root first of all, shows what it holds here.
  SettleFolderChecks();
  ExpandAndSelect(false);
  RecountMarks();
}

void CLeftView::RestoreUnmaskedList() {
  if (!hasUnmasked_) return;
  entries_ = std::move(unmasked_);
  unmasked_.Clear();
  hasUnmasked_ = false;
  index_.Reset();
}

void CLeftView::UnMask(CLinuxDrive* drive) {
  if (frame_ != nullptr) {
    frame_->EnableToolbarButton(kCmdStop, true);
    for (ToolbarCommand command : {kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdFileMask, kCmdAddFileFilter, kCmdFind,
                                   kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
      frame_->EnableToolbarButton(command, false);
    }
  }
  app_.processRunning = 1;
  app_.stopRequested = 0;
  app_.recovering = 0;
  app_.scanned = 0;
  if (frame_ != nullptr) {
    frame_->busyFlag = 1;
    frame_->abortFlag = 0;
  }
  const int formerEntries = drive != nullptr ? static_cast<int>(drive->entries) : static_cast<int>(entries_.size());
  RestoreUnmaskedList();

  ClearTree();
  if (list_ != nullptr) list_->ClearListView();
  std::uint32_t entries = 0, folders = 0, files = 0;
  std::uint64_t bytes = 0;
  auto showTotals = [&] {
    if (drive == nullptr) return;
    drive->entries = entries;
    drive->folders = folders;
    drive->files = files;
    drive->totalBytes = bytes;
    if (frame_ != nullptr) frame_->UpdateTotalsPane();
  };
  showTotals();

  // Breadth first from Root; each folder's contents in list order. A folder inode is queued once,
  // so that a folder listed inside itself cannot keep the walk going.
  const auto children = ByParent(entries_);
  std::deque<std::pair<std::uint32_t, TreeItem>> queue;
  std::unordered_set<std::uint32_t> queued{kRootInode};
  if (!entries_.empty() && entries_[0].inode == kRootInode) {
    if (frame_ != nullptr) frame_->StartProgress(formerEntries);
    entries_[0].treeItem = InsertRootOnly();
    tree_.SetStateImage(root_, TreeStateOfCheck(entries_[0].check));
    ++folders;  // Root, as the scan counts it: a folder but not an entry
    showTotals();
    queue.emplace_back(kRootInode, root_);
  }
  while (!queue.empty()) {
    const auto [inode, item] = queue.front();
    queue.pop_front();
    auto found = children.find(inode);
    if (found == children.end()) continue;
    for (std::size_t i : found->second) {
      ListedEntry& record = entries_[i];
      ++entries;  // files too, as the scan counts them
      if (record.IsFolder()) {
        ++folders;
        const TreeItem child = InsertEntryItem(record, item);
        if (frame_ != nullptr) frame_->StepProgress(static_cast<int>(entries));
        if (queued.insert(record.inode).second) queue.emplace_back(record.inode, child);
      } else {
        ++files;
        bytes += record.size;  // as the scans count them: every file's bytes
      }
      showTotals();
    }
  }

  CollapseChildren();
  ExpandAndSelect(false);
  RecountMarks();
  app_.logHasRows = 1;
  if (entries > 0 || folders > 0) app_.scanned = 1;
  if (frame_ != nullptr) frame_->EndProgress();
}

}  // namespace ext2::views
