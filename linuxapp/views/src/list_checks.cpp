// Check boxes of the list: a click on a row's box, the rows the tree sets, the summary word.
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"

#include "controls/list_checks.h"

namespace ext2::views {

using namespace ext2::core;

using controls::kNoRow;

namespace {

// The row state image of the tree's state image CODE (1 unchecked, 2 checked, 3 grey).
int RowStateOfCode(int code) {
  if (code == controls::kStateChecked) return controls::kListStateChecked;
  if (code == controls::kStateUnchecked) return controls::kListStateUnchecked;
  return controls::kListStatePartly;
}

}  // namespace

void CQuarvelVelnoraView::SetItemCheckState(CheckRows mode, int code, const std::string& name) {
  const int state = RowStateOfCode(code);
  if (mode == CheckRows::All) {
    for (int row = 0; row < list_.GetItemCount(); ++row) list_.SetStateImage(row, state);
    return;
  }
  // The row lookup ignores case; names on disk do not, so the row must carry the name exactly.
  for (int row = list_.FindItem(kNoRow, name); row != kNoRow; row = list_.FindItem(row, name)) {
    if (list_.GetItemText(row, kColumnName) != name) continue;
    list_.SetStateImage(row, state);
    return;
  }
}

void CQuarvelVelnoraView::UpdateItemCheck(const std::string& name, std::uint32_t inode, std::uintptr_t /*treeItem*/,
                                          Uncheck how) {
  for (int row = list_.FindItem(kNoRow, name); row != kNoRow; row = list_.FindItem(row, name)) {
    if (list_.GetItemData(row) != inode || list_.GetItemText(row, kColumnName) != name) continue;
    const int state = list_.GetStateImage(row);
    if (state == controls::kListStateChecked || state == controls::kListStatePartly) {
      list_.SetStateImage(row, how == Uncheck::Partly ? controls::kListStatePartly : controls::kListStateUnchecked);
    }
    return;
  }
}

std::string CQuarvelVelnoraView::GetListCheckSummary() const {
  return controls::ListCheckSummary(list_);
}

void CQuarvelVelnoraView::SetEntryCheck(int state, std::uint32_t inode, const std::string& name) {
  if (tree_ == nullptr) return;
  if (ListedEntry* record = tree_->FindRecord(name, inode)) record->check = state == 1 ? 1 : 0;
}

void CQuarvelVelnoraView::OnLButtonDown(controls::ListPoint point) {
  if (list_.GetItemCount() == 0) return;
  const controls::ListHit hit = list_.HitTest(point);
  if (hit.flags == controls::kListHitOnStateIcon && hit.row != kNoRow) FlipRow(hit.row);
  if (tree_ != nullptr) tree_->RefreshMarkedTotals();
}

void CQuarvelVelnoraView::ClickStateIcon(int row) {
  if (row < 0 || row >= list_.GetItemCount()) return;
  FlipRow(row);
  if (tree_ != nullptr) tree_->RefreshMarkedTotals();
}

void CQuarvelVelnoraView::FlipRow(int row) {
  const std::uint32_t inode = list_.GetItemData(row);
  const std::string name = list_.GetItemText(row, kColumnName);
  const std::string kind = list_.GetItemText(row, kColumnType);
  const int state = list_.GetStateImage(row) == controls::kListStateUnchecked ? 1 : 0;
  list_.SetStateImage(row, state == 1 ? controls::kListStateChecked : controls::kListStateUnchecked);
  if (state == 0) app_.allMarked = 0;
  SetEntryCheck(state, inode, name);
  if (tree_ != nullptr) tree_->SyncTreeCheckFromList(state, name, kind, GetListCheckSummary(), inode);
}

}  // namespace ext2::views
