// The width a title needs and the dialogs that keep to it.
#include "controls/wx/titled_dialog.h"

#include <wx/dcscreen.h>
#include <wx/settings.h>

#include <algorithm>

namespace controls {

int TitleBarWidth(const wxString& title) {
  wxScreenDC dc;
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
  const wxSize text = dc.GetTextExtent(title);
  // Up to three buttons (close, maximise, minimise) and the window menu, each about two lines
  // high and as wide, and a margin at either end.
  const int buttons = 4 * 2 * text.y;
  const int margins = 2 * text.y;
  return text.x + buttons + margins;
}

void KeepTitleWhole(wxTopLevelWindow& window) {
  const int least = TitleBarWidth(window.GetTitle());
  const wxSize size = window.GetSize();
  wxSize min = window.GetMinSize();
  min.x = std::max(min.x, least);
  window.SetMinSize(min);
  if (size.x < least) window.SetSize(least, size.y);
}

bool CTitledDialog::Show(bool show) {
  if (show) KeepTitleWhole(*this);
  return wxDialog::Show(show);
}

void CTitledDialog::Finish(int id) {
  SetReturnCode(id);
  if (IsModal()) {
    EndModal(id);
  } else if (IsShown()) {
    Hide();
  }
}

}  // namespace controls
