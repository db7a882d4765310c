// The CD tree view on the in-memory tree control: building, marks and their propagation, the
// list kept in step, counts and Find Next.
#include <gtest/gtest.h>

#include "cdengine/commands.h"
#include "cdviews/tree_view.h"
#include "test_image.h"
#include "test_tree.h"

using namespace cd;
using namespace cd::views;
using namespace cd::testing;
using namespace cd::headless;

namespace {

using controls::kStateChecked;
using controls::kStatePartly;
using controls::kStateUnchecked;

using cdtest::AddEntry;

// Root(0): A(10) [a1 101, a2 102, AA(11) [aa1 111]], B(20) [b1 201], r1 1.
struct TreeFixture : ::testing::Test {
  CdHeadlessHost host;
  CdTreeView& view = host.treeView;
  void SetUp() override {
    cdtest::StartTree(host);
    AddEntry(host, 2, "A", 0, 10);
    AddEntry(host, 2, "B", 0, 20);
    AddEntry(host, 1, "r1", 0, 1, 100);
    AddEntry(host, 1, "a1", 10, 101, 1000);
    AddEntry(host, 1, "a2", 10, 102, 2000);
    AddEntry(host, 2, "AA", 10, 11);
    AddEntry(host, 1, "b1", 20, 201, 5);
    AddEntry(host, 1, "aa1", 11, 111, 7);
    view.ExpandRoot(0);
  }
  controls::TreeItem Item(std::uint32_t key) { return view.FindFolder(key)->treeItem; }
  int Image(std::uint32_t key) { return view.Tree().GetStateImage(Item(key)); }
  int Mark(const std::string& name) {
    for (const auto& n : view.Nodes()) {
      if (n.name == name) return n.mark;
    }
    return -1;
  }
  void ClickFolder(std::uint32_t key) { view.ClickStateIcon(Item(key)); }
  void ClickRow(std::uint32_t folder, const std::string& name, std::uint32_t key) {
    view.Tree().Select(Item(folder));
    host.ClickListRow(name, key);
  }
};

TEST_F(TreeFixture, BuildsSortedItemsAndKeepsOrphans) {
  AddEntry(host, 2, "orphan", 999, 50);  // its parent never arrived: dropped
  AddEntry(host, 1, "lost", 999, 51);    // a file is kept whatever its parent
  AddEntry(host, 2, "0first", 0, 30);
  const std::string longName(255, 'n');
  AddEntry(host, 1, longName, 0, 31);
  EXPECT_EQ(view.FindFolder(50), nullptr);
  EXPECT_EQ(view.Nodes()[view.NodeCount() - 3].name, "lost");
  EXPECT_EQ(view.Nodes().back().name, longName);
  std::vector<std::string> top;
  for (auto c = view.Tree().GetChild(view.RootItem()); c; c = view.Tree().GetNext(c)) top.push_back(view.Tree().GetItemText(c));
  EXPECT_EQ(top, (std::vector<std::string>{"0first", "A", "B"}));
  EXPECT_EQ(view.Tree().GetItemData(Item(11)), 11u);
  EXPECT_EQ(view.Nodes()[0].parentKey, kRootParentKey);
}

TEST_F(TreeFixture, LookupsSeeNodesAddedAfterAnEarlierOne) {
  // A click may come while the scan still adds nodes: later lookups find the newer nodes too.
  ASSERT_NE(view.FindNode("a1", 101), nullptr);
  AddEntry(host, 1, "same key", 0, 101);
  AddEntry(host, 1, "late", 20, 301);
  EXPECT_EQ(view.FindNode("a1", 101), &view.Nodes()[4]);
  ASSERT_NE(view.FindNode("same key", 101), nullptr);
  view.Tree().Select(Item(20));
  view.SetNodeMark(1, 301, "late", 1);
  EXPECT_EQ(Mark("late"), 1);
  ClickFolder(20);
  ClickFolder(20);
  EXPECT_EQ(Mark("late"), 0);
}

TEST_F(TreeFixture, RootClickMarksEverythingAndTheList) {
  ClickFolder(0);
  for (const auto& n : view.Nodes()) EXPECT_EQ(n.mark, 1) << n.name;
  for (std::uint32_t k : {0u, 10u, 11u, 20u}) EXPECT_EQ(Image(k), kStateChecked);
  for (const auto& row : host.rows) EXPECT_EQ(row.image, 3);
  EXPECT_EQ(host.markedBytes, 100u + 1000 + 2000 + 5 + 7);
  EXPECT_EQ(host.markedFiles, 5u);
  EXPECT_EQ(host.markedFolders, 4u);
  EXPECT_EQ(host.app.markedBytesFlag, 1);
  ClickFolder(0);
  for (const auto& n : view.Nodes()) EXPECT_EQ(n.mark, 0) << n.name;
  EXPECT_EQ(Image(11), kStateUnchecked);
  EXPECT_EQ(host.markedPane, "   Marked 0 Bytes in 0 Files in 0 Folders");
}

struct Click {
  bool folder;
  std::uint32_t folderKey;  // the folder clicked, or the folder whose row is clicked
  std::string row;
  std::uint32_t rowKey;
};

struct PropagationCase {
  const char* what;
  std::vector<Click> clicks;
  int a, aa, b, root;  // expected state images
};

TEST_F(TreeFixture, MarksPropagateUpAndDown) {
  const std::vector<PropagationCase> cases = {
      {"a subfolder checked, its parent's files not", {{true, 11, "", 0}}, kStatePartly, kStateChecked, kStateUnchecked,
       kStatePartly},
      {"a folder checks its subtree", {{true, 10, "", 0}}, kStateChecked, kStateChecked, kStateUnchecked, kStatePartly},
      {"all folders checked, a root file not", {{true, 10, "", 0}, {true, 20, "", 0}}, kStateChecked, kStateChecked,
       kStateChecked, kStatePartly},
      {"everything checked piece by piece",
       {{true, 10, "", 0}, {true, 20, "", 0}, {false, 0, "r1", 1}},
       kStateChecked, kStateChecked, kStateChecked, kStateChecked},
      {"the only unmarked rows checked make the folder checked",
       {{true, 11, "", 0}, {false, 10, "a1", 101}, {false, 10, "a2", 102}},
       kStateChecked, kStateChecked, kStateUnchecked, kStatePartly},
      {"one file of a checked folder unchecked",
       {{true, 10, "", 0}, {false, 10, "a1", 101}},
       kStatePartly, kStateChecked, kStateUnchecked, kStatePartly},
      {"unchecking the last checked part leaves all unchecked",
       {{true, 11, "", 0}, {true, 11, "", 0}},
       kStateUnchecked, kStateUnchecked, kStateUnchecked, kStateUnchecked},
      {"a partly checked folder clicked unchecks its subtree",
       {{true, 11, "", 0}, {true, 10, "", 0}},
       kStateUnchecked, kStateUnchecked, kStateUnchecked, kStateUnchecked},
  };
  for (const auto& c : cases) {
    view.MarkSubtree(0, 0, view.RootItem());  // all clear
    view.ExpandRoot(0);
    for (const auto& click : c.clicks) {
      if (click.folder) {
        ClickFolder(click.folderKey);
      } else {
        ClickRow(click.folderKey, click.row, click.rowKey);
      }
    }
    EXPECT_EQ(Image(10), c.a) << c.what;
    EXPECT_EQ(Image(11), c.aa) << c.what;
    EXPECT_EQ(Image(20), c.b) << c.what;
    EXPECT_EQ(Image(0), c.root) << c.what;
    // A folder's mark mirrors its state image.
    EXPECT_EQ(Mark("A") + 1, c.a) << c.what;
    EXPECT_EQ(Mark("Root") + 1, c.root) << c.what;
  }
}

// Entries that share an extent (hard links; every empty file of an xorriso disc; a file recorded
// at a folder's extent) are told apart by where they are: a mark goes to the entry ticked.
TEST_F(TreeFixture, EntriesSharingAnExtentAreMarkedWhereTicked) {
  AddEntry(host, 1, "x.txt", 10, 500, 6);
  AddEntry(host, 1, "x.txt", 20, 500, 6);
  AddEntry(host, 1, "AA", 20, 11, 0);  // a file of B at the extent of folder A/AA
  auto markIn = [&](std::uint32_t folder, const std::string& name) {
    for (const auto& n : view.Nodes()) {
      if (n.parentKey == folder && n.name == name) return static_cast<int>(n.mark);
    }
    return -1;
  };
  ClickRow(20, "x.txt", 500);
  EXPECT_EQ(markIn(20, "x.txt"), 1);
  EXPECT_EQ(markIn(10, "x.txt"), 0);
  EXPECT_EQ(Image(20), kStatePartly);
  EXPECT_EQ(Image(10), kStateUnchecked);
  ClickRow(20, "b1", 201);
  ClickRow(20, "AA", 11);
  EXPECT_EQ(Image(20), kStateChecked);
  EXPECT_EQ(Image(11), kStateUnchecked);
  EXPECT_EQ(Mark("aa1"), 0);
  // Folder A/AA ticked in the tree marks the folder and what lies in it, not B's file.
  ClickRow(20, "AA", 11);
  ClickFolder(11);
  EXPECT_EQ(markIn(20, "AA"), 0);
  EXPECT_EQ(markIn(10, "AA"), 1);
  EXPECT_EQ(Image(20), kStatePartly);
  std::uint32_t folders = 0, files = 0;
  view.CountMarked(&folders, &files);
  EXPECT_EQ(folders, 1u);
  EXPECT_EQ(files, 3u);  // B's x.txt and b1, AA's aa1
}

TEST_F(TreeFixture, PartlyMarkedFoldersAreNotCounted) {
  ClickFolder(11);
  std::uint32_t folders = 0, files = 0;
  EXPECT_EQ(view.CountMarked(&folders, &files), 7u);
  EXPECT_EQ(folders, 1u);  // AA; A and Root are partly marked
  EXPECT_EQ(files, 1u);
  EXPECT_EQ(host.app.somethingMarked, 1);
  EXPECT_EQ(view.CountFiles(0), 1);
  EXPECT_EQ(view.CountFiles(1), 5);
  EXPECT_EQ(view.CountFiles(2), 0);
  EXPECT_EQ(view.CountFiles(7), 0);
  view.UnmarkFolder(Item(10));  // A is partly marked: cleared
  EXPECT_EQ(Mark("A"), 0);
}

TEST_F(TreeFixture, ListFollowsClicksOnTheCaretFolderOnly) {
  view.Tree().Select(Item(10));
  ASSERT_EQ(host.rows.size(), 3u);
  ClickFolder(20);  // a sibling of the caret: no row changes
  for (const auto& row : host.rows) EXPECT_EQ(row.image, 2);
  ClickFolder(10);  // the caret's own box: every row
  for (const auto& row : host.rows) EXPECT_EQ(row.image, 3);
  view.Tree().Select(view.RootItem());
  ClickFolder(11);  // deeper, caret Root: A's row shows A's state
  for (const auto& row : host.rows) {
    if (row.name == "A") {
      EXPECT_EQ(row.image, Image(10) + 1);
    }
  }
}

TEST_F(TreeFixture, OpensChildFoldersByData) {
  view.Tree().Select(view.RootItem());
  EXPECT_EQ(view.SelectChildByData(999), 0);
  EXPECT_EQ(view.SelectChildByData(10), 1);
  EXPECT_EQ(view.Tree().GetSelection(), Item(10));
  EXPECT_EQ(host.rows.size(), 3u);  // the list shows A's entries
  view.SelectItemByKey(11);
  EXPECT_EQ(view.Tree().GetSelection(), Item(11));
  view.CollapseRootChildren();
  EXPECT_FALSE(view.Tree().IsExpanded(Item(10)));
}

TEST_F(TreeFixture, ClicksBesideTheStateIconChangeNothing) {
  controls::TreeRect rect;
  ASSERT_TRUE(view.Tree().GetStateIconRect(Item(10), rect));
  EXPECT_FALSE(view.OnLButtonDown({rect.x + rect.width + 30, rect.y + 2}));
  EXPECT_EQ(Image(10), kStateUnchecked);
  EXPECT_TRUE(view.OnLButtonDown({rect.x + 2, rect.y + 2}));
  EXPECT_EQ(Image(10), kStateChecked);
}

TEST_F(TreeFixture, FindNextContinuesAfterTheLastMatch) {
  AddEntry(host, 1, "A1", 20, 202);
  host.app.findText = "a1";
  host.app.findLastMatch = 0;
  view.FindNextItem();  // a1 (node 4)
  EXPECT_EQ(host.app.findLastMatch, 4);
  EXPECT_EQ(view.Tree().GetSelection(), Item(10));
  ASSERT_GE(host.hotRow, 0);
  EXPECT_EQ(host.rows[host.hotRow].name, "a1");
  view.FindNextItem();  // A1, case ignored
  EXPECT_EQ(view.Nodes()[host.app.findLastMatch].name, "A1");
  EXPECT_EQ(view.Tree().GetSelection(), Item(20));
  host.app.findNext = 1;
  view.FindNextItem();  // past the last node
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "No More Entries Are Available");
  EXPECT_EQ(host.messages.back().caption, "Search Failure");
  EXPECT_EQ(host.app.findNext, 0);
  host.app.findMatchCase = 1;
  host.app.findLastMatch = 0;
  view.FindNextItem();
  EXPECT_EQ(host.app.findLastMatch, 4);
  view.FindNextItem();
  EXPECT_EQ(host.app.findLastMatch, 4);  // "A1" differs in case: nothing more
}

}  // namespace

namespace {

// Two files of 3,000,000,000 bytes: the amounts pass 4 GiB.
TEST(MarkedAmount, CountsPastFourGigabytes) {
  TestImage img(40);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {{"BIG1;1", 30, 3000000000u, false}, {"BIG2;1", 31, 3000000000u, false}});
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(host.TotalsPane(), "   Total 6000 MB in 2 Files in 0 Folders");
  host.treeView.ClickStateIcon(host.treeView.RootItem());
  EXPECT_EQ(host.markedBytes, 6000000000u);
  EXPECT_EQ(host.markedPane, "   Marked 6000 MB in 2 Files in 1 Folders");
  UnselectAll(host.reader);
  SelectAll(host.reader);
  EXPECT_EQ(host.markedPane, "   Marked 6000 MB in 2 Files in 0 Folders");
}

}  // namespace
