// Help Topics and F1 open CD's help book at its contents, with formatted pages.
#include "cd_dialogs.h"
#include "cd_gui_support.h"
#include "help_shown.h"
#include "real_input.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;
using guitest::CloseHelp;
using guitest::PressKey;
using guitest::ShownHelpWindow;

class Help : public CdWindow {
 protected:
  void TearDown() override {
    CloseHelp();
    CdWindow::TearDown();
  }
};

TEST_F(Help, HelpTopicsShowsEveryPageFormatted) {
  frame->HelpTopics();
  Pump();
  wxHtmlHelpWindow* help = ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_GE(guitest::ExpectFormattedPages(help, "Quarvel Velnora CDROM"), 3);
}

TEST_F(Help, F1OpensHelpTopicsOnceAFindHasMatched) {
  OpenDisc(kFixtures / "joliet.iso");
  wxWindow* tree = frame->Tree().Window();
  PressKey(tree, WXK_F1);
  EXPECT_EQ(ShownHelpWindow(), nullptr) << "function keys do nothing before a Find has matched";
  wxTEST_DIALOG(frame->FindCmd(), Act<CFindDlg>([](CFindDlg* dlg) { TypeAndOk(dlg, 1003, "readme"); }));
  ASSERT_EQ(CdApp().findNext, 1);
  PressKey(tree, WXK_F1);
  ASSERT_NE(ShownHelpWindow(), nullptr);
  EXPECT_EQ(ShownHelpWindow()->GetHtmlWindow()->GetOpenedPageTitle(), "Quarvel Velnora CDROM");
}

}  // namespace
