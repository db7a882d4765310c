// The body of both programs' main windows: the folder tree and the entry list side by side in a
// splitter at the centre of the window's pane manager, and the log docked under them with its own
// caption; the View menu's items show and hide the bars and the log. The manager lets the window go
// when the layout ends.
#pragma once

#include <wx/aui/aui.h>
#include <wx/frame.h>
#include <wx/splitter.h>

#include <memory>

#include "controls/wx/frame_commands.h"
#include "controls/wx/wx_list_control.h"
#include "controls/wx/wx_tree_control.h"

namespace controls {

// How a program docks its log pane (see AddLogPane).
struct LogDock {
  wxString caption;
  int height = 0;
  bool topOrBottomOnly = false;
};

// The View menu's check items of a main window: their command ids, and the log item's window id.
struct ViewCommandIds {
  int toolBar = 0;
  int statusBar = 0;
  int log = 0;
  int logMenuItem = 0;
};

class CWorkbenchLayout {
 public:
  // Makes FRAME the window of the pane manager and puts the splitter into it, the tree TREE_WIDTH
  // pixels wide on the left of the list.
  CWorkbenchLayout(wxFrame* frame, int treeWidth);
  ~CWorkbenchLayout();
  CWorkbenchLayout(const CWorkbenchLayout&) = delete;
  CWorkbenchLayout& operator=(const CWorkbenchLayout&) = delete;

  WxTreeControl& Tree() { return *tree_; }
  WxListControl& List() { return *list_; }

  // Docks LOG under the tree and the list as the pane "log" and lays the window out.
  void DockLog(wxWindow* log, const LogDock& dock);
  // Shows or hides the log pane.
  void ShowLog(bool show);
  // The View menu's items through ON: the toolbar, the status bar and the log shown or hidden as
  // the item's new check state; closing the log by its caption clears the log item's mark.
  void BindViewCommands(FrameCommands& on, const ViewCommandIds& ids);

 private:
  wxFrame* frame_;
  wxAuiManager aui_;
  wxSplitterWindow* splitter_;
  std::unique_ptr<WxTreeControl> tree_;
  std::unique_ptr<WxListControl> list_;
};

// Sends the list's clicks to VIEW, which takes OnLButtonDown(ListPoint), OnDblclk(row) and
// OnHeaderItemClick(column, button): a left click once the list has selected the clicked row (the
// view then looks at the click, after FRAME's current event), a double click or Enter on a row,
// a click on a column's header.
template <class View>
void RouteListClicks(wxEvtHandler& frame, WxListControl& list, View& view) {
  list.ItemWindow()->Bind(wxEVT_LEFT_DOWN, [&frame, &view](wxMouseEvent& e) {
    e.Skip();
    const wxPoint at = e.GetPosition();
    frame.CallAfter([&view, at] { view.OnLButtonDown({at.x, at.y}); });
  });
  list.Window()->Bind(wxEVT_LIST_ITEM_ACTIVATED,
                      [&view](wxListEvent& e) { view.OnDblclk(static_cast<int>(e.GetIndex())); });
  list.Window()->Bind(wxEVT_LIST_COL_CLICK, [&view](wxListEvent& e) { view.OnHeaderItemClick(e.GetColumn(), 0); });
}

}  // namespace controls
