// Dialogs whose title bar shows their whole title: the window manager cuts a title that does not
// fit ("Select Ap… ate Action"), so a dialog is never narrower than its title needs.
#pragma once

#include <wx/dialog.h>
#include <wx/toplevel.h>

namespace controls {

// The least outer width at which a title bar shows TITLE whole: the title's width in the
// title-bar font (the desktop's font, bold) and room for the title-bar buttons.
int TitleBarWidth(const wxString& title);

// Widens WINDOW to TitleBarWidth of its title where it is narrower, and keeps that as its least
// width.
void KeepTitleWhole(wxTopLevelWindow& window);

// A dialog that keeps its title whole each time it is shown, after its contents are laid out.
class CTitledDialog : public wxDialog {
 public:
  using wxDialog::wxDialog;
  bool Show(bool show = true) override;
};

}  // namespace controls
