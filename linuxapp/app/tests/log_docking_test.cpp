// The log bar floats and docks again by its caption's button and by a double click on its
// caption, with the real mouse; its close button hides it and clears the View menu's mark.
#include <gtest/gtest.h>
#include <wx/menu.h>

#include "controls/wx/pane_caption.h"
#include "gui_test_support.h"
#include "linuxcore/command_states.h"
#include "real_input.h"

namespace {

using namespace guitest;

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

}  // namespace
