// The log bar floats and docks again by its caption's button and by a double click on its
// caption, with the real mouse; its close button hides it and clears the View menu's mark.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/menu.h>

#include "controls/wx/pane_caption.h"
#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "real_input.h"
#include "toolkit_complaints.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class LogBar : public WorkbenchTest {};

TEST_F(LogBar, FloatsAndDocksByItsCaptionButtonAndADoubleClick) {
  wxAuiManager* aui = wxAuiManager::GetManager(frame->Log());
  ASSERT_NE(aui, nullptr);
  controls::CPaneCaption* caption = controls::CPaneCaption::Of(frame->Log());
  ASSERT_NE(caption, nullptr);
  auto floating = [&] { return aui->GetPane("log").IsFloating(); };
  ASSERT_FALSE(floating());
  const wxPoint title(20, caption->GetClientSize().y / 2);

  ClickAt(caption->DockButton());
  ASSERT_TRUE(floating());
  EXPECT_TRUE(aui->GetPane("log").frame != nullptr && aui->GetPane("log").frame->IsShown());
  ClickAt(caption->DockButton());
  EXPECT_FALSE(floating());
  EXPECT_TRUE(aui->GetPane("log").IsDocked());
  EXPECT_EQ(aui->GetPane("log").dock_direction, wxAUI_DOCK_BOTTOM);

  ClickAt(caption, true, title);
  ASSERT_TRUE(floating());
  ClickAt(caption, true, title);
  EXPECT_FALSE(floating());
  EXPECT_EQ(aui->GetPane("log").dock_direction, wxAUI_DOCK_BOTTOM);

  ClickAt(caption->CloseButton());
  EXPECT_FALSE(aui->GetPane("log").IsShown());
  EXPECT_FALSE(frame->GetMenuBar()->IsChecked(WxId(kIdViewMessageLog)));
}

// With the rows of a scan in it (so that its list scrolls), the log floats and docks again by
// double clicks on its caption without a complaint from the toolkit.
TEST_F(LogBar, FloatsAndDocksWithItsRowsAndNoToolkitComplaint) {
  OpenDrive(0);
  ASSERT_GT(frame->Log()->List()->GetItemCount(), 4);
  wxAuiManager* aui = wxAuiManager::GetManager(frame->Log());
  ASSERT_NE(aui, nullptr);
  controls::CPaneCaption* caption = controls::CPaneCaption::Of(frame->Log());
  ASSERT_NE(caption, nullptr);
  const wxPoint title(20, caption->GetClientSize().y / 2);
  ToolkitComplaints complaints;
  for (int round = 0; round < 2; ++round) {
    ClickAt(caption, true, title);
    ASSERT_TRUE(aui->GetPane("log").IsFloating());
    Settle(300);
    ClickAt(caption, true, title);
    ASSERT_FALSE(aui->GetPane("log").IsFloating());
    Settle(300);
  }
  EXPECT_TRUE(complaints.Empty()) << complaints.Text();
  // The list keeps the toolkit's own (overlay) scrollbars.
  auto* list = static_cast<GtkWidget*>(frame->Log()->List()->GetHandle());
  ASSERT_TRUE(GTK_IS_SCROLLED_WINDOW(list));
  EXPECT_TRUE(gtk_scrolled_window_get_overlay_scrolling(GTK_SCROLLED_WINDOW(list)));
}

}  // namespace
