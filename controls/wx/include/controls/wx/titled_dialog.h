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

// The base of both programs' dialogs: it keeps its title whole each time it is shown, after its
// contents are laid out.
class CTitledDialog : public wxDialog {
 public:
  using wxDialog::wxDialog;
  bool Show(bool show = true) override;

  // Ends the dialog with ID from a handler, whether or not it runs modally (a test hook may answer
  // ShowModal without a modal loop): the return code is ID; a dialog shown without a loop hides.
  void Finish(int id);
};

}  // namespace controls
