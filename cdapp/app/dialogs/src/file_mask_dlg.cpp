// File Mask: the criteria that narrow the tree, written to the program's state as they are set;
// OK checks the day and month values, then the mask is applied after the wait notice.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>
#include <cstdlib>

#include "cd_dialogs.h"
#include "controls/wx/message_box.h"
#include "controls/wx/notice_dialogs.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

namespace {

// Longest mask text the edit takes.
constexpr unsigned long kMaskLength = 251;

wxDateTime ToDateTime(CdDate d) { return wxDateTime(static_cast<wxDateTime::wxDateTime_t>(d.day),
                                                    static_cast<wxDateTime::Month>(d.month - 1), d.year); }

CdDate FromDateTime(const wxDateTime& t) {
  return {t.GetYear(), static_cast<int>(t.GetMonth()) + 1, static_cast<int>(t.GetDay())};
}

// A base-10 number as strtol reads it, kept within int.
int Number(const wxString& text) {
  const long n = std::strtol(text.utf8_string().c_str(), nullptr, 10);
  return static_cast<int>(n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : n);
}

}  // namespace

CFileMaskDlg::CFileMaskDlg(wxWindow* parent, CCDReader& reader)
    : CCdFramedDlg(parent, "File Mask"), app_(*reader.app), today_(TodayUtc()), betweenOpening_(OneMonthBefore(today_)) {
  app_.mask = CdFileMaskSettings{};
  reader.fileMaskPatterns.clear();

  auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Set Mask");
  wxWindow* box = group->GetStaticBox();
  mask_ = new wxTextCtrl(box, 1011, wxEmptyString, wxDefaultPosition, wxSize(260, -1));
  mask_->SetMaxLength(kMaskLength);
  auto* matchCase = new wxCheckBox(box, 1004, "&Match Case");
  auto* existing = new wxCheckBox(box, 1022, "&Existing Files");
  auto* sizeFromBox = new wxCheckBox(box, 1025, "Size from");
  sizeFrom_ = new wxTextCtrl(box, 1026, wxEmptyString, wxDefaultPosition, wxSize(60, -1));
  auto* sizeUptoBox = new wxCheckBox(box, 1027, "upto");
  sizeUpto_ = new wxTextCtrl(box, 1028, wxEmptyString, wxDefaultPosition, wxSize(60, -1));

  auto* typeRow = new wxBoxSizer(wxHORIZONTAL);
  typeRow->Add(new wxStaticText(box, wxID_ANY, "Files of Type:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  typeRow->Add(mask_, 1);
  group->Add(typeRow, 0, wxEXPAND | wxALL, 4);
  group->Add(new wxStaticText(box, wxID_ANY, "A File mask delimited with semi-colons."), 0, wxLEFT | wxBOTTOM, 4);
  group->Add(matchCase, 0, wxALL, 4);
  group->Add(existing, 0, wxALL, 4);
  auto* sizeRow = new wxBoxSizer(wxHORIZONTAL);
  sizeRow->Add(sizeFromBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  sizeRow->Add(sizeFrom_, 0, wxRIGHT, 8);
  sizeRow->Add(sizeUptoBox, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  sizeRow->Add(sizeUpto_, 0, wxRIGHT, 4);
  sizeRow->Add(new wxStaticText(box, wxID_ANY, "MB"), 0, wxALIGN_CENTER_VERTICAL);
  group->Add(sizeRow, 0, wxALL, 4);

  // The date group has its check box as heading.
  date_ = new wxCheckBox(box, 1029, "Date");
  auto* dateGroup = new wxStaticBoxSizer(new wxStaticBox(box, wxID_ANY, date_), wxVERTICAL);
  wxWindow* dateBox = dateGroup->GetStaticBox();
  inMonths_ = new wxRadioButton(dateBox, 1031, "in the last", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  months_ = new wxTextCtrl(dateBox, 1032, wxEmptyString, wxDefaultPosition, wxSize(50, -1));
  inDays_ = new wxRadioButton(dateBox, 1033, "in the last");
  days_ = new wxTextCtrl(dateBox, 1034, wxEmptyString, wxDefaultPosition, wxSize(50, -1));
  between_ = new wxRadioButton(dateBox, 1035, "between");
  betweenPicker_ = new wxDatePickerCtrl(dateBox, 1045);
  and_ = new wxStaticText(dateBox, 1046, "and");
  andPicker_ = new wxDatePickerCtrl(dateBox, 1044);
  auto* dates = new wxFlexGridSizer(3, 4, 6);
  dates->Add(inMonths_, 0, wxALIGN_CENTER_VERTICAL);
  dates->Add(months_);
  dates->Add(new wxStaticText(dateBox, wxID_ANY, "months"), 0, wxALIGN_CENTER_VERTICAL);
  dates->Add(inDays_, 0, wxALIGN_CENTER_VERTICAL);
  dates->Add(days_);
  dates->Add(new wxStaticText(dateBox, wxID_ANY, "days"), 0, wxALIGN_CENTER_VERTICAL);
  auto* range = new wxBoxSizer(wxHORIZONTAL);
  range->Add(between_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  range->Add(betweenPicker_, 0, wxRIGHT, 6);
  range->Add(and_, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  range->Add(andPicker_);
  dateGroup->Add(dates, 0, wxALL, 4);
  dateGroup->Add(range, 0, wxALL, 4);
  group->Add(dateGroup, 0, wxEXPAND | wxALL, 4);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(group, 0, wxEXPAND | wxALL, 10);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  buttons->Add(ok, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
  sizer->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(sizer);
  ok->SetDefault();

  mask_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { app_.mask.maskPresent = !mask_->IsEmpty(); });
  matchCase->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { app_.mask.matchCase = e.IsChecked(); });
  existing->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { app_.mask.existingEntries = e.IsChecked(); });
  // A criterion is in force exactly while its box is checked.
  sizeFromBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
    sizeFrom_->Enable(e.IsChecked());
    app_.mask.sizeFromActive = e.IsChecked();
  });
  sizeUptoBox->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
    sizeUpto_->Enable(e.IsChecked());
    app_.mask.sizeUptoActive = e.IsChecked();
  });
  for (wxTextCtrl* edit : {sizeFrom_, sizeUpto_, months_, days_}) {
    edit->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) { OnNumber(e.GetId()); });
  }
  date_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { OnDate(e.IsChecked()); });
  for (wxRadioButton* radio : {inMonths_, inDays_, between_}) {
    radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& e) { OnRadio(e.GetId()); });
  }
  for (wxDatePickerCtrl* picker : {betweenPicker_, andPicker_}) {
    picker->Bind(wxEVT_DATE_CHANGED, [this](wxDateEvent& e) { OnPicker(e.GetId()); });
  }
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });

  // Opening values; no criterion is in force until its box is checked.
  sizeFrom_->ChangeValue("0");
  sizeUpto_->ChangeValue("2");
  months_->ChangeValue("0");
  days_->ChangeValue("0");
  for (int id : {1026, 1028, 1032, 1034}) OnNumber(id);
  for (wxWindow* w : std::initializer_list<wxWindow*>{sizeFrom_, sizeUpto_, months_, days_}) w->Disable();
  andPicker_->SetValue(ToDateTime(today_));
  betweenPicker_->SetValue(ToDateTime(betweenOpening_));
  for (wxWindow* w : std::initializer_list<wxWindow*>{betweenPicker_, andPicker_, inMonths_, inDays_, between_, and_}) {
    w->Disable();
  }
  app_.mask.deletedEntries = 1;
  existing->SetValue(true);
  app_.mask.existingEntries = 1;
  mask_->SetFocus();
}

std::string CFileMaskDlg::MaskText() const { return mask_->GetValue().utf8_string(); }

void CFileMaskDlg::OnNumber(int id) {
  CdFileMaskSettings& m = app_.mask;
  auto* edit = wxDynamicCast(FindWindow(id), wxTextCtrl);
  if (edit == nullptr || edit->IsEmpty()) return;
  const int n = Number(edit->GetValue());
  switch (id) {
    case 1026:
      m.sizeFromMb = n;
      break;
    case 1028:
      m.sizeUptoMb = n;
      break;
    case 1032:
      m.months = n;
      break;
    case 1034:
      m.days = n;
      break;
    default:
      break;
  }
}

void CFileMaskDlg::OnDate(bool enable) {
  if (enable) {
    inMonths_->SetValue(true);
    for (wxWindow* w : std::initializer_list<wxWindow*>{inMonths_, inDays_, between_, months_, and_}) w->Enable();
  } else {
    for (wxWindow* w :
         std::initializer_list<wxWindow*>{inMonths_, months_, inDays_, days_, between_, betweenPicker_, andPicker_, and_}) {
      w->Disable();
    }
  }
  UpdateDateCriteria();
}

void CFileMaskDlg::OnRadio(int id) {
  months_->Enable(id == 1031);
  days_->Enable(id == 1033);
  betweenPicker_->Enable(id == 1035);
  andPicker_->Enable(id == 1035);
  UpdateDateCriteria();
}

void CFileMaskDlg::UpdateDateCriteria() {
  CdFileMaskSettings& m = app_.mask;
  const bool date = date_->GetValue();
  m.monthsActive = date && inMonths_->GetValue();
  m.daysActive = date && inDays_->GetValue();
  m.dateRangeActive = date && between_->GetValue();
}

void CFileMaskDlg::OnPicker(int id) {
  CdFileMaskSettings& m = app_.mask;
  if (id == 1044) {
    const CdDate d = FromDateTime(andPicker_->GetValue());
    m.fromYear = d.year, m.fromMonth = d.month, m.fromDay = d.day;
  } else {
    const CdDate d = FromDateTime(betweenPicker_->GetValue());
    m.toYear = d.year, m.toMonth = d.month, m.toDay = d.day;
  }
}

void CFileMaskDlg::OnOk() {
  const CdFileMaskSettings& m = app_.mask;
  const char* problem = nullptr;
  if (m.daysActive && static_cast<unsigned>(m.days) > 30) {
    problem = "Enter values between 1-30";
  } else if (m.monthsActive && (m.months < 0 || m.months > 11)) {
    problem = "Enter values between 1-11";
  }
  if (problem != nullptr) {
    controls::CMessageBoxDlg box(this, problem, "CD", wxOK);
    box.ShowModal();
    return;
  }
  Finish(wxID_OK);
}

bool RunFileMaskDlg(wxWindow* parent, CCDReader& reader, CdTreeView& view, CdFileMask& mask) {
  CFileMaskDlg dlg(parent, reader);
  if (dlg.ShowModal() != wxID_OK) return false;
  reader.fileMaskPatterns = SplitMaskPatterns(dlg.MaskText());
  controls::CWaitDlg wait(parent, controls::kCdWaitText);
  wait.ShowModal();
  mask.Apply(reader, view, TodayUtc());
  reader.fileMaskPatterns.clear();
  return true;
}

}  // namespace cd::app
