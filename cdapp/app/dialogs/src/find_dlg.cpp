// Find: a whole name to look for among the listed entries, with the Find options.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "cd_dialogs.h"
#include "cdviews/find_entry.h"
#include "controls/wx/message_box.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

CFindDlg::CFindDlg(wxWindow* parent, CdAppState& app) : CCdFramedDlg(parent, "Find") {
  edit_ = new wxTextCtrl(this, 1003, wxEmptyString, wxDefaultPosition, wxSize(220, -1));
  auto* matchCase = new wxCheckBox(this, 1004, "Match Case");
  auto* existing = new wxCheckBox(this, 1006, "Existing Files");
  auto* ok = new wxButton(this, wxID_OK, "OK");
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");

  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, 1002, "File"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  row->Add(edit_, 1);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(ok, 0, wxRIGHT, 6);
  buttons->Add(cancel);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(row, 0, wxEXPAND | wxALL, 10);
  sizer->Add(matchCase, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
  sizer->Add(existing, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);
  ok->SetDefault();

  matchCase->SetValue(app.findMatchCase != 0);
  existing->SetValue(true);
  app.findExisting = 1;
  matchCase->Bind(wxEVT_CHECKBOX, [&app](wxCommandEvent& e) { app.findMatchCase = e.IsChecked(); });
  existing->Bind(wxEVT_CHECKBOX, [&app](wxCommandEvent& e) { app.findExisting = e.IsChecked(); });
  edit_->Bind(wxEVT_TEXT, [this, ok](wxCommandEvent&) { ok->Enable(!edit_->IsEmpty()); });
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); });
  edit_->SetFocus();
}

std::string CFindDlg::Text() const { return edit_->GetValue().utf8_string(); }

void RunFindDlg(wxWindow* parent, CCDReader& reader, CdTreeView& view) {
  CdAppState& app = *reader.app;
  app.findMatchCase = 0;
  CFindDlg dlg(parent, app);
  if (dlg.ShowModal() != wxID_OK) return;
  const std::string text = dlg.Text();
  if (text.empty()) return;
  if (!FindEntry(view, reader.frame->GetRightPane(), app, text)) {
    controls::CMessageBoxDlg box(nullptr, "No Matching Entry Found", "Search Failure", wxOK);
    box.ShowModal();
  }
}

}  // namespace cd::app
