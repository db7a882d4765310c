// Check marks of the folder tree: a click sets a subtree, the folders above settle to checked,
// unchecked or partly checked, and the list view and the marked totals follow.
#include <algorithm>
#include <deque>
#include <unordered_set>

#include "controls/tree_checks.h"
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"

namespace ext2::views {

using namespace ext2::core;

using controls::kNoItem;
using controls::TreeItem;

namespace {

constexpr const char* kRootText = "Root";

bool IsFolderKind(const std::string& kind) { return kind == "Folder" || kind == "Deleted Folder"; }

// The walk's key of an item: its data and its text.
std::string WalkKey(std::uint32_t inode, const std::string& text) {
  std::string key(reinterpret_cast<const char*>(&inode), sizeof inode);
  key += text;
  return key;
}

}  // namespace

void CLeftView::TakeState(ListedEntry& record, int state) {
  record.check = state == 1 ? 1 : 0;
  if (record.treeItem != kNoItem) {
    tree_.SetStateImage(record.treeItem, state == 1 ? controls::kStateChecked : controls::kStateUnchecked);
  }
}

void CLeftView::SetRecordAndItem(TreeItem item, std::uint8_t check, int image) {
  if (ListedEntry* record = FindRecord(tree_.GetItemText(item), tree_.GetItemData(item))) {
    record->check = check;
    tree_.SetStateImage(item, image);
  }
}

void CLeftView::CollectCheckedItems(int state, std::uint32_t inode, TreeItem item, std::uint32_t /*parentInode*/) {
  if (inode == 0) {
    for (ListedEntry& record : entries_) TakeState(record, state);
    return;
  }
  // The folders of the subtree, breadth first; an item that repeats the text and data of one
  // already taken is not walked again.
  std::unordered_set<std::string> seen{WalkKey(inode, tree_.GetItemText(item))};
  std::unordered_set<std::uint32_t> inodes{inode};
  std::deque<TreeItem> pending{item};
  while (!pending.empty()) {
    const TreeItem at = pending.front();
    pending.pop_front();
    for (TreeItem c = tree_.GetChild(at); c != kNoItem; c = tree_.GetNext(c)) {
      const std::uint32_t data = tree_.GetItemData(c);
      if (!seen.insert(WalkKey(data, tree_.GetItemText(c))).second) continue;
      inodes.insert(data);
      pending.push_back(c);
    }
  }
  const EntryIndex& index = Index();
  for (std::uint32_t folder : inodes) {
    for (std::size_t i : index.WithInode(folder)) TakeState(entries_[i], state);
    for (std::size_t i : index.WithParent(folder)) TakeState(entries_[i], state);
  }
}

int CLeftView::SiblingsCheckState(TreeItem item, int state) { return controls::SiblingsCheckState(tree_, item, state); }

int CLeftView::FilesCheckState(std::uint32_t folderInode, int d) {
  for (std::size_t i : Index().WithParent(folderInode)) {
    const ListedEntry& record = entries_[i];
    if (record.IsFolder()) continue;
    if (d == 1 && (record.check == 0 || record.check == 2)) return 0;
    if (d == 2 && (record.check == 1 || record.check == 2)) return 0;
  }
  return 1;
}

void CLeftView::PropagateCheckUp(int d) {
  if (d == 3) {
    for (TreeItem a = tree_.GetParent(walkItem_); a != kNoItem; a = tree_.GetParent(a)) {
      SetRecordAndItem(a, 2, controls::kStatePartly);
      walkItem_ = a;
    }
    walkDone_ = true;
    return;
  }
  const TreeItem parent = tree_.GetParent(walkItem_);
  if (parent == kNoItem) {
    walkDone_ = true;
    return;
  }
  walkItem_ = parent;
  if (FilesCheckState(tree_.GetItemData(parent), d) == 0) {
    SetRecordAndItem(parent, 2, controls::kStatePartly);
  } else if (d == 1) {
    SetRecordAndItem(parent, 1, controls::kStateChecked);
  } else {
    SetRecordAndItem(parent, 0, controls::kStateUnchecked);
  }
}

void CLeftView::WalkUp(TreeItem from, int state) {
  walkItem_ = from;
  walkDone_ = false;
  while (!walkDone_) PropagateCheckUp(SiblingsCheckState(walkItem_, state));
}

bool CLeftView::OnLButtonDown(controls::TreePoint point) {
  walkDone_ = false;
  const controls::TreeHit hit = tree_.HitTest(point);
  if (hit.item == kNoItem) return false;
  if ((hit.flags & controls::kHitOnStateIcon) == 0) {
    for (TreeItem c = tree_.GetChild(hit.item); c != kNoItem; c = tree_.GetNext(c)) tree_.Collapse(c);
    return true;
  }
  ClickStateIcon(hit.item);
  return false;
}

void CLeftView::ClickStateIcon(TreeItem item) {
  if (item == kNoItem) return;
  const int image = tree_.GetStateImage(item);
  const int state = image == controls::kStateChecked || image == controls::kStatePartly ? 0 : 1;
  if (state == 0) {
    // Something is unmarked now, so Select All has work again.
    app_.allMarked = 0;
  } else {
    app_.recoverSelected = 1;
  }
  const TreeItem parent = tree_.GetParent(item);
  CollectCheckedItems(state, tree_.GetItemData(item), item, parent != kNoItem ? tree_.GetItemData(parent) : 0);
  const bool isRoot = tree_.GetItemText(item) == kRootText;
  if (!isRoot) WalkUp(item, state);

  if (list_ != nullptr) {
    if (isRoot) {
      list_->SetItemCheckState(CheckRows::All, state == 1 ? controls::kStateChecked : controls::kStateUnchecked,
                                std::string());
    } else {
      SyncListAfterClick(item, state);
    }
  }
  RefreshMarkedTotals();
}

void CLeftView::SyncListAfterClick(TreeItem item, int state) {
  const TreeItem selected = tree_.GetSelection();
  if (selected == kNoItem) return;
  const int code = state == 1 ? controls::kStateChecked : controls::kStateUnchecked;
  if (SameItem(item, selected)) {
    list_->SetItemCheckState(CheckRows::All, code, std::string());
    return;
  }
  for (TreeItem a = tree_.GetParent(selected); a != kNoItem; a = tree_.GetParent(a)) {
    if (SameItem(a, item)) {
      list_->SetItemCheckState(CheckRows::All, code, std::string());
      return;
    }
  }
  if (tree_.GetItemText(selected) == kRootText && tree_.GetItemData(selected) == kRootInode) {
    // The row of the first-level folder on the item's path.
    TreeItem top = item;
    while (tree_.GetParent(top) != kNoItem && tree_.GetParent(tree_.GetParent(top)) != kNoItem) top = tree_.GetParent(top);
    list_->SetItemCheckState(CheckRows::Named, tree_.GetStateImage(top), tree_.GetItemText(top));
    return;
  }
  // Below the selection: the row of the selection's child on the path to the item.
  std::deque<TreeItem> pending;
  for (TreeItem c = tree_.GetChild(selected); c != kNoItem; c = tree_.GetNext(c)) pending.push_back(c);
  while (!pending.empty()) {
    const TreeItem at = pending.front();
    pending.pop_front();
    if (SameItem(at, item)) {
      TreeItem child = at;
      while (tree_.GetParent(child) != selected) child = tree_.GetParent(child);
      list_->SetItemCheckState(CheckRows::Named, tree_.GetStateImage(child), tree_.GetItemText(child));
      return;
    }
    for (TreeItem c = tree_.GetChild(at); c != kNoItem; c = tree_.GetNext(c)) pending.push_back(c);
  }
}

void CLeftView::SyncTreeCheckFromList(int state, const std::string& name, const std::string& kind,
                                      const std::string& summary, std::uint32_t inode) {
  const TreeItem selected = tree_.GetSelection();
  if (selected == kNoItem) return;
  TreeItem start = selected;
  if (IsFolderKind(kind)) {
    start = kNoItem;
    for (TreeItem c = tree_.GetChild(selected); c != kNoItem; c = tree_.GetNext(c)) {
      if (tree_.GetItemText(c) == name && tree_.GetItemData(c) == inode) {
        start = c;
        break;
      }
    }
    if (start == kNoItem) return;
    CollectCheckedItems(state, inode, start, tree_.GetItemData(selected));
  } else if (summary == kAllItemsBlackchecked) {
    SetRecordAndItem(selected, 1, controls::kStateChecked);
  } else if (summary == kAllItemsUnchecked) {
    SetRecordAndItem(selected, 0, controls::kStateUnchecked);
  } else {
    SetRecordAndItem(selected, 2, controls::kStatePartly);
  }
  WalkUp(start, state);
}

std::uint64_t CLeftView::CountMarked(int* folders, int* files) {
  std::uint64_t bytes = 0;
  int folderCount = 0, fileCount = 0;
  for (const ListedEntry& record : entries_) {
    if (record.check != 1 && record.check != 2) continue;
    if (record.IsFolder()) {
      ++folderCount;
    } else {
      ++fileCount;
    }
    bytes += record.size;
  }
  if (folders != nullptr) *folders = folderCount;
  if (files != nullptr) *files = fileCount;
  app_.marked = folderCount + fileCount > 0 ? 1 : 0;
  return bytes;
}

void CLeftView::RefreshMarkedTotals() {
  if (frame_ == nullptr) {
    app_.recoverSelected = CountMarked(nullptr, nullptr) != 0 ? 1 : 0;
    return;
  }
  frame_->markedFolders = 0;
  frame_->markedFiles = 0;
  frame_->markedBytes = CountMarked(&frame_->markedFolders, &frame_->markedFiles);
  frame_->UpdateMarkedPane(false, false, nullptr, false);
  app_.recoverSelected = frame_->markedBytes != 0 ? 1 : 0;
}

void CLeftView::RecountMarks() {
  RefreshMarkedTotals();
  app_.allMarked = std::all_of(entries_.begin(), entries_.end(), [](const ListedEntry& e) { return e.check == 1; }) ? 1 : 0;
}

void CLeftView::SettleFolderChecks() {
  const EntryIndex& index = Index();
  // From the end of the list, so that a folder's contents are settled before the folder.
  for (std::size_t p = entries_.size(); p-- > 0;) {
    ListedEntry& folder = entries_[p];
    if (!folder.IsFolder()) continue;
    bool any = false, all = true, contents = false;
    for (std::size_t i : index.WithParent(folder.inode)) {
      if (i == p) continue;
      contents = true;
      any |= entries_[i].check != 0;
      all &= entries_[i].check == 1;
    }
    if (!contents) continue;
    folder.check = all ? 1 : any ? 2 : 0;
    if (folder.treeItem != kNoItem) tree_.SetStateImage(folder.treeItem, TreeStateOfCheck(folder.check));
  }
}

}  // namespace ext2::views
