// The start of the user interface: profile and recent-file list, then the splash, then the window.
#include "start_up.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/config.h>

#include "controls/wx/notice_dialogs.h"
#include "linux_gui_support.h"

// Xlib last: its macros would clash with the headers above.
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

// The splash: shown before any main window exists, once the profile is in place.
class ExpectSplash : public wxExpectModalBase<controls::CSplashDlg, ExpectSplash> {
 protected:
  int OnInvoked(controls::CSplashDlg* dlg) const override {
    EXPECT_EQ(dlg->Time(), std::chrono::milliseconds(1000));
    for (wxWindow* w : wxTopLevelWindows) EXPECT_EQ(dynamic_cast<CMainFrame*>(w), nullptr);
    EXPECT_EQ(wxConfigBase::Get()->GetAppName(), kProfileKey);
    return wxID_CANCEL;
  }
};

TEST(StartUp, ProfileThenSplashThenTheWindowUnderItsTitle) {
  App().Reset();
  wxFileHistory history(4);
  CMainFrame* frame = nullptr;
  wxTEST_DIALOG(frame = StartUserInterface(history), ExpectSplash());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(history.GetMaxFiles(), 4u);
  EXPECT_TRUE(frame->IsShown());
  EXPECT_EQ(wxTheApp->GetTopWindow(), frame);
  EXPECT_EQ(frame->GetTitle(), "Quarvel Velnora Linux 2.1");
  frame->Close(true);
  guitest::Pump();
}

TEST(StartUp, QuarvelNoSplashLeavesOutTheSplash) {
  App().Reset();
  wxFileHistory history(4);
  wxSetEnv("QUARVEL_NO_SPLASH", "1");
  // Counts the modal dialogs shown at start and cancels them at once.
  struct Count : wxModalDialogHook {
    int shown = 0;
    int Enter(wxDialog*) override { return ++shown, wxID_CANCEL; }
    void Exit(wxDialog*) override {}
  } dialogs;
  dialogs.Register();
  CMainFrame* frame = StartUserInterface(history);
  dialogs.Unregister();
  wxUnsetEnv("QUARVEL_NO_SPLASH");
  EXPECT_EQ(dialogs.shown, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->IsShown());
  frame->Close(true);
  guitest::Pump();
}

}  // namespace

namespace {

// The smallest size the window manager lets the window take, from the window's own size hints:
// this is also what a window manager falls back to when it restores a window that was maximised
// before it was ever shown at its own size.
wxSize HintedMinimum(wxWindow* frame) {
  GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(frame->GetHandle()));
  XSizeHints hints{};
  long supplied = 0;
  if (window == nullptr ||
      XGetWMNormalHints(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window), &hints, &supplied) == 0 ||
      (hints.flags & PMinSize) == 0)
    return {0, 0};
  return {hints.min_width, hints.min_height};
}

TEST(StartUp, TheMaximisedWindowRestoresToAUsableSize) {
  App().Reset();
  wxFileHistory history(4);
  wxSetEnv("QUARVEL_NO_SPLASH", "1");
  CMainFrame* frame = StartUserInterface(history);
  wxUnsetEnv("QUARVEL_NO_SPLASH");
  guitest::Pump(300);
  const wxSize least = HintedMinimum(frame);
  EXPECT_GE(least.x, 640);
  EXPECT_GE(least.y, 400);
  frame->Maximize(false);
  guitest::Pump(300);
  EXPECT_GE(frame->GetSize().x, least.x);
  EXPECT_GE(frame->GetSize().y, least.y);
  frame->Close(true);
  guitest::Pump();
}

}  // namespace
