// CD's Recover folder chooser in the real window, worked with real keys: it opens at the last
// destination (the home folder at first), offers a new folder, and takes a path typed into it
// with Enter, whether its folder exists yet or not.
#include "cd_gui_support.h"
#include "cdengine/recovery.h"
#include "command_loop.h"
#include "folder_chooser_keys.h"
#include "temporary_profile.h"

using namespace cd;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

using DestinationChooser = CdWindow;

TEST_F(DestinationChooser, OpensAtTheLastDestinationAndTakesATypedPath) {
  OpenDisc(kFixtures / "joliet.iso");
  guitest::TemporaryProfile profile;
  const fs::path made = work / "new folder";  // not there yet
  const fs::path existing = work / "existing";
  fs::create_directories(existing);
  struct Round {
    const char* what;
    fs::path typed;
    fs::path expectedStart;  // empty: the home folder
  };
  const Round rounds[] = {
      {"first: the home folder, a new folder typed", made, {}},
      {"then at the last destination, a folder that exists typed", existing, made},
  };
  for (const Round& round : rounds) {
    SCOPED_TRACE(round.what);
    guitest::TypeIntoFolderChooser chooser(round.typed.string());
    guitest::RunAsCommand(frame, [&] { frame->Recover(kRecoverAll); });
    ASSERT_TRUE(chooser.Shown());
    EXPECT_EQ(chooser.Title(), "Select the Destination folder for Saving Files");
    EXPECT_EQ(chooser.StartFolder(), (round.expectedStart.empty() ? profile.Home() : round.expectedStart).string());
    EXPECT_TRUE(chooser.OffersNewFolder());
    EXPECT_TRUE(chooser.EndedByEnter()) << "Enter on the typed path did nothing";
    EXPECT_TRUE(fs::is_regular_file(round.typed / "Root" / "docs" / "readme.txt"));
    EXPECT_EQ(profile.Profile().Read(kDestinationEntry).utf8_string(), round.typed.string());
  }
}

}  // namespace
