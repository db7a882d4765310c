// CD's process log floats and docks again by a double click on its caption and by its caption's
// button, with the real mouse.
#include "cd_gui_support.h"
#include "controls/wx/pane_caption.h"
#include "real_input.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

using LogBar = CdWindow;

TEST_F(LogBar, FloatsAndDocksByADoubleClickAndItsCaptionButton) {
  wxAuiManager* aui = wxAuiManager::GetManager(frame->Log());
  ASSERT_NE(aui, nullptr);
  controls::CPaneCaption* caption = controls::CPaneCaption::Of(frame->Log());
  ASSERT_NE(caption, nullptr);
  const wxPoint title(20, caption->GetClientSize().y / 2);
  guitest::ClickAt(caption, true, title);
  ASSERT_TRUE(aui->GetPane("log").IsFloating());
  guitest::ClickAt(caption->DockButton());
  EXPECT_FALSE(aui->GetPane("log").IsFloating());
  EXPECT_EQ(aui->GetPane("log").dock_direction, wxAUI_DOCK_BOTTOM);
}

}  // namespace
