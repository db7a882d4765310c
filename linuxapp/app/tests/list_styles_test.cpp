// The list's four styles in the real window: every row with its name and picture in each, and
// every column back in Details.
#include <gtest/gtest.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>

#include <set>

#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class ListStyles : public WorkbenchTest {};

TEST_F(ListStyles, EveryStyleShowsEveryRowWithItsNameAndPicture) {
  OpenDrive(0);
  auto& list = dynamic_cast<controls::WxListControl&>(frame->ListView()->List());
  wxListCtrl* window = list.Window();
  const int rows = list.GetItemCount();
  ASSERT_GE(rows, 3);
  std::vector<std::vector<std::string>> texts(rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < list.GetColumnCount(); ++c) texts[r].push_back(list.GetItemText(r, c));
  }
  for (int id : {kIdList, kIdSmallIcons, kIdLargeIcons, kIdDetails, kIdLargeIcons, kIdDetails}) {
    SCOPED_TRACE(id);
    wxCommandEvent choose(wxEVT_MENU, WxId(id));
    frame->ProcessWindowEvent(choose);
    Pump();
    ASSERT_EQ(window->GetItemCount(), rows);
    std::set<std::pair<int, int>> places;
    for (int r = 0; r < rows; ++r) {
      EXPECT_EQ(window->GetItemText(r).utf8_string(), texts[r][0]) << r;
      // The row's place: room for its picture and its name, apart from every other row's.
      wxRect place;
      ASSERT_TRUE(window->GetItemRect(r, place));
      EXPECT_GT(place.width, 16) << r;
      EXPECT_GT(place.height, 16) << r;
      wxListItem item;
      item.SetId(r);
      item.SetMask(wxLIST_MASK_IMAGE);
      ASSERT_TRUE(window->GetItem(item));
      const wxImageList* pictures = window->GetImageList(id == kIdLargeIcons ? wxIMAGE_LIST_NORMAL : wxIMAGE_LIST_SMALL);
      ASSERT_NE(pictures, nullptr);
      EXPECT_GE(item.GetImage(), 0) << r;
      EXPECT_LT(item.GetImage(), pictures->GetImageCount()) << r;
      places.emplace(place.x, place.y);
    }
    EXPECT_EQ(places.size(), static_cast<std::size_t>(rows)) << "rows drawn over each other";
    if (id == kIdDetails) {
      ASSERT_EQ(window->GetColumnCount(), 7);
      for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 7; ++c) EXPECT_EQ(window->GetItemText(r, c).utf8_string(), texts[r][c]) << r << "," << c;
      }
    }
  }
}

}  // namespace

namespace {

using namespace guitest;
using namespace ext2::testing;

// Every name shown in Details fits its column beside its picture, the lost+found folder and the
// "Inode #N" rows the search adds among them.
TEST_F(ListStyles, TheNameColumnShowsWholeNames) {
  OpenDrive(1);
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution 3"));
  Pump();
  auto& list = dynamic_cast<controls::WxListControl&>(frame->ListView()->List());
  wxListCtrl* window = list.Window();
  int pictureWidth = 0, pictureHeight = 0;
  ASSERT_TRUE(window->GetImageList(wxIMAGE_LIST_SMALL)->GetSize(0, pictureWidth, pictureHeight));
  std::set<std::string> seen;
  bool inodeRow = false;
  for (std::uint32_t folder : {kRootInode, kDeletedFilesInode, kLostFoldersInode}) {
    if (!frame->LeftView()->SelectEntry(folder)) continue;
    Pump();
    for (int r = 0; r < window->GetItemCount(); ++r) {
      const wxString name = window->GetItemText(r);
      seen.insert(name.utf8_string());
      inodeRow |= name.StartsWith("Inode #");
      // The list draws a picture 2 pixels in with 5 after it, and keeps 8 pixels of the column clear.
      EXPECT_LE(2 + pictureWidth + 5 + window->GetTextExtent(name).x + 8, window->GetColumnWidth(0)) << name;
    }
  }
  EXPECT_TRUE(seen.count("lost+found"));
  EXPECT_TRUE(inodeRow);
}

}  // namespace

namespace {

using namespace guitest;
using namespace ext2::testing;

// A click on a heading sorts and shows the arrow; opening another folder refills the list in the
// drive's order, so the arrow goes with the sort.
TEST_F(ListStyles, RefillingTheListUnsortedTakesTheArrowAway) {
  OpenDrive(0);
  auto& list = dynamic_cast<controls::WxListControl&>(frame->ListView()->List());
  wxListCtrl* window = list.Window();
  const int sizeMiddle = window->GetColumnWidth(0) + window->GetColumnWidth(1) + window->GetColumnWidth(2) / 2;
  // The heading row lies above the rows' window.
  const int headerHeight = list.ItemWindow()->GetPosition().y;
  ASSERT_GT(headerHeight, 4);
  ClickAt(window, false, wxPoint(sizeMiddle, headerHeight / 2));
  Pump();
  ASSERT_EQ(list.Header().GetSortColumn(), 2);

  std::uint32_t docs = 0;
  for (const auto& e : frame->LeftView()->Entries())
    if (e.IsFolder() && e.name == "docs" && e.parentInode == kRootInode) docs = e.inode;
  ASSERT_NE(docs, 0u);
  ASSERT_TRUE(frame->LeftView()->SelectEntry(docs));
  Pump();
  ASSERT_GT(list.GetItemCount(), 0);
  EXPECT_EQ(list.Header().GetSortColumn(), -1);
}

}  // namespace
