// The CD list view: fills, check marks, Find highlighting and sorting.
#include "cdviews/cd_list_view.h"

#include <cstdio>

#include "controls/list_checks.h"
#include "controls/list_sort.h"

namespace cd::views {

using controls::kNoRow;

namespace {
bool SameText(const std::string& a, const std::string& b, bool matchCase) {
  return matchCase ? a == b : controls::CompareListText(a, b) == 0;
}
}  // namespace

void CCDView::InsertColumns() {
  list_.InsertColumn(kCdColName, "Name", 120, controls::ListAlign::Left);
  list_.InsertColumn(kCdColType, "Type", 70, controls::ListAlign::Left);
  list_.InsertColumn(kCdColSize, "Size", 80, controls::ListAlign::Right);
  list_.InsertColumn(kCdColDate, "Date", 125, controls::ListAlign::Centre);
  list_.InsertColumn(kCdColFileId, "File Id", 80, controls::ListAlign::Right);
  list_.InsertColumn(kCdColParentId, "Parent Id", 100, controls::ListAlign::Right);
}

void CCDView::ClearListView() {
  list_.DeleteAllItems();
  list_.SetGridLines(false);
  app_.contentsShown = 0;
}

std::string CCDView::DateText(const TreeItemNode& node) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2d-%.2d-%d %.2d:%.2d:%.2d", node.date[2], node.date[1], node.date[0] + 1900,
                node.time[0], node.time[1], node.time[2]);
  return text;
}

void CCDView::FillFromTreeNodes(std::uint32_t key) {
  app_.sortAscending = 0;
  list_.DeleteAllItems();
  list_.SetHotItem(kNoRow);
  list_.SetGridLines(true);
  if (tree_ != nullptr) {
    for (std::uint32_t index : tree_->ChildrenOf(key)) {
      const TreeItemNode& node = tree_->Nodes()[index];
      const int row = list_.InsertItem(list_.GetItemCount(), node.name, node.type == 2 ? 0 : 1);
      list_.SetStateImage(row, node.mark == 1   ? controls::kListStateChecked
                               : node.mark == 2 ? controls::kListStatePartly
                                                : controls::kListStateUnchecked);
      list_.SetItemData(row, node.key);
      char text[32];
      list_.SetItemText(row, kCdColType, node.type == 2 ? "Dir" : "File");
      std::snprintf(text, sizeof text, "%7lu", static_cast<unsigned long>(node.size));
      list_.SetItemText(row, kCdColSize, text);
      std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(node.key));
      list_.SetItemText(row, kCdColFileId, text);
      std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(node.parentKey));
      list_.SetItemText(row, kCdColParentId, text);
      list_.SetItemText(row, kCdColDate, DateText(node));
    }
  }
  if (arrow_ != nullptr) arrow_->SetSortImage(list_.GetItemCount() > 0 ? sortColumn_ : kCdNoSortColumn, app_.sortAscending);
}

void CCDView::SetItemCheckState(CdCheckRows rows, int state, const std::string& name, std::uint32_t) {
  if (rows == CdCheckRows::Every) {
    if (state < controls::kStateUnchecked || state > controls::kStatePartly) return;
    for (int row = 0; row < list_.GetItemCount(); ++row) list_.SetStateImage(row, state + 1);
    return;
  }
  const int row = list_.FindItem(kNoRow, name);
  if (row == kNoRow) return;
  list_.SetStateImage(row, state == controls::kStateChecked     ? controls::kListStateChecked
                           : state == controls::kStateUnchecked ? controls::kListStateUnchecked
                                                                : controls::kListStatePartly);
}

int CCDView::RowOf(const std::string& name, std::uint32_t key) const {
  for (int row = list_.FindItem(kNoRow, name); row != kNoRow; row = list_.FindItem(row, name)) {
    if (list_.GetItemData(row) == key) return row;
  }
  return kNoRow;
}

void CCDView::UncheckListItem(const std::string& name, std::uint32_t key) {
  const int row = RowOf(name, key);
  if (row == kNoRow) return;
  const int state = list_.GetStateImage(row);
  if (state == controls::kListStateChecked || state == controls::kListStatePartly) {
    list_.SetStateImage(row, controls::kListStateUnchecked);
  }
}

void CCDView::GreyListItem(const std::string& name, std::uint32_t key, CdGreyRow grey) {
  const int row = RowOf(name, key);
  if (row != kNoRow && grey == CdGreyRow::Grey) list_.SetStateImage(row, controls::kListStatePartly);
}

void CCDView::FindListItem(const std::string& name, std::uint32_t key) {
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    if (list_.GetItemData(row) == key && SameText(list_.GetItemText(row, kCdColName), name, app_.findMatchCase != 0)) {
      list_.EnsureVisible(row);
      list_.SetHotItem(row);
      return;
    }
  }
}

std::string CCDView::GetListCheckSummary() const {
  return controls::ListCheckSummary(list_);
}

void CCDView::ClickRowStateIcon(int row) {
  const std::uint32_t data = row != kNoRow ? list_.GetItemData(row) : 0;
  const std::string name = list_.GetItemText(row, kCdColName);
  const std::string type = list_.GetItemText(row, kCdColType);
  const std::uint8_t kind = type == "Dir" ? 2 : type == "File" ? 1 : 0;
  int state = 0;
  if (list_.GetStateImage(row) == controls::kListStateUnchecked) {
    list_.SetStateImage(row, controls::kListStateChecked);
    state = 1;
  } else {
    app_.allMarked = 0;
    list_.SetStateImage(row, controls::kListStateUnchecked);
  }
  if (tree_ == nullptr) return;
  tree_->SetNodeMark(state, data, name, kind);
  tree_->SyncTreeCheckFromList(state, name, type, GetListCheckSummary(), data);
}

void CCDView::OnLButtonDown(controls::ListPoint point) {
  if (list_.GetItemCount() == 0) return;
  const controls::ListHit hit = list_.HitTest(point);
  if (hit.flags == controls::kListHitOnStateIcon && hit.row != kNoRow) ClickRowStateIcon(hit.row);
  if (frame_ == nullptr || tree_ == nullptr) return;
  frame_->markedFolders = frame_->markedFiles = 0;
  frame_->markedBytes = tree_->CountMarked(&frame_->markedFolders, &frame_->markedFiles);
  frame_->UpdateMarkedPane();
  app_.markedBytesFlag = frame_->markedBytes != 0;
}

void CCDView::OnDblclk(int row) {
  if (row == kNoRow || row >= list_.GetItemCount() || tree_ == nullptr) return;
  if (list_.GetItemText(row, kCdColType) == "Dir") tree_->SelectChildByData(list_.GetItemData(row));
}

void CCDView::OnEnterKey() {
  if ((frame_ != nullptr && frame_->busy) || tree_ == nullptr) return;
  const int row = list_.GetNextSelected(kNoRow);
  if (row == kNoRow) return;
  const std::uint32_t data = list_.GetItemData(row);
  if (tree_->FindFolder(data) != nullptr) tree_->SelectChildByData(data);
}

void CCDView::OnHeaderItemClick(int column, int button) {
  list_.SetHotItem(kNoRow);
  if (button != 0) return;
  app_.sortAscending = app_.sortAscending ? 0 : 1;
  sortColumn_ = column;
  if (app_.contentsShown && arrow_ != nullptr) arrow_->SetSortImage(column, app_.sortAscending);
  if (column == kCdColName || column == kCdColType) {
    SortTextItems(column, app_.sortAscending != 0);
  } else {
    SortNumericItems(column, app_.sortAscending != 0);
  }
}

int CCDView::SortTextItems(int column, bool ascending, int low, int high) {
  return controls::SortRowsByText(list_, column, ascending, low, high) ? 1 : 0;
}

int CCDView::SortNumericItems(int column, bool ascending, int low, int high) {
  // Dates sort by the moment they stand for, not by their leading number, the day.
  const bool sorted = column == kCdColDate ? controls::SortRowsByDateTime(list_, column, ascending, low, high)
                                           : controls::SortRowsByNumber(list_, column, ascending, low, high);
  return sorted ? 1 : 0;
}

}  // namespace cd::views
