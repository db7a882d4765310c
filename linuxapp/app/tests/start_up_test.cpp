// The program's start in the real window: its profile and recent files, its splash, its window
// maximised, and restored to a usable size.
#include "start_up.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "linux_gui_support.h"
#include "program_start_check.h"

// Xlib last: its macros would clash with the headers above.
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

TEST(StartUp, ProfileRecentFilesSplashAndTheMaximisedWindow) {
  App().Reset();
  startcheck::ExpectProgramStart(StartUp(), {"Local AppWizard-Generated Applications", std::chrono::milliseconds(1000),
                                             "Quarvel Velnora Linux 2.1", controls::WindowPlacement::Maximised});
}

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
  startcheck::TemporaryHome home;
  controls::CProgramStart start(StartUp());
  wxSetEnv("QUARVEL_NO_SPLASH", "1");
  wxFrame* frame = start.Start();
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
  delete wxConfigBase::Set(nullptr);  // its file went with the home
}

}  // namespace
