// CD's About box: the product's picture, name (in red) and description, with OK.
#pragma once

#include "controls/wx/titled_dialog.h"

namespace cd::app {

class CAboutDlg : public controls::CTitledDialog {
 public:
  static constexpr int kNameId = 1051;
  static constexpr int kDescriptionId = 1052;
  explicit CAboutDlg(wxWindow* parent);

 private:
  void OnPaint(wxPaintEvent& event);
};

}  // namespace cd::app
