// The File Mask's tests of one entry.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>

#include "controls/calendar_days.h"
#include "controls/tree_control.h"
#include "linuxcore/size_text.h"
#include "linuxcore/mask_criteria.h"

namespace ext2::core {

namespace {

constexpr std::size_t kMaxItem = 255;

using controls::DayNumber;

bool OnOrAfter(int day, int month, int year, int cutDay, int cutMonth, int cutYear) {
  return year == cutYear && (month > cutMonth || (month == cutMonth && day >= cutDay));
}

}  // namespace

SystemTime TodayUtc() {
  SystemTime today;
  InodeTimeToSystemTime(today, static_cast<std::int64_t>(std::time(nullptr)));
  return today;
}

std::vector<std::string> SplitMaskText(const std::string& text) {
  const std::string t = text.substr(0, kMaxItem);
  std::vector<std::string> items;
  if (t.size() <= 1) return items;
  std::size_t start = 0;
  while (start < t.size()) {
    const std::size_t semicolon = t.find(';', start);
    const std::size_t end = semicolon == std::string::npos ? t.size() : semicolon;
    items.push_back(t.substr(start, end - start));
    if (semicolon == std::string::npos) break;
    start = semicolon + 1;
  }
  return items;
}

bool MatchMaskExtension(const std::string& name, const std::vector<std::string>& items, bool matchCase) {
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos) return false;
  const std::string pattern = "*." + name.substr(dot + 1);
  for (const std::string& item : items) {
    if (matchCase ? item == pattern : controls::CompareTreeText(item, pattern) == 0) return true;
  }
  return false;
}

bool WithinLastDays(int n, int day, int month, int year, const SystemTime& today) {
  const long long back = DayNumber(today.year, today.month, today.day) - DayNumber(year, month, day);
  return back >= 0 && back <= n;
}

bool WithinLastMonths(int n, int day, int month, int year, const SystemTime& today) {
  const int back = n % 12;
  int cutYear = today.year - n / 12, cutMonth = 0;
  if (today.month > back) {
    cutMonth = today.month - back;
  } else if (today.month == back) {
    // As the program always did: a period that ends exactly at the year's start begins in January.
    cutMonth = 1;
  } else {
    cutMonth = today.month - back + 12;
    --cutYear;
  }
  return OnOrAfter(day, month, year, today.day, cutMonth, cutYear) || (year > cutYear && year <= today.year);
}

bool WithinDates(int day, int month, int year, const FileMaskCriteria& c) {
  auto key = [](long long y, long long m, long long d) { return (y * 100 + m) * 100 + d; };
  long long low = key(c.fromYear, c.fromMonth, c.fromDay);
  long long high = key(c.toYear, c.toMonth, c.toDay);
  if (low > high) std::swap(low, high);
  const long long date = key(year, month, day);
  return date >= low && date <= high;
}

bool ParseWholeMegabytes(const std::string& text, int& megabytes) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::size_t last = text.find_last_not_of(' ');
  long long value = 0;
  for (std::size_t i = first; i <= last; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return false;
  }
  megabytes = static_cast<int>(value);
  return true;
}

bool PassesFileMask(const EntryNode& entry, const std::string& name, const FileMaskCriteria& c,
                    const SystemTime& today) {
  if (c.byExtension != 0) {
    bool any = false;
    for (const std::string& item : c.extensions) any |= item == "*.*";
    if (!any && !MatchMaskExtension(name, c.extensions, c.matchCase != 0)) return false;
  }
  if (c.deletedFiles != 0 && c.existingFiles == 0 && entry.deleted != 1) return false;
  if (c.existingFiles != 0 && c.deletedFiles == 0 && entry.deleted == 1) return false;

  // The bounds are megabytes, as the dialog and the status bar show them.
  const auto megabytes = [](int value) { return static_cast<long long>(value) * static_cast<long long>(kMegabyte); };
  const auto size = static_cast<long long>(entry.size);
  if (c.bySizeFrom != 0 && size < megabytes(c.sizeFrom)) return false;
  if (c.bySizeUpto != 0 && size > megabytes(c.sizeUpto)) return false;

  const std::int64_t time = c.created != 0    ? entry.changeTime
                             : c.accessed != 0 ? entry.accessTime
                                               : entry.modificationTime;
  SystemTime date;
  InodeTimeToSystemTime(date, time);
  if (c.byLastDays != 0 && c.lastDays != 0 && !WithinLastDays(c.lastDays, date.day, date.month, date.year, today)) {
    return false;
  }
  if (c.byLastMonths != 0 && c.lastMonths > 0 &&
      !WithinLastMonths(c.lastMonths, date.day, date.month, date.year, today)) {
    return false;
  }
  if (c.betweenDates != 0 && !WithinDates(date.day, date.month, date.year, c)) return false;
  return true;
}

}  // namespace ext2::core
