// The CD list view on an in-memory list: fills, check clicks with the tree settling, sorting,
// Find highlighting and opening folders.
#include "view_fixture.h"

using namespace cd;
using namespace cd::views;
using namespace cd::testing;

namespace {

using controls::kListStateChecked;
using controls::kListStatePartly;
using controls::kListStateUnchecked;

// Root holds docs (key 30) and two files; docs holds notes (40) and readme; notes holds todo.
const std::vector<Entry> kDisc = {
    {2, "docs", 0, 30, 2048}, {1, "zero.bin", 0, 50, 0},  {1, "big.dat", 0, 60, 3145728},
    {2, "notes", 30, 40, 2048}, {1, "readme.txt", 30, 70, 500}, {1, "todo.doc", 40, 80, 7000},
};

TEST_F(CdViews, FillShowsTheFolderEntriesWithTheirTextsAndMarks) {
  Build(kDisc);
  TreeItemNode& big = tree.Nodes()[3];
  big.date[0] = 103, big.date[1] = 7, big.date[2] = 5;
  big.time[0] = 14, big.time[1] = 2, big.time[2] = 9;
  big.mark = 1;
  Show(0);
  ASSERT_EQ(listControl.GetItemCount(), 3);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"docs", "zero.bin", "big.dat"}));  // arrival order
  EXPECT_EQ(Column(1), (std::vector<std::string>{"Dir", "File", "File"}));
  EXPECT_EQ(Column(2), (std::vector<std::string>{"   2048", "      0", "3145728"}));
  EXPECT_EQ(listControl.GetItemText(2, 3), "05-07-2003 14:02:09");
  EXPECT_EQ(Column(4), (std::vector<std::string>{"30", "50", "60"}));
  EXPECT_EQ(Column(5), (std::vector<std::string>{"0", "0", "0"}));
  EXPECT_EQ(listControl.GetItemData(2), 60u);
  EXPECT_EQ(listControl.GetItemImage(0), 0);
  EXPECT_EQ(listControl.GetItemImage(1), 1);
  EXPECT_EQ(listControl.GetStateImage(1), kListStateUnchecked);
  EXPECT_EQ(listControl.GetStateImage(2), kListStateChecked);
  EXPECT_TRUE(listControl.HasGridLines());
  EXPECT_EQ(arrow.column, 0);

  // A folder with no entries: an empty list and no arrow.
  Build({{2, "empty", 0, 90, 0}});
  Show(90);
  EXPECT_EQ(listControl.GetItemCount(), 0);
  EXPECT_EQ(arrow.column, kCdNoSortColumn);
  list.ClearListView();
  EXPECT_FALSE(listControl.HasGridLines());
  EXPECT_EQ(app.contentsShown, 0);
}

TEST_F(CdViews, CheckingTheLastUnmarkedRowChecksTheFolderAndItsParent) {
  Build(kDisc);
  Show(30);
  // Check notes (a folder: its subtree) and then readme, the only unmarked row left.
  ClickRow(Row("notes"));
  EXPECT_EQ(treeControl.GetStateImage(tree.FindFolder(30)->treeItem), controls::kStatePartly);
  ClickRow(Row("readme.txt"));
  EXPECT_EQ(treeControl.GetStateImage(tree.FindFolder(30)->treeItem), controls::kStateChecked);
  EXPECT_EQ(tree.FindFolder(40)->mark, 1);
  EXPECT_EQ(tree.FindNode("todo.doc", 80)->mark, 1);
  // Root's own files are unmarked: Root is partly checked.
  EXPECT_EQ(treeControl.GetStateImage(tree.RootItem()), controls::kStatePartly);
  EXPECT_EQ(frame.markedPane, "   Marked 11 KB in 2 Files in 2 Folders");
  EXPECT_EQ(app.markedBytesFlag, 1);
  EXPECT_EQ(list.GetListCheckSummary(), "AllItemsBlackchecked");

  // A partly checked row unchecks on a click.
  Show(0);
  ASSERT_EQ(listControl.GetStateImage(Row("docs")), kListStateChecked);
  listControl.SetStateImage(Row("docs"), kListStatePartly);
  app.allMarked = 1;
  ClickRow(Row("docs"));
  EXPECT_EQ(listControl.GetStateImage(Row("docs")), kListStateUnchecked);
  EXPECT_EQ(app.allMarked, 0);
  EXPECT_EQ(tree.FindNode("todo.doc", 80)->mark, 0);
  EXPECT_EQ(frame.markedPane, "   Marked 0 Bytes in 0 Files in 0 Folders");
  EXPECT_EQ(app.markedBytesFlag, 0);
}

TEST_F(CdViews, ClickOutsideTheBoxChangesNoMark) {
  Build(kDisc);
  Show(0);
  controls::ListRect r;
  ASSERT_TRUE(listControl.GetStateIconRect(0, r));
  list.OnLButtonDown({r.x + r.width + 20, r.y + 2});
  EXPECT_EQ(listControl.GetStateImage(0), kListStateUnchecked);
  EXPECT_EQ(frame.markedPane, "   Marked 0 Bytes in 0 Files in 0 Folders");
}

TEST_F(CdViews, HeaderClicksAlternateTheDirectionAndDatesSortByTime) {
  Build({{1, "b", 0, 11, 5}, {1, "A", 0, 12, 40}, {1, "c", 0, 13, 300}, {1, "d", 0, 14, 7}});
  // Days of the month, months and times in another order than the moments.
  auto date = [this](int node, int day, int month, int year, int hour, int minute) {
    TreeItemNode& n = tree.Nodes()[node];
    n.date[2] = static_cast<std::uint8_t>(day), n.date[1] = static_cast<std::uint8_t>(month);
    n.date[0] = static_cast<std::uint8_t>(year - 1900);
    n.time[0] = static_cast<std::uint8_t>(hour), n.time[1] = static_cast<std::uint8_t>(minute);
  };
  date(1, 17, 1, 1998, 0, 0);
  date(2, 5, 12, 1999, 0, 0);
  date(3, 9, 1, 2020, 8, 30);
  date(4, 9, 1, 2020, 23, 5);
  Show(0);
  list.OnHeaderItemClick(kCdColName, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"A", "b", "c", "d"}));
  EXPECT_EQ(arrow.column, kCdColName);
  EXPECT_EQ(arrow.ascending, 1);
  list.OnHeaderItemClick(kCdColName, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"d", "c", "b", "A"}));
  list.OnHeaderItemClick(kCdColSize, 0);  // another column: the direction reverses again
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "d", "A", "c"}));
  list.OnHeaderItemClick(kCdColDate, 0);
  EXPECT_EQ(Column(3), (std::vector<std::string>{"09-01-2020 23:05:00", "09-01-2020 08:30:00", "05-12-1999 00:00:00",
                                                 "17-01-1998 00:00:00"}));
  list.OnHeaderItemClick(kCdColDate, 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "A", "c", "d"}));  // by time, not by the day
  EXPECT_EQ(list.SortColumn(), kCdColDate);
  list.OnHeaderItemClick(kCdColName, 1);  // only the left button sorts
  EXPECT_EQ(list.SortColumn(), kCdColDate);
  // A refill clears the direction and keeps the column; rows come in arrival order again.
  list.FillFromTreeNodes(0);
  EXPECT_EQ(app.sortAscending, 0);
  EXPECT_EQ(arrow.column, kCdColDate);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "A", "c", "d"}));
}

TEST_F(CdViews, RowsChangedByNameFromTheTreeAndRecovery) {
  Build(kDisc);
  Show(0);
  list.SetItemCheckState(CdCheckRows::Named, controls::kStateChecked, "ZERO.BIN", 0);  // without regard to case
  EXPECT_EQ(listControl.GetStateImage(Row("zero.bin")), kListStateChecked);
  list.SetItemCheckState(CdCheckRows::Named, controls::kStateChecked, "missing", 0);
  list.SetItemCheckState(CdCheckRows::Every, controls::kStatePartly, "", 0);
  EXPECT_EQ(list.GetListCheckSummary(), "AllItemsGreychecked");
  list.UncheckListItem("big.dat", 999);  // another key: no change
  EXPECT_EQ(listControl.GetStateImage(Row("big.dat")), kListStatePartly);
  list.UncheckListItem("big.dat", 60);
  EXPECT_EQ(listControl.GetStateImage(Row("big.dat")), kListStateUnchecked);
  EXPECT_EQ(list.GetListCheckSummary(), "AllItemsAreMixed");
  list.GreyListItem("big.dat", 60, CdGreyRow::Leave);
  EXPECT_EQ(listControl.GetStateImage(Row("big.dat")), kListStateUnchecked);
  list.GreyListItem("big.dat", 60, CdGreyRow::Grey);
  EXPECT_EQ(listControl.GetStateImage(Row("big.dat")), kListStatePartly);
}

TEST_F(CdViews, FindHighlightsTheRowWithNameAndKey) {
  Build(kDisc);
  Show(0);
  list.FindListItem("BIG.DAT", 60);
  EXPECT_EQ(listControl.GetHotItem(), Row("big.dat"));
  listControl.SetHotItem(controls::kNoRow);
  app.findMatchCase = 1;
  list.FindListItem("BIG.DAT", 60);
  EXPECT_EQ(listControl.GetHotItem(), controls::kNoRow);
  list.FindListItem("big.dat", 61);
  EXPECT_EQ(listControl.GetHotItem(), controls::kNoRow);
}

TEST_F(CdViews, DoubleClickAndEnterOpenFoldersOnly) {
  Build(kDisc);
  Show(0);
  list.OnDblclk(Row("zero.bin"));
  EXPECT_EQ(treeControl.GetSelection(), tree.RootItem());
  list.OnDblclk(Row("docs"));
  EXPECT_EQ(treeControl.GetSelection(), tree.FindFolder(30)->treeItem);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"notes", "readme.txt"}));
  // Enter opens the selected folder row, unless the frame is busy.
  listControl.SetSelected(Row("notes"), true);
  frame.busy = 1;
  list.OnEnterKey();
  EXPECT_EQ(treeControl.GetSelection(), tree.FindFolder(30)->treeItem);
  frame.busy = 0;
  list.OnEnterKey();
  EXPECT_EQ(treeControl.GetSelection(), tree.FindFolder(40)->treeItem);
  list.OnEnterKey();  // no row selected: nothing opens
  EXPECT_EQ(treeControl.GetSelection(), tree.FindFolder(40)->treeItem);
}

}  // namespace
