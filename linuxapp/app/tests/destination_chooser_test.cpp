// The Recover commands' folder chooser in the real window, worked with real keys: it opens at the
// last destination (the home folder at first, or when that folder is gone), offers a new folder,
// and takes a path typed into it with Enter, whether its folder exists yet or not. The caution
// about the drive being read still comes before it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ext2engine/app_state.h"
#include "command_loop.h"
#include "ext2engine/recovery.h"
#include "folder_chooser_keys.h"
#include "linux_gui_support.h"
#include "temporary_profile.h"

using namespace ext2;
using namespace ext2::app;

namespace fs = std::filesystem;

namespace {

using namespace ext2::testing;
using DestinationChooser = WorkbenchTest;

TEST_F(DestinationChooser, OpensAtTheLastDestinationAndTakesATypedPath) {
  OpenDrive(0);
  guitest::TemporaryProfile profile;
  const fs::path made = dest / "new folder";  // not there yet
  const fs::path existing = dest / "existing";
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
    guitest::RunAsCommand(frame, [&] { frame->Recover(kRecoverExisting); });
    ASSERT_TRUE(chooser.Shown());
    EXPECT_EQ(chooser.Title(), "Select the Destination folder for Saving Files");
    EXPECT_EQ(chooser.Answered(), 1) << "the caution before the chooser";
    EXPECT_EQ(chooser.StartFolder(), (round.expectedStart.empty() ? profile.Home() : round.expectedStart).string());
    EXPECT_TRUE(chooser.OffersNewFolder());
    EXPECT_TRUE(chooser.EndedByEnter()) << "Enter on the typed path did nothing";
    EXPECT_TRUE(fs::is_regular_file(round.typed / "#Root" / "docs" / "notes" / "todo.txt"));
    EXPECT_EQ(profile.Profile().Read(kDestinationEntry).utf8_string(), round.typed.string());
    EXPECT_EQ(App().processRunning, 0);
  }

  // A remembered folder that is gone: the home folder again.
  fs::remove_all(existing);
  const fs::path third = dest / "third";
  guitest::TypeIntoFolderChooser chooser(third.string());
  guitest::RunAsCommand(frame, [&] { frame->Recover(kRecoverExisting); });
  EXPECT_EQ(chooser.StartFolder(), profile.Home().string());
  EXPECT_TRUE(fs::is_regular_file(third / "#Root" / "docs" / "notes" / "todo.txt"));
}

}  // namespace
