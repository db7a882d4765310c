// The two questions the engine asks: overwrite an existing image file, and which CD drive to use.
#include <wx/artprov.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "cd_dialogs.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

COverwriteDlg::COverwriteDlg(wxWindow* parent) : CCdFramedDlg(parent, "Imp Note", wxCAPTION | wxSYSTEM_MENU) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticBitmap(this, 177, wxArtProvider::GetBitmap(wxART_WARNING, wxART_MESSAGE_BOX)), 0, wxRIGHT, 12);
  row->Add(new wxStaticText(this, 1019, "Image File by the same name already exists\nDo You want to Overwrite it?"), 0,
           wxALIGN_CENTER_VERTICAL);
  auto* overwrite = new wxButton(this, wxID_OK, "Overwrite");
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(overwrite, 0, wxRIGHT, 6);
  buttons->Add(cancel);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(row, 0, wxALL, 12);
  sizer->Add(buttons, 0, wxALIGN_CENTER | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(sizer);
  cancel->SetDefault();
  cancel->SetFocus();
  overwrite->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); });
  cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); });
}

void RunOverwriteDlg(wxWindow* parent, CdAppState& app, CdFrame& frame) {
  COverwriteDlg dlg(parent);
  const bool overwrite = dlg.ShowModal() == wxID_OK;
  app.overwriteAnswer = overwrite ? 1 : 0;
  if (!overwrite) frame.busy = 0;
}

CSelectDriveDlg::CSelectDriveDlg(wxWindow* parent, CdAppState& app, const std::vector<std::string>& drives)
    : controls::CTitledDialog(parent, wxID_ANY, "Select Drive") {
  combo_ = new wxBitmapComboBox(this, 1000, wxEmptyString, wxDefaultPosition, wxSize(220, -1));
  const wxBitmap drive = wxArtProvider::GetBitmap(wxART_CDROM, wxART_OTHER, wxSize(16, 16));
  for (const auto& path : drives) combo_->Append(wxString::FromUTF8(path), drive);
  if (!drives.empty()) combo_->SetSelection(0);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(combo_, 0, wxEXPAND | wxALL, 12);
  sizer->Add(ok, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(sizer);
  ok->Disable();
  combo_->Bind(wxEVT_COMBOBOX, [this, ok, &app](wxCommandEvent&) {
    ok->Enable();
    const int index = combo_->GetSelection();
    if (index >= 0) app.selectedDrive = static_cast<std::uint8_t>(index);
  });
  // Escape leaves the choice as it stands, also while OK is still disabled.
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
    if (e.GetKeyCode() == WXK_ESCAPE) {
      EndDialog(wxID_CANCEL);
    } else {
      e.Skip();
    }
  });
}

void RunSelectDriveDlg(wxWindow* parent, CdAppState& app, const std::vector<std::string>& drives) {
  CSelectDriveDlg dlg(parent, app, drives);
  dlg.ShowModal();
}

}  // namespace cd::app
