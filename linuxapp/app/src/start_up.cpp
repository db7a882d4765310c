// The start-up values of the program.
#include "start_up.h"

#include "app_images.h"
#include "controls/wx/notice_dialogs.h"
#include "main_frame.h"

namespace ext2::app {

controls::ProgramStartUp StartUp() {
  return {.profile = "Local AppWizard-Generated Applications",
          .splashPicture = [] { return ProgramPicture(wxSize(326, 231)); },
          .splashTime = controls::kVelnoraSplashTime,
          .title = "Quarvel Velnora Linux 2.1",
          .placement = controls::WindowPlacement::Maximised,
          .makeFrame = []() -> wxFrame* { return new CMainFrame(); }};
}

}  // namespace ext2::app
