// The help book and its keys.
#include "controls/wx/help_book.h"

#include <wx/config.h>
#include <wx/filename.h>

namespace controls {

bool ShowHelpContents(std::unique_ptr<wxHtmlHelpController>& help, wxWindow* parent, const wxString& app,
                      const wxString& defaultFolder, const wxString& book) {
  wxConfig key(app, "Quarvel");
  wxString folder;
  if (!key.Read("Path", &folder)) folder = defaultFolder;
  if (!help) help = std::make_unique<wxHtmlHelpController>(wxHF_DEFAULT_STYLE, parent);
  // The pages are named .html: the desktop's type table may take .htm for XHTML, which the viewer
  // shows as plain text.
  if (!help->AddBook(wxFileName(folder, book))) return false;
  return help->DisplayContents();
}

wxAcceleratorTable HelpKeys(int command) {
  wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_F1, command}, {wxACCEL_SHIFT, WXK_F1, command}};
  return wxAcceleratorTable(2, keys);
}

}  // namespace controls
