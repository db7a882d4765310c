// The Advance Settings dialog.
#include "settings_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <cstdio>
#include <cstdlib>

#include "ext2engine/app_state.h"
#include "ext2engine/settings_file.h"

namespace ext2::app {

namespace {
constexpr int kMaxRetries = 6;
constexpr int kDefaultRetries = 3;
// The spin button only reports up and down; its own position stays far from either end.
constexpr int kSpinRange = 1000000;
}  // namespace

CAdvanceSettingsDlg::CAdvanceSettingsDlg(wxWindow* parent, std::string path)
    : controls::CTitledDialog(parent, wxID_ANY, "Advance Settings "), path_(std::move(path)) {
  auto* retryRow = new wxBoxSizer(wxHORIZONTAL);
  retryRow->Add(new wxStaticText(this, wxID_ANY, "Set Read Retries on  Disk Error"), 0,
                wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  edit_ = new wxTextCtrl(this, kIdRetries, wxEmptyString, wxDefaultPosition, wxSize(50, -1), wxTE_CENTRE);
  auto* spin = new wxSpinButton(this, kIdRetriesSpin, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
  spin->SetRange(-kSpinRange, kSpinRange);
  spin->SetValue(0);
  retryRow->Add(edit_, 0, wxALIGN_CENTER_VERTICAL);
  retryRow->Add(spin, 0, wxEXPAND);
  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "File Recovery Settings");
  sector_ = new wxRadioButton(group->GetStaticBox(), kIdSectorAtATime, "Read sector at a time ", wxDefaultPosition,
                              wxDefaultSize, wxRB_GROUP);
  block_ = new wxRadioButton(group->GetStaticBox(), kIdBlockAtATime, "Read  Block at a time");
  group->Add(sector_, 0, wxALL, 4);
  group->Add(block_, 0, wxALL, 4);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, kIdDefault, "Default"));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(retryRow, 0, wxALL, 10);
  sizer->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);

  // What the file holds now; a file that cannot be opened for updating, or is too short, shows
  // the defaults.
  unsigned char bytes[2] = {};
  bool read = false;
  if (std::FILE* f = std::fopen(path_.c_str(), "rb+")) {
    read = std::fread(bytes, 1, 2, f) == 2;
    std::fclose(f);
  }
  if (read) {
    retries_ = bytes[0] > kMaxRetries ? kDefaultRetries : bytes[0];
    (bytes[1] != 0 ? sector_ : block_)->SetValue(true);
  } else {
    retries_ = kDefaultRetries;
    sector_->SetValue(true);
  }
  edit_->ChangeValue(wxString::Format("%d", retries_));

  spin->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) { OnDeltaposRetries(1); });
  spin->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) { OnDeltaposRetries(-1); });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDefault(); }, kIdDefault);
}

void CAdvanceSettingsDlg::OnDeltaposRetries(int step) {
  retries_ += step >= 0 ? 1 : -1;
  if (retries_ > kMaxRetries) retries_ = 1;
  if (retries_ < 1) retries_ = kMaxRetries;
  edit_->ChangeValue(wxString::Format("%d", retries_));
}

void CAdvanceSettingsDlg::OnOK() {
  int typed = std::atoi(edit_->GetValue().utf8_string().c_str());
  if (typed > kMaxRetries) typed = kDefaultRetries;
  std::uint8_t retries = static_cast<std::uint8_t>(typed);
  // A negative number becomes a byte above 6, which the file keeps as 3; the program does the same.
  if (retries > kMaxRetries) retries = kDefaultRetries;
  const bool sectorAtATime = sector_->GetValue();
  if (WriteSettings(path_, retries, sectorAtATime)) {
    AppState& app = App();
    app.readRetryCount = retries;
    app.readMode = sectorAtATime ? 1 : 0;
  }
  Finish(wxID_OK);
}

void CAdvanceSettingsDlg::OnDefault() {
  if (!WriteSettings(path_, kDefaultRetries, true)) return;
  sector_->SetValue(true);
  edit_->ChangeValue(wxString::Format("%d", kDefaultRetries));
  retries_ = kDefaultRetries;
  AppState& app = App();
  app.readRetryCount = kDefaultRetries;
  app.readMode = 1;
}

void RunAdvanceSettingsDlg(wxWindow* parent, const std::string& path) {
  CAdvanceSettingsDlg dlg(parent, path);
  dlg.ShowModal();
}

}  // namespace ext2::app
