// How CD starts: its profile, its splash picture for two seconds, then the main window centred
// under its title.
#pragma once

#include "controls/wx/program_start.h"

namespace cd::app {

// CD's start, for controls::CProgramStart; its frame is a CMainFrame.
controls::ProgramStartUp StartUp();

}  // namespace cd::app
