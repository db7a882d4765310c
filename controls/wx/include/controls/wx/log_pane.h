// The log pane of both programs: a report list of rows (three texts and one icon) in a panel that
// the frame docks. The rows are kept here as given; the list control is virtual and asks for the
// texts of the rows it draws, decoded then, so that adding a row costs the same however long the
// log has grown. No text is cut short: each column is as wide as its widest text needs, and as
// its look says where the pane has room for that (controls/log_columns.h); the list scrolls
// sideways where the pane is narrower than the texts.
#pragma once

#include <wx/bitmap.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <array>
#include <string>
#include <vector>

#include "controls/log_columns.h"
#include "controls/log_report.h"

namespace controls {

struct LogPaneColumn {
  wxString title;
  int width = 0;
};

// How a program's log pane looks.
struct LogPaneLook {
  int listId = wxID_ANY;
  std::vector<LogPaneColumn> columns;  // the three columns: activity, text, status
  std::vector<wxBitmap> icons;         // the rows' icons, by index
  int border = 0;                      // blank pixels around the list
  int firstScrolledRow = 1;            // the list follows its last row from this row on (1-based)
};

class CLogPane : public wxPanel {
 public:
  CLogPane(wxWindow* parent, const LogPaneLook& look);
  ~CLogPane() override;

  // Appends a row at the current count; a null text leaves its column empty, an icon index
  // without an icon shows none. Texts are bytes, shown decoded (invalid UTF-8 as Latin-1). A
  // column too narrow for the row's text widens. Once the rows of a burst are in, the list
  // scrolls to its last row. Returns the number of rows.
  int AddRow(const char* activity, const char* text, const char* status, int icon);
  // Removes every row; the columns need no more than their headings again.
  void Clear();
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // The texts of every row as shown, for the saved report.
  std::vector<LogReportRow> Rows() const;
  wxListCtrl* List() const { return list_; }

 private:
  class RowList;
  struct Row {
    LogReportRow texts;
    int icon = -1;
  };
  // Takes in what COLUMN needs to show TEXT (bytes, after an icon when ICON); true when that is
  // more than it needed so far.
  bool Needs(std::size_t column, const std::string& text, bool icon);
  // Sets the columns' widths for what they need and the room the list has.
  void FitColumns();

  wxListCtrl* list_;  // a RowList
  wxImageList images_;
  std::vector<Row> rows_;
  std::vector<LogColumnWidth> widths_;
  std::vector<int> headingNeeds_;
  std::vector<std::string> lastMeasured_;  // the text each column measured last
  std::array<int, 128> advances_{};        // of the printable ASCII characters, in the list's font
  int firstScrolledRow_;
  bool scrollAsked_ = false;
};

}  // namespace controls
