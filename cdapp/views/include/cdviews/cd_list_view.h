// The CD program's list view: the folders and files directly inside the folder selected in the
// tree, one row each with a check box, read from and marking the tree view's node list. Written
// against the list-control contract; the wx window only forwards its events here.
#pragma once

#include <cstdint>
#include <string>

#include "cdengine/app_state.h"
#include "cdengine/ports.h"
#include "cdviews/tree_view.h"
#include "controls/list_control.h"

namespace cd::views {

// The list's header arrow (the sort header control in the program).
class CdSortArrow {
 public:
  virtual ~CdSortArrow() = default;
  virtual void SetSortImage(int column, int ascending) = 0;
};

enum CdListColumn : int { kCdColName, kCdColType, kCdColSize, kCdColDate, kCdColFileId, kCdColParentId };
// The column given to the arrow when the list is empty: none, so that no arrow shows.
inline constexpr int kCdNoSortColumn = 10;
// The shape of the Date column's texts (DateText), for sizing the column to them.
inline constexpr const char* kCdDateShape = "00-00-0000 00:00:00";

class CCDView : public CdListViewPort {
 public:
  CCDView(controls::ListControl& list, CdAppState& app) : list_(list), app_(app) {}

  void SetTreeView(CdTreeView* tree) { tree_ = tree; }
  void SetFrame(CdFrame* frame) { frame_ = frame; }
  void SetSortArrow(CdSortArrow* arrow) { arrow_ = arrow; }

  // Name, Type, Size, Date, File Id, Parent Id.
  void InsertColumns();

  // CdListViewPort
  void ClearListView() override;
  void FillFromTreeNodes(std::uint32_t key) override;
  void SetItemCheckState(CdCheckRows rows, int state, const std::string& name, std::uint32_t key) override;
  void UncheckListItem(const std::string& name, std::uint32_t key) override;
  void GreyListItem(const std::string& name, std::uint32_t key, CdGreyRow grey) override;
  void FindListItem(const std::string& name, std::uint32_t key) override;

  // "AllItemsUnchecked", "AllItemsBlackchecked", "AllItemsGreychecked" or "AllItemsAreMixed".
  std::string GetListCheckSummary() const;

  // Events of the window. A left click, after the control has handled it; a double click (row
  // activation) on ROW; Enter; a click on header COLUMN with BUTTON (0 left).
  void OnLButtonDown(controls::ListPoint point);
  void OnDblclk(int row);
  void OnEnterKey();
  void OnHeaderItemClick(int column, int button);

  // Sorting rows LOW..HIGH (HIGH -1: the last row); 0 when nothing was sorted. By number the
  // Date column sorts by time.
  int SortTextItems(int column, bool ascending, int low = 0, int high = -1);
  int SortNumericItems(int column, bool ascending, int low = 0, int high = -1);
  int SortColumn() const { return sortColumn_; }

  // The date column's text of a node: "05-07-2003 14:02:09".
  static std::string DateText(const TreeItemNode& node);

 private:
  void ClickRowStateIcon(int row);
  // The row showing NAME (ASCII case-insensitive) with data KEY; kNoRow when none.
  int RowOf(const std::string& name, std::uint32_t key) const;

  controls::ListControl& list_;
  CdAppState& app_;
  CdTreeView* tree_ = nullptr;
  CdFrame* frame_ = nullptr;
  CdSortArrow* arrow_ = nullptr;
  int sortColumn_ = 0;
};

}  // namespace cd::views
