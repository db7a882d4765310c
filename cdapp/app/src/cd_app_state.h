// The one application state of the CD program, held for the whole run (the application object's
// table): the frame, the views, the dialogs and the engine all read and write it.
#pragma once

#include "cdengine/app_state.h"

namespace cd::app {

CdAppState& CdApp();

}  // namespace cd::app
