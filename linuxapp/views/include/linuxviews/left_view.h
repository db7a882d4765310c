// The folder tree of the main window: it keeps the master entry list, shows the folders under one
// "Root" item with tri-state check marks, spreads a check click down the subtree and up the
// ancestors, keeps the list view and the Marked pane in step, and finds entries by name.
// Written against controls::TreeControl; the wx window only turns its events into these calls.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "controls/tree_control.h"
#include "ext2engine/app_state.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/ports.h"
#include "linuxviews/entry_index.h"
#include "linuxcore/inode_time.h"

namespace ext2 {
class CLinuxDrive;
}  // namespace ext2

namespace ext2::views {

class CQuarvelVelnoraView;

// Normal images of tree items.
enum TreeImage : int {
  kTreeImageRoot = 0,
  kTreeImageFolder = 1,
  kTreeImageFolderSelected = 2,
  kTreeImageDeletedFolder = 3,
  kTreeImageDeletedFolderSelected = 4,
};

// The state image that shows a record's check byte (0 unchecked, 1 checked, 2 partly checked).
int TreeStateOfCheck(std::uint8_t check);

// The words by which the list view tells the tree how its rows are checked.
inline constexpr const char* kAllItemsUnchecked = "AllItemsUnchecked";
inline constexpr const char* kAllItemsBlackchecked = "AllItemsBlackchecked";
inline constexpr const char* kAllItemsGreychecked = "AllItemsGreychecked";
inline constexpr const char* kAllItemsAreMixed = "AllItemsAreMixed";

class CLeftView : public TreeViewPort {
 public:
  // Takes over TREE's selection handler for as long as the view lives.
  CLeftView(controls::TreeControl& tree, AppState& app);
  ~CLeftView() override;
  CLeftView(const CLeftView&) = delete;
  CLeftView& operator=(const CLeftView&) = delete;

  // Wiring, done by the frame once both panes exist. FRAME carries the marked amount, the Marked
  // pane and the message boxes; either may be null (nothing is told then).
  void SetListView(CQuarvelVelnoraView* list) { list_ = list; }
  void SetFrame(FrameServices* frame) { frame_ = frame; }

  controls::TreeControl& Tree() { return tree_; }

  // --- Entries and items ---
  // Inserts "Root" and starts a new entry list whose only record is Root; nothing is marked then.
  void InsertRootItem();
  // Lists a copy of ENTRY under NAME; a folder whose parent folder has an item gets one of its own.
  // Every folder item shows the check of its record.
  void AddEntry(const EntryNode& entry, const char* name);
  // Rebuilding a tree from a list: a folder item for ENTRY under PARENT (ENTRY remembers it), and a
  // bare "Root" item with no record. Both become the last inserted item.
  controls::TreeItem InsertEntryItem(ListedEntry& entry, controls::TreeItem parent);
  controls::TreeItem InsertRootOnly();
  controls::TreeItem RootItem() const { return root_; }
  controls::TreeItem LastInsertedItem() const { return lastInserted_; }

  // The index of the entry list, in step with it. Code that replaces records of Entries() other
  // than by appending calls EntriesChanged() afterwards.
  const EntryIndex& Index();
  void EntriesChanged() { index_.Reset(); }
  // The first record with that name and inode, or null.
  ListedEntry* FindRecord(const std::string& name, std::uint32_t inode);
  // Whether the list holds a folder record with that inode.
  bool HasFolderRecord(std::uint32_t inode);

  // --- TreeViewPort ---
  void CollapseChildren() override;
  // Root expanded (collapsed first when asked), the list filled with Root's contents, Root selected.
  void ExpandAndSelect(bool collapseFirst) override;
  // Deletes every item and clears the scanned flag; the records forget their items.
  void ClearTree() override;
  void FreeEntryLists() override;
  EntryList& Entries() override { return entries_; }
  // After recovery: the folder record of ITEM goes from checked to partly checked (Partly) or
  // from checked or partly checked to unchecked (Fully), and ITEM shows it.
  void UncheckEntry(std::uintptr_t treeItem, Uncheck how) override;
  void SetItemStateImage(std::uintptr_t treeItem, int image) override;

  // --- Selection and navigation ---
  // The selection moved to ITEM: Go Up follows it and the list shows ITEM's contents.
  void OnSelChanged(controls::TreeItem item);
  // Selects the parent of the selected item (nothing at "Root").
  void GoUp();
  // Expands and selects the item of the first record with INODE; false when it has none.
  bool SelectEntry(std::uint32_t inode);
  // Opens the selected item's child with that data; false when there is none.
  bool OpenChildFolder(std::uint32_t inode);
  // Find: the first entry whose whole name is TEXT among the kinds the application's Find options
  // name; selects its folder and its row. Without a match: "No matching entry found" and Find Next
  // off. Returns whether it found one.
  bool Find(const std::string& text);
  // Continues the last Find after its match; "No more entries are available" at the end.
  void FindNext();

  // --- File Mask ---
  // Narrows the tree to the files that pass the application's mask criteria and the folders that
  // lead to them, under a new "Root"; the list as it stood is kept aside for UnMask. The periods
  // count back from TODAY. The items show their records' marks and the marked totals count the
  // masked list, which is what Recover Selected then reads.
  void ApplyFileMask(const core::SystemTime& today);
  // A mask is in force: the list of the full scan is kept aside.
  bool HasUnmaskedList() const { return hasUnmasked_; }
  // Puts the list kept aside back as the entry list; the tree is left as it is.
  void RestoreUnmaskedList();
  // UnMask: the full scan's list comes back and its tree is rebuilt folder by folder, breadth first,
  // as a process with progress; DRIVE (may be null) counts its entries, folders, files and bytes again.
  // Every item shows its record's mark, and the marked totals are counted again from the records.
  void UnMask(CLinuxDrive* drive);

  // --- Check marks ---
  // A left click at POINT. Returns whether the control should handle the click too (a click on
  // an item but not on its state icon); a click on a state icon or on no item is the view's alone.
  bool OnLButtonDown(controls::TreePoint point);
  // A click on ITEM's check box: the whole subtree flips, the folders above settle, the list view
  // and the marked totals follow.
  void ClickStateIcon(controls::TreeItem item);
  // Sets the subtree of ITEM (whose inode is INODE) to STATE (1 checked, 0 unchecked): every record
  // that is one of its folders or lies directly in one. INODE 0 sets every record (Select All).
  void CollectCheckedItems(int state, std::uint32_t inode, controls::TreeItem item, std::uint32_t parentInode);
  // The list view's row NAME/INODE of kind KIND (its Type text) was set to STATE; SUMMARY is the
  // list's word for all its rows.
  void SyncTreeCheckFromList(int state, const std::string& name, const std::string& kind, const std::string& summary,
                             std::uint32_t inode);
  // Marked folders (partly checked ones included), files and bytes over the whole list; sets the
  // marked flag. Either count may be null.
  std::uint64_t CountMarked(int* folders, int* files);
  // Recounts the marked amount into the frame, refreshes the Marked pane and the flag of a
  // non-zero amount.
  void RefreshMarkedTotals();
  // The list now in force decides the marks: the Marked pane, the marked flags and the rules of
  // Select All, Unselect All and Recover Selected are taken from its records.
  void RecountMarks();

 private:
  controls::TreeItem InsertFolderItem(const EntryNode& entry, const std::string& name, controls::TreeItem parent);
  void TakeState(ListedEntry& record, int state);
  void SetRecordAndItem(controls::TreeItem item, std::uint8_t check, int image);
  // 3 when an item under ITEM's parent disagrees with STATE, else 1 (checked) or 2 (unchecked).
  int SiblingsCheckState(controls::TreeItem item, int state);
  // 1 when every file directly in the folder agrees with D (1 all checked, 2 all unchecked).
  int FilesCheckState(std::uint32_t folderInode, int d);
  // One step of the walk up from walkItem_; sets walkDone_ at the top.
  void PropagateCheckUp(int d);
  void WalkUp(controls::TreeItem from, int state);
  // Brings the list's rows in line with a click on ITEM that set STATE.
  void SyncListAfterClick(controls::TreeItem item, int state);
  bool SameItem(controls::TreeItem a, controls::TreeItem b) const;
  // The first candidate of the last Find from POSITION on, selected; false at the end of the list.
  bool FindFrom(std::size_t position);

  // The mask's steps: the folders from INODE up to Root join the filtered list, each once; the
  // masked list starts with a new "Root" and grows breadth first from the filtered list.
  void AddParentChain(std::uint32_t inode);
  bool RememberParentKey(std::uint32_t inode);
  void InsertMaskedRoot();
  void BuildMaskedTree();
  // Each folder of the list shows what its contents hold: checked when all of them are, unchecked
  // when none is, else partly checked. The list must hold every folder before its contents.
  void SettleFolderChecks();

  controls::TreeControl& tree_;
  AppState& app_;
  CQuarvelVelnoraView* list_ = nullptr;
  FrameServices* frame_ = nullptr;

  EntryList entries_;
  EntryIndex index_;
  controls::TreeItem root_ = controls::kNoItem;
  controls::TreeItem lastInserted_ = controls::kNoItem;

  // The File Mask: the filtered list and the folders already on it while a mask is built, the
  // list being built, and the full scan's list kept aside while the mask is in force.
  std::vector<ListedEntry> filtered_;
  std::unordered_set<std::uint32_t> parentKeys_;
  EntryList masked_;
  EntryList unmasked_;
  bool hasUnmasked_ = false;

  // The walk up after a click.
  controls::TreeItem walkItem_ = controls::kNoItem;
  bool walkDone_ = false;
};

}  // namespace ext2::views
