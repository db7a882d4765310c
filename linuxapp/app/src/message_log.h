// The message log: the shared log pane with this program's columns (Activity, Text, Status) and
// row icons, in a dockable pane of the frame; from the seventh row on the list follows its last row.
#pragma once

#include "controls/wx/log_pane.h"
#include "linuxcore/log_report.h"

namespace ext2::app {

using CMessageLogDlg = controls::CLogPane;

// The look of the message log.
controls::LogPaneLook MessageLogLook();

}  // namespace ext2::app
