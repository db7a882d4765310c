// What the workbench's criteria and settings dialogs share: ending from a handler whether or not
// the dialog runs modally (the test hook answers ShowModal without a modal loop).
#pragma once

#include "controls/wx/titled_dialog.h"

namespace ext2::app {

class CWorkbenchDlg : public controls::CTitledDialog {
 public:
  using controls::CTitledDialog::CTitledDialog;

  // Ends the dialog with ID; outside a modal loop only the return code is set.
  void Finish(int id) {
    if (IsModal()) {
      EndModal(id);
    } else {
      SetReturnCode(id);
    }
  }
};

}  // namespace ext2::app
