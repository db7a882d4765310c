// The application object of Quarvel Velnora FAT: the settings at construction, then the shared
// start with the program's own values.
#include "ext2engine/app_state.h"
#include "ext2engine/settings_file.h"
#include "start_up.h"

namespace ext2::app {

class CQuarvelVelnoraApp : public controls::CProgramApp {
 public:
  CQuarvelVelnoraApp() : CProgramApp(StartUp()) { ReadSettings(SettingsPath(), App()); }
};

}  // namespace ext2::app

wxIMPLEMENT_APP(ext2::app::CQuarvelVelnoraApp);
