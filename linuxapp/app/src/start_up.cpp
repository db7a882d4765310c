// The start-up values of the program.
#include "start_up.h"

#include "app_images.h"
#include "controls/wx/notice_dialogs.h"
#include "main_frame.h"

namespace ext2::app {

controls::ProgramStartUp StartUp() {
  controls::ProgramStartUp start;
  start.profile = kProfileKey;
  start.splashPicture = [] { return ProgramPicture(wxSize(326, 231)); };
  start.splashTime = controls::kVelnoraSplashTime;
  start.title = kWindowTitle;
  start.placement = controls::WindowPlacement::Maximised;
  start.makeFrame = [] { return new CMainFrame(); };
  return start;
}

}  // namespace ext2::app
