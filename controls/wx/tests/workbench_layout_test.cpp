// The main windows' body on a frame of its own: the tree and the list side by side at the centre,
// the log docked at the bottom under its caption, and the View menu's items hiding and showing the
// toolbar, the status bar and the log, whose caption's close button clears the log item's mark.
#include "controls/wx/workbench_layout.h"

#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "controls/wx/log_pane.h"
#include "controls/wx/pane_caption.h"
#include "gui_test_support.h"
#include "real_input.h"

namespace {

enum { kToolBar = 31, kStatusBar, kLog };

TEST(WorkbenchLayout, TreeListAndLogInPlaceAndTheViewItemsShowAndHideThem) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "workbench", wxDefaultPosition, wxSize(640, 480));
  auto* view = new wxMenu;
  for (const int id : {kToolBar, kStatusBar, kLog}) view->AppendCheckItem(id, wxString::Format("item %d", id));
  auto* bar = new wxMenuBar;
  bar->Append(view, "View");
  frame->SetMenuBar(bar);
  for (const int id : {kToolBar, kStatusBar, kLog}) bar->Check(id, true);
  wxToolBar* tools = frame->CreateToolBar();
  tools->AddTool(40, "Tool", wxArtProvider::GetBitmap(wxART_NEW, wxART_TOOLBAR));
  tools->Realize();
  frame->CreateStatusBar();
  auto layout = std::make_unique<controls::CWorkbenchLayout>(frame, 150);
  controls::LogPaneLook look;
  look.columns = {{"A", 80}, {"B", 80}, {"C", 80}};
  auto* log = new controls::CLogPane(frame, look);
  layout->DockLog(log, {"The Log", 120, true});
  controls::CommandRules rules;
  rules.menu = [] { return controls::CommandStates{}; };
  rules.toolbar = [] { return controls::CommandStates{}; };
  rules.processRunning = [] { return false; };
  rules.wxIdOf = [](int id) { return id; };
  rules.commandOf = [](int id) { return id; };
  controls::FrameCommands commands(*frame, std::move(rules));
  layout->BindViewCommands(commands, {kToolBar, kStatusBar, kLog, kLog});
  frame->Show();
  guitest::Pump(std::chrono::milliseconds(200));

  // The tree on the left of the list, TREE_WIDTH wide, in the centre; the log under them.
  wxWindow* tree = layout->Tree().Window();
  wxWindow* list = layout->List().Window();
  auto* splitter = dynamic_cast<wxSplitterWindow*>(tree->GetParent());
  ASSERT_NE(splitter, nullptr);
  EXPECT_EQ(splitter->GetWindow1(), tree);
  EXPECT_EQ(splitter->GetWindow2(), list);
  EXPECT_EQ(splitter->GetSashPosition(), 150);
  wxAuiManager* aui = wxAuiManager::GetManager(frame);
  ASSERT_NE(aui, nullptr);
  EXPECT_TRUE(aui->GetPane(splitter).IsOk());
  EXPECT_EQ(aui->GetPane(splitter).dock_direction, wxAUI_DOCK_CENTER);
  const wxAuiPaneInfo& pane = aui->GetPane("log");
  EXPECT_EQ(pane.window, log);
  EXPECT_EQ(pane.dock_direction, wxAUI_DOCK_BOTTOM);
  EXPECT_EQ(pane.caption, "The Log");
  EXPECT_FALSE(pane.IsLeftDockable());
  EXPECT_GT(log->GetScreenRect().y, splitter->GetScreenRect().GetBottom() - 1);
  ASSERT_NE(controls::CPaneCaption::Of(log), nullptr);

  // Each View item's new check state shows or hides its part.
  auto choose = [&](int id, bool checked) {
    bar->Check(id, checked);
    wxCommandEvent item(wxEVT_MENU, id);
    item.SetInt(checked ? 1 : 0);
    item.SetEventObject(frame);
    frame->ProcessWindowEvent(item);
    guitest::Pump(std::chrono::milliseconds(50));
  };
  choose(kToolBar, false);
  EXPECT_FALSE(tools->IsShown());
  choose(kStatusBar, false);
  EXPECT_FALSE(frame->GetStatusBar()->IsShown());
  choose(kLog, false);
  EXPECT_FALSE(aui->GetPane("log").IsShown());
  EXPECT_FALSE(log->IsShown());
  choose(kToolBar, true);
  choose(kStatusBar, true);
  choose(kLog, true);
  EXPECT_TRUE(tools->IsShown());
  EXPECT_TRUE(frame->GetStatusBar()->IsShown());
  EXPECT_TRUE(aui->GetPane("log").IsShown());

  // The caption's close button hides the log and clears its item's mark.
  guitest::ClickAt(controls::CPaneCaption::Of(log)->CloseButton());
  EXPECT_FALSE(aui->GetPane("log").IsShown());
  EXPECT_FALSE(bar->IsChecked(kLog));
  EXPECT_TRUE(bar->IsChecked(kToolBar));

  layout.reset();
  frame->Destroy();
  guitest::Pump(std::chrono::milliseconds(50));
}

}  // namespace
