// The bordered look of CD's dialogs.
#include <wx/dcclient.h>

#include "cd_dialogs.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

CCdFramedDlg::CCdFramedDlg(wxWindow* parent, const wxString& caption, long style)
    : controls::CTitledDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, style) {
  Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(GetClientRect());
  });
}

}  // namespace cd::app
