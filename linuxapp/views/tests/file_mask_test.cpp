// The File Mask on the in-memory tree: each criterion, the masked tree's folders, a second mask,
// UnMask; and the period tests across month and year ends.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "ext2engine/linux_drive.h"
#include "linuxcore/mask_criteria.h"
#include "view_fixture.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::testing;

namespace {

using controls::kNoItem;
using controls::TreeItem;

SystemTime Day(int year, int month, int day) {
  SystemTime t;
  t.year = static_cast<std::uint16_t>(year);
  t.month = static_cast<std::uint16_t>(month);
  t.day = static_cast<std::uint16_t>(day);
  return t;
}

// Seconds since 1970 at noon UTC of that day (days_from_civil).
std::uint64_t Stamp(int y, int m, int d) {
  y -= m <= 2;
  const int era = y / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::uint64_t>(era * 146097 + doe - 719468) * 86400 + 12 * 3600;
}

// The calendar date of STAMP shifted by DAYS whole days, by the list's own time conversion.
SystemTime Shifted(std::uint64_t stamp, long days) {
  SystemTime t;
  InodeTimeToSystemTime(t, static_cast<std::uint64_t>(static_cast<std::int64_t>(stamp) + days * 86400));
  return t;
}

TEST(MaskPeriods, LastDaysCountsCalendarDaysBackAcrossMonthYearAndLeapDays) {
  // Todays at month ends, year ends and leap days; every N from 1 to 1000: the day N days before
  // today passes and the day before it does not, today passes and tomorrow does not.
  const std::uint64_t todays[] = {Stamp(2024, 3, 10), Stamp(2024, 2, 29), Stamp(2024, 3, 1), Stamp(2025, 1, 1),
                                  Stamp(2024, 12, 31), Stamp(2023, 3, 31), Stamp(2000, 2, 29), Stamp(2026, 12, 10)};
  for (const std::uint64_t stamp : todays) {
    const SystemTime today = Shifted(stamp, 0);
    auto within = [&](int n, long shift) {
      const SystemTime d = Shifted(stamp, shift);
      return WithinLastDays(n, d.day, d.month, d.year, today);
    };
    for (int n = 1; n <= 1000; ++n) {
      SCOPED_TRACE(::testing::Message() << n << " days before " << today.year << "-" << today.month << "-" << today.day);
      ASSERT_TRUE(within(n, -n));
      ASSERT_FALSE(within(n, -n - 1));
      ASSERT_TRUE(within(n, 0));
      ASSERT_FALSE(within(n, 1));
      ASSERT_TRUE(within(n, -n / 2));
    }
  }
  // In words: over a leap day, and a whole year between the cutoff and today.
  EXPECT_TRUE(WithinLastDays(10, 29, 2, 2024, Day(2024, 3, 10)));
  EXPECT_FALSE(WithinLastDays(10, 28, 2, 2024, Day(2024, 3, 10)));
  EXPECT_TRUE(WithinLastDays(450, 1, 6, 2025, Day(2026, 2, 1)));
  EXPECT_TRUE(WithinLastDays(800, 15, 7, 2025, Day(2026, 12, 10)));
  EXPECT_FALSE(WithinLastDays(10, 1, 1, 2025, Day(2024, 1, 5)));  // a later date
}

TEST(MaskPeriods, LastMonthsCountsBackAcrossYearEnds) {
  struct Case {
    int n;
    SystemTime today;
    int y, m, d;
    bool passes;
  } cases[] = {
      {3, Day(2024, 3, 10), 2024, 1, 10, true},  // in March, from January with today's day
      {3, Day(2024, 3, 10), 2024, 1, 9, false},
      {3, Day(2024, 5, 10), 2024, 2, 10, true},
      {3, Day(2024, 5, 10), 2024, 2, 9, false},
      {3, Day(2024, 2, 10), 2023, 11, 10, true},
      {3, Day(2024, 2, 10), 2023, 11, 9, false},
      {12, Day(2024, 2, 10), 2023, 2, 10, true},
      {12, Day(2024, 2, 10), 2023, 2, 9, false},
      {14, Day(2024, 5, 10), 2023, 3, 10, true},
      {14, Day(2024, 5, 10), 2023, 3, 9, false},
      {14, Day(2024, 1, 10), 2022, 11, 10, true},
      {14, Day(2024, 1, 10), 2022, 11, 9, false},
      {24, Day(2024, 7, 1), 2022, 7, 1, true},
      {24, Day(2024, 7, 1), 2022, 6, 30, false},
      {3, Day(2024, 3, 10), 2024, 12, 31, true},  // later in today's year
      {3, Day(2024, 3, 10), 2025, 1, 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithinLastMonths(c.n, c.d, c.m, c.y, c.today), c.passes)
        << c.n << " months before " << c.today.year << "-" << c.today.month << "-" << c.today.day << ": " << c.y
        << "-" << c.m << "-" << c.d;
  }
}

TEST(MaskText, SplitsAtSemicolons) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitMaskText("*.txt;*.doc"), (V{"*.txt", "*.doc"}));
  EXPECT_EQ(SplitMaskText("*.txt;"), (V{"*.txt"}));
  EXPECT_EQ(SplitMaskText(";*.txt"), (V{"", "*.txt"}));
  EXPECT_EQ(SplitMaskText("*.a;;*.b"), (V{"*.a", "", "*.b"}));
  EXPECT_EQ(SplitMaskText("*"), V{});
  EXPECT_EQ(SplitMaskText(""), V{});
  EXPECT_EQ(SplitMaskText(std::string(300, 'x')), V{std::string(255, 'x')});
}

TEST(MaskText, SizeBoxesTakeExactlyTheWholeMegabytesTheyShow) {
  const struct {
    const char* text;
    bool taken;
    int megabytes;
  } cases[] = {
      {"2", true, 2},          {" 15 ", true, 15},       {"0", true, 0},          {"2147483647", true, 2147483647},
      {"", false, 0},          {"   ", false, 0},        {"1.5", false, 0},       {"1,5", false, 0},
      {"-3", false, 0},        {"+3", false, 0},         {"3 MB", false, 0},      {"2147483648", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    int megabytes = -7;
    EXPECT_EQ(ParseWholeMegabytes(c.text, megabytes), c.taken) << '"' << c.text << '"';
    EXPECT_EQ(megabytes, c.taken ? c.megabytes : -7) << '"' << c.text << '"';
  }
}

const SystemTime kToday = Day(2024, 3, 10);

// Root: docs/ (notes.txt, README, a.tar.gz deleted, b.gz), pics/deep/photo.JPG, empty/, gone/
// (a deleted folder) with old.txt (deleted), and top.txt directly in Root.
struct MaskTree : ViewsFixture {
  CLinuxDrive drive;

  MaskTree() {
    Add(Folder(10, 2), "docs");
    Add(Folder(20, 2), "pics");
    Add(Folder(30, 2), "empty");
    Add(Folder(40, 2, 1), "gone");
    Add(Folder(21, 20), "deep");
    AddFile(11, 10, "notes.txt", 5000, 0, Stamp(2024, 3, 5));
    AddFile(12, 10, "README", 4999, 0, Stamp(2024, 2, 20));
    AddFile(13, 10, "a.tar.gz", 3999, 1, Stamp(2023, 12, 31));
    AddFile(14, 10, "b.gz", 4000, 0, Stamp(2024, 3, 1));
    AddFile(22, 21, "photo.JPG", 100, 0, Stamp(2022, 6, 1), Stamp(2024, 3, 9));
    AddFile(41, 40, "old.txt", 0, 1, Stamp(2024, 2, 29));
    AddFile(5, 2, "top.txt", 2500, 0, Stamp(2021, 1, 1), Stamp(2021, 1, 1), Stamp(2024, 3, 8));
    drive.entries = static_cast<std::uint32_t>(view.Entries().size()) - 1;
    drive.folders = 6;
    drive.files = 7;
    drive.totalBytes = 5000 + 4999 + 3999 + 4000 + 100 + 0 + 2500;
    app.scanned = 1;
  }
  // Access and change times default to long ago.
  void AddFile(std::uint32_t inode, std::uint32_t parent, const std::string& name, std::uint64_t size,
               std::uint32_t deleted, std::int64_t modified, std::int64_t accessed = Stamp(2020, 1, 1),
               std::int64_t changed = Stamp(2020, 1, 1)) {
    EntryNode e = File(inode, parent, size, deleted);
    e.modificationTime = modified;
    e.accessTime = accessed;
    e.changeTime = changed;
    Add(e, name);
  }

  void Mask(const std::string& text, const std::function<void(FileMaskCriteria&)>& set = {}) {
    FileMaskCriteria& c = app.mask;
    c.ResetKeepingTimeChoice();
    c.deletedFiles = c.existingFiles = 1;
    c.byExtension = text.empty() ? 0 : 1;
    c.extensions = SplitMaskText(text);
    if (set) set(c);
    view.RestoreUnmaskedList();
    view.ApplyFileMask(kToday);
  }
  std::set<std::string> Files() {
    std::set<std::string> names;
    for (const ListedEntry& e : view.Entries()) {
      if (!e.IsFolder()) names.insert(e.name);
    }
    return names;
  }
  // The tree's items as "parent/child" paths, depth first.
  std::vector<std::string> Items() {
    std::vector<std::string> out;
    std::function<void(TreeItem, const std::string&)> walk = [&](TreeItem item, const std::string& path) {
      for (; item != kNoItem; item = tree.GetNext(item)) {
        const std::string here = path + "/" + tree.GetItemText(item);
        out.push_back(here + " #" + std::to_string(tree.GetItemData(item)));
        walk(tree.GetChild(item), here);
      }
    };
    walk(tree.GetRoot(), "");
    return out;
  }
};

TEST(FileMask, EachCriterionKeepsExactlyItsFiles) {
  using S = std::set<std::string>;
  const S all{"notes.txt", "README", "a.tar.gz", "b.gz", "photo.JPG", "old.txt", "top.txt"};
  struct Case {
    const char* what;
    std::string text;
    std::function<void(FileMaskCriteria&)> set;
    S files;
  } cases[] = {
      {"no criterion", "", {}, all},
      {"*.txt", "*.txt", {}, {"notes.txt", "old.txt", "top.txt"}},
      {"*.TXT without match case", "*.TXT", {}, {"notes.txt", "old.txt", "top.txt"}},
      {"*.TXT with match case", "*.TXT", [](FileMaskCriteria& c) { c.matchCase = 1; }, {}},
      {"*.JPG with match case", "*.JPG", [](FileMaskCriteria& c) { c.matchCase = 1; }, {"photo.JPG"}},
      {"two items", "*.jpg;*.gz", {}, {"photo.JPG", "b.gz"}},
      {"two dots: *.gz", "*.gz", {}, {"b.gz"}},
      {"two dots: *.tar.gz", "*.tar.gz", {}, {"a.tar.gz"}},
      {"*.* keeps names without a dot", "*.*", {}, all},
      {"*.* among others", "*.doc;*.*", {}, all},
      {"one character gives no item", "*", {}, {}},
      {"deleted only", "", [](FileMaskCriteria& c) { c.existingFiles = 0; }, {"a.tar.gz", "old.txt"}},
      {"existing only", "", [](FileMaskCriteria& c) { c.deletedFiles = 0; },
       {"notes.txt", "README", "b.gz", "photo.JPG", "top.txt"}},
      {"last 10 days, modified: from February 29th", "", [](FileMaskCriteria& c) { c.lastDays = 10, c.byLastDays = 1; },
       {"notes.txt", "b.gz", "old.txt"}},
      {"last 10 days, accessed", "", [](FileMaskCriteria& c) { c.lastDays = 10, c.byLastDays = 1, c.accessed = 1; },
       {"photo.JPG"}},
      {"last 10 days, created", "", [](FileMaskCriteria& c) { c.lastDays = 10, c.byLastDays = 1, c.created = 1; },
       {"top.txt"}},
      {"last 0 days is not in force", "", [](FileMaskCriteria& c) { c.lastDays = 0, c.byLastDays = 1; }, all},
      {"last 2 months", "", [](FileMaskCriteria& c) { c.lastMonths = 2, c.byLastMonths = 1; },
       {"notes.txt", "README", "b.gz", "old.txt"}},
      {"last 3 months: from January 10th", "", [](FileMaskCriteria& c) { c.lastMonths = 3, c.byLastMonths = 1; },
       {"notes.txt", "README", "b.gz", "old.txt"}},
      {"last 3 months and *.gz", "*.gz", [](FileMaskCriteria& c) { c.lastMonths = 3, c.byLastMonths = 1; }, {"b.gz"}},
      {"between, both ends included", "",
       [](FileMaskCriteria& c) {
         c.betweenDates = 1;
         c.fromYear = 2024, c.fromMonth = 2, c.fromDay = 20;
         c.toYear = 2024, c.toMonth = 3, c.toDay = 1;
       },
       {"README", "old.txt", "b.gz"}},
      {"between, dates given the other way round", "",
       [](FileMaskCriteria& c) {
         c.betweenDates = 1;
         c.fromYear = 2024, c.fromMonth = 3, c.fromDay = 1;
         c.toYear = 2023, c.toMonth = 12, c.toDay = 31;
       },
       {"README", "old.txt", "b.gz", "a.tar.gz"}},
      {"between needs its flag", "",
       [](FileMaskCriteria& c) {
         c.fromYear = 2024, c.fromMonth = 3, c.fromDay = 1;
         c.toYear = 2024, c.toMonth = 3, c.toDay = 1;
       },
       all},
  };
  for (const Case& c : cases) {
    MaskTree t;
    t.Mask(c.text, c.set);
    EXPECT_EQ(t.Files(), c.files) << c.what;
    EXPECT_EQ(t.view.Entries()[0].name, "Root") << c.what;
    EXPECT_TRUE(t.view.HasUnmaskedList()) << c.what;
    EXPECT_EQ(t.app.scanned, 1) << c.what;
  }
}

TEST(FileMask, SizeBoundsAreMegabytesAndApplyWhileTheirBoxesAreChecked) {
  constexpr std::uint32_t kMB = 1u << 20;
  using S = std::set<std::string>;
  MaskTree t;
  const std::pair<const char*, std::uint32_t> sized[] = {
      {"mb-1", kMB - 1}, {"mb", kMB}, {"mb+1", kMB + 1}, {"2mb", 2 * kMB}, {"3mb", 3 * kMB}, {"3mb+1", 3 * kMB + 1}};
  for (std::uint32_t i = 0; i < 6; ++i) t.AddFile(60 + i, 30, sized[i].first, sized[i].second, 0, Stamp(2024, 1, 1));
  const S small{"notes.txt", "README", "a.tar.gz", "b.gz", "photo.JPG", "old.txt", "top.txt", "mb-1"};
  const S all = [&] {
    S a = small;
    for (const auto& f : sized) a.insert(f.first);
    return a;
  }();
  struct Case {
    const char* what;
    int from, byFrom, upto, byUpto;
    S files;
  } cases[] = {
      {"no box checked", 5, 0, 1, 0, all},
      {"from 1", 1, 1, 2, 0, {"mb", "mb+1", "2mb", "3mb", "3mb+1"}},
      {"from 3", 3, 1, 2, 0, {"3mb", "3mb+1"}},
      {"from 0, checked", 0, 1, 2, 0, all},
      {"up to 1", 0, 0, 1, 1, [&] { S s = small; s.insert("mb"); return s; }()},
      {"up to 2", 0, 0, 2, 1, [&] { S s = small; s.insert({"mb", "mb+1", "2mb"}); return s; }()},
      {"up to 3", 0, 0, 3, 1, [&] { S s = small; s.insert({"mb", "mb+1", "2mb", "3mb"}); return s; }()},
      {"up to 0 keeps empty files", 0, 0, 0, 1, {"old.txt"}},
      {"from 1 up to 2", 1, 1, 2, 1, {"mb", "mb+1", "2mb"}},
  };
  for (const Case& c : cases) {
    t.Mask("", [&](FileMaskCriteria& m) {
      m.sizeFrom = c.from, m.bySizeFrom = c.byFrom;
      m.sizeUpto = c.upto, m.bySizeUpto = c.byUpto;
    });
    EXPECT_EQ(t.Files(), c.files) << c.what;
  }
}

TEST(FileMask, FilesOf4GiBAndMoreAreMaskedAndCountedByTheirWholeSize) {
  constexpr std::uint64_t k4GiB = std::uint64_t{4} << 30;
  constexpr std::uint64_t k5GiBAnd = (std::uint64_t{5} << 30) + 12345;
  using S = std::set<std::string>;
  MaskTree t;
  t.AddFile(70, 30, "4g.bin", k4GiB, 0, Stamp(2024, 1, 1));
  t.AddFile(71, 30, "5g.bin", k5GiBAnd, 0, Stamp(2024, 1, 1));
  t.AddFile(72, 30, "1969.bin", 10, 0, -15500000);
  t.Mask("*.bin", [](FileMaskCriteria& m) { m.sizeFrom = 4097, m.bySizeFrom = 1; });
  EXPECT_EQ(t.Files(), (S{"5g.bin"}));
  t.Mask("*.bin", [](FileMaskCriteria& m) { m.sizeFrom = 4096, m.bySizeFrom = 1, m.sizeUpto = 4096, m.bySizeUpto = 1; });
  EXPECT_EQ(t.Files(), (S{"4g.bin"}));
  const std::uint64_t smallFiles = t.drive.totalBytes;
  t.view.UnMask(&t.drive);
  EXPECT_EQ(t.drive.totalBytes, smallFiles + k4GiB + k5GiBAnd + 10);
  // A time before 1970 is a date of 1969, inside a period that holds it.
  t.Mask("*.bin", [](FileMaskCriteria& m) {
    m.betweenDates = 1;
    m.fromDay = 1, m.fromMonth = 7, m.fromYear = 1969;
    m.toDay = 31, m.toMonth = 7, m.toYear = 1969;
  });
  EXPECT_EQ(t.Files(), (S{"1969.bin"}));
}

TEST(FileMask, MaskedTreeKeepsExactlyTheFoldersLeadingToPassingFiles) {
  MaskTree t;
  t.Mask("*.jpg");
  EXPECT_EQ(t.Items(), (std::vector<std::string>{"/Root #2", "/Root/pics #20", "/Root/pics/deep #21"}));
  // The list: Root, then breadth first, the records keeping their inodes, parents and times.
  std::vector<std::string> names;
  for (const ListedEntry& e : t.view.Entries()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Root", "pics", "deep", "photo.JPG"}));
  const ListedEntry& photo = t.view.Entries()[3];
  EXPECT_EQ(photo.inode, 22u);
  EXPECT_EQ(photo.parentInode, 21u);
  EXPECT_EQ(photo.size, 100u);
  EXPECT_EQ(photo.modificationTime, Stamp(2022, 6, 1));
  EXPECT_EQ(photo.treeItem, kNoItem);
  // Root is expanded and selected; the list shows its contents.
  EXPECT_EQ(t.tree.GetSelection(), t.view.RootItem());
  EXPECT_TRUE(t.tree.IsExpanded(t.view.RootItem()));
  EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"pics"}));

  // A deleted folder that leads to a passing file appears, with the normal folder images.
  t.Mask("*.txt");
  EXPECT_EQ(t.Items(), (std::vector<std::string>{"/Root #2", "/Root/docs #10", "/Root/gone #40"}));
  EXPECT_EQ(t.tree.GetImage(t.Item("gone")), kTreeImageFolder);
  // Files come first among Root's records: they joined the filtered list before the folders did.
  EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"top.txt", "docs", "gone"}));

  // Nothing passes: "Root" alone and an empty list.
  t.Mask("*.none");
  EXPECT_EQ(t.Items(), (std::vector<std::string>{"/Root #2"}));
  EXPECT_EQ(t.view.Entries().size(), 1u);
  EXPECT_EQ(t.list.GetItemCount(), 0);
}

TEST(FileMask, ASecondMaskStartsFromTheFullScan) {
  MaskTree t;
  t.Mask("*.jpg");
  ASSERT_EQ(t.Files(), (std::set<std::string>{"photo.JPG"}));
  t.Mask("*.gz");
  EXPECT_EQ(t.Files(), (std::set<std::string>{"b.gz"}));
  EXPECT_EQ(t.Items(), (std::vector<std::string>{"/Root #2", "/Root/docs #10"}));
}

TEST(FileMask, UnMaskRestoresTheFullTreeAndCounts) {
  MaskTree t;
  const std::vector<std::string> before = t.Items();
  const std::size_t records = t.view.Entries().size();
  const CLinuxDrive& d = t.drive;
  const std::uint32_t entries = d.entries, folders = d.folders, files = d.files;
  const std::uint64_t bytes = d.totalBytes;

  t.Mask("*.txt");
  // Marks made under the mask stay with the masked copies.
  t.view.ClickStateIcon(t.Item("docs"));
  t.view.UnMask(&t.drive);

  EXPECT_FALSE(t.view.HasUnmaskedList());
  EXPECT_EQ(t.Items(), before);
  EXPECT_EQ(t.view.Entries().size(), records);
  EXPECT_EQ(t.Check("docs"), 0);
  EXPECT_EQ(t.drive.entries, entries);
  EXPECT_EQ(t.drive.folders, folders);
  EXPECT_EQ(t.drive.files, files);
  EXPECT_EQ(t.drive.totalBytes, bytes);
  for (const ListedEntry& e : t.view.Entries()) {
    if (e.IsFolder()) {
      EXPECT_NE(e.treeItem, kNoItem) << e.name;
    }
  }
  // Deleted folders have their own images again.
  EXPECT_EQ(t.tree.GetImage(t.Item("gone")), kTreeImageDeletedFolder);
  EXPECT_EQ(t.tree.GetSelection(), t.view.RootItem());
  EXPECT_EQ(t.app.scanned, 1);
  EXPECT_EQ(t.app.logHasRows, 1);
  EXPECT_EQ(t.list.GetItemCount(), 5);  // docs, pics, empty, gone, top.txt
}

TEST(FileMask, ItemsShowTheirRecordsMarksUnderTheMaskAndAfterUnMask) {
  MaskTree t;
  auto expectItemsShowRecords = [&](const char* when) {
    for (const ListedEntry& e : t.view.Entries()) {
      if (e.treeItem != kNoItem) {
        EXPECT_EQ(t.tree.GetStateImage(e.treeItem), TreeStateOfCheck(e.check)) << when << ": " << e.name;
      }
    }
    int folders = 0, files = 0;
    const std::uint64_t bytes = t.view.CountMarked(&folders, &files);
    EXPECT_EQ(t.frame.markedBytes, bytes) << when;
    EXPECT_EQ(t.frame.markedFiles, files) << when;
    EXPECT_EQ(t.frame.markedFolders, folders) << when;
  };
  // Marked before the mask: docs and its four files; Root partly.
  t.view.ClickStateIcon(t.Item("docs"));
  ASSERT_EQ(t.frame.markedFiles, 4);

  t.Mask("*.txt");
  expectItemsShowRecords("under the mask");
  EXPECT_EQ(t.Image("docs"), controls::kStateChecked);
  EXPECT_EQ(t.frame.markedFiles, 1);  // notes.txt, the one marked file the masked list holds
  // A mark made under the mask stays with the masked copies.
  t.view.ClickStateIcon(t.Item("gone"));
  EXPECT_EQ(t.Check("gone"), 1);

  t.app.allMarked = 1;
  t.view.UnMask(&t.drive);
  expectItemsShowRecords("after UnMask");
  EXPECT_EQ(t.Image("docs"), controls::kStateChecked);
  EXPECT_EQ(t.Image("Root"), controls::kStatePartly);
  EXPECT_EQ(t.Image("gone"), controls::kStateUnchecked);
  EXPECT_EQ(t.frame.markedFiles, 4);
  EXPECT_EQ(t.frame.markedFolders, 2);  // docs, and Root partly
  EXPECT_EQ(t.app.allMarked, 0);
  EXPECT_EQ(t.app.recoverSelected, 1);
  // The rows of Root show the same.
  EXPECT_EQ(t.RowState("docs"), controls::kListStateChecked);
  EXPECT_EQ(t.RowState("gone"), controls::kListStateUnchecked);
}

TEST(FileMask, EveryFolderOfTheMaskedTreeShowsWhatItsCopiesHold) {
  // docs and its four files are marked before the mask; the masked Root shows what is under it.
  const struct {
    const char* mask;
    int root, docs;
  } cases[] = {
      {"*.gz", controls::kStateChecked, controls::kStateChecked},  // only b.gz of docs
      {"*.txt", controls::kStatePartly, controls::kStateChecked},  // docs/notes.txt, gone/old.txt, top.txt
      {"*.JPG", controls::kStateUnchecked, -1},                    // pics/deep/photo.JPG
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask);
    MaskTree t;
    t.view.ClickStateIcon(t.Item("docs"));
    t.Mask(c.mask);
    EXPECT_EQ(t.Image("Root"), c.root);
    EXPECT_EQ(t.Check("Root"), c.root == controls::kStateChecked ? 1 : c.root == controls::kStatePartly ? 2 : 0);
    if (c.docs >= 0) {
      EXPECT_EQ(t.Image("docs"), c.docs);
    }
    int folders = 0;
    t.view.CountMarked(&folders, nullptr);
    EXPECT_EQ(t.frame.markedFolders, folders);
  }
}

TEST(FileMask, UnMaskCountsDeletedInodesAsTheDeletedSearchDoes) {
  MaskTree t;
  t.Add(Folder(kDeletedFilesInode, 2, 1), "Deleted Files");
  t.AddFile(99, kDeletedFilesInode, "Inode #99", 7000, 1, Stamp(2024, 3, 9));
  ++t.drive.entries, ++t.drive.entries;
  ++t.drive.folders;
  ++t.drive.files;
  t.drive.totalBytes += 7000;  // the search counts the deleted inode's bytes as every file's
  const std::uint64_t bytes = t.drive.totalBytes;
  t.Mask("", [](FileMaskCriteria& c) { c.existingFiles = 0; });
  EXPECT_EQ(t.Files(), (std::set<std::string>{"a.tar.gz", "old.txt", "Inode #99"}));
  t.view.UnMask(&t.drive);
  EXPECT_EQ(t.drive.totalBytes, bytes);
  EXPECT_EQ(t.drive.files, 8u);
  EXPECT_EQ(t.drive.folders, 7u);
}

TEST(FileMask, UnMaskOfAFolderListedInsideItselfEnds) {
  MaskTree t;
  t.Add(Folder(21, 21), "loop");  // a damaged folder naming itself as a child
  t.view.UnMask(&t.drive);
  EXPECT_EQ(t.tree.GetParent(t.Item("loop")), t.Item("deep"));
}

}  // namespace
