// The process-log pane.
#include "cd_process_log.h"

#include <wx/sizer.h>

#include "cd_images.h"
#include "controls/wx/display_string.h"

namespace {
constexpr int kIcons = 3;
}

CProcessLogBar::CProcessLogBar(wxWindow* parent) : wxPanel(parent, wxID_ANY), images_(16, 16, true, kIcons) {
  list_ = new wxListCtrl(this, kListId, wxDefaultPosition, wxDefaultSize,
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
  list_->AppendColumn("Type", wxLIST_FORMAT_LEFT, 200);
  list_->AppendColumn("Text", wxLIST_FORMAT_LEFT, 500);
  list_->AppendColumn("Status", wxLIST_FORMAT_LEFT, 400);
  for (int i = 0; i < kIcons; ++i) images_.Add(CdLogIcon(i));
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, wxEXPAND);
  SetSizer(sizer);
}

CProcessLogBar::~CProcessLogBar() { list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL); }

int CProcessLogBar::AddRow(const char* activity, const char* text, const char* status, int icon) {
  const long row = list_->GetItemCount();
  using controls::DisplayString;
  list_->InsertItem(row, DisplayString(activity), icon >= 0 && icon < kIcons ? icon : -1);
  list_->SetItem(row, 1, DisplayString(text));
  list_->SetItem(row, 2, DisplayString(status));
  // The list scrolls to its last row once the rows of a burst are in, not at every row: each
  // scroll lays the whole list out again.
  if (!scrollAsked_) {
    scrollAsked_ = true;
    CallAfter([this] {
      scrollAsked_ = false;
      if (list_->GetItemCount() > 0) list_->EnsureVisible(list_->GetItemCount() - 1);
    });
  }
  return static_cast<int>(row + 1);
}

void CProcessLogBar::Clear() { list_->DeleteAllItems(); }

std::vector<CdLogRowTexts> CProcessLogBar::Rows() const {
  std::vector<CdLogRowTexts> rows;
  for (long i = 0; i < list_->GetItemCount(); ++i) {
    rows.push_back({list_->GetItemText(i, 0).utf8_string(), list_->GetItemText(i, 1).utf8_string(),
                    list_->GetItemText(i, 2).utf8_string()});
  }
  return rows;
}
