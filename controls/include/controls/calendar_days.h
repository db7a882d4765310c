// Calendar days, for the "last N days" of both programs' File Mask.
#pragma once

namespace controls {

// Days since 1970-01-01 of a Gregorian date.
long long DayNumber(int year, int month, int day);

}  // namespace controls
