// The programs' message box, drawn by wx so that it keeps its title whole (the toolkit's own box
// cannot be widened): an icon beside the text over a row of the standard buttons. It is built and
// answers as wxMessageDialog does: STYLE holds wxOK, wxOK | wxCANCEL or wxYES_NO (with wxNO_DEFAULT
// where No is the default) and an icon flag; a button ends it with wxID_OK, wxID_CANCEL, wxID_YES
// or wxID_NO, and Esc or the close box with wxID_CANCEL, as the toolkit's box does.
#pragma once

#include "controls/wx/titled_dialog.h"

namespace controls {

class CMessageBoxDlg : public CTitledDialog {
 public:
  CMessageBoxDlg(wxWindow* parent, const wxString& message, const wxString& caption, long style = wxOK);
  const wxString& GetMessage() const { return message_; }

 private:
  wxString message_;
};

}  // namespace controls
