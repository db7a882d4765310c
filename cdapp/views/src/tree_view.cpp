// The CD tree view's node list, tree items and Find Next. Lookups go through indexes by key and
// by parent key, so adding, marking and recovering stay linear in the size of what they touch.
#include "cdviews/tree_view.h"

#include "cdengine/cd_reader.h"

namespace cd::views {

using controls::kNoItem;
using controls::TreeItem;

namespace {
const std::vector<std::uint32_t>& NoIndexes() {
  static const std::vector<std::uint32_t> none;
  return none;
}
}  // namespace

CdTreeView::CdTreeView(controls::TreeControl& tree, CdAppState& app) : tree_(tree), app_(app) {
  tree_.SetSelectionHandler([this](TreeItem item) { OnSelchanged(item); });
}

CdTreeView::~CdTreeView() { tree_.SetSelectionHandler({}); }

void CdTreeView::Append(TreeItemNode node) {
  const auto index = static_cast<std::uint32_t>(nodes_.size());
  byParent_[node.parentKey].push_back(index);
  if (node.type == 2) firstFolder_.try_emplace(node.key, index);
  if (node.treeItem != kNoItem) folderOfItem_[node.treeItem] = index;
  nodes_.push_back(std::move(node));
}

void CdTreeView::FreeNodeList() {
  nodes_.clear();
  byKey_.clear();
  nextWithKey_.clear();
  byParent_.clear();
  firstFolder_.clear();
  folderOfItem_.clear();
}

const std::vector<std::uint32_t>& CdTreeView::ChildrenOf(std::uint32_t key) const {
  const auto it = byParent_.find(key);
  return it != byParent_.end() ? it->second : NoIndexes();
}

std::uint32_t CdTreeView::FirstWithKey(std::uint32_t key) {
  for (auto index = static_cast<std::uint32_t>(nextWithKey_.size()); index < nodes_.size(); ++index) {
    nextWithKey_.push_back(kNoNode);
    if (const auto [it, fresh] = byKey_.try_emplace(nodes_[index].key, KeyRun{index, index}); !fresh) {
      nextWithKey_[it->second.last] = index;
      it->second.last = index;
    }
  }
  const auto it = byKey_.find(key);
  return it != byKey_.end() ? it->second.first : kNoNode;
}

TreeItemNode* CdTreeView::FindNode(const std::string& name, std::uint32_t key) {
  for (std::uint32_t i = FirstWithKey(key); i != kNoNode; i = nextWithKey_[i]) {
    if (nodes_[i].name == name) return &nodes_[i];
  }
  return nullptr;
}

TreeItemNode* CdTreeView::FindFolder(std::uint32_t key) {
  const auto it = firstFolder_.find(key);
  return it != firstFolder_.end() ? &nodes_[it->second] : nullptr;
}

TreeItemNode* CdTreeView::FolderOfItem(TreeItem item) {
  const auto it = folderOfItem_.find(item);
  return it != folderOfItem_.end() ? &nodes_[it->second] : nullptr;
}

void CdTreeView::InsertRootItem() {
  // A second tree build of one scan (a raw-scan form after another) starts a fresh node list; the
  // items of the first would have no nodes behind them, so they go too.
  if (rootItem_ != kNoItem) tree_.DeleteAll();
  rootItem_ = tree_.InsertSorted(kNoItem, "Root", 0, 0);
  tree_.SetItemData(rootItem_, 0);
  tree_.SetStateImage(rootItem_, controls::kStateUnchecked);
  FreeNodeList();
  TreeItemNode root;
  root.treeItem = rootItem_;
  root.key = 0;
  root.type = 2;
  root.name = "Root";
  root.parentKey = kRootParentKey;
  Append(std::move(root));
}

void CdTreeView::AddTreeItem(std::uint8_t type, std::string name, std::uint32_t parentKey, std::uint32_t key) {
  if (nodes_.empty()) return;
  TreeItemNode node;
  node.key = key;
  node.type = type;
  node.name = std::move(name);
  node.parentKey = parentKey;
  if (type == 2) {
    const TreeItemNode* parent = FindFolder(parentKey);
    if (parent == nullptr) return;
    const TreeItem parentItem = parent->treeItem;
    node.treeItem = tree_.InsertSorted(parentItem, node.name, 1, 2);
    tree_.SetItemData(node.treeItem, key);
    tree_.SetStateImage(node.treeItem, controls::kStateUnchecked);
    tree_.Expand(parentItem);
  }
  if (const DirEntryNode* entry = reader_ != nullptr ? reader_->Newest() : nullptr) {
    for (int i = 0; i < 3; ++i) {
      node.date[i] = entry->date[i];
      node.time[i] = entry->date[3 + i];
    }
    node.size = entry->size;
    node.sections = entry->sections;
    node.parentKey = entry->parentKey;
    node.mark = entry->mark;
    node.existence = entry->existence;
  }
  Append(std::move(node));
}

void CdTreeView::ExpandRoot(int collapseFirst) {
  if (rootItem_ == kNoItem) return;
  if (collapseFirst) tree_.Collapse(rootItem_);
  tree_.Expand(rootItem_);
  tree_.Select(rootItem_);
}

void CdTreeView::CollapseRootChildren() {
  for (TreeItem c = tree_.GetChild(rootItem_); c != kNoItem; c = tree_.GetNext(c)) tree_.Collapse(c);
}

void CdTreeView::ClearTree() {
  tree_.DeleteAll();
  rootItem_ = kNoItem;
  app_.contentsShown = 0;
}

void CdTreeView::OnSelchanged(TreeItem item) {
  if (list_ != nullptr && item != kNoItem) list_->FillFromTreeNodes(tree_.GetItemData(item));
}

void CdTreeView::SelectItemByKey(std::uint32_t key) {
  const TreeItemNode* folder = FindFolder(key);
  if (folder == nullptr) return;
  const TreeItem item = folder->treeItem;
  if (item == kNoItem) return;
  tree_.Expand(item);
  tree_.Select(item);
}

int CdTreeView::SelectChildByData(std::uint32_t key) {
  for (TreeItem c = tree_.GetChild(tree_.GetSelection()); c != kNoItem; c = tree_.GetNext(c)) {
    if (tree_.GetItemData(c) == key) {
      tree_.Expand(c);
      tree_.Select(c);
      return 1;
    }
  }
  return 0;
}

bool CdTreeView::SelectNextMatch(std::size_t start, CdListViewPort* list) {
  for (std::size_t i = start; i < nodes_.size(); ++i) {
    const TreeItemNode& node = nodes_[i];
    const bool wanted = (app_.findDeleted && node.existence == 1) || (app_.findExisting && node.existence == 2);
    if (!wanted) continue;
    const bool equal =
        app_.findMatchCase ? node.name == app_.findText : controls::CompareTreeText(node.name, app_.findText) == 0;
    if (!equal) continue;
    app_.findLastMatch = static_cast<int>(i);
    const std::string name = node.name;
    const std::uint32_t key = node.key;
    SelectItemByKey(node.parentKey);
    if (list != nullptr) list->FindListItem(name, key);
    return true;
  }
  return false;
}

void CdTreeView::FindNextItem() {
  if (SelectNextMatch(static_cast<std::size_t>(app_.findLastMatch) + 1, list_)) return;
  if (frame_ != nullptr) frame_->GetPrompts().MessageBox("No More Entries Are Available", "Search Failure", CdButtons::Ok);
  app_.findNext = 0;
}

std::uint64_t CdTreeView::CountMarked(std::uint32_t* folders, std::uint32_t* files) {
  app_.somethingMarked = 0;
  std::uint32_t dirs = 0, plain = 0;
  std::uint64_t bytes = 0;
  for (const auto& node : nodes_) {
    if (node.mark != 1) continue;
    app_.somethingMarked = 1;
    if (node.type == 2) {
      ++dirs;
    } else {
      ++plain;
    }
    bytes += node.size;
  }
  if (folders != nullptr) *folders = dirs;
  if (files != nullptr) *files = plain;
  return bytes;
}

int CdTreeView::CountFiles(int selector) {
  if (selector < 0 || selector > 2) return 0;
  int n = 0;
  for (const auto& node : nodes_) {
    if (node.type != 1) continue;
    if (selector == 1 || (selector == 0 && node.mark == 1) || (selector == 2 && node.existence == 1)) ++n;
  }
  return n;
}

void CdTreeView::UnmarkFolder(TreeItem item) {
  if (TreeItemNode* node = FolderOfItem(item); node != nullptr && (node->mark == 1 || node->mark == 2)) node->mark = 0;
}

void CdTreeView::SetNodeMark(int state, std::uint32_t key, const std::string& name, std::uint8_t type) {
  const TreeItem shown = tree_.GetSelection();
  if (shown == kNoItem) return;
  for (std::uint32_t i : ChildrenOf(tree_.GetItemData(shown))) {
    TreeItemNode& node = nodes_[i];
    if (node.key == key && node.type == type && node.name == name) {
      node.mark = state == 1 ? 1 : 0;
      return;
    }
  }
}

}  // namespace cd::views
