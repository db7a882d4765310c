// The toolbar and the log show the icon theme's pictures of their kinds, and a button's prompt
// shows in pane 0 while the real pointer is over it.
#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/imaglist.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "real_input.h"
#include "same_pixels.h"
#include "toolbar_pointing.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class Toolbar : public WorkbenchTest {};

TEST_F(Toolbar, ButtonsAndLogIconsAreTheThemesPicturesOfTheirKinds) {
  wxToolBar* bar = frame->GetToolBar();
  const std::pair<int, wxArtID> buttons[] = {
      {kCmdSelectPhysicalDisk, wxART_HARDDISK}, {kCmdFind, wxART_FIND}, {kCmdGoUp, wxART_GO_DIR_UP},
      {kIdHelpTopics, wxART_HELP}};
  for (const auto& [id, art] : buttons) {
    SCOPED_TRACE(art);
    const wxBitmap theme = wxArtProvider::GetBitmap(art, wxART_OTHER, wxSize(32, 32));
    if (!theme.IsOk()) continue;
    ASSERT_NE(bar->FindById(WxId(id)), nullptr);
    EXPECT_TRUE(SamePixels(bar->FindById(WxId(id))->GetNormalBitmap(), theme));
  }
  const std::pair<int, wxArtID> icons[] = {{0, wxART_TICK_MARK}, {4, wxART_INFORMATION}, {6, wxART_QUESTION}};
  const wxImageList* log = frame->Log()->List()->GetImageList(wxIMAGE_LIST_SMALL);
  ASSERT_NE(log, nullptr);
  for (const auto& [index, art] : icons) {
    const wxBitmap theme = wxArtProvider::GetBitmap(art, wxART_OTHER, wxSize(16, 16));
    if (theme.IsOk()) {
      EXPECT_TRUE(SamePixels(log->GetBitmap(index), theme)) << index;
    }
  }
}

TEST_F(Toolbar, AButtonsPromptShowsInPaneZeroWhileThePointerIsOverIt) {
  OpenDrive(0);
  wxToolBar* bar = frame->GetToolBar();
  for (const auto& [id, prompt] : {std::pair<int, const char*>{kCmdSelectPhysicalDisk, "Select Physical Disk Drive"},
                                   {kCmdRecoverAll, "Recover All"}, {kCmdFind, "Find"}}) {
    SCOPED_TRACE(prompt);
    PointAt(frame->GetStatusBar());
    ASSERT_TRUE(PointAtTool(bar, WxId(id)));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), prompt);
  }
}

}  // namespace
