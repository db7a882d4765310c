// Sorting the list: by each column, the header's direction rules, rows moving whole.
#include <gtest/gtest.h>

#include "controls/list_sort.h"
#include "view_fixture.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::testing;

namespace {

struct RecordingArrow : SortArrow {
  std::vector<std::pair<int, int>> calls;
  void SetSortImage(int column, int direction) override { calls.emplace_back(column, direction); }
};

EntryNode Dated(EntryNode e, std::int64_t modified) {
  e.modificationTime = modified;
  return e;
}

// Root: four files and a folder, listed in this order.
struct SortViews : ViewsFixture {
  RecordingArrow arrow;
  SortViews() {
    listView.SetSortArrow(&arrow);
    Add(Dated(File(40, 2, 10), 1070323200), "beta");       // 02-12-2003
    Add(Dated(File(7, 2, 9), 916358400), "Alpha");         // 15-01-1999
    Add(Dated(File(300, 2, std::uint64_t{8} << 30), -15500000), "gamma");    // 05-07-1969
    Add(Dated(File(12, 2, (std::uint64_t{5} << 30) + 12345), 951782400), "delta");  // 29-02-2000
    Add(Dated(Folder(5, 2), 1000000000), "zeta");          // 09-09-2001
    view.ExpandAndSelect(true);
  }
};

TEST(ListSort, NumbersAreReadWhole) {
  EXPECT_EQ(controls::LeadingNumber("   5368721465"), 5368721465);
  EXPECT_EQ(controls::LeadingNumber("17592186044416"), 17592186044416);  // 16 TiB
  EXPECT_EQ(controls::LeadingNumber("1000000000000000000"), 1000000000000000000);
  EXPECT_EQ(controls::LeadingNumber("-42 x"), -42);
}

TEST(ListSort, EachColumnSortsByItsTextNumberOrTime) {
  struct Case {
    int column;
    bool ascending;
    std::vector<std::string> names;
  } cases[] = {
      {kColumnName, true, {"Alpha", "beta", "delta", "gamma", "zeta"}},
      {kColumnName, false, {"zeta", "gamma", "delta", "beta", "Alpha"}},
      {kColumnType, true, {"beta", "Alpha", "gamma", "delta", "zeta"}},  // "File" before "Folder"
      // 9 before 10, and sizes of 5 GiB and 8 GiB in their order.
      {kColumnSize, true, {"zeta", "Alpha", "beta", "delta", "gamma"}},
      // By the time shown: 1969, 1999, 2000, 2001, 2003.
      {kColumnModified, true, {"gamma", "Alpha", "delta", "zeta", "beta"}},
      {kColumnModified, false, {"beta", "zeta", "delta", "Alpha", "gamma"}},
      {kColumnFileId, false, {"gamma", "beta", "delta", "Alpha", "zeta"}},
  };
  for (const Case& c : cases) {
    SortViews t;
    // The order of the unsorted rows must not matter: start from a different one.
    t.listView.SortTextItems(kColumnName, false);
    ASSERT_TRUE(t.listView.SortByColumn(c.column, c.ascending));
    if (c.column == kColumnType) {
      // Equal texts have no order among themselves; only the groups are fixed.
      EXPECT_EQ(t.Column(kColumnType), (std::vector<std::string>{"File", "File", "File", "File", "Folder"}));
      continue;
    }
    EXPECT_EQ(t.Column(kColumnName), c.names) << c.column << " " << c.ascending;
  }
}

TEST(ListSort, DateColumnsSortByTheTimeTheyShowNotTheDayOfTheMonth) {
  // The same day of the month in other months and years, and one day at two times.
  ViewsFixture t;
  const struct {
    const char* name;
    std::uint64_t time;
  } files[] = {
      {"d", 1070323200},  // 02-12-2003 00:00:00
      {"a", 915235200},   // 02-01-1999 00:00:00
      {"e", 1070362800},  // 02-12-2003 11:00:00
      {"c", 1041465600},  // 02-01-2003 00:00:00
      {"b", 1012608000},  // 02-02-2002 00:00:00
  };
  for (std::uint32_t i = 0; i < 5; ++i) {
    EntryNode e = File(20 + i, 2, 1);
    e.modificationTime = e.changeTime = e.accessTime = files[i].time;
    t.Add(e, files[i].name);
  }
  t.view.ExpandAndSelect(true);
  for (int column : {kColumnModified, kColumnCreated, kColumnAccessed}) {
    // A header click sorts ascending after a fill, the next one descending.
    t.view.ExpandAndSelect(false);
    t.listView.OnHeaderItemClick(column, 0);
    EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"a", "b", "c", "d", "e"})) << column;
    t.listView.OnHeaderItemClick(column, 0);
    EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"e", "d", "c", "b", "a"})) << column;
  }
}

TEST(ListSort, RowsMoveWholeAndIdenticalTextsStayPut) {
  SortViews t;
  t.list.SetStateImage(t.Row("gamma"), controls::kListStateChecked);
  t.list.SetSelected(t.Row("gamma"), true);
  t.listView.SortNumericItems(kColumnSize, true);
  const int gamma = t.Row("gamma");
  EXPECT_EQ(gamma, 4);
  EXPECT_EQ(t.list.GetItemData(gamma), 300u);
  EXPECT_EQ(t.list.GetItemText(gamma, kColumnFileId), "    300");
  EXPECT_EQ(t.list.GetStateImage(gamma), controls::kListStateChecked);
  EXPECT_TRUE(t.list.IsSelected(gamma));
  EXPECT_EQ(t.list.GetItemImage(t.Row("zeta")), kListImageFolder);

  ViewsFixture same;
  for (std::uint32_t i = 0; i < 6; ++i) same.Add(File(100 + i, 2), "same");
  same.view.ExpandAndSelect(true);
  same.listView.SortTextItems(kColumnName, true);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(same.list.GetItemData(r), 100u + static_cast<std::uint32_t>(r));
}

TEST(ListSort, NothingToSortIsReported) {
  SortViews t;
  EXPECT_FALSE(t.listView.SortTextItems(kColumnCount, true));
  EXPECT_FALSE(t.listView.SortNumericItems(-1, true));
  EXPECT_FALSE(t.listView.SortTextItems(kColumnName, true, 2, 2));
  ViewsFixture one;
  one.Add(File(9, 2), "only");
  one.view.ExpandAndSelect(true);
  EXPECT_FALSE(one.listView.SortTextItems(kColumnName, true));
}

TEST(ListSort, EveryHeaderClickFlipsTheDirectionAndARefillStartsAscending) {
  SortViews t;
  t.app.scanned = 1;
  t.list.SetHotItem(1);
  t.listView.OnHeaderItemClick(kColumnSize, 0);
  EXPECT_EQ(t.list.GetHotItem(), controls::kNoRow);
  EXPECT_EQ(t.app.userSorted, 1);
  EXPECT_EQ(t.Column(kColumnName).front(), "zeta");  // ascending
  EXPECT_EQ(t.app.sortToggle, 1);
  EXPECT_EQ(t.app.sortDirection, 1);
  EXPECT_EQ(t.app.sortColumn, kColumnSize);

  t.listView.OnHeaderItemClick(kColumnSize, 0);
  EXPECT_EQ(t.Column(kColumnName).front(), "gamma");  // descending
  EXPECT_EQ(t.app.sortDirection, 1);  // same column: the direction is left

  t.listView.OnHeaderItemClick(kColumnName, 0);
  EXPECT_EQ(t.Column(kColumnName).front(), "Alpha");  // a new column flips again: ascending
  EXPECT_EQ(t.app.sortDirection, 1);
  EXPECT_EQ(t.listView.SortColumn(), kColumnName);

  // The fill took the arrow away; each click then puts it on its column.
  EXPECT_EQ(t.arrow.calls,
            (std::vector<std::pair<int, int>>{{-1, 0}, {kColumnSize, 1}, {kColumnSize, 0}, {kColumnName, 1}}));

  // Another button sorts nothing.
  t.listView.OnHeaderItemClick(kColumnSize, 1);
  EXPECT_EQ(t.Column(kColumnName).front(), "Alpha");
  EXPECT_EQ(t.app.sortToggle, 1);

  // No arrow without a scan; a refill takes it away and makes the next click ascending.
  t.app.scanned = 0;
  t.view.ExpandAndSelect(false);
  t.listView.OnHeaderItemClick(kColumnName, 0);
  EXPECT_EQ(t.Column(kColumnName).front(), "Alpha");
  ASSERT_EQ(t.arrow.calls.size(), 5u);
  EXPECT_EQ(t.arrow.calls.back(), (std::pair<int, int>{-1, 0}));
}

TEST(ListSort, AFolderOfThirtyThousandRowsSorts) {
  ViewsFixture t;
  char name[16];
  for (std::uint32_t i = 0; i < 30000; ++i) {
    // Names in a scrambled order, sizes repeating.
    std::snprintf(name, sizeof name, "f%05u", (i * 7919u) % 30000u);
    t.Add(File(1000 + i, 2, i % 7), name);
  }
  t.view.ExpandAndSelect(true);
  ASSERT_EQ(t.list.GetItemCount(), 30000);
  ASSERT_TRUE(t.listView.SortTextItems(kColumnName, false));
  std::snprintf(name, sizeof name, "f%05u", 29999u);
  EXPECT_EQ(t.list.GetItemText(0, kColumnName), name);
  for (int r = 1; r < t.list.GetItemCount(); ++r) {
    ASSERT_GT(t.list.GetItemText(r - 1, kColumnName), t.list.GetItemText(r, kColumnName)) << r;
  }
  ASSERT_TRUE(t.listView.SortNumericItems(kColumnSize, true));
  EXPECT_EQ(t.list.GetItemText(0, kColumnSize), "      0");
  EXPECT_EQ(t.list.GetItemText(29999, kColumnSize), "      6");
}

}  // namespace
