// The process log: a report list of rows (Type, Text, Status, with one of three icons) in a
// dockable pane of the CD frame. The rows are kept here as given; the list control is virtual and
// asks for the texts of the rows it draws, decoded then, so that adding a row costs the same
// however long the log has grown.
#pragma once

#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <string>
#include <vector>

#include "cdcore/cd_texts.h"

namespace cd::app {

class CProcessLogBar : public wxPanel {
 public:
  static constexpr int kListId = 1001;
  explicit CProcessLogBar(wxWindow* parent);
  ~CProcessLogBar() override;

  // Appends a row at the current count; a null text leaves its column empty, an icon index
  // without an icon shows none. Texts are bytes, shown decoded (invalid UTF-8 as Latin-1).
  // Returns the number of rows.
  int AddRow(const char* activity, const char* text, const char* status, int icon);
  void Clear();
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // The texts of every row as shown, for the saved report.
  std::vector<core::CdLogRowTexts> Rows() const;
  wxListCtrl* List() const { return list_; }

 private:
  class RowList;
  struct Row {
    core::CdLogRowTexts texts;
    int icon = -1;
  };

  wxListCtrl* list_;  // a RowList
  wxImageList images_;
  std::vector<Row> rows_;
  bool scrollAsked_ = false;
};

}  // namespace cd::app
