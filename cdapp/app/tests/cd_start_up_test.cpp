// CD's start in the real window: its profile and recent files, its splash, its window centred.
#include "cd_start_up.h"

#include <gtest/gtest.h>

#include "cd_app_state.h"
#include "program_start_check.h"

namespace {

TEST(CdStartUp, ProfileRecentFilesSplashAndTheCentredWindow) {
  cd::app::CdApp() = cd::CdAppState();
  startcheck::ExpectProgramStart(
      cd::app::StartUp(),
      {"Local AppWizard-Generated Applications", std::chrono::milliseconds(2000),
       "Quarvel Velnora CDROM (For ISO9660/JOLIET File System)", controls::WindowPlacement::Centred});
}

}  // namespace
