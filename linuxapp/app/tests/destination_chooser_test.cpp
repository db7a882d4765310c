// The Recover commands' folder chooser in the real window, worked with real keys: it opens at the
// last destination (the home folder at first, or when that folder is gone), offers a new folder,
// and takes a path typed into it with Enter, whether its folder exists yet or not. The caution
// about the drive being read still comes before it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ext2engine/app_state.h"
#include "command_loop.h"
#include "ext2engine/recovery.h"
#include "destination_rounds.h"
#include "linux_gui_support.h"

using namespace ext2;
using namespace ext2::app;

namespace fs = std::filesystem;

namespace {

using namespace ext2::testing;
using DestinationChooser = WorkbenchTest;

TEST_F(DestinationChooser, OpensAtTheLastDestinationAndTakesATypedPath) {
  OpenDrive(0);
  guitest::TemporaryProfile profile;
  const auto recover = [&] { guitest::RunAsCommand(frame, [&] { frame->Recover(kRecoverExisting); }); };
  const guitest::DestinationRounds rounds{
      profile, kDestinationEntry, recover, [](const fs::path& destination, const guitest::TypeIntoFolderChooser& chooser) {
        EXPECT_EQ(chooser.Answered(), 1) << "the caution before the chooser";
        EXPECT_TRUE(fs::is_regular_file(destination / "#Root" / "docs" / "notes" / "todo.txt"));
        EXPECT_EQ(App().processRunning, 0);
      }};
  const fs::path existing = rounds.Run(dest);
  ASSERT_FALSE(existing.empty());

  // A remembered folder that is gone: the home folder again.
  fs::remove_all(existing);
  const fs::path third = dest / "third";
  guitest::TypeIntoFolderChooser chooser(third.string());
  recover();
  EXPECT_EQ(chooser.StartFolder(), profile.Home().string());
  EXPECT_TRUE(fs::is_regular_file(third / "#Root" / "docs" / "notes" / "todo.txt"));
}

}  // namespace
