// The application object of Quarvel Velnora FAT: the settings at construction, the user interface
// at start, the recent-file list kept in the profile.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/filehistory.h>

#include "ext2engine/app_state.h"
#include "ext2engine/settings_file.h"
#include "start_up.h"

namespace ext2::app {

class CQuarvelVelnoraApp : public wxApp {
 public:
  CQuarvelVelnoraApp() { ReadSettings(SettingsPath(), App()); }

  bool OnInit() override {
    if (!wxApp::OnInit()) return false;
    StartUserInterface(history_);
    return true;
  }

  int OnExit() override {
    if (wxConfigBase* config = wxConfigBase::Get(false)) history_.Save(*config);
    return wxApp::OnExit();
  }

 private:
  wxFileHistory history_{4};
};

}  // namespace ext2::app

wxIMPLEMENT_APP(ext2::app::CQuarvelVelnoraApp);
