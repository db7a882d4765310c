// Sorting the list by a column: a quicksort over the rows in place, by text or by number, and the
// header click that chooses column and direction.
#include "controls/list_sort.h"
#include "linuxviews/list_view.h"

// The quicksort itself is the control layer's, shared with CD's list.
bool CQuarvelVelnoraView::SortTextItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByText(list_, column, ascending, low, high);
}

bool CQuarvelVelnoraView::SortNumericItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByNumber(list_, column, ascending, low, high);
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
  const bool ascending = app_.sortToggle == 1;
  if (column == kColumnName || column == kColumnType) {
    SortTextItems(column, ascending);
  } else {
    SortNumericItems(column, ascending);
  }
}
