// Add FileFilter, File Mask and Find.
#include "criteria_dialogs.h"

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include <climits>
#include <cstdlib>

#include "controls/wx/message_box.h"
#include "controls/wx/notice_dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "linuxviews/left_view.h"
#include "linuxcore/mask_criteria.h"

namespace ext2::app {

using namespace ext2::core;
using namespace ext2::views;

namespace {

constexpr std::size_t kMaxPattern = 255;
constexpr std::size_t kMaxPatterns = 255;  // the positions are counted in a byte
constexpr int kDaysSpinMax = 364;
// The spin buttons only report up and down; their own position stays far from either end.
constexpr int kSpinRange = 1000000;

wxString U(const std::string& s) { return wxString::FromUTF8(s); }
std::string Utf8(const wxString& s) { return s.utf8_string(); }

// The number a text begins with, as strtol reads it in base 10.
int Number(const wxString& text) {
  const long n = std::strtol(Utf8(text).c_str(), nullptr, 10);
  return n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : static_cast<int>(n);
}

wxSpinButton* MakeSpin(wxWindow* parent, int id) {
  auto* spin = new wxSpinButton(parent, id, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
  spin->SetRange(-kSpinRange, kSpinRange);
  spin->SetValue(0);
  return spin;
}

}  // namespace

// --- Add FileFilter ---

CFileFilterDlg::CFileFilterDlg(CLinuxDrive* drive, wxWindow* parent)
    : controls::CTitledDialog(parent, wxID_ANY, "Add FileFilter", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU),
      drive_(drive) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(new wxStaticText(this, wxID_ANY, "Enter Filter Basis"), 0, wxLEFT | wxRIGHT | wxTOP, 10);
  auto* entry = new wxBoxSizer(wxHORIZONTAL);
  edit_ = new wxTextCtrl(this, kIdFilterText, wxEmptyString, wxDefaultPosition, wxSize(220, -1), wxTE_PROCESS_ENTER);
  add_ = new wxButton(this, kIdAddToList, "Add To List");
  add_->SetDefault();
  add_->Disable();
  entry->Add(edit_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  entry->Add(add_, 0);
  sizer->Add(entry, 0, wxEXPAND | wxALL, 10);
  list_ = new wxListBox(this, kIdFilterList, wxDefaultPosition, wxSize(-1, 140), 0, nullptr, wxLB_SINGLE | wxLB_ALWAYS_SB);
  sizer->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  include_ = new wxButton(this, kIdInclude, "Include");
  exclude_ = new wxButton(this, kIdExclude, "Exclude");
  buttons->Add(include_, 0, wxRIGHT, 6);
  buttons->Add(exclude_, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0);
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);

  edit_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { add_->Enable(!edit_->IsEmpty()); });
  edit_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnAddToList(); });
  add_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddToList(); });
  include_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnIncludeOrExclude(0); });
  exclude_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnIncludeOrExclude(1); });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);

  include_->Disable();
  exclude_->Disable();
  if (drive_ != nullptr && !drive_->filters.empty()) {
    atOpen_ = drive_->filters;
    include_->Enable();
    exclude_->Enable();
    for (const FilterNode& f : drive_->filters) list_->Append(U(f.pattern));
  }
}

void CFileFilterDlg::OnAddToList() {
  const std::string text = Utf8(edit_->GetValue()).substr(0, kMaxPattern);
  if (text.empty() || drive_ == nullptr || drive_->filters.size() >= kMaxPatterns) return;
  list_->Append(U(text));
  edit_->Clear();
  edit_->SetFocus();
  include_->Enable();
  exclude_->Enable();
  FilterNode node;
  node.pattern = text;
  node.position = static_cast<std::uint8_t>(drive_->filters.size() + 1);
  drive_->filters.push_back(node);
}

void CFileFilterDlg::OnIncludeOrExclude(std::uint8_t mode) {
  if (drive_ != nullptr) drive_->filterMode = mode;
  Finish(wxID_OK);
}

void CFileFilterDlg::OnCancel() {
  // The filters in force are those of the opening, whatever was added since; the list shows them.
  if (drive_ != nullptr) drive_->filters = atOpen_;
  list_->Clear();
  for (const FilterNode& f : atOpen_) list_->Append(U(f.pattern));
  Finish(wxID_CANCEL);
}

void RunFileFilterDlg(wxWindow* parent, CLinuxDrive* drive) {
  if (drive == nullptr) return;
  CFileFilterDlg dlg(drive, parent);
  dlg.ShowModal();
}

// --- File Mask ---

CFileMaskDlg::CFileMaskDlg(CLinuxDrive*, wxWindow* parent) : controls::CTitledDialog(parent, wxID_ANY, "File Mask") {
  App().mask.ResetKeepingTimeChoice();
  Build();
  InitControls();
}

void CFileMaskDlg::Build() {
  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Set Mask");
  wxWindow* box = group->GetStaticBox();
  group->Add(new wxStaticText(box, wxID_ANY, "A File mask delimited with semi-colons."), 0, wxALL, 4);
  auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
  typeRow->Add(new wxStaticText(box, wxID_ANY, "Files of Type:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  mask_ = new wxTextCtrl(box, kIdMaskText, wxEmptyString, wxDefaultPosition, wxSize(260, -1));
  typeRow->Add(mask_, 1);
  group->Add(typeRow, 0, wxEXPAND | wxALL, 4);

  auto* checks = new wxBoxSizer(wxHORIZONTAL);
  matchCase_ = new wxCheckBox(box, kIdMaskMatchCase, "&Match Case");
  deleted_ = new wxCheckBox(box, kIdDeletedFiles, "&Deleted Files");
  existing_ = new wxCheckBox(box, kIdExistingFiles, "&Existing Files");
  for (wxCheckBox* c : {matchCase_, deleted_, existing_}) checks->Add(c, 0, wxRIGHT, 12);
  group->Add(checks, 0, wxALL, 4);

  auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
  sizeFromCheck_ = new wxCheckBox(box, kIdSizeFromCheck, "Size from");
  sizeFrom_ = new wxTextCtrl(box, kIdSizeFromEdit, wxEmptyString, wxDefaultPosition, wxSize(70, -1));
  sizeUptoCheck_ = new wxCheckBox(box, kIdSizeUptoCheck, "upto");
  sizeUpto_ = new wxTextCtrl(box, kIdSizeUptoEdit, wxEmptyString, wxDefaultPosition, wxSize(70, -1));
  sizeRow->Add(sizeFromCheck_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  sizeRow->Add(sizeFrom_, 0, wxRIGHT, 8);
  sizeRow->Add(sizeUptoCheck_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  sizeRow->Add(sizeUpto_, 0, wxRIGHT, 4);
  sizeRow->Add(new wxStaticText(box, wxID_ANY, "MB"), 0, wxALIGN_CENTER_VERTICAL);
  group->Add(sizeRow, 0, wxALL, 4);

  auto* dateRow = new wxBoxSizer(wxHORIZONTAL);
  date_ = new wxCheckBox(box, kIdDateCheck, "Date");
  timeKind_ = new wxComboBox(box, kIdTimeKind, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                             wxCB_DROPDOWN | wxCB_READONLY);
  dateRow->Add(date_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  dateRow->Add(timeKind_, 0);
  group->Add(dateRow, 0, wxALL, 4);

  auto* periods = new wxFlexGridSizer(4, 4, 6);
  monthsRadio_ = new wxRadioButton(box, kIdLastMonthsRadio, "in the last", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  months_ = new wxTextCtrl(box, kIdMonthsEdit, wxEmptyString, wxDefaultPosition, wxSize(60, -1));
  monthsSpin_ = MakeSpin(box, kIdMonthsSpin);
  daysRadio_ = new wxRadioButton(box, kIdLastDaysRadio, "in the last");
  days_ = new wxTextCtrl(box, kIdDaysEdit, wxEmptyString, wxDefaultPosition, wxSize(60, -1));
  daysSpin_ = MakeSpin(box, kIdDaysSpin);
  periods->Add(monthsRadio_, 0, wxALIGN_CENTER_VERTICAL);
  periods->Add(months_);
  periods->Add(monthsSpin_, 0, wxEXPAND);
  periods->Add(new wxStaticText(box, wxID_ANY, "months"), 0, wxALIGN_CENTER_VERTICAL);
  periods->Add(daysRadio_, 0, wxALIGN_CENTER_VERTICAL);
  periods->Add(days_);
  periods->Add(daysSpin_, 0, wxEXPAND);
  periods->Add(new wxStaticText(box, wxID_ANY, "days"), 0, wxALIGN_CENTER_VERTICAL);
  group->Add(periods, 0, wxALL, 4);

  auto* between = new wxBoxSizer(wxHORIZONTAL);
  betweenRadio_ = new wxRadioButton(box, kIdBetweenRadio, "between");
  from_ = new wxDatePickerCtrl(box, kIdFromDate, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize, wxDP_DROPDOWN);
  and_ = new wxStaticText(box, kIdAndText, "and");
  to_ = new wxDatePickerCtrl(box, kIdToDate, wxDefaultDateTime, wxDefaultPosition, wxDefaultSize, wxDP_DROPDOWN);
  between->Add(betweenRadio_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  between->Add(from_, 0, wxRIGHT, 6);
  between->Add(and_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  between->Add(to_, 0);
  group->Add(between, 0, wxALL, 4);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(group, 1, wxEXPAND | wxALL, 10);
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(sizer);

  // Each handler writes the application state at once; Cancel takes nothing back.
  FileMaskCriteria& c = App().mask;
  mask_->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) {
    maskText_ = Utf8(mask_->GetValue());
    c.byExtension = maskText_.empty() ? 0 : 1;
  });
  matchCase_->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) { c.matchCase = matchCase_->GetValue() ? 1 : 0; });
  deleted_->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) { c.deletedFiles = deleted_->GetValue() ? 1 : 0; });
  existing_->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) { c.existingFiles = existing_->GetValue() ? 1 : 0; });
  // A size bound is in force exactly while its box is checked, whatever its value.
  sizeFromCheck_->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) {
    sizeFrom_->Enable(sizeFromCheck_->GetValue());
    c.bySizeFrom = sizeFromCheck_->GetValue() ? 1 : 0;
  });
  sizeUptoCheck_->Bind(wxEVT_CHECKBOX, [this, &c](wxCommandEvent&) {
    sizeUpto_->Enable(sizeUptoCheck_->GetValue());
    c.bySizeUpto = sizeUptoCheck_->GetValue() ? 1 : 0;
  });
  sizeFrom_->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) {
    if (!sizeFrom_->IsEmpty()) c.sizeFrom = Number(sizeFrom_->GetValue());
  });
  sizeUpto_->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) {
    if (!sizeUpto_->IsEmpty()) c.sizeUpto = Number(sizeUpto_->GetValue());
  });
  // A period is in force while "Date" is checked and its radio button chosen (UpdateDateCriteria);
  // typing keeps the value of a period that is not chosen.
  months_->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) {
    if (!months_->IsEmpty()) c.lastMonths = Number(months_->GetValue());
  });
  days_->Bind(wxEVT_TEXT, [this, &c](wxCommandEvent&) {
    if (!days_->IsEmpty()) c.lastDays = Number(days_->GetValue());
  });
  date_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnDate(); });
  for (wxRadioButton* r : {monthsRadio_, daysRadio_, betweenRadio_}) {
    r->Bind(wxEVT_RADIOBUTTON, [this, r](wxCommandEvent&) {
      if (r->GetValue()) ChooseRadio(r->GetId());
    });
  }
  to_->Bind(wxEVT_DATE_CHANGED, [this, &c](wxDateEvent& e) {
    const wxDateTime d = e.GetDate();
    c.toYear = d.GetYear();
    c.toMonth = d.GetMonth() + 1;
    c.toDay = d.GetDay();
  });
  from_->Bind(wxEVT_DATE_CHANGED, [this, &c](wxDateEvent& e) {
    const wxDateTime d = e.GetDate();
    c.fromYear = d.GetYear();
    c.fromMonth = d.GetMonth() + 1;
    c.fromDay = d.GetDay();
  });
  timeKind_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { timeChoice_ = timeKind_->GetSelection(); });
  daysSpin_->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) { OnDaysSpin(1); });
  daysSpin_->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) { OnDaysSpin(-1); });
  monthsSpin_->Bind(wxEVT_SPIN_UP, [this](wxSpinEvent&) { OnMonthsSpin(1); });
  monthsSpin_->Bind(wxEVT_SPIN_DOWN, [this](wxSpinEvent&) { OnMonthsSpin(-1); });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
}

void CFileMaskDlg::InitControls() {
  const AppState& app = App();
  for (const char* kind : {"Files Created", "Files Accessed", "Files Modified"}) timeKind_->Append(kind);
  const FileMaskCriteria& c = app.mask;
  timeChoice_ = app.maskApplied == 0 ? 0 : c.created != 0 ? 0 : c.accessed != 0 ? 1 : 2;
  timeKind_->SetSelection(timeChoice_);
  timeKind_->Disable();

  // Setting a text runs its change handler, as typing would.
  sizeFrom_->SetValue("0");
  sizeUpto_->SetValue("2");
  months_->SetValue("0");
  days_->SetValue("0");
  for (wxWindow* w : std::initializer_list<wxWindow*>{sizeFrom_, sizeUpto_, months_, days_}) w->Disable();

  const wxDateTime today = wxDateTime::Today();
  to_->SetValue(today);
  wxDateTime from = today;
  const int month = today.GetMonth() == wxDateTime::Jan ? 12 : today.GetMonth();  // 1-based month before
  const int year = today.GetMonth() == wxDateTime::Jan ? today.GetYear() - 1 : today.GetYear();
  // The month before with the same day; a day that month lacks leaves today.
  if (today.GetDay() <= wxDateTime::GetNumberOfDays(static_cast<wxDateTime::Month>(month - 1), year)) {
    from = wxDateTime(today.GetDay(), static_cast<wxDateTime::Month>(month - 1), year);
  }
  from_->SetValue(from);
  for (wxWindow* w : std::initializer_list<wxWindow*>{from_, to_, monthsRadio_, daysRadio_, betweenRadio_, and_}) {
    w->Disable();
  }

  deleted_->SetValue(true);
  existing_->SetValue(true);
  FileMaskCriteria& m = App().mask;
  m.deletedFiles = m.existingFiles = 1;

  daysValue_ = 0;
  monthsValue_ = 0;
  months_->SetValue("0");
  days_->SetValue("0");
}

void CFileMaskDlg::OnDate() {
  const bool on = date_->GetValue();
  if (on) monthsRadio_->SetValue(true);
  for (wxWindow* w : std::initializer_list<wxWindow*>{monthsRadio_, daysRadio_, betweenRadio_, months_, and_, timeKind_}) {
    w->Enable(on);
  }
  if (!on) {
    for (wxWindow* w : std::initializer_list<wxWindow*>{days_, from_, to_}) w->Disable();
  }
  UpdateDateCriteria();
}

void CFileMaskDlg::ChooseRadio(int id) {
  months_->Enable(id == kIdLastMonthsRadio);
  days_->Enable(id == kIdLastDaysRadio);
  from_->Enable(id == kIdBetweenRadio);
  to_->Enable(id == kIdBetweenRadio);
  // The other two radio buttons of the group uncheck themselves.
  UpdateDateCriteria();
}

void CFileMaskDlg::UpdateDateCriteria() {
  FileMaskCriteria& c = App().mask;
  const bool date = date_->GetValue();
  c.byLastMonths = date && monthsRadio_->GetValue() ? 1 : 0;
  c.byLastDays = date && daysRadio_->GetValue() ? 1 : 0;
  c.betweenDates = date && betweenRadio_->GetValue() ? 1 : 0;
}

void CFileMaskDlg::OnDaysSpin(int step) {
  daysValue_ += step;
  if (daysValue_ > kDaysSpinMax) daysValue_ = 1;
  if (daysValue_ < 1) daysValue_ = kDaysSpinMax;
  days_->SetValue(wxString::Format("%d", daysValue_));
}

void CFileMaskDlg::OnMonthsSpin(int step) {
  monthsValue_ += step;
  if (monthsValue_ < 0) monthsValue_ = 0;
  months_->SetValue(wxString::Format("%d", monthsValue_));
}

void CFileMaskDlg::OnPaint() {
  wxPaintDC dc(this);
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(GetClientRect());
}

void CFileMaskDlg::OnOK() {
  FileMaskCriteria& c = App().mask;
  if (c.deletedFiles == 0 && c.existingFiles == 0) {
    controls::CMessageBoxDlg warn(this, "One or both button (Deleted Files and Existing Files) must be checked",
                         "Quarvel Velnora Linux", wxOK | wxICON_WARNING);
    warn.ShowModal();
    return;
  }
  // A size bound in force is what its box shows, a whole number of MB; anything else keeps the
  // dialog open until the box says what is meant.
  const std::pair<wxCheckBox*, wxTextCtrl*> boxes[] = {{sizeFromCheck_, sizeFrom_}, {sizeUptoCheck_, sizeUpto_}};
  int megabytes[2] = {c.sizeFrom, c.sizeUpto};
  for (int b = 0; b < 2; ++b) {
    const auto [check, edit] = boxes[b];
    if (!check->GetValue() || ParseWholeMegabytes(Utf8(edit->GetValue()), megabytes[b])) continue;
    controls::CMessageBoxDlg refuse(this, b == 0 ? "\"Size from\" needs a whole number of MB" : "\"upto\" needs a whole number of MB",
                           "Quarvel Velnora Linux", wxOK | wxICON_WARNING);
    refuse.ShowModal();
    edit->SetFocus();
    return;
  }
  c.sizeFrom = megabytes[0];
  c.sizeUpto = megabytes[1];
  // A picker the user left alone stands for the date it shows.
  const wxDateTime from = from_->GetValue(), to = to_->GetValue();
  c.fromYear = from.GetYear(), c.fromMonth = from.GetMonth() + 1, c.fromDay = from.GetDay();
  c.toYear = to.GetYear(), c.toMonth = to.GetMonth() + 1, c.toDay = to.GetDay();
  Finish(wxID_OK);
}

void RunFileMaskDlg(wxWindow* parent, CLinuxDrive* drive, CLeftView& tree) {
  std::string text;
  int timeChoice = 0;
  {
    CFileMaskDlg dlg(drive, parent);
    if (dlg.ShowModal() != wxID_OK) return;
    text = dlg.MaskText();
    timeChoice = dlg.TimeChoice();
  }
  AppState& app = App();
  tree.RestoreUnmaskedList();
  FileMaskCriteria& c = app.mask;
  c.extensions = SplitMaskText(text);
  app.maskApplied = 1;
  {
    controls::CWaitDlg wait(parent, controls::kVelnoraWaitText);
    wait.ShowModal();
  }
  c.created = timeChoice == 0 ? 1 : 0;
  c.accessed = timeChoice == 1 ? 1 : 0;
  c.modified = timeChoice == 2 ? 1 : 0;
  wxBusyCursor busy;
  tree.ApplyFileMask(TodayUtc());
  c.extensions.clear();
}

// --- Find ---

CFindDlg::CFindDlg(wxWindow* parent) : controls::CTitledDialog(parent, wxID_ANY, "Find") {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, kIdFindLabel, "File"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  text_ = new wxTextCtrl(this, kIdFindText, wxEmptyString, wxDefaultPosition, wxSize(240, -1));
  row->Add(text_, 1);
  sizer->Add(row, 0, wxEXPAND | wxALL, 10);
  auto* checks = new wxBoxSizer(wxHORIZONTAL);
  auto* matchCase = new wxCheckBox(this, kIdFindMatchCase, "Match Case");
  auto* deleted = new wxCheckBox(this, kIdFindDeleted, "Deleted Files");
  auto* existing = new wxCheckBox(this, kIdFindExisting, "Existing Files");
  for (wxCheckBox* c : {matchCase, deleted, existing}) checks->Add(c, 0, wxRIGHT, 12);
  sizer->Add(checks, 0, wxLEFT | wxRIGHT, 10);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  buttons->Add(ok, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(sizer);

  AppState& app = App();
  deleted->SetValue(true);
  existing->SetValue(true);
  app.findDeleted = app.findExisting = 1;
  matchCase->SetValue(false);
  matchCase->Bind(wxEVT_CHECKBOX, [matchCase](wxCommandEvent&) { App().findMatchCase = matchCase->GetValue() ? 1 : 0; });
  deleted->Bind(wxEVT_CHECKBOX, [deleted](wxCommandEvent&) { App().findDeleted = deleted->GetValue() ? 1 : 0; });
  existing->Bind(wxEVT_CHECKBOX, [existing](wxCommandEvent&) { App().findExisting = existing->GetValue() ? 1 : 0; });
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_OK); }, wxID_OK);
  Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Finish(wxID_CANCEL); }, wxID_CANCEL);
  text_->SetFocus();
}

std::string CFindDlg::Text() const { return Utf8(text_->GetValue()); }

void RunFindDlg(wxWindow* parent, CLeftView& tree) {
  App().findMatchCase = 0;
  std::string text;
  {
    CFindDlg dlg(parent);
    if (dlg.ShowModal() != wxID_OK) return;
    text = dlg.Text();
  }
  if (!text.empty()) tree.Find(text);
}

}  // namespace ext2::app
