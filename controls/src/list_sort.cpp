// Sorting a list's rows in place by text or by number.
#include "controls/list_sort.h"

#include <cctype>
#include <limits>
#include <utility>
#include <vector>

namespace controls {

namespace {

// A Hoare quicksort of rows LOW..HIGH by KEYS, swapping the list's rows with the keys. ORDER(a, b)
// is negative, 0 or positive; DIFFER says whether two rows are worth swapping.
template <typename Key, typename Order, typename Differ>
void QuickSort(ListControl& list, std::vector<Key>& keys, bool ascending, int low, int high, Order order,
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
          SwapRows(list, i, j);
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
bool SortRange(const ListControl& list, int column, int& low, int& high) {
  if (column < 0 || column >= list.GetColumnCount()) return false;
  if (high == -1) high = list.GetItemCount() - 1;
  if (low < 0) low = 0;
  if (high >= list.GetItemCount()) high = list.GetItemCount() - 1;
  return low < high;
}

// Sorts rows LOW..HIGH of COLUMN by the number KEY_OF gives for each text.
template <typename KeyOf>
bool SortRowsByKey(ListControl& list, int column, bool ascending, int low, int high, KeyOf keyOf) {
  if (!SortRange(list, column, low, high)) return false;
  std::vector<std::int64_t> keys(static_cast<std::size_t>(list.GetItemCount()));
  for (int row = low; row <= high; ++row) keys[static_cast<std::size_t>(row)] = keyOf(list.GetItemText(row, column));
  QuickSort(
      list, keys, ascending, low, high, [](std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); },
      [](std::int64_t a, std::int64_t b) { return a != b; });
  return true;
}

}  // namespace

std::int64_t LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  // Digits past what 63 bits hold are not read.
  constexpr std::int64_t kLimit = (std::numeric_limits<std::int64_t>::max() - 9) / 10;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (value <= kLimit) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

bool SortRowsByText(ListControl& list, int column, bool ascending, int low, int high) {
  if (!SortRange(list, column, low, high)) return false;
  std::vector<std::string> keys(static_cast<std::size_t>(list.GetItemCount()));
  for (int row = low; row <= high; ++row) keys[static_cast<std::size_t>(row)] = list.GetItemText(row, column);
  QuickSort(list, keys, ascending, low, high, CompareListText,
            [](const std::string& a, const std::string& b) { return a != b; });
  return true;
}

bool SortRowsByNumber(ListControl& list, int column, bool ascending, int low, int high) {
  return SortRowsByKey(list, column, ascending, low, high, LeadingNumber);
}

std::int64_t DateTimeKey(const std::string& text) {
  // Day, month, year, hour, minute, second as they stand in the text.
  std::int64_t field[6] = {};
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size() && count < 6;) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
      if (value < 100000) value = value * 10 + (text[i] - '0');
    }
    field[count++] = value;
  }
  const auto& [day, month, year, hour, minute, second] = field;
  return ((((year * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

bool SortRowsByDateTime(ListControl& list, int column, bool ascending, int low, int high) {
  return SortRowsByKey(list, column, ascending, low, high, DateTimeKey);
}

}  // namespace controls
