// A pane's caption with its float/dock and close buttons.
#include "controls/wx/pane_caption.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "controls/wx/drawn_pictures.h"

namespace controls {
namespace {

constexpr int kButton = 12;

// A small window frame: two overlapping ones (float) or one sitting on a base line (dock).
wxBitmap DockPicture(bool floating) {
  return DrawPicture(kButton, [floating](wxDC& dc) {
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    if (floating) {
      dc.DrawRectangle(1, 5, 7, 6);
      dc.DrawRectangle(4, 1, 7, 6);
    } else {
      dc.DrawRectangle(2, 1, 8, 7);
      dc.DrawLine(0, 10, 12, 10);
    }
  });
}

wxBitmap ClosePicture() {
  return DrawPicture(kButton, [](wxDC& dc) {
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT), 2));
    dc.DrawLine(2, 2, 10, 10);
    dc.DrawLine(10, 2, 2, 10);
  });
}

}  // namespace

CPaneCaption* CPaneCaption::Add(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title) {
  auto* caption = new CPaneCaption(pane, aui, name, title);
  if (wxSizer* sizer = pane->GetSizer()) {
    sizer->Prepend(caption, 0, wxEXPAND);
    pane->Layout();
  }
  return caption;
}

CPaneCaption* CPaneCaption::Of(wxWindow* pane) {
  for (wxWindow* child : pane->GetChildren()) {
    if (auto* caption = dynamic_cast<CPaneCaption*>(child)) return caption;
  }
  return nullptr;
}

CPaneCaption::CPaneCaption(wxWindow* pane, wxAuiManager& aui, const wxString& name, const wxString& title)
    : wxPanel(pane, wxID_ANY), aui_(aui), name_(name) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTION));
  auto* text = new wxStaticText(this, wxID_ANY, title);
  text->SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_INACTIVECAPTIONTEXT));
  dock_ = new wxBitmapButton(this, wxID_ANY, DockPicture(true), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
  close_ = new wxBitmapButton(this, wxID_ANY, ClosePicture(), wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
  close_->SetToolTip("Close");
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(text, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  row->Add(dock_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
  row->Add(close_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
  SetSizer(row);
  ShowDockState();
  dock_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ToggleDocking(); });
  close_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ClosePane(); });
  for (wxWindow* w : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(text)}) {
    w->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent&) { CallAfter([this] { ToggleDocking(); }); });
  }
}

void CPaneCaption::ToggleDocking() {
  wxAuiPaneInfo& pane = aui_.GetPane(name_);
  if (!pane.IsOk()) return;
  if (pane.IsFloating()) {
    pane.Dock();
  } else {
    pane.Float();
  }
  aui_.Update();
  ShowDockState();
}

void CPaneCaption::ShowDockState() {
  const bool floating = aui_.GetPane(name_).IsOk() && aui_.GetPane(name_).IsFloating();
  dock_->SetBitmap(DockPicture(!floating));
  dock_->SetToolTip(floating ? "Dock" : "Float");
}

void CPaneCaption::ClosePane() {
  wxAuiPaneInfo& pane = aui_.GetPane(name_);
  if (!pane.IsOk()) return;
  wxAuiManagerEvent closing(wxEVT_AUI_PANE_CLOSE);
  closing.SetManager(&aui_);
  closing.SetPane(&pane);
  closing.SetEventObject(aui_.GetManagedWindow());
  aui_.GetManagedWindow()->GetEventHandler()->ProcessEvent(closing);
  if (closing.GetVeto()) return;
  pane.Hide();
  aui_.Update();
}

}  // namespace controls
