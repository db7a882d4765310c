// The start of the user interface, in its order: the profile with the recent-file list, the splash
// picture, then the main window, shown maximised under its title.
#pragma once

#include <wx/filehistory.h>

namespace ext2::app {

class CMainFrame;

inline constexpr const char* kProfileKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kWindowTitle = "Quarvel Velnora Linux 2.1";

// Makes the profile the program-wide configuration, loads HISTORY (four entries) from it, shows
// the splash, and creates and shows the main window. Returns the window.
CMainFrame* StartUserInterface(wxFileHistory& history);

}  // namespace ext2::app
