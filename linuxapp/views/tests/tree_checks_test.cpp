// Check marks of the folder tree: a click down the subtree, the folders above, the marked totals.
#include <gtest/gtest.h>

#include "view_fixture.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::testing;

namespace {

// Root
//   A            a.txt (10)
//     A1         a1.txt (100)
//     A2         a2.txt (200)
//   B            b.txt (5)
//   root.txt (1)
struct CheckTree : TreeFixture {
  CheckTree() {
    Add(Folder(10, 2), "A");
    Add(Folder(20, 2), "B");
    Add(File(3, 2, 1), "root.txt");
    Add(Folder(11, 10), "A1");
    Add(Folder(12, 10), "A2");
    Add(File(101, 10, 10), "a.txt");
    Add(File(111, 11, 100), "a1.txt");
    Add(File(121, 12, 200), "a2.txt");
    Add(File(201, 20, 5), "b.txt");
  }
  void Click(const std::string& name) { view.ClickStateIcon(Item(name)); }
};

TEST(TreeChecks, ClickingRootSetsEveryRecordAndClickingAgainClearsThem) {
  CheckTree t;
  t.Click("Root");
  for (const ListedEntry& e : t.view.Entries()) {
    EXPECT_EQ(e.check, 1) << e.name;
    if (e.treeItem != 0) {
      EXPECT_EQ(t.tree.GetStateImage(e.treeItem), controls::kStateChecked) << e.name;
    }
  }
  EXPECT_EQ(t.frame.markedFolders, 5);
  EXPECT_EQ(t.frame.markedFiles, 5);
  EXPECT_EQ(t.frame.markedBytes, 316u);
  EXPECT_EQ(t.frame.markedPaneUpdates, 1);
  EXPECT_EQ(t.app.marked, 1);
  EXPECT_EQ(t.app.recoverSelected, 1);

  t.app.allMarked = 1;
  t.Click("Root");
  for (const ListedEntry& e : t.view.Entries()) EXPECT_EQ(e.check, 0) << e.name;
  EXPECT_EQ(t.Image("A1"), controls::kStateUnchecked);
  EXPECT_EQ(t.frame.markedFolders, 0);
  EXPECT_EQ(t.frame.markedBytes, 0u);
  EXPECT_EQ(t.app.marked, 0);
  EXPECT_EQ(t.app.recoverSelected, 0);
  EXPECT_EQ(t.app.allMarked, 0);
}

TEST(TreeChecks, AFolderClickLeavesEveryFolderAbovePartlyChecked) {
  CheckTree t;
  t.Click("A1");
  EXPECT_EQ(t.Check("A1"), 1);
  EXPECT_EQ(t.Check("a1.txt"), 1);
  EXPECT_EQ(t.Check("A2"), 0);
  EXPECT_EQ(t.Check("a.txt"), 0);
  EXPECT_EQ(t.Check("A"), 2);
  EXPECT_EQ(t.Image("A"), controls::kStatePartly);
  EXPECT_EQ(t.Check("Root"), 2);
  EXPECT_EQ(t.Image("Root"), controls::kStatePartly);
  EXPECT_EQ(t.Check("B"), 0);
  // Partly checked folders count as marked folders.
  EXPECT_EQ(t.frame.markedFolders, 3);
  EXPECT_EQ(t.frame.markedFiles, 1);
  EXPECT_EQ(t.frame.markedBytes, 100u);
}

TEST(TreeChecks, AParentIsCheckedOnlyWhenAllItsFoldersAndFilesAre) {
  struct Case {
    const char* what;
    std::uint8_t fileCheck;
    int expectedA;
  } cases[] = {
      {"its file checked", 1, 1},
      {"its file unchecked", 0, 2},
      {"its file partly checked", 2, 2},
  };
  for (const Case& c : cases) {
    CheckTree t;
    for (ListedEntry& e : t.view.Entries()) {
      if (e.name == "a.txt") e.check = c.fileCheck;
    }
    t.Click("A1");
    t.Click("A2");
    EXPECT_EQ(t.Check("A"), c.expectedA) << c.what;
    EXPECT_EQ(t.Image("A"), c.expectedA + 1) << c.what;
    // B is unchecked, so Root is partly checked either way.
    EXPECT_EQ(t.Check("Root"), 2) << c.what;
  }
}

TEST(TreeChecks, ClickingAPartlyCheckedFolderUnchecksItsSubtreeAndSettlesAbove) {
  CheckTree t;
  t.Click("A1");
  ASSERT_EQ(t.Image("A"), controls::kStatePartly);
  t.Click("A");
  for (const char* name : {"A", "A1", "A2", "a.txt", "a1.txt", "a2.txt", "Root"}) EXPECT_EQ(t.Check(name), 0) << name;
  EXPECT_EQ(t.Image("A2"), controls::kStateUnchecked);
  EXPECT_EQ(t.Image("Root"), controls::kStateUnchecked);
  EXPECT_EQ(t.app.marked, 0);
}

TEST(TreeChecks, UncheckingOneOfTwoCheckedSiblingsLeavesTheParentPartlyChecked) {
  CheckTree t;
  t.Click("Root");
  t.Click("A2");
  EXPECT_EQ(t.Check("A2"), 0);
  EXPECT_EQ(t.Check("a2.txt"), 0);
  EXPECT_EQ(t.Check("A1"), 1);
  EXPECT_EQ(t.Check("A"), 2);
  EXPECT_EQ(t.Check("Root"), 2);
  EXPECT_EQ(t.Check("B"), 1);
}

TEST(TreeChecks, SelectAllMarksTopLevelFilesAndEntriesWithoutItems) {
  CheckTree t;
  t.Add(Folder(30, 99), "orphan");  // its parent is not listed: no item
  t.Add(File(301, 30, 7), "orphan.txt");
  t.view.CollectCheckedItems(1, 0, t.view.RootItem(), 0);
  for (const ListedEntry& e : t.view.Entries()) EXPECT_EQ(e.check, 1) << e.name;
  EXPECT_EQ(t.Image("A"), controls::kStateChecked);
  int folders = 0, files = 0;
  EXPECT_EQ(t.view.CountMarked(&folders, &files), 323u);
  EXPECT_EQ(folders, 6);
  EXPECT_EQ(files, 6);
}

TEST(TreeChecks, RecoveryUnchecksFolderRecordsByState) {
  struct Case {
    std::uint8_t before;
    Uncheck how;
    std::uint8_t after;
    int image;  // 0: left as it was
  } cases[] = {
      {1, Uncheck::Fully, 0, controls::kStateUnchecked},
      {2, Uncheck::Fully, 0, controls::kStateUnchecked},
      {0, Uncheck::Fully, 0, 0},
      {1, Uncheck::Partly, 2, controls::kStatePartly},
      {2, Uncheck::Partly, 2, 0},
      {0, Uncheck::Partly, 0, 0},
  };
  for (const Case& c : cases) {
    CheckTree t;
    for (ListedEntry& e : t.view.Entries()) {
      if (e.name == "A") e.check = c.before;
    }
    t.tree.SetStateImage(t.Item("A"), 0);
    t.view.UncheckEntry(t.Item("A"), c.how);
    EXPECT_EQ(t.Check("A"), c.after) << int(c.before) << " " << int(c.how);
    EXPECT_EQ(t.Image("A"), c.image) << int(c.before) << " " << int(c.how);
  }
}

TEST(TreeChecks, OnlyAClickOnTheStateIconChecksAndOnlyOtherClicksReachTheControl) {
  CheckTree t;
  t.tree.Expand(t.Item("A"));
  t.tree.Expand(t.Item("A1"));
  controls::TreeRect icon;
  ASSERT_TRUE(t.tree.GetStateIconRect(t.Item("A"), icon));

  // On the label: the subfolders collapse, the control handles the click.
  EXPECT_TRUE(t.view.OnLButtonDown({icon.x + icon.width + controls::MemoryTreeControl::kIconWidth + 2, icon.y + 2}));
  EXPECT_FALSE(t.tree.IsExpanded(t.Item("A1")));
  EXPECT_EQ(t.Check("A"), 0);

  // Below the last row: nothing at all.
  EXPECT_FALSE(t.view.OnLButtonDown({5, 10000}));
  EXPECT_EQ(t.frame.markedPaneUpdates, 0);

  // On the state icon: checked, and the control does not see it (nothing gets selected).
  EXPECT_FALSE(t.view.OnLButtonDown({icon.x + 2, icon.y + 2}));
  EXPECT_EQ(t.Check("A"), 1);
  EXPECT_EQ(t.tree.GetSelection(), controls::kNoItem);
}

// 100 folders under Root, 100 subfolders in each, 9 files in every subfolder: 100,100 entries.
// A click must cost what the subtree and the path up cost, not the list times itself.
TEST(TreeChecks, ClicksOnALargeTreeStayCorrect) {
  TreeFixture t;
  std::uint32_t next = 1000;
  char name[32];
  for (int i = 0; i < 100; ++i) {
    const std::uint32_t top = next++;
    std::snprintf(name, sizeof name, "top%03d", i);
    t.Add(Folder(top, 2), name);
    for (int j = 0; j < 100; ++j) {
      const std::uint32_t sub = next++;
      std::snprintf(name, sizeof name, "sub%03d-%03d", i, j);
      t.Add(Folder(sub, top), name);
      for (int k = 0; k < 9; ++k) {
        std::snprintf(name, sizeof name, "f%d", k);
        t.Add(File(next++, sub, 1), name);
      }
    }
  }
  ASSERT_EQ(t.view.Entries().size(), 100101u);

  t.view.ClickStateIcon(t.Item("sub050-050"));
  EXPECT_EQ(t.frame.markedFiles, 9);
  EXPECT_EQ(t.frame.markedFolders, 3);
  EXPECT_EQ(t.Check("top050"), 2);
  EXPECT_EQ(t.Check("Root"), 2);

  // Root is partly checked, so the first click clears everything and the second checks it.
  t.view.ClickStateIcon(t.view.RootItem());
  EXPECT_EQ(t.frame.markedFiles, 0);
  EXPECT_EQ(t.Check("sub050-050"), 0);
  t.view.ClickStateIcon(t.view.RootItem());
  EXPECT_EQ(t.frame.markedFiles, 90000);
  EXPECT_EQ(t.frame.markedFolders, 10101);
  EXPECT_EQ(t.frame.markedBytes, 90000u);

  for (int j = 0; j < 100; ++j) {
    std::snprintf(name, sizeof name, "sub050-%03d", j);
    t.view.ClickStateIcon(t.Item(name));
  }
  EXPECT_EQ(t.Check("top050"), 0);
  EXPECT_EQ(t.Image("top050"), controls::kStateUnchecked);
  EXPECT_EQ(t.Check("Root"), 2);
  EXPECT_EQ(t.frame.markedFiles, 89100);
}

}  // namespace
