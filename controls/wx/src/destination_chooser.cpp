// The recovery commands' folder chooser and the destination it remembers.
#include "controls/wx/destination_chooser.h"

#include <wx/config.h>
#include <wx/dirdlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

namespace controls {

wxString DestinationStartFolder(const wxString& entry) {
  wxString last;
  if (wxConfigBase* profile = wxConfigBase::Get(false); profile != nullptr && profile->Read(entry, &last) &&
                                                         !last.empty() && wxDirExists(last)) {
    return last;
  }
  return wxGetHomeDir();
}

std::string ChooseDestination(wxWindow* parent, const wxString& title, const wxString& entry) {
  // Without a start folder the toolkit's chooser shows the recent files, where a typed path is
  // lost (it answers with the file system's root); with wxDD_DIR_MUST_EXIST it offers no new
  // folder.
  wxDirDialog choose(parent, title, DestinationStartFolder(entry), wxDD_DEFAULT_STYLE);
  if (choose.ShowModal() != wxID_OK || choose.GetPath().empty()) return {};
  const wxString path = choose.GetPath();
  // A typed path may name folders that are not there yet: the recovery writes below it.
  if (!wxDirExists(path)) wxFileName::Mkdir(path, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  if (wxConfigBase* profile = wxConfigBase::Get(false)) {
    // Remembering is a convenience: a profile that cannot be written is no error to show.
    wxLogNull quiet;
    profile->Write(entry, path);
    profile->Flush();
  }
  return path.utf8_string();
}

}  // namespace controls
