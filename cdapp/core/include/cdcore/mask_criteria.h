// The File Mask's tests of one file: extension, deleted or existing, size bounds, the last days or
// months, and the date range, against a given "today" so that callers and tests fix the date.
#pragma once

#include <compare>
#include <string>
#include <vector>

#include "cdengine/app_state.h"
#include "cdengine/tree_nodes.h"

namespace cd::core {

// A calendar date: full year, month 1-12, day 1-31.
struct CdDate {
  int year = 0;
  int month = 0;
  int day = 0;
  auto operator<=>(const CdDate&) const = default;
};

// Today's date in UTC, as the system clock gives it.
CdDate TodayUtc();
int DaysInMonth(int year, int month);
// The same day one month earlier (December of the year before for a January date), moved back to
// the last day of that month when it has fewer days. The "between" picker opens at this date.
CdDate OneMonthBefore(CdDate date);
// A node's date: its years since 1900, month and day.
CdDate NodeDate(const TreeItemNode& node);

// True when "*." and the text after the first '.' of NAME (empty when it has none) equals one of
// PATTERNS, with or without regard to case.
bool MatchMaskExtension(const std::string& name, const std::vector<std::string>& patterns, bool matchCase);

// Last N days: today back to the (N-1)th calendar day before it.
bool WithinLastDays(int n, CdDate date, CdDate today);
// Last M months: from month C-M of this year on when today's month C >= M, else this year up to
// today's month and the months above C-M+12 of the year before.
bool WithinLastMonths(int m, CdDate date, CdDate today);
// True when DATE lies between A and B, in either order, both included.
bool WithinDates(CdDate date, CdDate a, CdDate b);

// The two picked dates of the range. A picker the user never changed (year 0) stands for the date
// it showed: today for the "and" picker, a month before today for the "between" picker.
CdDate AndPickerDate(const CdFileMaskSettings& s, CdDate today);
CdDate BetweenPickerDate(const CdFileMaskSettings& s, CdDate today);

// True when the file NODE meets every criterion of S in force.
bool PassesFileMask(const TreeItemNode& node, const CdFileMaskSettings& s, const std::vector<std::string>& patterns,
                    CdDate today);

}  // namespace cd::core
