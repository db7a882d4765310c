// Help Topics opens the program's help book at its contents.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/html/helpfrm.h>

#include "ext2engine/app_state.h"
#include "main_frame.h"

TEST(HelpTopics, OpensTheBookOfTheProgram) {
  App().Reset();
  auto* frame = new CMainFrame();
  frame->Show();
  frame->HelpTopics();
  wxTheApp->Yield(true);
  bool shown = false;
  for (wxWindow* w : wxTopLevelWindows) {
    if (auto* help = dynamic_cast<wxHtmlHelpFrame*>(w)) shown = help->IsShown();
  }
  EXPECT_TRUE(shown);
  frame->Close(true);
  wxTheApp->Yield(true);
}
