// The process-log pane: rows in a vector, shown by a virtual report list.
#include "cd_process_log.h"

#include <wx/sizer.h>

#include "cd_images.h"
#include "controls/display_text.h"
#include "controls/wx/display_string.h"

namespace cd::app {

using namespace cd::core;

namespace {
constexpr int kIcons = 3;
}

// The report list that draws the pane's rows: it holds none of its own.
class CProcessLogBar::RowList : public wxListCtrl {
 public:
  RowList(wxWindow* parent, const std::vector<Row>& rows)
      : wxListCtrl(parent, kListId, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxBORDER_SUNKEN),
        rows_(rows) {}

 private:
  wxString OnGetItemText(long item, long column) const override {
    if (item < 0 || static_cast<std::size_t>(item) >= rows_.size()) return {};
    const CdLogRowTexts& texts = rows_[static_cast<std::size_t>(item)].texts;
    const std::string& text = column == 0 ? texts.activity : column == 1 ? texts.text : texts.status;
    return controls::DisplayString(text);
  }
  int OnGetItemImage(long item) const override {
    return item >= 0 && static_cast<std::size_t>(item) < rows_.size() ? rows_[static_cast<std::size_t>(item)].icon : -1;
  }

  const std::vector<Row>& rows_;
};

CProcessLogBar::CProcessLogBar(wxWindow* parent) : wxPanel(parent, wxID_ANY), images_(16, 16, true, kIcons) {
  list_ = new RowList(this, rows_);
  list_->AppendColumn("Type", wxLIST_FORMAT_LEFT, 200);
  list_->AppendColumn("Text", wxLIST_FORMAT_LEFT, 500);
  list_->AppendColumn("Status", wxLIST_FORMAT_LEFT, 400);
  for (int i = 0; i < kIcons; ++i) images_.Add(CdLogIcon(i));
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, wxEXPAND);
  SetSizer(sizer);
}

CProcessLogBar::~CProcessLogBar() {
  // The list outlives the rows it reads (children go with the base window): it shows none now.
  list_->SetItemCount(0);
  list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

int CProcessLogBar::AddRow(const char* activity, const char* text, const char* status, int icon) {
  auto bytes = [](const char* s) { return s != nullptr ? std::string(s) : std::string(); };
  rows_.push_back({{bytes(activity), bytes(text), bytes(status)}, icon >= 0 && icon < kIcons ? icon : -1});
  list_->SetItemCount(static_cast<long>(rows_.size()));
  // The list scrolls to its last row once the rows of a burst are in, not at every row.
  if (!scrollAsked_) {
    scrollAsked_ = true;
    CallAfter([this] {
      scrollAsked_ = false;
      if (!rows_.empty()) list_->EnsureVisible(static_cast<long>(rows_.size()) - 1);
    });
  }
  return RowCount();
}

void CProcessLogBar::Clear() {
  rows_.clear();
  list_->DeleteAllItems();
}

std::vector<CdLogRowTexts> CProcessLogBar::Rows() const {
  std::vector<CdLogRowTexts> texts;
  texts.reserve(rows_.size());
  for (const Row& row : rows_) {
    const CdLogRowTexts& t = row.texts;
    texts.push_back({controls::DisplayText(t.activity), controls::DisplayText(t.text), controls::DisplayText(t.status)});
  }
  return texts;
}

}  // namespace cd::app
