// The message-log pane.
#include "message_log.h"

#include <wx/dcmemory.h>
#include <wx/sizer.h>

#include "app_images.h"
#include "controls/wx/display_string.h"

namespace ext2::app {

using namespace ext2::core;

CMessageLogDlg::CMessageLogDlg(wxWindow* parent) : wxPanel(parent, wxID_ANY), images_(16, 16, true, 2) {
  list_ = new wxListCtrl(this, kListId, wxDefaultPosition, wxDefaultSize,
                         wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
  list_->AppendColumn("Activity", wxLIST_FORMAT_LEFT, 192);
  list_->AppendColumn("Text", wxLIST_FORMAT_LEFT, 300);
  list_->AppendColumn("Status", wxLIST_FORMAT_LEFT, 400);
  for (int i = 0; i <= 6; ++i) images_.Add(LogIcon(i));
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, wxEXPAND | wxALL, 5);
  SetSizer(sizer);
}

CMessageLogDlg::~CMessageLogDlg() { list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL); }

int CMessageLogDlg::AddRow(const char* activity, const char* text, const char* status, int icon) {
  const long row = list_->GetItemCount();
  using controls::DisplayString;
  list_->InsertItem(row, DisplayString(activity), icon >= 0 && icon <= 6 ? icon : -1);
  list_->SetItem(row, 1, DisplayString(text));
  list_->SetItem(row, 2, DisplayString(status));
  if (row > 5) list_->EnsureVisible(row);
  return static_cast<int>(row + 1);
}

void CMessageLogDlg::Clear() { list_->DeleteAllItems(); }

std::vector<LogReportRow> CMessageLogDlg::Rows() const {
  std::vector<LogReportRow> rows;
  for (long i = 0; i < list_->GetItemCount(); ++i) {
    rows.push_back({list_->GetItemText(i, 0).utf8_string(), list_->GetItemText(i, 1).utf8_string(),
                    list_->GetItemText(i, 2).utf8_string()});
  }
  return rows;
}

}  // namespace ext2::app
