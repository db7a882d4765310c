// The status bar that repaints a changed pane in its own time.
#include "controls/wx/status_bar.h"

namespace controls {

void CStatusBar::DoUpdateStatusText(int number) {
  wxRect field;
  if (GetFieldRect(number, field)) Refresh(true, &field);
}

}  // namespace controls
