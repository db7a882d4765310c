// The File Mask over a CD tree on the in-memory controls: which folders and files stay, the new
// tree, the panes, and a second mask starting again from the full scan.
#include "cdviews/file_mask.h"

#include <gtest/gtest.h>

#include <set>

#include "test_tree.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::testing;
using namespace cd::headless;

namespace {

constexpr CdDate kToday{2024, 5, 15};

// Root(0): docs(10) [a.txt 101, b.doc 102, deep(11) [deeper(12) [c.txt 121]]], empty(20) [d.bin 201],
// none(30) [], r.txt 1, gone.txt 2 (deleted), orphan.txt 3 (its folder 99 never arrived).
struct MaskFixture : ::testing::Test {
  CdHeadlessHost host;
  CdTreeView& view = host.treeView;
  CdFileMask mask;

  void Add(std::uint8_t type, const std::string& name, std::uint32_t parent, std::uint32_t key,
           std::uint32_t size = 0, CdDate date = {2024, 5, 1}, std::uint8_t existence = 2) {
    cdtest::AddEntry(host, type, name, parent, key, size, date, existence);
  }

  void SetUp() override {
    cdtest::StartTree(host);
    Add(2, "docs", 0, 10);
    Add(2, "empty", 0, 20);
    Add(2, "none", 0, 30);
    Add(1, "r.txt", 0, 1, 1500);
    Add(1, "gone.txt", 0, 2, 2500, {2024, 5, 1}, 1);
    Add(1, "orphan.txt", 99, 3, 10);
    Add(1, "a.txt", 10, 101, 3000000, {2024, 5, 14});
    Add(1, "b.doc", 10, 102, 4000);
    Add(2, "deep", 10, 11);
    Add(2, "deeper", 11, 12);
    Add(1, "c.txt", 12, 121, 5000, {2023, 12, 24});
    Add(1, "d.bin", 20, 201, 6000);
    view.ExpandRoot(1);
    host.app.contentsShown = 1;
    host.app.mask = CdFileMaskSettings{};
    host.app.mask.deletedEntries = host.app.mask.existingEntries = 1;
  }

  void ApplyExtensions(const std::string& text) {
    host.app.mask.maskPresent = !text.empty();
    host.reader.fileMaskPatterns = SplitMaskPatterns(text);
    mask.Apply(host.reader, host.treeView, kToday);
  }

  // The tree below ITEM as "name(child child ...)", children in tree order.
  std::string Shape(controls::TreeItem item) {
    std::string s = view.Tree().GetItemText(item);
    std::string inner;
    for (auto c = view.Tree().GetChild(item); c != controls::kNoItem; c = view.Tree().GetNext(c)) {
      inner += (inner.empty() ? "" : " ") + Shape(c);
    }
    return inner.empty() ? s : s + "(" + inner + ")";
  }
  std::set<std::string> FileNames() {
    std::set<std::string> names;
    for (const auto& n : view.Nodes()) {
      if (n.type == 1) names.insert(n.name);
    }
    return names;
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> names;
    for (const auto& r : host.rows) names.push_back(r.name);
    return names;
  }
};

TEST(SplitMaskPatterns, PartsBetweenSemicolons) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitMaskPatterns("*.txt;*.doc"), (V{"*.txt", "*.doc"}));
  EXPECT_EQ(SplitMaskPatterns("*.txt;"), (V{"*.txt"}));
  EXPECT_EQ(SplitMaskPatterns("x"), V{});
  EXPECT_EQ(SplitMaskPatterns(""), V{});
  EXPECT_EQ(SplitMaskPatterns(";*.a;;*.b"), (V{"", "*.a", "", "*.b"}));
  EXPECT_EQ(SplitMaskPatterns(" *.a ; *.b"), (V{" *.a ", " *.b"}));
}

TEST_F(MaskFixture, KeepsExactlyTheFoldersThatLeadToPassingFiles) {
  ApplyExtensions("*.txt");
  EXPECT_EQ(Shape(view.RootItem()), "Root(docs(deep(deeper)))");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"r.txt", "gone.txt", "a.txt", "c.txt"}));
  // Breadth first: Root, its entries, then those of each folder in turn.
  std::vector<std::string> order;
  for (const auto& n : view.Nodes()) order.push_back(n.name);
  EXPECT_EQ(order, (std::vector<std::string>{"Root", "r.txt", "gone.txt", "docs", "a.txt", "deep", "deeper", "c.txt"}));
  const TreeItemNode* deeper = view.FindFolder(12);
  ASSERT_NE(deeper, nullptr);
  EXPECT_EQ(view.Tree().GetItemData(deeper->treeItem), 12u);
  EXPECT_EQ(view.FindNode("c.txt", 121)->size, 5000u);
  EXPECT_EQ(view.FindNode("c.txt", 121)->date[1], 12);
  EXPECT_EQ(view.FindNode("gone.txt", 2)->existence, 1);
  // Root is selected and open, the folders below it closed; the list shows Root's entries.
  EXPECT_EQ(view.Tree().GetSelection(), view.RootItem());
  EXPECT_TRUE(view.Tree().IsExpanded(view.RootItem()));
  EXPECT_FALSE(view.Tree().IsExpanded(view.FindFolder(10)->treeItem));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"r.txt", "gone.txt", "docs"}));
  // Totals: Root and three folders, four files.
  EXPECT_EQ(host.totalFolders, 4u);
  EXPECT_EQ(host.totalFiles, 4u);
  EXPECT_EQ(host.reader.totalBytes, 1500u + 2500 + 3000000 + 5000);
  EXPECT_EQ(host.app.fileMaskApplied, 1);
  EXPECT_EQ(host.app.contentsShown, 1);
  EXPECT_EQ(mask.SavedList().size(), 13u);
}

TEST_F(MaskFixture, NoPassingFileLeavesRootAlone) {
  ApplyExtensions("*.zip");
  EXPECT_EQ(Shape(view.RootItem()), "Root");
  EXPECT_EQ(view.NodeCount(), 1u);
  EXPECT_TRUE(host.rows.empty());
  EXPECT_EQ(host.totalFolders, 1u);
  EXPECT_EQ(host.totalFiles, 0u);
  EXPECT_EQ(host.TotalsPane(), "   Total 0 Bytes in 0 Files in 1 Folders");
}

TEST_F(MaskFixture, ASecondMaskStartsFromTheFullScan) {
  ApplyExtensions("*.txt");
  ApplyExtensions("*.bin;*.doc");
  EXPECT_EQ(Shape(view.RootItem()), "Root(docs empty)");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"b.doc", "d.bin"}));
  EXPECT_EQ(mask.SavedList().size(), 13u);
  // No criteria in force: the whole scan comes back (bar the entries no folder holds).
  ApplyExtensions("");
  EXPECT_EQ(Shape(view.RootItem()), "Root(docs(deep(deeper)) empty)");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"r.txt", "gone.txt", "a.txt", "b.doc", "c.txt", "d.bin"}));
}

TEST_F(MaskFixture, AMaskAfterANewScanFiltersThatScan) {
  ApplyExtensions("*.txt");
  // Open Drive clears the flag and builds a new tree.
  host.app.fileMaskApplied = 0;
  view.ClearTree();
  view.InsertRootItem();
  Add(2, "new", 0, 40);
  Add(1, "n.txt", 40, 401, 1);
  ApplyExtensions("*.txt");
  EXPECT_EQ(Shape(view.RootItem()), "Root(new)");
  EXPECT_EQ(mask.SavedList().size(), 3u);
}

TEST_F(MaskFixture, CriteriaTogether) {
  // Deleted files only.
  host.app.mask.existingEntries = 0;
  ApplyExtensions("");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"gone.txt"}));
  EXPECT_EQ(Shape(view.RootItem()), "Root");
  // Existing .txt files of at least 2 MB dated in the last 5 days.
  host.app.mask.existingEntries = 1;
  host.app.mask.deletedEntries = 0;
  host.app.mask.sizeFromActive = 1;
  host.app.mask.sizeFromMb = 2;
  host.app.mask.daysActive = 1;
  host.app.mask.days = 5;
  ApplyExtensions("*.TXT");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"a.txt"}));
  EXPECT_EQ(Shape(view.RootItem()), "Root(docs)");
  // Between 20 December and 1 January: only c.txt of 24 December.
  host.app.mask = CdFileMaskSettings{};
  host.app.mask.deletedEntries = host.app.mask.existingEntries = 1;
  host.app.mask.dateRangeActive = 1;
  host.app.mask.fromYear = 2024, host.app.mask.fromMonth = 1, host.app.mask.fromDay = 1;
  host.app.mask.toYear = 2023, host.app.mask.toMonth = 12, host.app.mask.toDay = 20;
  ApplyExtensions("");
  EXPECT_EQ(FileNames(), (std::set<std::string>{"c.txt"}));
}

TEST_F(MaskFixture, MarksAreKeptAndShownAndCounted) {
  // a.txt marked in the full tree: docs partly, Root partly.
  view.Tree().Select(view.FindFolder(10)->treeItem);
  host.ClickListRow("a.txt", 101);
  ASSERT_EQ(view.FindFolder(10)->mark, 2);
  ApplyExtensions("*.txt");
  const TreeItemNode* docs = view.FindFolder(10);
  EXPECT_EQ(view.Tree().GetStateImage(docs->treeItem), controls::kStatePartly);
  EXPECT_EQ(view.FindNode("a.txt", 101)->mark, 1);
  EXPECT_EQ(view.Tree().GetStateImage(view.FindFolder(11)->treeItem), controls::kStateUnchecked);
  EXPECT_EQ(host.markedFiles, 1u);
  EXPECT_EQ(host.markedBytes, 3000000u);
  EXPECT_EQ(host.app.somethingMarked, 1);
  // A mark made while the mask is in force stays with the masked copy: the next mask starts
  // from the scan's marks.
  view.ClickStateIcon(view.FindFolder(12)->treeItem);
  EXPECT_EQ(view.FindNode("c.txt", 121)->mark, 1);
  ApplyExtensions("*.txt");
  EXPECT_EQ(view.FindNode("c.txt", 121)->mark, 0);
  EXPECT_EQ(host.markedFiles, 1u);
}

}  // namespace
