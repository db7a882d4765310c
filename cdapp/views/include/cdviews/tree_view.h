// The CD folder tree: the TreeItemNode list (every folder and file found), the tree items of the
// folders, tri-state check marks and their propagation, mark counts and Find Next. Written
// against the tree-control contract; it is the engine's tree view port, and reaches the list view
// and the frame through their ports.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cdengine/app_state.h"
#include "cdengine/ports.h"
#include "cdengine/tree_nodes.h"
#include "controls/tree_control.h"

namespace cd {
struct CCDReader;
}

namespace cd::views {

class CdTreeView final : public CdTreeViewPort {
 public:
  CdTreeView(controls::TreeControl& tree, CdAppState& app);
  // The tree control outlives the view: its selection no longer reaches the view.
  ~CdTreeView() override;

  void SetFrame(CdFrame* frame) { frame_ = frame; }
  void SetListView(CdListViewPort* list) { list_ = list; }
  void SetReader(const CCDReader* reader) { reader_ = reader; }

  // Building the tree.
  void InsertRootItem();
  // Appends one node; a folder also gets a tree item under its parent folder's (dropped when that
  // parent has no node). Date, size, parent key, mark and existence come from the reader's newest entry.
  void AddTreeItem(std::uint8_t type, std::string name, std::uint32_t parentKey, std::uint32_t key);
  void ExpandRoot(int collapseFirst) override;
  void CollapseRootChildren() override;
  void ClearTree() override;
  void FreeNodeList() override;

  // Events of the tree control.
  void OnSelchanged(controls::TreeItem item);
  // A left click: only a click on a state icon changes marks. True when it was one.
  bool OnLButtonDown(controls::TreePoint point);
  // The check-box click on ITEM.
  void ClickStateIcon(controls::TreeItem item);

  // Marks.
  void MarkSubtree(int state, std::uint32_t key, controls::TreeItem item) override;
  std::uint8_t SiblingsCheckState(controls::TreeItem item, int state);
  int AreChildFilesMarked(std::uint32_t key, int kind);
  void PropagateCheckUp(int kind);
  std::uint8_t LocateRelativeToCaret(std::uint32_t key, const std::string& name);
  void SyncTreeCheckFromList(int state, const std::string& name, const std::string& typeText,
                             const std::string& summary, std::uint32_t key);
  // Bytes of the marked files; 64 bits, as a disc holds more than 4 GiB.
  std::uint64_t CountMarked(std::uint32_t* folders, std::uint32_t* files) override;
  int CountFiles(int selector) override;
  void UnmarkFolder(controls::TreeItem item) override;
  // The list view's row click sets the node's mark: the node with KEY, TYPE and NAME in the
  // folder the list shows (the selected one). Entries of other folders may share its key.
  void SetNodeMark(int state, std::uint32_t key, const std::string& name, std::uint8_t type);

  // Navigation and Find.
  void SelectItemByKey(std::uint32_t key);
  int SelectChildByData(std::uint32_t key);
  void FindNextItem();
  // The Find walk: the first node from index START on that the Find criteria of the application
  // state admit (deleted/existing, whole name, match case). A match becomes the last match, its
  // folder is selected and its row made the hot row of LIST (when given). False when none is left.
  bool SelectNextMatch(std::size_t start, CdListViewPort* list);

  // The node list, in arrival order, and lookups over it.
  const TreeNodeList& Nodes() const { return nodes_; }
  TreeNodeList& Nodes() override { return nodes_; }
  // Indexes of the nodes whose parent key is KEY, in list order.
  const std::vector<std::uint32_t>& ChildrenOf(std::uint32_t key) const override;
  // The first node with NAME and KEY; null when none.
  TreeItemNode* FindNode(const std::string& name, std::uint32_t key);
  // The first folder node with KEY; null when none.
  TreeItemNode* FindFolder(std::uint32_t key);
  // The folder node behind tree item ITEM; null when none. Folders, and files that share their
  // extent, may carry one key: the item tells them apart.
  TreeItemNode* FolderOfItem(controls::TreeItem item) override;
  controls::TreeControl& Tree() override { return tree_; }
  controls::TreeItem RootItem() const override { return rootItem_; }
  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  void Append(TreeItemNode node);
  void SetMark(TreeItemNode& node, int state);
  // Climbs from the walk item, settling each folder above it, until the walk is finished.
  void SettleAncestors(int state);  // mark and the tree item's state image
  static int StateImageOfMark(int mark) { return mark + 1; }

  controls::TreeControl& tree_;
  CdAppState& app_;
  CdFrame* frame_ = nullptr;
  CdListViewPort* list_ = nullptr;
  const CCDReader* reader_ = nullptr;

  TreeNodeList nodes_;
  // The nodes with one key, in list order: the first and last of each key, each chained to the
  // next through nextWithKey_ (most keys have one node; a list per key would cost one per node).
  // A scan looks up no key, so nodes are indexed by key when a lookup first needs them.
  static constexpr std::uint32_t kNoNode = 0xFFFFFFFFu;
  struct KeyRun {
    std::uint32_t first, last;
  };
  std::uint32_t FirstWithKey(std::uint32_t key);
  std::unordered_map<std::uint32_t, KeyRun> byKey_;
  std::vector<std::uint32_t> nextWithKey_;  // one for each node indexed so far
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> byParent_;
  std::unordered_map<std::uint32_t, std::uint32_t> firstFolder_;
  std::unordered_map<controls::TreeItem, std::uint32_t> folderOfItem_;
  controls::TreeItem rootItem_ = controls::kNoItem;

  // The upward walk of a click.
  controls::TreeItem walkItem_ = controls::kNoItem;
  int walkFinished_ = 0;
  std::uint16_t level_ = 0;
};

}  // namespace cd::views
