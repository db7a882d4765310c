// Check marks of the CD tree: a click marks a subtree, the folders above settle to checked,
// unchecked or partly checked, and the list view is brought in step.
#include <deque>
#include <unordered_set>

#include "cdviews/tree_view.h"
#include "controls/tree_checks.h"

namespace cd::views {

using controls::kNoItem;
using controls::TreeItem;

void CdTreeView::SetMark(TreeItemNode& node, int state) {
  node.mark = state == 1 ? 1 : 0;
  if (node.treeItem != kNoItem) tree_.SetStateImage(node.treeItem, state == 1 ? controls::kStateChecked : controls::kStateUnchecked);
}

void CdTreeView::MarkSubtree(int state, std::uint32_t /*key*/, TreeItem item) {
  if (item == rootItem_) {
    for (auto& node : nodes_) SetMark(node, state);
    return;
  }
  // ITEM and every item below it, breadth first: their folders and what lies directly in them.
  std::unordered_set<std::uint32_t> keys;
  std::deque<TreeItem> pending{item};
  while (!pending.empty()) {
    const TreeItem t = pending.front();
    pending.pop_front();
    if (t == kNoItem) continue;
    if (TreeItemNode* folder = FolderOfItem(t)) SetMark(*folder, state);
    keys.insert(tree_.GetItemData(t));
    for (TreeItem c = tree_.GetChild(t); c != kNoItem; c = tree_.GetNext(c)) pending.push_back(c);
  }
  for (std::uint32_t k : keys) {
    if (auto it = byParent_.find(k); it != byParent_.end()) {
      for (std::uint32_t i : it->second) SetMark(nodes_[i], state);
    }
  }
}

std::uint8_t CdTreeView::SiblingsCheckState(TreeItem item, int state) {
  if (state != 0 && state != 1) return 0;
  return static_cast<std::uint8_t>(controls::SiblingsCheckState(tree_, item, state));
}

int CdTreeView::AreChildFilesMarked(std::uint32_t key, int kind) {
  for (std::uint32_t i : ChildrenOf(key)) {
    const TreeItemNode& node = nodes_[i];
    if (node.type != 1) continue;
    if (kind == 1 && (node.mark == 0 || node.mark == 2)) return 0;
    if (kind == 2 && (node.mark == 1 || node.mark == 2)) return 0;
  }
  return 1;
}

void CdTreeView::PropagateCheckUp(int kind) {
  if (kind == 3) {
    for (;;) {
      const TreeItem parent = tree_.GetParent(walkItem_);
      if (parent == kNoItem) {
        walkFinished_ = 1;
        return;
      }
      ++level_;
      if (TreeItemNode* node = FolderOfItem(parent)) {
        node->mark = 2;
        tree_.SetStateImage(parent, controls::kStatePartly);
      }
      walkItem_ = parent;
    }
  }
  if (kind != 1 && kind != 2) return;
  const TreeItem parent = tree_.GetParent(walkItem_);
  if (parent == kNoItem) {
    walkFinished_ = 1;
    return;
  }
  ++level_;
  walkItem_ = parent;
  TreeItemNode* node = FolderOfItem(parent);
  if (node == nullptr) return;
  if (AreChildFilesMarked(tree_.GetItemData(parent), kind) == 1) {
    node->mark = kind == 1 ? 1 : 0;
    tree_.SetStateImage(parent, kind == 1 ? controls::kStateChecked : controls::kStateUnchecked);
  } else {
    node->mark = 2;
    tree_.SetStateImage(parent, controls::kStatePartly);
  }
}

std::uint8_t CdTreeView::LocateRelativeToCaret(std::uint32_t key, const std::string& name) {
  const TreeItem caret = tree_.GetSelection();
  for (TreeItem p = tree_.GetParent(caret); p != kNoItem; p = tree_.GetParent(p)) {
    if (tree_.GetItemText(p) == name && tree_.GetItemData(p) == key) return 1;
  }
  std::deque<TreeItem> pending{caret};
  while (!pending.empty()) {
    const TreeItem t = pending.front();
    pending.pop_front();
    if (t == kNoItem) continue;
    if (tree_.GetItemText(t) == name && tree_.GetItemData(t) == key) return 2;
    for (TreeItem c = tree_.GetChild(t); c != kNoItem; c = tree_.GetNext(c)) pending.push_back(c);
  }
  return 3;
}

void CdTreeView::ClickStateIcon(TreeItem item) {
  if (item == kNoItem) return;
  level_ = 0;
  walkFinished_ = 0;
  const int newState = tree_.GetStateImage(item) == controls::kStateUnchecked ? 1 : 0;
  if (newState == 0) app_.allMarked = 0;
  const std::uint32_t data = tree_.GetItemData(item);
  const std::string text = tree_.GetItemText(item);
  MarkSubtree(newState, data, item);
  // The tree's root is known by its item: a disc folder may carry the same text.
  const bool clickedRoot = item == rootItem_;
  if (!clickedRoot) {
    walkItem_ = item;
    SettleAncestors(newState);
  }

  // Bring the list (the caret item's children) in step.
  if (list_ != nullptr) {
    const int image = newState + 1;
    const TreeItem caret = tree_.GetSelection();
    const bool caretIsRoot = caret != kNoItem && caret == rootItem_;
    if (clickedRoot || caret == item) {
      list_->SetItemCheckState(CdCheckRows::Every, image, std::string(), 0);
    } else if (level_ == 1) {
      if (caretIsRoot) {
        list_->SetItemCheckState(CdCheckRows::Named, image, text, data);
      } else if (LocateRelativeToCaret(data, text) == 1) {
        list_->SetItemCheckState(CdCheckRows::Every, image, std::string(), 0);
      }
    } else if (caretIsRoot) {
      TreeItem top = item;
      while (tree_.GetParent(top) != kNoItem && tree_.GetParent(tree_.GetParent(top)) != kNoItem) top = tree_.GetParent(top);
      list_->SetItemCheckState(CdCheckRows::Named, tree_.GetStateImage(top), tree_.GetItemText(top),
                               tree_.GetItemData(top));
    } else {
      const std::uint8_t where = LocateRelativeToCaret(data, text);
      if (where == 1) {
        list_->SetItemCheckState(CdCheckRows::Every, image, std::string(), 0);
      } else if (where == 2) {
        TreeItem child = item;
        while (child != kNoItem && tree_.GetParent(child) != caret) child = tree_.GetParent(child);
        if (child != kNoItem) {
          list_->SetItemCheckState(CdCheckRows::Named, tree_.GetStateImage(child), tree_.GetItemText(child),
                                   tree_.GetItemData(child));
        }
      }
    }
  }

  if (frame_ != nullptr) {
    frame_->markedFolders = frame_->markedFiles = 0;
    frame_->markedBytes = CountMarked(&frame_->markedFolders, &frame_->markedFiles);
    frame_->UpdateMarkedPane();
    app_.markedBytesFlag = frame_->markedBytes != 0;
  } else {
    app_.markedBytesFlag = CountMarked(nullptr, nullptr) != 0;
  }
}

bool CdTreeView::OnLButtonDown(controls::TreePoint point) {
  const controls::TreeHit hit = tree_.HitTest(point);
  if (!(hit.flags & controls::kHitOnStateIcon) || hit.item == kNoItem) return false;
  ClickStateIcon(hit.item);
  return true;
}

void CdTreeView::SyncTreeCheckFromList(int state, const std::string& name, const std::string& typeText,
                                       const std::string& summary, std::uint32_t key) {
  const TreeItem caret = tree_.GetSelection();
  if (caret == kNoItem) return;
  if (typeText == "File") {
    const int image = summary == "AllItemsBlackchecked" ? controls::kStateChecked
                      : summary == "AllItemsUnchecked"  ? controls::kStateUnchecked
                                                        : controls::kStatePartly;
    tree_.SetStateImage(caret, image);
    if (TreeItemNode* folder = FolderOfItem(caret)) folder->mark = static_cast<std::uint8_t>(image - 1);
    walkItem_ = caret;
  } else if (typeText == "Dir") {
    TreeItem child = kNoItem;
    for (TreeItem c = tree_.GetChild(caret); c != kNoItem; c = tree_.GetNext(c)) {
      if (tree_.GetItemText(c) == name && tree_.GetItemData(c) == key) {
        child = c;
        break;
      }
    }
    if (child == kNoItem) return;
    MarkSubtree(state, key, child);
    walkItem_ = child;
  } else {
    return;
  }
  level_ = 0;
  walkFinished_ = 0;
  SettleAncestors(state);
}

void CdTreeView::SettleAncestors(int state) {
  while (!walkFinished_) {
    const std::uint8_t r = SiblingsCheckState(walkItem_, state);
    if (r == 0) return;
    PropagateCheckUp(r);
  }
}

}  // namespace cd::views
