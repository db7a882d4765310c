// The programs' help books: wx's HTML help viewer over a book (.hhp) in a folder named by the
// program's settings, and the keys that ask for it.
#pragma once

#include <wx/accel.h>
#include <wx/html/helpctrl.h>

#include <memory>

namespace controls {

// Shows the contents of the help book BOOK in HELP (made on first use, with PARENT as its
// parent). The book lies in the folder of the value "Path" under the settings key APP of vendor
// "Quarvel", else in DEFAULT_FOLDER. False when the book cannot be read.
bool ShowHelpContents(std::unique_ptr<wxHtmlHelpController>& help, wxWindow* parent, const wxString& app,
                      const wxString& defaultFolder, const wxString& book);

// F1 and Shift+F1, the keys of help, as accelerators of COMMAND.
wxAcceleratorTable HelpKeys(int command);

}  // namespace controls
