// The application state of the CD program.
#include "cd_app_state.h"

namespace cd::app {

CdAppState& CdApp() {
  static CdAppState state;
  return state;
}

}  // namespace cd::app
