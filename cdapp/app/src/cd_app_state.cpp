// The application state of the CD program.
#include "cd_app_state.h"

CdAppState& CdApp() {
  static CdAppState state;
  return state;
}
