// The status bar that repaints changed panes in its own time.
#include "controls/wx/status_bar.h"

namespace controls {

CStatusBar::CStatusBar(wxWindow* parent, wxWindowID id, long style) : wxStatusBar(parent, id, style) {
  Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
    repaintAsked_ = false;
    event.Skip();
  });
}

void CStatusBar::DoUpdateStatusText(int) {
  // One request until the next paint, however many texts change meanwhile.
  if (repaintAsked_) return;
  repaintAsked_ = true;
  Refresh(true);
}

}  // namespace controls
