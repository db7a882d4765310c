// How the program starts: its profile, its splash picture for a second, then the main window
// maximised under its title.
#pragma once

#include "controls/wx/program_start.h"

namespace ext2::app {

// The program's start, for controls::CProgramStart; its frame is a CMainFrame.
controls::ProgramStartUp StartUp();

}  // namespace ext2::app
