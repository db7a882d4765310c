// The About box.
#include "cd_about_dlg.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "cd_images.h"

namespace cd::app {

// No close box: the window manager's Close stays unavailable, Escape and OK close the box.
CAboutDlg::CAboutDlg(wxWindow* parent)
    : controls::CTitledDialog(parent, wxID_ANY, "Quarvel Velnora CDROM (For ISO9660/JOLIET File System)", wxDefaultPosition,
               wxDefaultSize, wxCAPTION | wxSYSTEM_MENU) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(new wxStaticBitmap(this, wxID_ANY, CdDiscPicture(48)), 0, wxALL, 12);
  auto* texts = new wxBoxSizer(wxVERTICAL);
  auto* name = new wxStaticText(this, kNameId, "Quarvel Velnora CDROM");
  name->SetForegroundColour(wxColour(255, 0, 50));
  name->SetFont(name->GetFont().Bold().Larger());
  texts->Add(name, 0, wxBOTTOM, 8);
  texts->Add(new wxStaticText(this, kDescriptionId, "Data Recovery Software for ISO9660/ JOLIET File System"));
  top->Add(texts, 1, wxALL | wxALIGN_CENTER_VERTICAL, 12);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(top, 1, wxEXPAND);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  sizer->Add(ok, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);
  Bind(wxEVT_PAINT, &CAboutDlg::OnPaint, this);
}

void CAboutDlg::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.SetPen(wxPen(wxColour(135, 135, 135)));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  const wxSize size = GetClientSize();
  dc.DrawRectangle(0, 0, size.x, size.y);
}

}  // namespace cd::app
