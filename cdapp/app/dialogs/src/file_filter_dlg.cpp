// Add FileFilter: patterns typed one by one into a list, stored as an include or exclude filter.
#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "cd_dialogs.h"
#include "cdengine/commands.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

namespace {
// Longest pattern the filter keeps.
constexpr unsigned long kPatternLength = 255;
}  // namespace

CFileFilterDlg::CFileFilterDlg(wxWindow* parent, CCDReader& reader)
    : CCdFramedDlg(parent, "Add FileFilter", wxCAPTION | wxSYSTEM_MENU), reader_(reader) {
  edit_ = new wxTextCtrl(this, 1007, wxEmptyString, wxDefaultPosition, wxSize(200, -1));
  edit_->SetMaxLength(kPatternLength);
  add_ = new wxButton(this, 1008, "Add To List");
  list_ = new wxListBox(this, 1001, wxDefaultPosition, wxSize(200, 140));
  include_ = new wxButton(this, 1005, "Include");
  exclude_ = new wxButton(this, 1006, "Exclude");
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");

  auto* entry = new wxBoxSizer(wxHORIZONTAL);
  entry->Add(edit_, 1, wxRIGHT, 6);
  entry->Add(add_);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(include_, 0, wxRIGHT, 6);
  buttons->Add(exclude_, 0, wxRIGHT, 6);
  buttons->Add(cancel);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(this, wxID_ANY, "Enter Filter Basis"), 0, wxLEFT | wxRIGHT | wxTOP, 10);
  sizer->Add(entry, 0, wxEXPAND | wxALL, 10);
  sizer->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);

  add_->SetDefault();
  add_->Disable();
  include_->Disable();
  exclude_->Disable();
  // The stored patterns, each inserted at the top.
  if (!reader_.filterPatterns.empty()) {
    include_->Enable();
    exclude_->Enable();
    for (const auto& p : reader_.filterPatterns) list_->Insert(wxString::FromUTF8(p), 0);
  }

  edit_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { add_->Enable(!edit_->IsEmpty()); });
  add_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAdd(); });
  include_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnIncludeOrExclude(1); });
  exclude_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnIncludeOrExclude(0); });
  cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); });
  edit_->SetFocus();
}

void CFileFilterDlg::OnAdd() {
  if (edit_->IsEmpty()) return;
  list_->Insert(edit_->GetValue(), insertAt_++);
  edit_->Clear();
  edit_->SetFocus();
  include_->Enable();
  exclude_->Enable();
}

void CFileFilterDlg::OnIncludeOrExclude(int include) {
  discardOnClose_ = false;
  std::vector<std::string> patterns;
  for (unsigned i = 0; i < list_->GetCount(); ++i) patterns.push_back(list_->GetString(i).utf8_string());
  ApplyFileFilter(reader_, patterns, include);
  OnCancel();
}

void CFileFilterDlg::OnCancel() {
  if (discardOnClose_) reader_.app->filterPatternsAdded = 0;
  Finish(wxID_CANCEL);
}

void RunFileFilterDlg(wxWindow* parent, CCDReader& reader) {
  CFileFilterDlg dlg(parent, reader);
  dlg.ShowModal();
}

}  // namespace cd::app
