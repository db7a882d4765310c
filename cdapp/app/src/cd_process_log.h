// The process log: the shared log pane with this program's columns (Type, Text, Status) and three
// row icons, in a dockable pane of the CD frame.
#pragma once

#include "cdcore/cd_texts.h"
#include "controls/wx/log_pane.h"

namespace cd::app {

using CProcessLogBar = controls::CLogPane;

// The look of the process log.
controls::LogPaneLook ProcessLogLook();

}  // namespace cd::app
