// The log pane: rows in a vector, shown by a virtual report list.
#include "controls/wx/log_pane.h"

#include <wx/settings.h>
#include <wx/sizer.h>

#include "controls/display_text.h"
#include "controls/wx/display_string.h"

namespace controls {

namespace {

// The report list draws a cell's text this much narrower than its column, and a row's icon before
// the text of the first column with this gap after it.
constexpr int kCellMargin = 8;
constexpr int kIconGap = 5;

}  // namespace

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
  for (const LogPaneColumn& column : look.columns) {
    list_->AppendColumn(column.title, wxLIST_FORMAT_LEFT, column.width);
    headingNeeds_.push_back(list_->GetTextExtent(column.title).x + 2 * kCellMargin);
    widths_.push_back({column.width, headingNeeds_.back()});
  }
  lastMeasured_.resize(widths_.size());
  for (wxChar c = ' '; c <= '~'; ++c) advances_[c] = list_->GetTextExtent(wxString(c)).x;
  for (const wxBitmap& icon : look.icons) images_.Add(icon);
  list_->SetImageList(&images_, wxIMAGE_LIST_SMALL);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(list_, 1, look.border > 0 ? wxEXPAND | wxALL : wxEXPAND, look.border);
  SetSizer(sizer);
  list_->Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    e.Skip();
    FitColumns();
  });
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
  const LogReportRow& texts = rows_.back().texts;
  // Bitwise or: every column takes the row in.
  if (Needs(0, texts.activity, shown) | Needs(1, texts.text, false) | Needs(2, texts.status, false)) FitColumns();
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

bool CLogPane::Needs(std::size_t column, const std::string& text, bool icon) {
  if (column >= widths_.size() || text.empty()) return false;
  const int around = kCellMargin + (icon ? images_.GetSize().x + kIconGap : 0);
  int& needed = widths_[column].needed;
  // Measuring a text costs far more than adding its row, and most rows need not be measured: a
  // text just measured (a status repeated row after row), and a text of printable ASCII
  // characters whose widths added, and some, are inside the need (kerning and ligatures make a
  // text a little narrower, if anything, than its characters).
  if (text == lastMeasured_[column]) return false;
  long long estimate = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < ' ' || byte > '~') {
      estimate = -1;
      break;
    }
    estimate += advances_[byte];
  }
  if (estimate >= 0 && estimate + estimate / 50 + 2 + around <= needed) return false;
  lastMeasured_[column] = text;
  const int width = list_->GetTextExtent(DisplayString(text)).x + around;
  if (width <= needed) return false;
  needed = width;
  return true;
}

void CLogPane::FitColumns() {
  const int room = list_->GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, list_);
  const std::vector<int> widths = LogColumnWidths(widths_, room);
  for (std::size_t c = 0; c < widths.size(); ++c) {
    if (list_->GetColumnWidth(static_cast<int>(c)) != widths[c]) list_->SetColumnWidth(static_cast<int>(c), widths[c]);
  }
}

void CLogPane::Clear() {
  rows_.clear();
  list_->DeleteAllItems();
  for (std::size_t c = 0; c < widths_.size(); ++c) widths_[c].needed = headingNeeds_[c];
  lastMeasured_.assign(widths_.size(), std::string());
  FitColumns();
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
