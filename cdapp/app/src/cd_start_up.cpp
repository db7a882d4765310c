// The start-up values of CD.
#include "cd_start_up.h"

#include "cd_images.h"
#include "cd_main_frame.h"
#include "controls/wx/notice_dialogs.h"

namespace cd::app {

controls::ProgramStartUp StartUp() {
  controls::ProgramStartUp start;
  start.profile = kCdProfileKey;
  start.splashPicture = [] { return CdSplashPicture(); };
  start.splashTime = controls::kCdSplashTime;
  start.title = kCdWindowTitle;
  start.placement = controls::WindowPlacement::Centred;
  start.makeFrame = [] { return new CMainFrame(); };
  return start;
}

}  // namespace cd::app
