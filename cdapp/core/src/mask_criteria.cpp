// The File Mask's tests of one file.
#include "cdcore/mask_criteria.h"

#include <chrono>

#include "controls/calendar_days.h"
#include "controls/tree_control.h"

namespace cd::core {

namespace {
constexpr std::uint64_t kBytesPerShownMb = 1000000;  // the status bar's "MB"
}

CdDate TodayUtc() {
  const auto days = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const std::chrono::year_month_day ymd{days};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

CdDate OneMonthBefore(CdDate date) {
  CdDate before = date.month > 1 ? CdDate{date.year, date.month - 1, date.day} : CdDate{date.year - 1, 12, date.day};
  const int last = DaysInMonth(before.year, before.month);
  if (before.day > last) before.day = last;
  return before;
}

CdDate NodeDate(const TreeItemNode& node) { return {node.date[0] + 1900, node.date[1], node.date[2]}; }

bool MatchMaskExtension(const std::string& name, const std::vector<std::string>& patterns, bool matchCase) {
  const std::size_t dot = name.find('.');
  const std::string wanted = "*." + (dot == std::string::npos ? std::string() : name.substr(dot + 1));
  for (const auto& p : patterns) {
    if (matchCase ? p == wanted : controls::CompareTreeText(p, wanted) == 0) return true;
  }
  return false;
}

bool WithinLastDays(int n, CdDate date, CdDate today) {
  // Today and the N - 1 calendar days before it, however long the months between.
  const long long back = controls::DayNumber(today.year, today.month, today.day) -
                         controls::DayNumber(date.year, date.month, date.day);
  return back >= 0 && back < n;
}

bool WithinLastMonths(int m, CdDate date, CdDate today) {
  const int c = today.month;
  if (c >= m) return date.year == today.year && date.month >= c - m;
  return (date.year == today.year && date.month >= 1 && date.month <= c) ||
         (date.year == today.year - 1 && date.month > c - m + 12);
}

bool WithinDates(CdDate date, CdDate a, CdDate b) {
  if (b < a) std::swap(a, b);
  return a <= date && date <= b;
}

// The settings keep the "and" picker's date in from* and the "between" picker's in to*.
CdDate AndPickerDate(const CdFileMaskSettings& s, CdDate today) {
  return s.fromYear == 0 ? today : CdDate{s.fromYear, s.fromMonth, s.fromDay};
}

CdDate BetweenPickerDate(const CdFileMaskSettings& s, CdDate today) {
  return s.toYear == 0 ? OneMonthBefore(today) : CdDate{s.toYear, s.toMonth, s.toDay};
}

bool PassesFileMask(const TreeItemNode& node, const CdFileMaskSettings& s, const std::vector<std::string>& patterns,
                    CdDate today) {
  if (s.maskPresent) {
    bool any = false;
    for (const auto& p : patterns) any = any || p == "*.*";
    if (!any && !MatchMaskExtension(node.name, patterns, s.matchCase != 0)) return false;
  }
  if (s.deletedEntries && node.existence != 1 && !s.existingEntries) return false;
  if (s.existingEntries && node.existence != 2 && !s.deletedEntries) return false;
  // Sizes count in the megabytes the status bar shows (whole millions of bytes).
  const auto mb = static_cast<long long>(node.size / kBytesPerShownMb);
  if (s.sizeFromActive && mb < s.sizeFromMb) return false;
  if (s.sizeUptoActive && mb > s.sizeUptoMb) return false;
  const CdDate date = NodeDate(node);
  if (s.daysActive && s.days > 0 && !WithinLastDays(s.days, date, today)) return false;
  if (s.monthsActive && s.months > 0 && !WithinLastMonths(s.months, date, today)) return false;
  if (s.dateRangeActive && !WithinDates(date, AndPickerDate(s, today), BetweenPickerDate(s, today))) return false;
  return true;
}

}  // namespace cd::core
