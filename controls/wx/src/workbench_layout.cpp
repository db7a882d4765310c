// The tree, the list and the log in a main window's pane manager.
#include "controls/wx/workbench_layout.h"

#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "controls/wx/pane_caption.h"

namespace controls {

CWorkbenchLayout::CWorkbenchLayout(wxFrame* frame, int treeWidth) : frame_(frame) {
  aui_.SetManagedWindow(frame);
  splitter_ = new wxSplitterWindow(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3D);
  tree_ = std::make_unique<WxTreeControl>(splitter_);
  list_ = std::make_unique<WxListControl>(splitter_);
  splitter_->SplitVertically(tree_->Window(), list_->Window(), treeWidth);
  splitter_->SetMinimumPaneSize(32);
}

CWorkbenchLayout::~CWorkbenchLayout() { aui_.UnInit(); }

void CWorkbenchLayout::DockLog(wxWindow* log, const LogDock& dock) {
  aui_.AddPane(splitter_, wxAuiPaneInfo().Name("tree").CenterPane());
  AddLogPane(aui_, log, "log", dock.caption, dock.height, dock.topOrBottomOnly);
  aui_.Update();
}

void CWorkbenchLayout::ShowLog(bool show) {
  aui_.GetPane("log").Show(show);
  aui_.Update();
}

void CWorkbenchLayout::BindViewCommands(FrameCommands& on, const ViewCommandIds& ids) {
  on.OnEvent(ids.toolBar, [this](wxCommandEvent& e) {
    frame_->GetToolBar()->Show(e.IsChecked());
    frame_->SendSizeEvent();
  });
  on.OnEvent(ids.statusBar, [this](wxCommandEvent& e) {
    frame_->GetStatusBar()->Show(e.IsChecked());
    frame_->SendSizeEvent();
  });
  on.OnEvent(ids.log, [this](wxCommandEvent& e) { ShowLog(e.IsChecked()); });
  frame_->Bind(wxEVT_AUI_PANE_CLOSE,
               [this, item = ids.logMenuItem](wxAuiManagerEvent&) { frame_->GetMenuBar()->Check(item, false); });
}

}  // namespace controls
