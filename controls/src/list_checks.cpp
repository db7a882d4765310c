#include "controls/list_checks.h"

namespace controls {

std::string ListCheckSummary(const ListControl& list) {
  const int rows = list.GetItemCount();
  int unchecked = 0, checked = 0, partly = 0;
  for (int row = 0; row < rows; ++row) {
    switch (list.GetStateImage(row)) {
      case kListStateUnchecked: ++unchecked; break;
      case kListStateChecked: ++checked; break;
      case kListStatePartly: ++partly; break;
      default: break;
    }
  }
  if (unchecked == rows) return "AllItemsUnchecked";
  if (checked == rows) return "AllItemsBlackchecked";
  if (partly == rows) return "AllItemsGreychecked";
  return "AllItemsAreMixed";
}

}  // namespace controls
