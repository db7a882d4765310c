// How CD starts: its profile, its splash picture for two seconds, then the main window centred
// under its title.
#pragma once

#include "controls/wx/program_start.h"

namespace cd::app {

inline constexpr const char* kCdProfileKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kCdWindowTitle = "Quarvel Velnora CDROM (For ISO9660/JOLIET File System)";

// CD's start, for controls::CProgramStart; its frame is a CMainFrame.
controls::ProgramStartUp StartUp();

}  // namespace cd::app
