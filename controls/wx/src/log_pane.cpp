// The log pane: rows in a vector, shown by a virtual report list.
#include "controls/wx/log_pane.h"

#include <wx/sizer.h>

#include "controls/display_text.h"
#include "controls/wx/display_string.h"

namespace controls {

// The report list that draws the pane's rows: it holds none of its own.
class CLogPane::RowList : public wxListCtrl {
 public:
  RowList(wxWindow* parent, int id, const std::vector<Row>& rows)
      : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxBORDER_SUNKEN),
        rows_(rows) {}

 private:
  wxString OnGetItemText(long item, long column) const override {
    if (item < 0 || static_cast<std::size_t>(item) >= rows_.size()) return {};
    const LogReportRow& texts = rows_[static_cast<std::size_t>(item)].texts;
    const std::string& text = column == 0 ? texts.activity : column == 1 ? texts.text : texts.status;
    return DisplayString(text);
  }
  int OnGetItemImage(long item) const override {
    return item >= 0 && static_cast<std::size_t>(item) < rows_.size() ? rows_[static_cast<std::size_t>(item)].icon : -1;
  }

  const std::vector<Row>& rows_;
};

CLogPane::CLogPane(wxWindow* parent, const LogPaneLook& look)
    : wxPanel(parent, wxID_ANY),
      images_(16, 16, true, static_cast<int>(look.icons.size())),
      firstScrolledRow_(look.firstScrolledRow) {
  list_ = new RowList(this, look.listId, rows_);
  for (const LogPaneColumn& column : look.columns) list_->AppendColumn(column.title, wxLIST_FORMAT_LEFT, column.width);
  for (const wxBitmap& icon : look.icons) images_.Add(icon);
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, look.border > 0 ? wxEXPAND | wxALL : wxEXPAND, look.border);
  SetSizer(sizer);
}

CLogPane::~CLogPane() {
  // The list outlives the rows it reads (children go with the base window): it shows none now.
  list_->SetItemCount(0);
  list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

int CLogPane::AddRow(const char* activity, const char* text, const char* status, int icon) {
  auto bytes = [](const char* s) { return s != nullptr ? std::string(s) : std::string(); };
  const bool shown = icon >= 0 && icon < images_.GetImageCount();
  rows_.push_back({{bytes(activity), bytes(text), bytes(status)}, shown ? icon : -1});
  list_->SetItemCount(static_cast<long>(rows_.size()));
  // The list scrolls to its last row once the rows of a burst are in, not at every row.
  if (RowCount() >= firstScrolledRow_ && !scrollAsked_) {
    scrollAsked_ = true;
    CallAfter([this] {
      scrollAsked_ = false;
      if (!rows_.empty()) list_->EnsureVisible(static_cast<long>(rows_.size()) - 1);
    });
  }
  return RowCount();
}

void CLogPane::Clear() {
  rows_.clear();
  list_->DeleteAllItems();
}

std::vector<LogReportRow> CLogPane::Rows() const {
  std::vector<LogReportRow> texts;
  texts.reserve(rows_.size());
  for (const Row& row : rows_) {
    const LogReportRow& t = row.texts;
    texts.push_back({DisplayText(t.activity), DisplayText(t.text), DisplayText(t.status)});
  }
  return texts;
}

}  // namespace controls
