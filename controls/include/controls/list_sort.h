// Sorting a list control's rows in place by one column, by text, by the number a text begins with
// or by the moment a date text stands for: a quicksort that exchanges whole rows (SwapRows), used
// by the list views of both programs.
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

// A "DD-MM-YYYY HH:MM:SS" text as one number that orders as the moments do: year, month, day,
// hour, minute, second. Fields are the runs of digits in that order; missing ones count as 0.
std::int64_t DateTimeKey(const std::string& text);
// The same by DateTimeKey of the texts: date columns sort by time, not by their leading day.
bool SortRowsByDateTime(ListControl& list, int column, bool ascending, int low = 0, int high = -1);

}  // namespace controls
