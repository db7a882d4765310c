// Sorting a list control's rows in place by one column, by text or by the number a text begins
// with: a quicksort that exchanges whole rows (SwapRows), used by the list views of both programs.
#pragma once

#include <cstdint>
#include <string>

#include "controls/list_control.h"

namespace controls {

// The number TEXT begins with: leading blanks skipped, an optional sign, then digits. Read wide,
// so that sizes and ids above 2^31 keep their order.
std::int64_t LeadingNumber(const std::string& text);

// Sorts rows LOW..HIGH (HIGH -1: the last row) of COLUMN by text, ASCII case-insensitive; rows
// whose texts differ only in case are still exchanged. False when the column does not exist or
// the range holds fewer than two rows.
bool SortRowsByText(ListControl& list, int column, bool ascending, int low = 0, int high = -1);
// The same by LeadingNumber of the texts.
bool SortRowsByNumber(ListControl& list, int column, bool ascending, int low = 0, int high = -1);

}  // namespace controls
