// The folder tree's entries and items, navigation and Find Next.
#include <gtest/gtest.h>

#include "view_fixture.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::testing;

namespace {

using controls::kNoItem;

TEST(TreeView, RootStartsTheListAndOnlyFoldersWithAListedParentGetItems) {
  TreeFixture t;
  const ListedEntry& root = t.view.Entries()[0];
  EXPECT_EQ(root.name, "Root");
  EXPECT_EQ(root.inode, kRootInode);
  EXPECT_EQ(root.parentInode, kNoParent);
  EXPECT_TRUE(root.IsFolder());
  EXPECT_EQ(root.treeItem, t.view.RootItem());
  EXPECT_EQ(t.tree.GetItemText(t.view.RootItem()), "Root");
  EXPECT_EQ(t.tree.GetItemData(t.view.RootItem()), kRootInode);
  EXPECT_EQ(t.tree.GetStateImage(t.view.RootItem()), controls::kStateUnchecked);

  EntryNode checkedFolder = Folder(10, 2);
  checkedFolder.check = 1;
  t.Add(checkedFolder, "etc");
  t.Add(File(11, 10, 42), "passwd");
  t.Add(Folder(12, 10, 1), "gone");
  t.Add(Folder(13, 77), "stray");   // parent never listed
  t.Add(Folder(14, 13), "under-stray");  // parent listed but without an item
  ASSERT_EQ(t.view.Entries().size(), 6u);

  const controls::TreeItem etc = t.Item("etc");
  ASSERT_NE(etc, kNoItem);
  EXPECT_EQ(t.tree.GetParent(etc), t.view.RootItem());
  EXPECT_EQ(t.tree.GetItemData(etc), 10u);
  EXPECT_EQ(t.tree.GetStateImage(etc), controls::kStateChecked);  // the record's check
  EXPECT_EQ(t.Check("etc"), 1);
  EXPECT_TRUE(t.tree.IsExpanded(t.view.RootItem()));
  EXPECT_TRUE(t.tree.IsExpanded(etc));
  EXPECT_EQ(t.Item("passwd"), kNoItem);
  EXPECT_EQ(t.tree.GetParent(t.Item("gone")), etc);
  EXPECT_EQ(t.Item("stray"), kNoItem);
  EXPECT_EQ(t.Item("under-stray"), kNoItem);
  EXPECT_EQ(t.tree.GetCount(), 3u);
}

TEST(TreeView, ClearTreeDropsItemsButNotRecords) {
  TreeFixture t;
  t.Add(Folder(10, 2), "etc");
  t.app.scanned = 1;
  t.view.ClearTree();
  EXPECT_EQ(t.tree.GetCount(), 0u);
  EXPECT_EQ(t.app.scanned, 0);
  ASSERT_EQ(t.view.Entries().size(), 2u);
  EXPECT_EQ(t.Item("etc"), kNoItem);
  t.view.UncheckEntry(kNoItem, Uncheck::Fully);  // nothing to reach
  t.view.FreeEntryLists();
  EXPECT_TRUE(t.view.Entries().empty());
}

TEST(TreeView, RebuildInsertsItemsWithoutRecords) {
  TreeFixture t;
  t.Add(Folder(10, 2), "etc");
  t.view.ClearTree();
  const controls::TreeItem root = t.view.InsertRootOnly();
  EXPECT_EQ(t.view.RootItem(), root);
  EXPECT_EQ(t.view.LastInsertedItem(), root);
  ListedEntry& etc = t.view.Entries()[1];
  const controls::TreeItem item = t.view.InsertEntryItem(etc, root);
  EXPECT_EQ(t.view.LastInsertedItem(), item);
  EXPECT_EQ(etc.treeItem, item);
  EXPECT_EQ(t.tree.GetParent(item), root);
  EXPECT_EQ(t.tree.GetItemData(item), 10u);
  EXPECT_TRUE(t.tree.IsExpanded(root));
  EXPECT_EQ(t.view.Entries().size(), 2u);
}

TEST(TreeView, NavigationSelectsOpensAndGoesUp) {
  TreeFixture t;
  t.Add(Folder(10, 2), "usr");
  t.Add(Folder(11, 10), "lib");
  t.Add(Folder(12, 11), "deep");
  t.Add(File(13, 10, 1), "README");

  t.view.ExpandAndSelect(true);
  EXPECT_EQ(t.tree.GetSelection(), t.view.RootItem());
  EXPECT_EQ(t.app.goUp, 0);
  t.view.GoUp();
  EXPECT_EQ(t.tree.GetSelection(), t.view.RootItem());

  ASSERT_TRUE(t.view.OpenChildFolder(10));
  EXPECT_EQ(t.tree.GetSelection(), t.Item("usr"));
  EXPECT_EQ(t.app.goUp, 1);
  EXPECT_FALSE(t.tree.IsExpanded(t.Item("lib")));
  EXPECT_FALSE(t.view.OpenChildFolder(13));  // a file
  EXPECT_FALSE(t.view.OpenChildFolder(12));  // not a child of the selection

  ASSERT_TRUE(t.view.SelectEntry(12));
  EXPECT_EQ(t.tree.GetSelection(), t.Item("deep"));
  EXPECT_FALSE(t.view.SelectEntry(13));
  EXPECT_FALSE(t.view.SelectEntry(999));

  t.view.GoUp();
  EXPECT_EQ(t.tree.GetSelection(), t.Item("lib"));
  t.view.GoUp();
  t.view.GoUp();
  EXPECT_EQ(t.tree.GetSelection(), t.view.RootItem());
  EXPECT_EQ(t.app.goUp, 0);
}

// Root: docs/, old/ (deleted), docs/Report, docs/report (deleted), old/report (deleted), REPORT.
struct FindTree : TreeFixture {
  FindTree() {
    Add(Folder(10, 2), "docs");     // 1
    Add(Folder(20, 2, 1), "old");   // 2
    Add(File(100, 10), "Report");   // 3
    Add(File(101, 10, 0, 1), "report");  // 4
    Add(File(201, 20, 0, 1), "report");  // 5
    Add(File(3, 2), "REPORT");      // 6
    Add(File(4, 2), "reports");     // 7: not a whole-name match
  }
};

TEST(TreeView, FindTakesTheFirstWholeNameMatchAmongItsCandidates) {
  struct Case {
    const char* text;
    int matchCase, existing, deleted;
    int position;  // -1: no match
  } cases[] = {
      {"report", 0, 1, 1, 3},  {"report", 1, 1, 1, 4}, {"report", 0, 1, 0, 3}, {"report", 0, 0, 1, 4},
      {"REPORT", 1, 1, 0, 6},  {"repor", 0, 1, 1, -1}, {"Report", 1, 0, 1, -1}, {"reports", 0, 1, 1, 7},
  };
  for (const Case& c : cases) {
    FindTree t;
    t.app.findMatchCase = c.matchCase;
    t.app.findExisting = c.existing;
    t.app.findDeleted = c.deleted;
    t.app.findLastMatch = 99;
    EXPECT_EQ(t.view.Find(c.text), c.position >= 0) << c.text;
    EXPECT_EQ(t.app.findText, c.text);
    if (c.position < 0) {
      ASSERT_EQ(t.frame.messages.size(), 1u) << c.text;
      EXPECT_EQ(t.frame.messages[0].text, "No matching entry found");
      EXPECT_EQ(t.frame.messages[0].caption, "Search Failure");
      EXPECT_EQ(t.app.findNext, 0);
      continue;
    }
    EXPECT_TRUE(t.frame.messages.empty()) << c.text;
    EXPECT_EQ(t.app.findNext, 1);
    EXPECT_EQ(t.app.findLastMatch, c.position) << c.text;
    const ListedEntry& match = t.view.Entries()[static_cast<std::size_t>(c.position)];
    EXPECT_EQ(t.tree.GetItemData(t.tree.GetSelection()), match.parentInode) << c.text;
  }
}

TEST(TreeView, FindNextWalksTheMatchesToTheEndOfTheList) {
  struct Case {
    const char* text;
    int matchCase, existing, deleted;
    std::vector<int> positions;
  } cases[] = {
      {"report", 0, 1, 1, {4, 5, 6}},
      {"report", 1, 1, 1, {4, 5}},
      {"report", 0, 1, 0, {6}},
      {"report", 0, 0, 1, {4, 5}},
      {"Report", 1, 1, 1, {}},
  };
  for (const Case& c : cases) {
    FindTree t;
    t.app.findText = c.text;
    t.app.findMatchCase = c.matchCase;
    t.app.findExisting = c.existing;
    t.app.findDeleted = c.deleted;
    t.app.findLastMatch = 3;
    t.app.findNext = 1;
    for (int expected : c.positions) {
      t.view.FindNext();
      ASSERT_TRUE(t.frame.messages.empty()) << c.text << " at " << expected;
      EXPECT_EQ(t.app.findLastMatch, expected);
      const ListedEntry& match = t.view.Entries()[static_cast<std::size_t>(expected)];
      EXPECT_EQ(t.tree.GetItemData(t.tree.GetSelection()), match.parentInode);
    }
    const int last = t.app.findLastMatch;
    t.view.FindNext();
    ASSERT_EQ(t.frame.messages.size(), 1u) << c.text;
    EXPECT_EQ(t.frame.messages[0].text, "No more entries are available");
    EXPECT_EQ(t.frame.messages[0].caption, "Search Failure");
    EXPECT_EQ(t.app.findNext, 0);
    EXPECT_EQ(t.app.findLastMatch, last);
  }
}

}  // namespace
