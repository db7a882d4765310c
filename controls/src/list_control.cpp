// Operations every list control shares: the text comparison of the row lookup and the row swap.
#include "controls/list_control.h"

#include <cctype>

namespace controls {

int CompareListText(const std::string& a, const std::string& b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

void SwapRows(ListControl& list, int a, int b) {
  const int count = list.GetItemCount();
  if (a == b || a < 0 || b < 0 || a >= count || b >= count) return;
  const int columns = list.GetColumnCount() > 0 ? list.GetColumnCount() : 1;
  for (int c = 0; c < columns; ++c) {
    std::string ta = list.GetItemText(a, c);
    std::string tb = list.GetItemText(b, c);
    list.SetItemText(a, c, tb);
    list.SetItemText(b, c, ta);
  }
  const int imageA = list.GetItemImage(a);
  list.SetItemImage(a, list.GetItemImage(b));
  list.SetItemImage(b, imageA);
  const std::uint32_t dataA = list.GetItemData(a);
  list.SetItemData(a, list.GetItemData(b));
  list.SetItemData(b, dataA);
  const int stateA = list.GetStateImage(a);
  list.SetStateImage(a, list.GetStateImage(b));
  list.SetStateImage(b, stateA);
  const bool selectedA = list.IsSelected(a);
  list.SetSelected(a, list.IsSelected(b));
  list.SetSelected(b, selectedA);
  const int focused = list.GetFocused();
  if (focused == a) list.SetFocused(b);
  if (focused == b) list.SetFocused(a);
}

}  // namespace controls
