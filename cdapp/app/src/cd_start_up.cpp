// The start-up values of CD.
#include "cd_start_up.h"

#include "cd_images.h"
#include "cd_main_frame.h"
#include "controls/wx/notice_dialogs.h"

namespace cd::app {

controls::ProgramStartUp StartUp() {
  return {.profile = "Local AppWizard-Generated Applications",
          .splashPicture = [] { return CdSplashPicture(); },
          .splashTime = controls::kCdSplashTime,
          .title = "Quarvel Velnora CDROM (For ISO9660/JOLIET File System)",
          .placement = controls::WindowPlacement::Centred,
          .makeFrame = []() -> wxFrame* { return new CMainFrame(); }};
}

}  // namespace cd::app
