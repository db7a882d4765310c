// The UTC time of the log rows with English weekday and month names.
#pragma once

#include <functional>
#include <string>

namespace cd {

struct CdTime {
  int year = 0, month = 1, day = 1, weekday = 0;  // weekday 0 Sunday
  int hour = 0, minute = 0, second = 0;
};

// The current UTC time, from the system or from the clock a test set.
CdTime CdNowUtc();
void SetCdClock(std::function<CdTime()> clock);  // empty: the system clock again

const char* WeekdayName(int weekday);  // "Sunday" ... "Saturday"
const char* MonthName(int month);      // "January" ... "December"

// FORMAT with weekday, month, day, year, hour, minute, second, as "Started %s, %s %d %d at %d-%d-%d".
std::string FormatLogTime(const char* format, const std::string& weekday, const std::string& month, const CdTime& t);

}  // namespace cd
