// Find over the CD tree's node list, and Find Next going on from its match.
#include "cdviews/find_entry.h"

#include <gtest/gtest.h>

#include "test_tree.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::testing;
using namespace cd::headless;

namespace {

// Root(0): A(10) [Readme 101, sub(11) [readme 111 deleted]], readme.txt 1, only.del 2 (deleted).
struct FindFixture : ::testing::Test {
  CdHeadlessHost host;
  CdTreeView& view = host.treeView;

  void Add(std::uint8_t type, const std::string& name, std::uint32_t parent, std::uint32_t key,
           std::uint8_t existence = 2) {
    cdtest::AddEntry(host, type, name, parent, key, 0, {2024, 5, 1}, existence);
  }
  void SetUp() override {
    cdtest::StartTree(host);
    Add(2, "A", 0, 10);
    Add(1, "readme.txt", 0, 1);
    Add(1, "only.del", 0, 2, 1);
    Add(1, "Readme", 10, 101);
    Add(2, "sub", 10, 11);
    Add(1, "readme", 11, 111, 1);
    view.ExpandRoot(1);
  }
  std::string Caret() { return view.Tree().GetItemText(view.Tree().GetSelection()); }
  std::string HotRow() { return host.hotRow < 0 ? "" : host.rows[host.hotRow].name; }
};

TEST_F(FindFixture, WholeNamesInListOrderThenFindNext) {
  ASSERT_TRUE(FindEntry(view, &host, host.app, "README"));
  EXPECT_EQ(host.app.findLastMatch, 4);
  EXPECT_EQ(Caret(), "A");
  EXPECT_EQ(HotRow(), "Readme");
  EXPECT_EQ(host.app.findNext, 1);
  EXPECT_EQ(host.app.findText, "README");
  // Find Next goes on after the match: the deleted one in sub, then no more.
  view.FindNextItem();
  EXPECT_EQ(Caret(), "sub");
  EXPECT_EQ(HotRow(), "readme");
  view.FindNextItem();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "No More Entries Are Available");
  EXPECT_EQ(host.app.findNext, 0);
}

TEST_F(FindFixture, OptionsDecideTheCandidates) {
  struct Case {
    const char* text;
    int matchCase, existing, deleted;
    const char* caret;  // null: no match
    const char* row;
  };
  const Case cases[] = {
      {"readme", 1, 1, 1, "sub", "readme"},     // match case skips "Readme"
      {"readme", 0, 0, 1, "sub", "readme"},     // existing entries unchecked
      {"only.del", 0, 1, 1, "Root", "only.del"},  // found only as a deleted entry
      {"only.del", 0, 1, 0, nullptr, nullptr},
      {"sub", 0, 1, 1, "A", "sub"},              // a folder: its parent selected, the folder's row shown
      {"readme.tx", 0, 1, 1, nullptr, nullptr},  // whole names only
  };
  for (const auto& c : cases) {
    host.app.findMatchCase = c.matchCase;
    host.app.findExisting = c.existing;
    host.app.findDeleted = c.deleted;
    view.Tree().Select(view.RootItem());
    const bool found = FindEntry(view, &host, host.app, c.text);
    EXPECT_EQ(found, c.caret != nullptr) << c.text;
    EXPECT_EQ(host.app.findNext, found ? 1 : 0) << c.text;
    if (found) {
      EXPECT_EQ(Caret(), c.caret) << c.text;
      EXPECT_EQ(HotRow(), c.row) << c.text;
    }
  }
}

}  // namespace
