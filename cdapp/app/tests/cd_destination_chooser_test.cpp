// CD's Recover folder chooser in the real window, worked with real keys: it opens at the last
// destination (the home folder at first), offers a new folder, and takes a path typed into it
// with Enter, whether its folder exists yet or not.
#include "cd_gui_support.h"
#include "cdengine/recovery.h"
#include "command_loop.h"
#include "destination_rounds.h"

using namespace cd;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

using DestinationChooser = CdWindow;

TEST_F(DestinationChooser, OpensAtTheLastDestinationAndTakesATypedPath) {
  OpenDisc(kFixtures / "joliet.iso");
  guitest::TemporaryProfile profile;
  const guitest::DestinationRounds rounds{
      profile, kDestinationEntry, [&] { guitest::RunAsCommand(frame, [&] { frame->Recover(kRecoverAll); }); },
      [](const fs::path& destination, const guitest::TypeIntoFolderChooser&) {
        EXPECT_TRUE(fs::is_regular_file(destination / "Root" / "docs" / "readme.txt"));
      }};
  rounds.Run(work);
}

}  // namespace
