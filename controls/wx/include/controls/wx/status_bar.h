// The main window's status bar. A new pane text is painted with the window's next repaint, never
// at once: long loops change the progress label and the amount panes at every step, and a forced
// repaint per step would cost more than the step itself.
#pragma once

#include <wx/statusbr.h>

namespace controls {

class CStatusBar : public wxStatusBar {
 public:
  explicit CStatusBar(wxWindow* parent, wxWindowID id = wxID_ANY, long style = wxSTB_DEFAULT_STYLE);

 protected:
  void DoUpdateStatusText(int number) override;

 private:
  bool repaintAsked_ = false;
};

}  // namespace controls
