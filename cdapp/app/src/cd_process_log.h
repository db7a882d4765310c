// The process log: a report list of rows (Type, Text, Status, with one of three icons) in a
// dockable pane of the CD frame.
#pragma once

#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include <vector>

#include "cdviews/cd_texts.h"

class CProcessLogBar : public wxPanel {
 public:
  static constexpr int kListId = 1001;
  explicit CProcessLogBar(wxWindow* parent);
  ~CProcessLogBar() override;

  // Appends a row at the current count; an icon index without an icon shows none. Returns the
  // number of rows.
  int AddRow(const char* activity, const char* text, const char* status, int icon);
  void Clear();
  std::vector<CdLogRowTexts> Rows() const;
  wxListCtrl* List() const { return list_; }

 private:
  wxListCtrl* list_;
  wxImageList images_;
  bool scrollAsked_ = false;
};
