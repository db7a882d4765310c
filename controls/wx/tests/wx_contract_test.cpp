// The tree and list contracts run against the wx adapters, in a shown frame.
#include "controls/wx/wx_list_control.h"
#include "controls/wx/wx_tree_control.h"
#include "gui_test_support.h"
#include "list_control_contract.h"
#include "tree_control_contract.h"

namespace {

struct WxTreeFactory {
  static std::unique_ptr<controls::TreeControl> Make() {
    auto tree = std::make_unique<controls::WxTreeControl>(guitest::Frame());
    tree->Window()->SetSize(guitest::Frame()->GetClientSize());
    return tree;
  }
};

struct WxListFactory {
  static std::unique_ptr<controls::ListControl> Make() {
    auto list = std::make_unique<controls::WxListControl>(guitest::Frame());
    list->Window()->SetSize(guitest::Frame()->GetClientSize());
    return list;
  }
};

}  // namespace

using WxTreeTypes = ::testing::Types<WxTreeFactory>;
INSTANTIATE_TYPED_TEST_SUITE_P(Wx, TreeControlContract, WxTreeTypes);
using WxListTypes = ::testing::Types<WxListFactory>;
INSTANTIATE_TYPED_TEST_SUITE_P(Wx, ListControlContract, WxListTypes);

// The programs give their rows and items icons; the state icon must still be where clicks find it.
namespace {

wxBitmap Square(int size, const wxColour& colour) {
  wxImage img(size, size);
  img.SetRGB(wxRect(0, 0, size, size), colour.Red(), colour.Green(), colour.Blue());
  return wxBitmap(img);
}

TEST(WxAdapters, StateIconIsHitBesideItemIcons) {
  controls::WxTreeControl tree(guitest::Frame());
  tree.Window()->SetSize(guitest::Frame()->GetClientSize());
  auto* images = new wxImageList(16, 16);
  images->Add(Square(16, *wxBLUE));
  images->Add(Square(16, *wxGREEN));
  tree.SetImageList(images);
  const auto root = tree.InsertSorted(controls::kNoItem, "Root", 0, 1);
  const auto file = tree.InsertSorted(root, "file", 1, 1);
  tree.SetStateImage(root, controls::kStateChecked);
  tree.SetStateImage(file, controls::kStatePartly);
  tree.Expand(root);
  for (auto item : {root, file}) {
    controls::TreeRect rect;
    ASSERT_TRUE(tree.GetStateIconRect(item, rect));
    for (int dx : {1, rect.width / 2, rect.width - 2}) {
      const auto hit = tree.HitTest({rect.x + dx, rect.y + rect.height / 2});
      EXPECT_EQ(hit.item, item);
      EXPECT_TRUE(hit.flags & controls::kHitOnStateIcon) << dx;
    }
    EXPECT_TRUE(tree.HitTest({rect.x + rect.width + 8, rect.y + rect.height / 2}).flags & controls::kHitOnIcon);
  }

  controls::WxListControl list(guitest::Frame());
  list.Window()->SetSize(guitest::Frame()->GetClientSize());
  list.SetIcons({Square(16, *wxBLUE), Square(16, *wxGREEN)}, {Square(32, *wxBLUE), Square(32, *wxGREEN)});
  list.InsertColumn(0, "Name", 110, controls::ListAlign::Left);
  for (const char* name : {"folder", "file"}) {
    const int row = list.InsertItem(list.GetItemCount(), name, list.GetItemCount());
    list.SetStateImage(row, controls::kListStateUnchecked);
  }
  for (auto style : {controls::ListViewStyle::Report, controls::ListViewStyle::Icon, controls::ListViewStyle::SmallIcon,
                     controls::ListViewStyle::List}) {
    list.SetViewStyle(style);
    for (int row : {0, 1}) {
      controls::ListRect rect;
      ASSERT_TRUE(list.GetStateIconRect(row, rect));
      for (int dx : {1, rect.width / 2, rect.width - 2}) {
        const auto hit = list.HitTest({rect.x + dx, rect.y + rect.height / 2});
        EXPECT_EQ(hit.row, row) << static_cast<int>(style);
        EXPECT_EQ(hit.flags, controls::kListHitOnStateIcon) << static_cast<int>(style) << " " << dx;
      }
      EXPECT_EQ(list.HitTest({rect.x + rect.width + 8, rect.y + rect.height / 2}).flags, controls::kListHitOnIcon);
    }
  }
}

}  // namespace

namespace {

TEST(WxAdapters, TreeSelectionSettlesAtIdleWithOneNoticePerChange) {
  controls::WxTreeControl tree(guitest::Frame());
  tree.Window()->SetSize(guitest::Frame()->GetClientSize());
  std::vector<controls::TreeItem> seen;
  tree.SetSelectionHandler([&](controls::TreeItem item) { seen.push_back(item); });
  const auto root = tree.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto a = tree.InsertSorted(root, "a", 0, 0);
  const auto b = tree.InsertSorted(a, "b", 0, 0);
  tree.Select(b);
  // Closing the folder of the selected item moves the selection to the folder, with a notice.
  tree.Collapse(a);
  guitest::Pump(std::chrono::milliseconds(50));
  EXPECT_EQ(tree.GetSelection(), a);
  // Deleting everything tells of it once, not again when the tree settles afterwards.
  tree.DeleteAll();
  guitest::Pump(std::chrono::milliseconds(50));
  EXPECT_EQ(seen, (std::vector<controls::TreeItem>{b, a, controls::kNoItem}));
  EXPECT_EQ(tree.GetSelection(), controls::kNoItem);
}

}  // namespace

namespace {

// While frozen, the window gets no state image until the item is shown (it measures the item's
// text for each), yet the contract reports every state at once and clicks still find the boxes.
TEST(WxAdapters, FrozenTreeGivesStateImagesWhenItemsAreShown) {
  controls::WxTreeControl tree(guitest::Frame());
  wxTreeCtrl& window = *tree.Window();
  window.SetSize(guitest::Frame()->GetClientSize());
  tree.Freeze();
  const auto root = tree.InsertSorted(controls::kNoItem, "Root", 0, 0);
  const auto a = tree.InsertSorted(root, "a", 0, 0);
  const auto b = tree.InsertSorted(a, "b", 0, 0);
  const auto c = tree.InsertSorted(root, "c", 0, 0);
  for (auto item : {root, a, b, c}) tree.SetStateImage(item, controls::kStateUnchecked);
  tree.SetStateImage(c, controls::kStateChecked);
  tree.Expand(root);
  tree.Expand(a);
  EXPECT_EQ(tree.GetStateImage(c), controls::kStateChecked);
  EXPECT_EQ(window.GetItemState(controls::WxTreeControl::ToId(c)), wxTREE_ITEMSTATE_NONE);
  tree.Collapse(a);
  tree.Thaw();
  auto shown = [&](controls::TreeItem item) { return window.GetItemState(controls::WxTreeControl::ToId(item)); };
  EXPECT_EQ(shown(root), controls::kStateUnchecked);
  EXPECT_EQ(shown(a), controls::kStateUnchecked);
  EXPECT_EQ(shown(c), controls::kStateChecked);
  EXPECT_EQ(shown(b), wxTREE_ITEMSTATE_NONE);  // under a closed folder
  EXPECT_EQ(tree.GetStateImage(b), controls::kStateUnchecked);
  tree.Expand(a);
  EXPECT_EQ(shown(b), controls::kStateUnchecked);
  // A state set after the thaw goes to the window at once.
  tree.SetStateImage(b, controls::kStatePartly);
  EXPECT_EQ(shown(b), controls::kStatePartly);

  // A click while frozen still finds the box of a shown item.
  tree.Freeze();
  const auto d = tree.InsertSorted(root, "d", 0, 0);
  tree.SetStateImage(d, controls::kStateChecked);
  controls::TreeRect rect;
  ASSERT_TRUE(tree.GetStateIconRect(d, rect));
  const auto hit = tree.HitTest({rect.x + rect.width / 2, rect.y + rect.height / 2});
  EXPECT_EQ(hit.item, d);
  EXPECT_TRUE(hit.flags & controls::kHitOnStateIcon);
  tree.Thaw();
}

}  // namespace
