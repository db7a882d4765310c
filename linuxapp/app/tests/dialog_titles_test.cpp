// Dialogs shown in the real window are wide enough for their whole title in the title bar: the
// title's width in the bold desktop font, and room for the title-bar buttons.
#include <gtest/gtest.h>
#include <wx/dcscreen.h>
#include <wx/settings.h>

#include <string>

#include "controls/wx/message_box.h"
#include "ext2engine/recovery.h"
#include "linux_gui_support.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

// What a dialog showed on the screen.
struct Seen {
  std::string title;
  int width = 0;
};

Seen Look(wxDialog* dlg) { return {dlg->GetTitle().utf8_string(), dlg->GetSize().x}; }

// The width TITLE takes in a title bar's (bold) font, with the room three title-bar buttons take.
int TitleNeeds(const std::string& title) {
  wxScreenDC dc;
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
  const wxSize text = dc.GetTextExtent(wxString::FromUTF8(title));
  return text.x + 3 * 2 * text.y;
}

bool NoSpace(const std::string&, std::uint64_t& bytes) {
  bytes = 0;
  return true;
}

class DialogTitles : public WorkbenchTest {
 protected:
  void TearDown() override {
    SetFreeSpaceQuery(nullptr);
    WorkbenchTest::TearDown();
  }
};

TEST_F(DialogTitles, SelectAppropriateActionShowsItsWholeTitle) {
  Seen action;
  ModalAnswers answers({[](wxDialog* dlg) { PressButton(dlg, wxID_OK); },  // Select Physical Disk
                        [&](wxDialog* dlg) {
                          action = Look(dlg);
                          PressButton(dlg, wxID_CANCEL);
                        }});
  frame->SelectPhysicalDisk();
  ASSERT_EQ(answers.Done(), 2u);
  EXPECT_EQ(action.title, "Select Appropriate Action");
  EXPECT_GE(action.width, TitleNeeds(action.title));
}

TEST_F(DialogTitles, NoRoomOnTheDestinationShowsTheWholeTitle) {
  OpenDrive(0);
  SetFreeSpaceQuery(&NoSpace);
  Seen box;
  bool message = false;
  ModalAnswers answers({[](wxDialog* dlg) { PressButton(dlg, wxID_OK); },  // the caution
                        [&](wxDialog* dlg) {
                          box = Look(dlg);
                          message = dynamic_cast<controls::CMessageBoxDlg*>(dlg) != nullptr;
                          PressButton(dlg, wxID_OK);
                        }});
  frame->Recover(kRecoverExisting, dest.string());
  ASSERT_EQ(answers.Done(), 2u);
  EXPECT_TRUE(message);
  EXPECT_EQ(box.title, "Can not recover file(s) on to  destination media");
  EXPECT_GE(box.width, TitleNeeds(box.title));
}

}  // namespace
