// Inode times into Gregorian calendar fields (UTC), without the C library's time zone.
#include "linuxcore/inode_time.h"

#include <cstdio>

namespace ext2::core {

namespace {

// Days since 1970-01-01 into year, month and day (Howard Hinnant's civil_from_days).
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

void InodeTimeToSystemTime(SystemTime& out, std::int64_t time) {
  // Whole days rounded down, so that a time before 1970 keeps its time of day.
  const std::int64_t days = time >= 0 ? time / 86400 : -((-(time + 1)) / 86400) - 1;
  const auto inDay = static_cast<std::uint32_t>(time - days * 86400);
  std::int64_t year = 0;
  unsigned month = 0, day = 0;
  CivilFromDays(days, year, month, day);
  out = SystemTime{};
  out.year = static_cast<std::uint16_t>(year);
  out.month = static_cast<std::uint16_t>(month);
  out.day = static_cast<std::uint16_t>(day);
  out.hour = static_cast<std::uint16_t>(inDay / 3600);
  out.minute = static_cast<std::uint16_t>(inDay / 60 % 60);
  out.second = static_cast<std::uint16_t>(inDay % 60);
}

std::string FormatInodeTime(std::int64_t time) {
  SystemTime t;
  InodeTimeToSystemTime(t, time);
  char text[40];
  std::snprintf(text, sizeof text, "%.2d-%.2d-%d %.2d:%.2d:%.2d", t.day, t.month, t.year, t.hour, t.minute, t.second);
  return text;
}

}  // namespace ext2::core
