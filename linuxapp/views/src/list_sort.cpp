// Sorting the list by a column: a quicksort over the rows in place, by text or by number, and the
// header click that chooses column and direction.
#include <cctype>
#include <cstdlib>
#include <utility>
#include <vector>

#include "linuxviews/list_view.h"

namespace {

// The number a text begins with: leading blanks skipped, an optional sign, then digits. Read wide,
// so that sizes and inodes above 2^31 keep their order.
std::int64_t LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{1} << 40;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

// A Hoare quicksort of rows LOW..HIGH by KEYS, swapping the list's rows with the keys. ORDER(a, b)
// is negative, 0 or positive; DIFFER says whether two rows are worth swapping.
template <typename Key, typename Order, typename Differ>
void QuickSort(controls::ListControl& list, std::vector<Key>& keys, bool ascending, int low, int high, Order order,
               Differ differ) {
  // The larger part is taken by the loop, the smaller by recursion, so the depth stays logarithmic.
  while (low < high) {
    const Key pivot = keys[static_cast<std::size_t>((low + high) / 2)];
    int i = low, j = high;
    auto before = [&](const Key& a, const Key& b) { return ascending ? order(a, b) < 0 : order(a, b) > 0; };
    while (j >= i) {
      while (i < high && before(keys[static_cast<std::size_t>(i)], pivot)) ++i;
      while (j > low && before(pivot, keys[static_cast<std::size_t>(j)])) --j;
      if (j >= i) {
        auto& a = keys[static_cast<std::size_t>(i)];
        auto& b = keys[static_cast<std::size_t>(j)];
        if (differ(a, b)) {
          controls::SwapRows(list, i, j);
          std::swap(a, b);
        }
        ++i;
        --j;
      }
    }
    if (j - low < high - i) {
      if (low < j) QuickSort(list, keys, ascending, low, j, order, differ);
      low = i;
    } else {
      if (i < high) QuickSort(list, keys, ascending, i, high, order, differ);
      high = j;
    }
  }
}

// The range to sort, or false when the column does not exist or the range is empty.
bool SortRange(const controls::ListControl& list, int column, int& low, int& high) {
  if (column < 0 || column >= list.GetColumnCount()) return false;
  if (high == -1) high = list.GetItemCount() - 1;
  if (low < 0) low = 0;
  if (high >= list.GetItemCount()) high = list.GetItemCount() - 1;
  return low < high;
}

}  // namespace

bool CQuarvelVelnoraView::SortTextItems(int column, bool ascending, int low, int high) {
  if (!SortRange(list_, column, low, high)) return false;
  std::vector<std::string> keys(static_cast<std::size_t>(list_.GetItemCount()));
  for (int row = low; row <= high; ++row) keys[static_cast<std::size_t>(row)] = list_.GetItemText(row, column);
  QuickSort(list_, keys, ascending, low, high, controls::CompareListText,
            [](const std::string& a, const std::string& b) { return a != b; });
  return true;
}

bool CQuarvelVelnoraView::SortNumericItems(int column, bool ascending, int low, int high) {
  if (!SortRange(list_, column, low, high)) return false;
  std::vector<std::int64_t> keys(static_cast<std::size_t>(list_.GetItemCount()));
  for (int row = low; row <= high; ++row) keys[static_cast<std::size_t>(row)] = LeadingNumber(list_.GetItemText(row, column));
  QuickSort(
      list_, keys, ascending, low, high, [](std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); },
      [](std::int64_t a, std::int64_t b) { return a != b; });
  return true;
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
