// The message log: a list of rows (icon, activity, text, status) in a dockable pane of the frame.
#pragma once

#include <wx/listctrl.h>
#include <wx/panel.h>

#include <vector>

#include "linuxcore/log_report.h"

namespace ext2::app {

class CMessageLogDlg : public wxPanel {
 public:
  static constexpr int kListId = 1008;
  explicit CMessageLogDlg(wxWindow* parent);
  ~CMessageLogDlg() override;

  // Appends a row; from the seventh row on the list scrolls to it. Returns the number of rows.
  int AddRow(const char* activity, const char* text, const char* status, int icon);
  void Clear();
  std::vector<core::LogReportRow> Rows() const;
  wxListCtrl* List() const { return list_; }

 private:
  wxListCtrl* list_;
  wxImageList images_;
};

}  // namespace ext2::app
