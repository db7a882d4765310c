// The one conversion of an inode time into calendar fields, and the list's text of it.
#pragma once

#include <cstdint>
#include <string>

namespace ext2::core {

// Calendar fields of an instant in UTC, as SYSTEMTIME holds them.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;  // 1-12
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;  // 1-31
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// TIME is a count of seconds since 1970-01-01 00:00:00 UTC, negative before it (an inode's 32
// signed bits reach back to 13-12-1901). Day of week and milliseconds are left 0.
void InodeTimeToSystemTime(SystemTime& out, std::int64_t time);

// "dd-mm-yyyy hh:mm:ss" of an inode time.
std::string FormatInodeTime(std::int64_t time);

}  // namespace ext2::core
