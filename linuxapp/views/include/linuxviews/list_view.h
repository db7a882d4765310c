// The list of the main window: the entries of the folder selected in the tree, one row each with
// name, kind, size, three times and inode; check boxes that tell the tree; sorting by column;
// opening a subfolder. Written against controls::ListControl; the wx window only turns its events
// (clicks, double clicks, Enter, header clicks, the context menu) into these calls.
#pragma once

#include <cstdint>
#include <string>

#include "controls/list_control.h"
#include "ext2engine/app_state.h"
#include "ext2engine/entry_node.h"
#include "ext2engine/ports.h"

namespace ext2::views {

class CLeftView;

// Columns of the report style.
enum ListColumn : int {
  kColumnName = 0,
  kColumnType = 1,
  kColumnSize = 2,
  kColumnModified = 3,
  kColumnCreated = 4,
  kColumnAccessed = 5,
  kColumnFileId = 6,
  kColumnCount = 7,
};

struct ListColumnInfo {
  const char* heading;
  int width;
  controls::ListAlign align;
};
inline constexpr ListColumnInfo kListColumns[kColumnCount] = {
    {"Name", 110, controls::ListAlign::Left},          {"Type", 70, controls::ListAlign::Left},
    {"Size", 80, controls::ListAlign::Right},          {"Modified Date", 150, controls::ListAlign::Right},
    {"Created Date", 150, controls::ListAlign::Right}, {"Accessed Date", 150, controls::ListAlign::Right},
    {"FileId", 80, controls::ListAlign::Right},
};

// Row images: folder, file, deleted folder, deleted file (a fifth icon is loaded but unused).
enum ListImage : int { kListImageFolder = 0, kListImageFile = 1, kListImageDeletedFolder = 2, kListImageDeletedFile = 3 };

// The context menu's view styles, carried out by the frame's commands.
struct ListStyleCommand {
  const char* text;
  int command;
};
inline constexpr ListStyleCommand kListStyleCommands[] = {
    {"&View Large Icons", 59409}, {"&View Small Icons", 59408}, {"&List", 59410}, {"&Details", 59411}};

// Which rows the tree sets: the first row of a name, or every row.
enum class CheckRows : std::uint8_t { Named = 0, All = 1 };

// The header that draws the sort arrow.
class SortArrow {
 public:
  virtual ~SortArrow() = default;
  virtual void SetSortImage(int column, int direction) = 0;
};

// Texts and image of an entry's row.
int ListImageOf(const EntryNode& entry);
const char* KindText(const EntryNode& entry);
std::string NumberText(std::uint64_t value);  // "%7llu"

class CQuarvelVelnoraView : public ListViewPort {
 public:
  CQuarvelVelnoraView(controls::ListControl& list, AppState& app);
  CQuarvelVelnoraView(const CQuarvelVelnoraView&) = delete;
  CQuarvelVelnoraView& operator=(const CQuarvelVelnoraView&) = delete;

  // Wiring, done by the frame once both panes exist; any may be null.
  void SetTreeView(CLeftView* tree) { tree_ = tree; }
  void SetFrame(FrameServices* frame) { frame_ = frame; }
  void SetSortArrow(SortArrow* arrow) { arrow_ = arrow; }

  controls::ListControl& List() { return list_; }

  // The seven columns (the first update of the window).
  void InsertColumns();
  // Shows the records whose parent inode is KEY, in list order.
  void FillFromEntries(std::uint32_t key);

  // --- ListViewPort ---
  // Deletes every row, turns grid lines off and clears the scanned flag.
  void ClearListView() override;
  // After recovery: the row NAME/INODE, when checked or grey, becomes grey (Partly) or unchecked (Fully).
  void UpdateItemCheck(const std::string& name, std::uint32_t inode, std::uintptr_t treeItem, Uncheck how) override;

  // --- Check marks ---
  // The tree sets rows by its state image CODE (1 unchecked, 2 checked, 3 grey): every row, or the
  // first row named NAME.
  void SetItemCheckState(CheckRows mode, int code, const std::string& name);
  // "AllItemsUnchecked" (also for no rows), "AllItemsBlackchecked", "AllItemsGreychecked" or
  // "AllItemsAreMixed".
  std::string GetListCheckSummary() const;
  // A left click at POINT, after the control has handled it: a click on a row's state icon flips
  // the row, its record and the tree; any click on a list with rows recounts the marked amount.
  void OnLButtonDown(controls::ListPoint point);
  // A click on ROW's check box.
  void ClickStateIcon(int row);

  // --- Find ---
  // Scrolls to the first row NAME/INODE and makes it the hot row (Find's match-case rule).
  bool SelectItemByNameAndId(const std::string& name, std::uint32_t inode);

  // --- Opening folders ---
  // A double click on ROW: a folder row opens in the tree.
  void OnDblclk(int row);
  // A key press, after the control has handled it. ENTER is true for the Enter key of either
  // keyboard block: then the first selected row opens when it is a listed folder. Nothing happens
  // while the frame is busy.
  void OnKeyDown(bool enter);

  // --- Sorting ---
  // A click on the header item COLUMN with mouse button BUTTON (0 the left).
  void OnHeaderItemClick(int column, int button);
  // Sort rows LOW..HIGH (HIGH -1: the last row) of COLUMN by text (ASCII case-insensitive) or by the
  // number each text begins with. False when the column does not exist or the range is empty.
  bool SortTextItems(int column, bool ascending, int low = 0, int high = -1);
  bool SortNumericItems(int column, bool ascending, int low = 0, int high = -1);
  // The same by the time a date text shows.
  bool SortTimeItems(int column, bool ascending, int low = 0, int high = -1);
  // Sorts every row by COLUMN in the way its texts read: name and type by text, the three dates
  // by time, size and inode by number.
  bool SortByColumn(int column, bool ascending);
  int SortColumn() const { return sortColumn_; }

 private:
  void SetEntryCheck(int state, std::uint32_t inode, const std::string& name);
  // Unchecked rows become checked, checked and grey ones unchecked; the record and the tree follow.
  void FlipRow(int row);
  void OpenRowFolder(int row);

  controls::ListControl& list_;
  AppState& app_;
  CLeftView* tree_ = nullptr;
  FrameServices* frame_ = nullptr;
  SortArrow* arrow_ = nullptr;
  int sortColumn_ = 0;
};

}  // namespace ext2::views
