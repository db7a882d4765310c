// The list: its rows and texts, its check boxes and the tree's answer to them, Find's row and
// opening folders.
#include <gtest/gtest.h>

#include "linuxcore/inode_time.h"
#include "view_fixture.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::testing;

namespace {

using controls::kListStateChecked;
using controls::kListStatePartly;
using controls::kListStateUnchecked;

TEST(InodeTime, ConvertsSecondsSince1970InUtc) {
  struct Case {
    std::int64_t time;
    const char* text;
  } cases[] = {
      {0, "01-01-1970 00:00:00"},
      {951782400, "29-02-2000 00:00:00"},
      {1000000000, "09-09-2001 01:46:40"},
      {1070323200, "02-12-2003 00:00:00"},
      {2147483647, "19-01-2038 03:14:07"},
      // Before 1970: the day rounds down, the time of day stays positive.
      {-1, "31-12-1969 23:59:59"},
      {-86400, "31-12-1969 00:00:00"},
      {-15500000, "05-07-1969 14:26:40"},
      {-2147483647 - 1, "13-12-1901 20:45:52"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatInodeTime(c.time), c.text) << c.time;
  SystemTime t;
  InodeTimeToSystemTime(t, 1000000000);
  EXPECT_EQ(t.year, 2001);
  EXPECT_EQ(t.month, 9);
  EXPECT_EQ(t.day, 9);
  EXPECT_EQ(t.dayOfWeek, 0);
  EXPECT_EQ(t.milliseconds, 0);
}

// Root
//   A                 a.txt (10), b.txt (20)
//     A1              A1/x (100)
//       A1x
//     A2
//   B                 B/y (5)
struct Views : ViewsFixture {
  Views() {
    Add(Folder(10, 2), "A");
    Add(Folder(20, 2), "B");
    Add(Folder(11, 10), "A1");
    Add(Folder(12, 10), "A2");
    Add(Folder(13, 11), "A1x");
    Add(File(101, 10, 10), "a.txt");
    Add(File(102, 10, 20), "b.txt");
    Add(File(111, 11, 100), "x");
    Add(File(201, 20, 5), "y");
  }
};

TEST(ListView, RowsShowTheSelectedFoldersEntriesWithTheirTexts) {
  ViewsFixture t;
  EntryNode gone = File(77, 2, (std::uint64_t{5} << 30) + 12345, 1);
  gone.modificationTime = 951782400;
  gone.changeTime = -15500000;
  gone.accessTime = 1000000000;
  gone.check = 1;
  t.Add(Folder(10, 2), "etc");
  t.Add(gone, "gone.bin");
  t.Add(Folder(30, 2, 1), "old");
  t.Add(File(31, 10), "passwd");
  t.app.sortToggle = 1;

  t.view.ExpandAndSelect(true);
  EXPECT_EQ(t.app.sortToggle, 0);
  EXPECT_EQ(t.app.viewsFilled, 1);
  EXPECT_TRUE(t.list.HasGridLines());
  ASSERT_EQ(t.Column(kColumnName), (std::vector<std::string>{"etc", "gone.bin", "old"}));
  EXPECT_EQ(t.Column(kColumnType), (std::vector<std::string>{"Folder", "Deleted File", "Deleted Folder"}));
  EXPECT_EQ(t.Column(kColumnSize), (std::vector<std::string>{"      0", "5368721465", "      0"}));
  EXPECT_EQ(t.Column(kColumnFileId), (std::vector<std::string>{"     10", "     77", "     30"}));
  EXPECT_EQ(t.list.GetItemText(1, kColumnModified), "29-02-2000 00:00:00");
  EXPECT_EQ(t.list.GetItemText(1, kColumnCreated), "05-07-1969 14:26:40");
  EXPECT_EQ(t.list.GetItemText(1, kColumnAccessed), "09-09-2001 01:46:40");
  EXPECT_EQ(t.list.GetItemImage(0), kListImageFolder);
  EXPECT_EQ(t.list.GetItemImage(1), kListImageDeletedFile);
  EXPECT_EQ(t.list.GetItemImage(2), kListImageDeletedFolder);
  EXPECT_EQ(t.list.GetItemData(1), 77u);
  EXPECT_EQ(t.list.GetStateImage(0), kListStateUnchecked);
  EXPECT_EQ(t.list.GetStateImage(1), kListStateChecked);

  t.Select("etc");
  EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"passwd"}));
  EXPECT_EQ(t.app.goUp, 1);

  t.app.scanned = 1;
  t.listView.ClearListView();
  EXPECT_EQ(t.list.GetItemCount(), 0);
  EXPECT_FALSE(t.list.HasGridLines());
  EXPECT_EQ(t.app.scanned, 0);
}

TEST(ListView, SummaryWordDescribesAllRows) {
  struct Case {
    std::vector<int> states;
    const char* word;
  } cases[] = {
      {{}, kAllItemsUnchecked},
      {{kListStateUnchecked, kListStateUnchecked}, kAllItemsUnchecked},
      {{kListStateChecked, kListStateChecked}, kAllItemsBlackchecked},
      {{kListStatePartly}, kAllItemsGreychecked},
      {{kListStateChecked, kListStateUnchecked}, kAllItemsAreMixed},
      {{kListStatePartly, kListStateChecked}, kAllItemsAreMixed},
  };
  for (const Case& c : cases) {
    ViewsFixture t;
    for (int state : c.states) {
      const int row = t.list.InsertItem(t.list.GetItemCount(), "r", 0);
      t.list.SetStateImage(row, state);
    }
    EXPECT_EQ(t.listView.GetListCheckSummary(), c.word) << c.states.size();
  }
}

TEST(ListView, CheckingOneFileLeavesTheFolderAndEveryFolderAbovePartlyChecked) {
  Views t;
  t.Select("A1");
  t.listView.ClickStateIcon(t.Row("x"));
  EXPECT_EQ(t.RowState("x"), kListStateChecked);
  EXPECT_EQ(t.Check("x"), 1);
  // A1's other row (A1x) is unchecked: the list is mixed.
  EXPECT_EQ(t.Check("A1"), 2);
  EXPECT_EQ(t.Image("A1"), controls::kStatePartly);
  EXPECT_EQ(t.Check("A"), 2);
  EXPECT_EQ(t.Check("Root"), 2);
  EXPECT_EQ(t.frame.markedFiles, 1);
  EXPECT_EQ(t.frame.markedFolders, 3);
  EXPECT_EQ(t.frame.markedBytes, 100u);
  EXPECT_EQ(t.frame.markedPaneUpdates, 1);

  t.listView.ClickStateIcon(t.Row("x"));
  EXPECT_EQ(t.RowState("x"), kListStateUnchecked);
  for (const char* name : {"x", "A1", "A", "Root"}) EXPECT_EQ(t.Check(name), 0) << name;
  EXPECT_EQ(t.app.marked, 0);
}

TEST(ListView, CheckingEveryRowChecksTheFolderAndAFolderRowItsSubtree) {
  Views t;
  t.Select("A");
  t.listView.ClickStateIcon(t.Row("a.txt"));
  t.listView.ClickStateIcon(t.Row("b.txt"));
  EXPECT_EQ(t.Check("A"), 2);
  t.listView.ClickStateIcon(t.Row("A1"));
  EXPECT_EQ(t.Check("A1"), 1);
  EXPECT_EQ(t.Check("A1x"), 1);
  EXPECT_EQ(t.Check("x"), 1);
  EXPECT_EQ(t.Image("A1x"), controls::kStateChecked);
  EXPECT_EQ(t.Check("A"), 2);  // A2 is still unchecked
  t.listView.ClickStateIcon(t.Row("A2"));
  EXPECT_EQ(t.Check("A"), 1);
  EXPECT_EQ(t.Image("A"), controls::kStateChecked);
  EXPECT_EQ(t.Check("Root"), 2);  // B is not
  EXPECT_EQ(t.listView.GetListCheckSummary(), kAllItemsBlackchecked);
}

TEST(ListView, ClickingAGreyRowUnchecksIt) {
  Views t;
  t.view.ClickStateIcon(t.Item("A1x"));
  t.Select("A");
  ASSERT_EQ(t.RowState("A1"), kListStatePartly);
  t.listView.ClickStateIcon(t.Row("A1"));
  EXPECT_EQ(t.RowState("A1"), kListStateUnchecked);
  for (const char* name : {"A1", "A1x", "A", "Root"}) EXPECT_EQ(t.Check(name), 0) << name;
}

TEST(ListView, OnlyAClickOnAStateIconActs) {
  Views t;
  t.Select("A");
  controls::ListRect box;
  ASSERT_TRUE(t.list.GetStateIconRect(t.Row("a.txt"), box));
  t.listView.OnLButtonDown({box.x + box.width + 30, box.y + 2});  // on the label
  EXPECT_EQ(t.RowState("a.txt"), kListStateUnchecked);
  EXPECT_EQ(t.Check("a.txt"), 0);
  t.listView.OnLButtonDown({box.x + 1, box.y + 1});
  EXPECT_EQ(t.RowState("a.txt"), kListStateChecked);
  EXPECT_EQ(t.Check("a.txt"), 1);
}

TEST(ListView, ATreeClickSetsTheRowsOfTheSelectedFolder) {
  struct Case {
    const char* selected;
    const char* clicked;
    std::vector<std::pair<const char*, int>> rows;  // rows and their state afterwards
  } cases[] = {
      {"A", "A", {{"A1", kListStateChecked}, {"a.txt", kListStateChecked}}},                 // the selection itself
      {"A1", "A", {{"A1x", kListStateChecked}, {"x", kListStateChecked}}},                   // an ancestor
      {"Root", "A1x", {{"A", kListStatePartly}, {"B", kListStateUnchecked}}},                // from Root
      {"A", "A1", {{"A1", kListStateChecked}, {"A2", kListStateUnchecked}}},                 // a child
      {"A", "A1x", {{"A1", kListStatePartly}, {"a.txt", kListStateUnchecked}}},  // deeper: x is not checked
      {"B", "A1", {{"y", kListStateUnchecked}}},                                              // elsewhere
      {"B", "Root", {{"y", kListStateChecked}}},
  };
  for (const Case& c : cases) {
    Views t;
    t.Select(c.selected);
    t.view.ClickStateIcon(t.Item(c.clicked));
    for (const auto& [row, state] : c.rows) {
      EXPECT_EQ(t.RowState(row), state) << c.selected << " / " << c.clicked << ": " << row;
    }
  }
}

TEST(ListView, RecoveryGreysOrUnchecksTheRowItNames) {
  ViewsFixture t;
  t.Add(File(5, 2), "Readme");
  t.Add(File(6, 2), "README");
  t.Add(File(7, 2), "plain");
  t.view.ExpandAndSelect(false);
  t.list.SetStateImage(t.Row("Readme"), kListStateChecked);
  t.list.SetStateImage(t.Row("README"), kListStateChecked);

  t.listView.UpdateItemCheck("README", 6, 0, Uncheck::Partly);
  EXPECT_EQ(t.RowState("README"), kListStatePartly);
  EXPECT_EQ(t.RowState("Readme"), kListStateChecked);
  t.listView.UpdateItemCheck("README", 6, 0, Uncheck::Fully);
  EXPECT_EQ(t.RowState("README"), kListStateUnchecked);
  t.listView.UpdateItemCheck("Readme", 99, 0, Uncheck::Fully);  // another inode
  EXPECT_EQ(t.RowState("Readme"), kListStateChecked);
  t.listView.UpdateItemCheck("plain", 7, 0, Uncheck::Partly);  // unchecked rows stay so
  EXPECT_EQ(t.RowState("plain"), kListStateUnchecked);

  t.listView.SetItemCheckState(CheckRows::Named, controls::kStatePartly, "README");
  EXPECT_EQ(t.RowState("README"), kListStatePartly);
  EXPECT_EQ(t.RowState("Readme"), kListStateChecked);
  t.listView.SetItemCheckState(CheckRows::Named, controls::kStateChecked, "absent");
  t.listView.SetItemCheckState(CheckRows::All, controls::kStateUnchecked, "");
  for (const char* name : {"Readme", "README", "plain"}) EXPECT_EQ(t.RowState(name), kListStateUnchecked) << name;
}

TEST(ListView, FindMarksTheRowByNameAndInode) {
  ViewsFixture t;
  t.Add(Folder(10, 2), "docs");
  t.Add(File(11, 10), "Notes");
  t.Add(File(12, 10), "notes");
  t.app.findText = "notes";
  t.app.findLastMatch = 0;
  t.app.findMatchCase = 0;
  t.view.FindNext();
  EXPECT_EQ(t.tree.GetSelection(), t.Item("docs"));
  EXPECT_EQ(t.list.GetHotItem(), t.Row("Notes"));
  EXPECT_EQ(t.list.LastEnsuredVisible(), t.Row("Notes"));
  t.view.FindNext();
  EXPECT_EQ(t.list.GetHotItem(), t.Row("notes"));

  t.app.findMatchCase = 1;
  EXPECT_FALSE(t.listView.SelectItemByNameAndId("notes", 11));
  EXPECT_TRUE(t.listView.SelectItemByNameAndId("Notes", 11));
  EXPECT_EQ(t.list.GetHotItem(), t.Row("Notes"));
}

TEST(ListView, DoubleClickAndEnterOpenFolderRowsOnly) {
  Views t;
  t.view.ExpandAndSelect(true);
  t.Select("A");
  t.listView.OnDblclk(t.Row("a.txt"));
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A"));
  t.listView.OnDblclk(t.Row("A1"));
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A1"));
  EXPECT_EQ(t.Column(kColumnName), (std::vector<std::string>{"A1x", "x"}));

  t.list.SetSelected(t.Row("x"), true);
  t.listView.OnKeyDown(true);
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A1"));
  t.list.SetSelected(t.Row("x"), false);
  t.list.SetSelected(t.Row("A1x"), true);
  t.frame.busyFlag = 1;
  t.listView.OnKeyDown(true);
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A1"));
  t.frame.busyFlag = 0;
  t.listView.OnKeyDown(false);
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A1"));
  t.listView.OnKeyDown(true);
  EXPECT_EQ(t.tree.GetSelection(), t.Item("A1x"));
}

}  // namespace
