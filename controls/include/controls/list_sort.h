// Sorting a list control's rows in place by one column, by text, by the number a text begins
// with, or by the time a date text shows: a quicksort that exchanges whole rows (SwapRows), used by the list views of both programs.
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

// The instant a date text "dd-mm-yyyy hh:mm:ss" shows, as a number that orders as the instants do
// (yyyymmddhhmmss). A text of another shape gives -1, so it sorts before every date.
std::int64_t TimeTextKey(const std::string& text);
// The same by TimeTextKey of the texts: a date column in the order of its times.
bool SortRowsByTime(ListControl& list, int column, bool ascending, int low = 0, int high = -1);

}  // namespace controls
