// The folder chooser of both programs' recovery commands: the toolkit's own chooser, opened where
// the last recovery went (the home folder the first time, or when that folder is gone), where a
// new folder can be made and a typed path is taken, whether its folder exists or not. The folder
// chosen is remembered in the program's profile, under an entry of the caller's.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

#include <string>

namespace controls {

// The folder the chooser opens at: the one remembered under ENTRY of the program's profile while
// it is still a folder, else the home folder.
wxString DestinationStartFolder(const wxString& entry);

// Asks for a destination folder under TITLE, starting at DestinationStartFolder(ENTRY). A chosen
// folder that does not exist yet is made, with the folders above it; the chosen path is
// remembered under ENTRY. Returns it; empty on Cancel or on OK without a folder.
std::string ChooseDestination(wxWindow* parent, const wxString& title, const wxString& entry);

}  // namespace controls
