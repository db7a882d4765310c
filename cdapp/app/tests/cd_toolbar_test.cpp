// CD's toolbar and process log show the icon theme's pictures of their kinds, and a button's
// prompt shows in pane 0 while the real pointer is over it.
#include <wx/artprov.h>
#include <wx/imaglist.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "cd_gui_support.h"
#include "real_input.h"
#include "same_pixels.h"
#include "toolbar_pointing.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

using Toolbar = CdWindow;

TEST_F(Toolbar, ButtonsAndLogIconsAreTheThemesPicturesOfTheirKinds) {
  wxToolBar* bar = frame->GetToolBar();
  const std::pair<int, wxArtID> buttons[] = {{kCdCmdOpenDrive, wxART_CDROM}, {kCdCmdFind, wxART_FIND},
                                             {kCdCmdHelpTopics, wxART_HELP}};
  for (const auto& [id, art] : buttons) {
    SCOPED_TRACE(art);
    const wxBitmap theme = wxArtProvider::GetBitmap(art, wxART_OTHER, wxSize(30, 30));
    if (!theme.IsOk()) continue;
    ASSERT_NE(bar->FindById(CdWxId(id)), nullptr);
    EXPECT_TRUE(guitest::SamePixels(bar->FindById(CdWxId(id))->GetNormalBitmap(), theme));
  }
  const wxImageList* log = frame->Log()->List()->GetImageList(wxIMAGE_LIST_SMALL);
  ASSERT_NE(log, nullptr);
  const std::pair<int, wxArtID> icons[] = {{0, wxART_TICK_MARK}, {1, wxART_ERROR}, {2, wxART_INFORMATION}};
  for (const auto& [index, art] : icons) {
    const wxBitmap theme = wxArtProvider::GetBitmap(art, wxART_OTHER, wxSize(16, 16));
    if (theme.IsOk()) {
      EXPECT_TRUE(guitest::SamePixels(log->GetBitmap(index), theme)) << index;
    }
  }
}

TEST_F(Toolbar, AButtonsPromptShowsInPaneZeroWhileThePointerIsOverIt) {
  OpenDisc(kFixtures / "joliet.iso");
  wxToolBar* bar = frame->GetToolBar();
  for (const auto& [id, prompt] : {std::pair<int, const char*>{kCdCmdOpenDrive, "Open drive"},
                                   {kCdCmdRecoverAll, "Recover all"}, {kCdCmdFind, "Find item"}}) {
    SCOPED_TRACE(prompt);
    guitest::PointAt(frame->GetStatusBar());
    ASSERT_TRUE(guitest::PointAtTool(bar, CdWxId(id)));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), prompt);
  }
}

}  // namespace
