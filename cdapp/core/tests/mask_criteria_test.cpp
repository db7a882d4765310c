// The File Mask's criteria of one file, on a fixed "today".
#include "cdcore/mask_criteria.h"

#include <gtest/gtest.h>

using namespace cd;
using namespace cd::core;

namespace {

TreeItemNode File(const std::string& name, std::uint32_t size = 0, CdDate date = {2024, 5, 15},
                  std::uint8_t existence = 2) {
  TreeItemNode n;
  n.type = 1;
  n.name = name;
  n.size = size;
  n.date[0] = static_cast<std::uint8_t>(date.year - 1900);
  n.date[1] = static_cast<std::uint8_t>(date.month);
  n.date[2] = static_cast<std::uint8_t>(date.day);
  n.existence = existence;
  return n;
}

// The settings as the File Mask dialog leaves them before the user changes anything.
CdFileMaskSettings DialogDefaults() {
  CdFileMaskSettings s;
  s.deletedEntries = 1;
  s.existingEntries = 1;
  s.monthsActive = s.daysActive = 1;
  return s;
}

TEST(MaskCriteria, Extensions) {
  struct Case {
    const char* name;
    std::vector<std::string> patterns;
    bool matchCase;
    bool passes;
  };
  const Case cases[] = {
      {"notes.txt", {"*.txt"}, false, true},
      {"NOTES.TXT", {"*.txt"}, false, true},
      {"NOTES.TXT", {"*.txt"}, true, false},
      {"notes.txt", {"*.doc", "*.txt"}, true, true},
      {"a.tar.gz", {"*.tar.gz"}, false, true},  // everything after the first dot
      {"a.tar.gz", {"*.gz"}, false, false},
      {"README", {"*.txt"}, false, false},
      {"README", {"*."}, false, true},  // no dot: an empty extension
      {"README", {"*.*"}, true, true},  // "*.*" lets every name through
      {"x.bin", {"*.*"}, false, true},
      {"x.bin", {"*. bin"}, false, false},  // blanks stay in a pattern
      {"x.bin", {}, false, false},          // a mask text without patterns lets nothing through
  };
  for (const auto& c : cases) {
    CdFileMaskSettings s = DialogDefaults();
    s.maskPresent = 1;
    s.matchCase = c.matchCase;
    EXPECT_EQ(PassesFileMask(File(c.name), s, c.patterns, {2024, 5, 15}), c.passes) << c.name << " " << c.matchCase;
  }
  // With no mask text the extension is not tested.
  EXPECT_TRUE(PassesFileMask(File("x.bin"), DialogDefaults(), {"*.txt"}, {2024, 5, 15}));
}

TEST(MaskCriteria, DeletedAndExisting) {
  struct Case {
    int deleted, existing;
    bool deletedPasses, existingPasses;
  };
  for (const Case& c : {Case{1, 1, true, true}, Case{1, 0, true, false}, Case{0, 1, false, true},
                        Case{0, 0, true, true}}) {
    CdFileMaskSettings s = DialogDefaults();
    s.deletedEntries = c.deleted;
    s.existingEntries = c.existing;
    EXPECT_EQ(PassesFileMask(File("d", 0, {2024, 5, 15}, 1), s, {}, {2024, 5, 15}), c.deletedPasses) << c.deleted << c.existing;
    EXPECT_EQ(PassesFileMask(File("e", 0, {2024, 5, 15}, 2), s, {}, {2024, 5, 15}), c.existingPasses) << c.deleted << c.existing;
  }
}

// Sizes in the megabytes the status bar shows: a whole count of 1,000,000 bytes.
TEST(MaskCriteria, SizesInMegabytesAsShown) {
  struct Case {
    int fromActive, from, uptoActive, upto;
    std::uint64_t size;
    bool passes;
  };
  const Case cases[] = {
      {1, 1, 0, 2, 1999999, true},  // shown as 1 MB
      {1, 1, 0, 2, 999999, false},  // shown as 0 MB
      {1, 1, 0, 2, 5000, false},    // 5 KB is not 1 MB
      {1, 5, 0, 2, 5000000, true},  {1, 5, 0, 2, 4999999, false},
      {0, 5, 1, 3, 3999999, true},  {0, 5, 1, 3, 4000000, false},
      {0, 0, 1, 2, 2999999, true},  {0, 0, 1, 2, 3000000, false},  // "upto" 2 applies when in force
      {0, 0, 1, 1, 2000000, false},
      {1, 2, 1, 4, 4999999, true},  {1, 2, 1, 4, 1000000, false},
      {0, 0, 0, 2, 6000000000u, true},  // no bound in force
  };
  for (const auto& c : cases) {
    CdFileMaskSettings s = DialogDefaults();
    s.sizeFromActive = c.fromActive;
    s.sizeFromMb = c.from;
    s.sizeUptoActive = c.uptoActive;
    s.sizeUptoMb = c.upto;
    EXPECT_EQ(PassesFileMask(File("f", c.size), s, {}, {2024, 5, 15}), c.passes) << c.size << " from " << c.from
                                                                                   << " upto " << c.upto;
  }
}

TEST(MaskCriteria, LastDaysAcrossMonthAndYear) {
  struct Case {
    int n;
    CdDate today, date;
    bool passes;
  };
  const Case cases[] = {
      // On the 10th, last 5 days are the 6th to the 10th.
      {5, {2024, 5, 10}, {2024, 5, 6}, true},
      {5, {2024, 5, 10}, {2024, 5, 5}, false},
      {5, {2024, 5, 10}, {2024, 5, 10}, true},
      {5, {2024, 5, 10}, {2024, 5, 11}, false},
      {5, {2024, 5, 10}, {2023, 5, 8}, false},
      // On the 3rd: days 1 to 3 and the last two days of the month before.
      {5, {2024, 5, 3}, {2024, 5, 1}, true},
      {5, {2024, 5, 3}, {2024, 4, 29}, true},
      {5, {2024, 5, 3}, {2024, 3, 31}, false},
      {5, {2024, 5, 3}, {2024, 4, 28}, false},
      // The month before counts as long as it is.
      {5, {2025, 3, 3}, {2025, 2, 28}, true},
      {5, {2025, 3, 3}, {2025, 2, 27}, true},
      {5, {2025, 3, 3}, {2025, 2, 26}, false},
      {5, {2024, 3, 3}, {2024, 2, 28}, true},
      {5, {2024, 3, 3}, {2024, 2, 27}, false},
      {5, {2024, 8, 3}, {2024, 7, 31}, true},
      {5, {2024, 8, 3}, {2024, 7, 30}, true},
      {5, {2024, 8, 3}, {2024, 7, 29}, false},
      {5, {2024, 5, 3}, {2024, 5, 4}, false},
      // Across the new year the month before is December of the year before.
      {5, {2024, 1, 3}, {2023, 12, 30}, true},
      {5, {2024, 1, 3}, {2023, 12, 28}, false},
      {5, {2024, 1, 3}, {2024, 12, 30}, false},
      {5, {2024, 1, 3}, {2024, 1, 2}, true},
      {30, {2024, 3, 1}, {2024, 2, 1}, true},
      {30, {2024, 3, 1}, {2024, 1, 31}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithinLastDays(c.n, c.date, c.today), c.passes)
        << c.n << " days on " << c.today.year << "-" << c.today.month << "-" << c.today.day << ": " << c.date.year
        << "-" << c.date.month << "-" << c.date.day;
    CdFileMaskSettings s = DialogDefaults();
    s.days = c.n;
    EXPECT_EQ(PassesFileMask(File("f", 0, c.date), s, {}, c.today), c.passes);
  }
}

TEST(MaskCriteria, LastMonthsAcrossYear) {
  struct Case {
    int m;
    CdDate today, date;
    bool passes;
  };
  const Case cases[] = {
      // In May, last 2 months keep March to May (and later months) of this year.
      {2, {2024, 5, 15}, {2024, 3, 1}, true},
      {2, {2024, 5, 15}, {2024, 5, 31}, true},
      {2, {2024, 5, 15}, {2024, 2, 29}, false},
      {2, {2024, 5, 15}, {2023, 4, 1}, false},
      // In January, last 2 months keep January of this year and December of the last.
      {2, {2024, 1, 15}, {2024, 1, 1}, true},
      {2, {2024, 1, 15}, {2023, 12, 31}, true},
      {2, {2024, 1, 15}, {2023, 11, 30}, false},
      {2, {2024, 1, 15}, {2024, 2, 1}, false},
      {11, {2024, 3, 15}, {2023, 5, 1}, true},
      {11, {2024, 3, 15}, {2023, 4, 1}, false},
      {11, {2024, 3, 15}, {2022, 12, 1}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithinLastMonths(c.m, c.date, c.today), c.passes)
        << c.m << " months on " << c.today.year << "-" << c.today.month << ": " << c.date.year << "-" << c.date.month;
    CdFileMaskSettings s = DialogDefaults();
    s.months = c.m;
    EXPECT_EQ(PassesFileMask(File("f", 0, c.date), s, {}, c.today), c.passes);
  }
  // A value of 0 is no limit.
  EXPECT_TRUE(PassesFileMask(File("f", 0, {1990, 1, 1}), DialogDefaults(), {}, {2024, 5, 15}));
}

TEST(MaskCriteria, BetweenTwoPickedDatesBothIncluded) {
  struct Case {
    CdDate andPicker, betweenPicker, date;
    bool passes;
  };
  const CdDate today{2024, 5, 15};
  const Case cases[] = {
      {{2024, 3, 10}, {2024, 1, 20}, {2024, 1, 20}, true},  // the dates may come in either order
      {{2024, 3, 10}, {2024, 1, 20}, {2024, 3, 10}, true},
      {{2024, 3, 10}, {2024, 1, 20}, {2024, 2, 5}, true},   // a day outside the days' range, inside the dates
      {{2024, 3, 10}, {2024, 1, 20}, {2024, 1, 19}, false},
      {{2024, 3, 10}, {2024, 1, 20}, {2024, 3, 11}, false},
      {{2024, 3, 10}, {2023, 11, 20}, {2023, 12, 31}, true},  // across the new year
      {{2024, 3, 10}, {2023, 11, 20}, {2022, 12, 31}, false},
      // An unchanged picker stands for what it showed: today, and a month before today.
      {{0, 0, 0}, {2024, 5, 1}, {2024, 5, 15}, true},
      {{0, 0, 0}, {2024, 5, 1}, {2024, 5, 16}, false},
      {{2024, 5, 1}, {0, 0, 0}, {2024, 4, 15}, true},
      {{2024, 5, 1}, {0, 0, 0}, {2024, 4, 14}, false},
  };
  for (const auto& c : cases) {
    CdFileMaskSettings s = DialogDefaults();
    s.dateRangeActive = 1;
    s.fromYear = c.andPicker.year, s.fromMonth = c.andPicker.month, s.fromDay = c.andPicker.day;
    s.toYear = c.betweenPicker.year, s.toMonth = c.betweenPicker.month, s.toDay = c.betweenPicker.day;
    EXPECT_EQ(PassesFileMask(File("f", 0, c.date), s, {}, today), c.passes)
        << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }
}

TEST(MaskCriteria, OneMonthBeforeIsAValidDate) {
  EXPECT_EQ(OneMonthBefore({2024, 5, 15}), (CdDate{2024, 4, 15}));
  EXPECT_EQ(OneMonthBefore({2024, 1, 31}), (CdDate{2023, 12, 31}));
  EXPECT_EQ(OneMonthBefore({2024, 3, 31}), (CdDate{2024, 2, 29}));
  EXPECT_EQ(OneMonthBefore({2023, 3, 30}), (CdDate{2023, 2, 28}));
  EXPECT_EQ(OneMonthBefore({2024, 7, 31}), (CdDate{2024, 6, 30}));
}

}  // namespace
