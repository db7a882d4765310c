// The folder tree: the entry list, its items, selection and navigation.
#include "linuxviews/left_view.h"

#include "linuxviews/list_view.h"

namespace ext2::views {

using namespace ext2::core;

using controls::kNoItem;
using controls::TreeItem;

namespace {
constexpr const char* kRootText = "Root";
}

int TreeStateOfCheck(std::uint8_t check) {
  return check == 1 ? controls::kStateChecked : check == 2 ? controls::kStatePartly : controls::kStateUnchecked;
}

CLeftView::CLeftView(controls::TreeControl& tree, AppState& app) : tree_(tree), app_(app) {
  tree_.SetSelectionHandler([this](TreeItem item) { OnSelChanged(item); });
}

CLeftView::~CLeftView() { tree_.SetSelectionHandler({}); }

const EntryIndex& CLeftView::Index() {
  index_.Update(entries_);
  return index_;
}

ListedEntry* CLeftView::FindRecord(const std::string& name, std::uint32_t inode) {
  for (std::size_t i : Index().WithInode(inode)) {
    if (entries_[i].name == name) return &entries_[i];
  }
  return nullptr;
}

bool CLeftView::HasFolderRecord(std::uint32_t inode) {
  for (std::size_t i : Index().WithInode(inode)) {
    if (entries_[i].IsFolder()) return true;
  }
  return false;
}

TreeItem CLeftView::InsertFolderItem(const EntryNode& entry, const std::string& name, TreeItem parent) {
  const bool deleted = entry.deleted != 0;
  const TreeItem item = tree_.InsertSorted(parent, name, deleted ? kTreeImageDeletedFolder : kTreeImageFolder,
                                           deleted ? kTreeImageDeletedFolderSelected : kTreeImageFolderSelected);
  tree_.SetItemData(item, entry.inode);
  tree_.SetStateImage(item, TreeStateOfCheck(entry.check));
  tree_.Expand(parent);
  return item;
}

void CLeftView::InsertRootItem() {
  root_ = tree_.InsertSorted(kNoItem, kRootText, kTreeImageRoot, kTreeImageRoot);
  tree_.SetItemData(root_, kRootInode);
  tree_.SetStateImage(root_, controls::kStateUnchecked);
  entries_.StartWithRoot(root_);
  index_.Reset();
  app_.allMarked = 0;
  app_.marked = 0;
  app_.recoverSelected = 0;
}

void CLeftView::AddEntry(const EntryNode& entry, const char* name) {
  const std::string text = name != nullptr ? name : "";
  TreeItem item = kNoItem;
  if (entry.IsFolder()) {
    for (std::size_t i : Index().WithInode(entry.parentInode)) {
      const ListedEntry& parent = entries_[i];
      if (!parent.IsFolder()) continue;
      // A parent that has no item of its own gives its subfolders none either.
      if (parent.treeItem != kNoItem) item = InsertFolderItem(entry, text, parent.treeItem);
      break;
    }
  }
  ListedEntry& listed = entries_.Append(entry, text.c_str());
  listed.treeItem = item;
}

TreeItem CLeftView::InsertEntryItem(ListedEntry& entry, TreeItem parent) {
  lastInserted_ = InsertFolderItem(entry, entry.name, parent);
  entry.treeItem = lastInserted_;
  return lastInserted_;
}

TreeItem CLeftView::InsertRootOnly() {
  root_ = tree_.InsertSorted(kNoItem, kRootText, kTreeImageRoot, kTreeImageRoot);
  tree_.SetItemData(root_, kRootInode);
  tree_.SetStateImage(root_, controls::kStateUnchecked);
  lastInserted_ = root_;
  return root_;
}

void CLeftView::CollapseChildren() {
  // Root is closed meanwhile: a tree lays out everything shown each time a folder closes.
  const bool open = root_ != kNoItem && tree_.IsExpanded(root_);
  if (open) tree_.Collapse(root_);
  for (TreeItem c = tree_.GetChild(root_); c != kNoItem; c = tree_.GetNext(c)) tree_.Collapse(c);
  if (open) tree_.Expand(root_);
}

void CLeftView::ExpandAndSelect(bool collapseFirst) {
  if (root_ == kNoItem) return;
  if (collapseFirst) tree_.Collapse(root_);
  tree_.Expand(root_);
  // Selecting Root refills the list through the selection handler; fill it here only when the
  // selection stays where it is.
  if (tree_.GetSelection() == root_) {
    if (list_ != nullptr) list_->FillFromEntries(kRootInode);
  } else {
    tree_.Select(root_);
  }
}

void CLeftView::ClearTree() {
  tree_.DeleteAll();
  root_ = kNoItem;
  lastInserted_ = kNoItem;
  // The handles are gone with the items; nothing may reach a deleted item through a record.
  for (ListedEntry& e : entries_) e.treeItem = kNoItem;
  app_.scanned = 0;
}

void CLeftView::FreeEntryLists() {
  entries_.Clear();
  index_.Reset();
  unmasked_.Clear();
  hasUnmasked_ = false;
}

void CLeftView::UncheckEntry(std::uintptr_t treeItem, Uncheck how) {
  if (treeItem == kNoItem) return;
  const std::string text = tree_.GetItemText(treeItem);
  const std::uint32_t inode = tree_.GetItemData(treeItem);
  for (std::size_t i : Index().WithInode(inode)) {
    ListedEntry& record = entries_[i];
    if (!record.IsFolder() || record.name != text) continue;
    if (how == Uncheck::Fully && (record.check == 1 || record.check == 2)) {
      record.check = 0;
      tree_.SetStateImage(treeItem, controls::kStateUnchecked);
    } else if (how == Uncheck::Partly && record.check == 1) {
      record.check = 2;
      tree_.SetStateImage(treeItem, controls::kStatePartly);
    }
    return;
  }
}

void CLeftView::SetItemStateImage(std::uintptr_t treeItem, int image) {
  if (treeItem != kNoItem) tree_.SetStateImage(treeItem, image);
}

void CLeftView::OnSelChanged(TreeItem item) {
  if (item == kNoItem) {
    app_.goUp = 0;
    return;
  }
  app_.goUp = tree_.GetItemText(item) != kRootText ? 1 : 0;
  if (list_ != nullptr) list_->FillFromEntries(tree_.GetItemData(item));
}

void CLeftView::GoUp() {
  const TreeItem selected = tree_.GetSelection();
  if (selected == kNoItem || tree_.GetItemText(selected) == kRootText) return;
  const TreeItem parent = tree_.GetParent(selected);
  if (parent == kNoItem) return;
  tree_.Expand(parent);
  tree_.Select(parent);
}

bool CLeftView::SelectEntry(std::uint32_t inode) {
  const EntryIndex::Positions found = Index().WithInode(inode);
  if (found.empty()) return false;
  const TreeItem item = entries_[found.front()].treeItem;
  if (item == kNoItem) return false;
  tree_.Expand(item);
  tree_.Select(item);
  return true;
}

bool CLeftView::OpenChildFolder(std::uint32_t inode) {
  const TreeItem selected = tree_.GetSelection();
  if (selected == kNoItem) return false;
  for (TreeItem c = tree_.GetChild(selected); c != kNoItem; c = tree_.GetNext(c)) {
    if (tree_.GetItemData(c) != inode) continue;
    for (TreeItem g = tree_.GetChild(c); g != kNoItem; g = tree_.GetNext(g)) tree_.Collapse(g);
    tree_.Expand(c);
    tree_.Select(c);
    return true;
  }
  return false;
}

bool CLeftView::SameItem(TreeItem a, TreeItem b) const {
  return tree_.GetItemText(a) == tree_.GetItemText(b) && tree_.GetItemData(a) == tree_.GetItemData(b);
}

}  // namespace ext2::views
