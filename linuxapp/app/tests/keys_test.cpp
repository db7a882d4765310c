// Keys and closings in the real window, typed with the real keyboard.
#include <gtest/gtest.h>

#include <wx/listctrl.h>

#include "ext2engine/linux_drive.h"
#include "linux_gui_support.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class Keys : public WorkbenchTest {};

// Closing the window with an unsaved scan: Esc or the close box of the question keeps the window
// and the scan; only No lets them go.
TEST_F(Keys, OnlyNoToSaveScanInformationLetsTheWindowClose) {
  OpenDrive(0);
  ASSERT_EQ(App().scanSaved, 0);
  const std::pair<const char*, std::function<void(wxDialog*)>> closings[] = {
      {"Esc", [](wxDialog* dlg) { PressKey(dlg, WXK_ESCAPE); }},
      {"close box", [](wxDialog* dlg) { dlg->Close(); }},
  };
  for (const auto& [how, close] : closings) {
    SCOPED_TRACE(how);
    ModalAnswers answers({close});
    frame->Close(false);
    Pump();
    EXPECT_EQ(answers.Done(), 1u);
    if (wxTheApp->IsScheduledForDestruction(frame)) {
      frame = nullptr;
      Pump();
      FAIL() << "the window closed";
    }
    EXPECT_TRUE(frame->IsShown());
    EXPECT_TRUE(App().currentDrive);
  }
  ModalAnswers no({[](wxDialog* dlg) { PressButton(dlg, wxID_NO); }});
  frame->Close(false);
  EXPECT_EQ(no.Done(), 1u);
  EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
  EXPECT_FALSE(App().currentDrive);
  EXPECT_EQ(App().scanSaved, 0);
  frame = nullptr;
  Pump();
}

}  // namespace

namespace {

using namespace guitest;
using namespace ext2::testing;

// Enter on a folder row of the list, typed with the real keyboard, opens that folder; on a file
// row it does nothing.
TEST_F(Keys, EnterOnAFolderRowOfTheListOpensIt) {
  OpenDrive(0);
  CLeftView& tree = *frame->LeftView();
  ASSERT_TRUE(tree.SelectEntry(kRootInode));
  Pump();
  auto& list = dynamic_cast<controls::WxListControl&>(frame->ListView()->List());
  auto rowOf = [&](const std::string& kind) {
    for (int r = 0; r < list.GetItemCount(); ++r) {
      if (list.GetItemText(r, 1) == kind) return r;
    }
    return -1;
  };
  auto selectedName = [&] { return tree.Tree().GetItemText(tree.Tree().GetSelection()); };
  auto* window = static_cast<wxListCtrl*>(list.Window());
  auto enterOn = [&](int row) {
    window->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    PressKey(list.ItemWindow(), WXK_RETURN);
    Pump();
  };
  const int file = rowOf("File");
  if (file >= 0) {
    enterOn(file);
    EXPECT_EQ(selectedName(), "Root");
  }
  const int folder = rowOf("Folder");
  ASSERT_GE(folder, 0);
  const std::string name = list.GetItemText(folder, 0);
  enterOn(folder);
  EXPECT_EQ(selectedName(), name);
}

}  // namespace

namespace {

using namespace guitest;
using namespace ext2::testing;

// Select Logical Drive opens with its first row chosen: the real Enter key opens that drive.
TEST_F(Keys, EnterInSelectLogicalDriveOpensTheFirstRow) {
  OpenDrive(1);
  App().scanSaved = 1;
  int rowsSelected = -1;
  ModalAnswers answers({[&](wxDialog* dlg) {
                          auto* drives = dynamic_cast<CSelectLogicalDriveDlg*>(dlg);
                          ASSERT_NE(drives, nullptr);
                          rowsSelected = drives->List()->GetSelectedItemCount();
                          PressKey(drives->List(), WXK_RETURN);
                        },
                        [](wxDialog* dlg) {
                          // The caution after the tree; or, when Enter left the dialog open, Cancel.
                          PressButton(dlg, dynamic_cast<CSelectLogicalDriveDlg*>(dlg) ? wxID_CANCEL : wxID_OK);
                        }});
  frame->OpenDrive();
  Pump();
  EXPECT_EQ(rowsSelected, 1);
  EXPECT_EQ(answers.Done(), 2u);
  int opened = 0;
  for (const auto& r : frame->Log()->Rows()) opened += r.activity == "Logical drive #1 selected";
  EXPECT_EQ(opened, 1);
  ASSERT_TRUE(App().currentDrive);
  EXPECT_EQ(App().currentDrive->driveIndex, 0u);
}

}  // namespace
