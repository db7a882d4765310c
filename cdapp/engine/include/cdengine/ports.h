// What the CD engine needs of the workbench: the frame's services, the two views and the prompts.
// The wx frame and the views implement these in the program; a headless host in tests and probes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cdengine/tree_nodes.h"
#include "controls/tree_control.h"

namespace cd {

// Log-row icons (index into the process log's three icons).
enum CdLogIcon : int { kCdIconOk = 0, kCdIconError = 1, kCdIconInfo = 2, kCdIconDone = 3 };

// Toolbar command ids.
enum CdCommand : int {
  kCdCmdOpenDrive = 32775,
  kCdCmdRecoverSelected = 32776,
  kCdCmdRecoverAll = 32777,
  kCdCmdRecoverDeleted = 32778,
  kCdCmdAddFileFilter = 32779,
  kCdCmdFind = 32791,
  kCdCmdStop = 32795,
  kCdCmdGoUp = 32797,
  kCdCmdFileMask = 32811,
  kCdCmdHelpTopics = 57667,
};

enum class CdButtons { Ok, OkCancel };
enum CdAnswer : int { kCdAnswerOk = 1, kCdAnswerCancel = 2 };

// The left pane: the folder tree over the node list. The view keeps the nodes (a scan adds them
// through the frame's StepProgress); the engine clears and opens the tree around a scan, and
// recovery walks the tree's items and reads and changes the marks of their nodes.
class CdTreeViewPort {
 public:
  virtual ~CdTreeViewPort() = default;
  // The tree control the folders are shown in; each folder's item carries its key as data.
  virtual controls::TreeControl& Tree() = 0;
  // The Root item; kNoItem while there is no tree.
  virtual controls::TreeItem RootItem() const = 0;
  // Every node, in arrival order; the first is Root's.
  virtual TreeNodeList& Nodes() = 0;
  // Indexes into Nodes() of the nodes whose parent key is KEY, in list order.
  virtual const std::vector<std::uint32_t>& ChildrenOf(std::uint32_t key) const = 0;
  // The folder node behind tree item ITEM; null when none. Folders, and files that share their
  // extent, may carry one key: the item tells them apart.
  virtual TreeItemNode* FolderOfItem(controls::TreeItem item) = 0;
  // The folder node behind ITEM becomes unmarked when it is marked or partly marked; its item's
  // state image is left as it is.
  virtual void UnmarkFolder(controls::TreeItem item) = 0;
  // Marks (STATE 1) or unmarks (0) ITEM's folder, the folders below it and every node in them,
  // their items' state images too; for Root, every node. KEY is not read.
  virtual void MarkSubtree(int state, std::uint32_t key, controls::TreeItem item) = 0;
  // The marked nodes: the folders and files counted into FOLDERS and FILES (when given), and
  // their bytes returned (64 bits: a disc holds more than 4 GiB). Sets the application state's
  // "something marked" flag.
  virtual std::uint64_t CountMarked(std::uint32_t* folders, std::uint32_t* files) = 0;
  // The number of files: SELECTOR 0 marked, 1 all, 2 deleted; 0 for any other selector.
  virtual int CountFiles(int selector) = 0;
  // Expands Root (collapsed first when COLLAPSE_FIRST is not 0) and selects it; nothing without a tree.
  virtual void ExpandRoot(int collapseFirst) = 0;
  // Collapses each item directly below Root.
  virtual void CollapseRootChildren() = 0;
  // Deletes every item, Root too; the contents are no longer shown. The nodes stay.
  virtual void ClearTree() = 0;
  // Drops every node and the lookups over them; the items stay.
  virtual void FreeNodeList() = 0;
};

// Which rows the list view's SetItemCheckState changes: the first row of a name, or every row.
enum class CdCheckRows : std::uint8_t { Named = 0, Every = 1 };
// What the list view's GreyListItem does with its row: shows it partly checked, or leaves it.
enum class CdGreyRow : std::uint8_t { Leave = 0, Grey = 1 };

// The right pane: rows of the selected folder's entries.
class CdListViewPort {
 public:
  virtual ~CdListViewPort() = default;
  virtual void ClearListView() = 0;
  // Shows the nodes whose parent key is KEY.
  virtual void FillFromTreeNodes(std::uint32_t key) = 0;
  // Every row, or the first row named NAME (KEY is not read), takes the check state of STATE, a
  // tree state image (controls::kStateUnchecked, kStateChecked, kStatePartly).
  virtual void SetItemCheckState(CdCheckRows rows, int state, const std::string& name, std::uint32_t key) = 0;
  // The checked or partly checked row NAME with data KEY becomes unchecked.
  virtual void UncheckListItem(const std::string& name, std::uint32_t key) = 0;
  // The row NAME with data KEY becomes partly checked when GREY says so.
  virtual void GreyListItem(const std::string& name, std::uint32_t key, CdGreyRow grey) = 0;
  // Scrolls to and highlights the row NAME with data KEY.
  virtual void FindListItem(const std::string& name, std::uint32_t key) = 0;
};

// Message boxes and the modal dialogs the engine opens.
class CdPrompts {
 public:
  virtual ~CdPrompts() = default;
  virtual CdAnswer MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) = 0;
  // The Select Drive dialog over the drive paths; stores its choice in the state's selected drive.
  virtual void RunSelectDriveDialog(const std::vector<std::string>& drives) = 0;
  // The "Imp Note" overwrite question; stores 1 (Overwrite) or 0 (Cancel) in the overwrite answer.
  virtual void RunOverwriteDialog() = 0;
};

// The main frame's services and the flags the engine shares with it.
class CdFrame {
 public:
  virtual ~CdFrame() = default;

  int busy = 0;
  int stopFlag = 0;
  int stepsAfterStop = 0;
  int imaging = 0;
  int imageCreated = 0;
  int filterMode = 0;  // 1 include, 0 exclude
  std::uint32_t markedFolders = 0, markedFiles = 0;
  std::uint64_t markedBytes = 0;
  std::uint32_t totalFolders = 0, totalFiles = 0;  // the last counts given to UpdateTotalsPane

  virtual void AddLogEntry(const char* activity, const char* text, const char* status, CdLogIcon icon) = 0;
  virtual void StartProgress() = 0;
  virtual void StartProgressRange(std::uint32_t n) = 0;
  // One step for one entry, sector or file; while scanning it puts the entry into the tree view.
  virtual void StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                            std::size_t nameLength, std::uint32_t key) = 0;
  virtual void EndProgress(std::uint32_t n) = 0;
  // Caches the panes and has the tree insert its Root item.
  virtual void AttachPanes() = 0;
  virtual void UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) = 0;
  virtual void UpdateMarkedPane() = 0;
  virtual void SetMarkedPaneText(const std::string& text) = 0;
  // Dispatches waiting events; 0 when the program is quitting.
  virtual int PumpMessages() = 0;
  virtual void EnableToolbarButton(int command, bool enable) = 0;
  virtual CdTreeViewPort* GetLeftPane() = 0;
  virtual CdListViewPort* GetRightPane() = 0;
  virtual CdPrompts& GetPrompts() = 0;
};

}  // namespace cd
