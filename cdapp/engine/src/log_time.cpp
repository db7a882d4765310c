// UTC time texts of the log rows.
#include "cdengine/log_time.h"

#include <cstdio>
#include <ctime>

namespace cd {

namespace {
std::function<CdTime()>& Clock() {
  static std::function<CdTime()> clock;
  return clock;
}
}  // namespace

CdTime CdNowUtc() {
  if (Clock()) return Clock()();
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void SetCdClock(std::function<CdTime()> clock) { Clock() = std::move(clock); }

const char* WeekdayName(int weekday) {
  static const char* const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return weekday >= 0 && weekday < 7 ? names[weekday] : "";
}

const char* MonthName(int month) {
  static const char* const names[] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};
  return month >= 1 && month <= 12 ? names[month - 1] : "";
}

std::string FormatLogTime(const char* format, const std::string& weekday, const std::string& month, const CdTime& t) {
  char text[160];
  std::snprintf(text, sizeof text, format, weekday.c_str(), month.c_str(), t.day, t.year, t.hour, t.minute, t.second);
  return text;
}

}  // namespace cd
