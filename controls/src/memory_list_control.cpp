// The in-memory list control: a vector of rows and a one-column layout for hit tests.
#include "controls/memory_list_control.h"

#include <algorithm>

namespace controls {

void MemoryListControl::InsertColumn(int column, const std::string& heading, int width, ListAlign align) {
  const auto at = std::clamp(column, 0, GetColumnCount());
  columns_.insert(columns_.begin() + at, Column{heading, width, align});
}

int MemoryListControl::InsertItem(int row, const std::string& text, int image) {
  const int at = std::clamp(row, 0, GetItemCount());
  Row r;
  r.texts.push_back(text);
  r.image = image;
  rows_.insert(rows_.begin() + at, std::move(r));
  // Indices at and after the new row move down, as the control's do.
  if (focused_ >= at) ++focused_;
  return at;
}

void MemoryListControl::DeleteAllItems() {
  rows_.clear();
  focused_ = hot_ = lastShown_ = kNoRow;
}

void MemoryListControl::SetItemText(int row, int column, const std::string& text) {
  if (!Valid(row) || column < 0) return;
  auto& texts = rows_[row].texts;
  if (static_cast<std::size_t>(column) >= texts.size()) texts.resize(column + 1);
  texts[column] = text;
}

std::string MemoryListControl::GetItemText(int row, int column) const {
  if (!Valid(row) || column < 0) return {};
  const auto& texts = rows_[row].texts;
  return static_cast<std::size_t>(column) < texts.size() ? texts[column] : std::string();
}

void MemoryListControl::SetItemImage(int row, int image) {
  if (Valid(row)) rows_[row].image = image;
}
int MemoryListControl::GetItemImage(int row) const { return Valid(row) ? rows_[row].image : 0; }
void MemoryListControl::SetItemData(int row, std::uint32_t data) {
  if (Valid(row)) rows_[row].data = data;
}
std::uint32_t MemoryListControl::GetItemData(int row) const { return Valid(row) ? rows_[row].data : 0; }
void MemoryListControl::SetStateImage(int row, int state) {
  if (Valid(row)) rows_[row].state = state;
}
int MemoryListControl::GetStateImage(int row) const { return Valid(row) ? rows_[row].state : kListStateNone; }

void MemoryListControl::SetSelected(int row, bool selected) {
  if (Valid(row)) rows_[row].selected = selected;
}
bool MemoryListControl::IsSelected(int row) const { return Valid(row) && rows_[row].selected; }

int MemoryListControl::GetNextSelected(int after) const {
  for (int row = std::max(after + 1, 0); row < GetItemCount(); ++row) {
    if (rows_[row].selected) return row;
  }
  return kNoRow;
}

void MemoryListControl::SetFocused(int row) { focused_ = Valid(row) ? row : kNoRow; }

int MemoryListControl::FindItem(int start, const std::string& text) const {
  for (int row = std::max(start + 1, 0); row < GetItemCount(); ++row) {
    if (CompareListText(rows_[row].texts[0], text) == 0) return row;
  }
  return kNoRow;
}

ListHit MemoryListControl::HitTest(ListPoint point) const {
  if (point.x < 0 || point.y < 0) return {};
  const int row = point.y / kRowHeight;
  if (!Valid(row)) return {};
  const Row& r = rows_[row];
  const int icon = r.state != kListStateNone ? kStateWidth : 0;
  const int label = icon + kIconWidth;
  const int end = label + kCharWidth * static_cast<int>(r.texts[0].size());
  if (point.x < icon) return {row, kListHitOnStateIcon};
  if (point.x < label) return {row, kListHitOnIcon};
  if (point.x < end) return {row, kListHitOnLabel};
  return {};
}

bool MemoryListControl::GetStateIconRect(int row, ListRect& rect) const {
  if (!Valid(row) || rows_[row].state == kListStateNone) return false;
  rect = {0, row * kRowHeight, kStateWidth, kRowHeight};
  return true;
}

}  // namespace controls
