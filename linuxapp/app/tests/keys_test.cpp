// Keys and closings in the real window, typed with the real keyboard.
#include <gtest/gtest.h>

#include "gui_test_support.h"
#include "real_input.h"

namespace {

using namespace guitest;

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
