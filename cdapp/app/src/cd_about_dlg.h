// CD's About box: the product's picture, name (in red) and description, with OK.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
 public:
  static constexpr int kNameId = 1051;
  static constexpr int kDescriptionId = 1052;
  explicit CAboutDlg(wxWindow* parent);

 private:
  void OnPaint(wxPaintEvent& event);
};
