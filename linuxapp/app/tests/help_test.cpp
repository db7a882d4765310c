// Help Topics and F1 open the program's help book at its contents, with formatted pages.
#include <gtest/gtest.h>

#include "linux_gui_support.h"
#include "help_shown.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class Help : public WorkbenchTest {
 protected:
  void TearDown() override {
    CloseHelp();
    WorkbenchTest::TearDown();
  }
};

TEST_F(Help, HelpTopicsShowsEveryPageFormatted) {
  frame->HelpTopics();
  Pump();
  wxHtmlHelpWindow* help = ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_GE(ExpectFormattedPages(help, "Quarvel Velnora Linux"), 5);
}

TEST_F(Help, F1OpensHelpTopicsOnceADriveIsScanned) {
  wxWindow* tree = dynamic_cast<controls::WxTreeControl&>(frame->LeftView()->Tree()).Window();
  PressKey(tree, WXK_F1);
  EXPECT_EQ(ShownHelpWindow(), nullptr) << "function keys do nothing before the first scan";
  OpenDrive(0);
  PressKey(tree, WXK_F1);
  ASSERT_NE(ShownHelpWindow(), nullptr);
  EXPECT_EQ(ShownHelpWindow()->GetHtmlWindow()->GetOpenedPageTitle(), "Quarvel Velnora Linux");
  CloseHelp();
  Pump();
  PressKey(dynamic_cast<controls::WxListControl&>(frame->ListView()->List()).Window(), WXK_F1, wxMOD_SHIFT);
  EXPECT_NE(ShownHelpWindow(), nullptr);
}

}  // namespace
