// Sorting the list by a column: a quicksort over the rows in place, by text, number or time, and the
// header click that chooses column and direction.
#include "controls/list_sort.h"
#include "linuxviews/list_view.h"

namespace ext2::views {

// The quicksort itself is the control layer's, shared with CD's list.
bool CQuarvelVelnoraView::SortTextItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByText(list_, column, ascending, low, high);
}

bool CQuarvelVelnoraView::SortNumericItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByNumber(list_, column, ascending, low, high);
}

bool CQuarvelVelnoraView::SortTimeItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByDateTime(list_, column, ascending, low, high);
}

bool CQuarvelVelnoraView::SortByColumn(int column, bool ascending) {
  switch (column) {
    case kColumnName:
    case kColumnType: return SortTextItems(column, ascending);
    case kColumnModified:
    case kColumnCreated:
    case kColumnAccessed: return SortTimeItems(column, ascending);
    default: return SortNumericItems(column, ascending);
  }
}

void CQuarvelVelnoraView::OnHeaderItemClick(int column, int button) {
  list_.SetHotItem(controls::kNoRow);
  app_.userSorted = 1;
  if (button != 0) return;
  app_.sortToggle = app_.sortToggle != 0 ? 0 : 1;
  if (column != sortColumn_) app_.sortDirection = app_.sortToggle;
  sortColumn_ = column;
  app_.sortColumn = column;
  if (app_.scanned == 1 && arrow_ != nullptr) arrow_->SetSortImage(column, app_.sortToggle);
  SortByColumn(column, app_.sortToggle == 1);
}

}  // namespace ext2::views
