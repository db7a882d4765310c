// The destination chooser as a user meets it over two recoveries, for either program: the first
// opens at the home folder and takes a new folder typed into it; the second opens at that folder
// and takes one that exists. Each round's chooser carries the program's title, offers a new
// folder, ends on Enter, and the choice is remembered under the program's profile entry.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "folder_chooser_keys.h"
#include "temporary_profile.h"

namespace guitest {

struct DestinationRounds {
  const TemporaryProfile& profile;
  const char* profileEntry;
  std::function<void()> recover;  // runs the program's Recover command as the user does
  // What the recovery must have written below DESTINATION, and what else the round checks.
  std::function<void(const std::filesystem::path& destination, const TypeIntoFolderChooser& chooser)> check;

  // Runs the two rounds with new and existing folders below WORK; returns the last destination.
  std::filesystem::path Run(const std::filesystem::path& work) const {
    const std::filesystem::path made = work / "new folder";  // not there yet
    const std::filesystem::path existing = work / "existing";
    std::filesystem::create_directories(existing);
    struct Round {
      const char* what;
      std::filesystem::path typed;
      std::filesystem::path expectedStart;
    };
    const Round rounds[] = {
        {"first: the home folder, a new folder typed", made, profile.Home()},
        {"then at the last destination, a folder that exists typed", existing, made},
    };
    for (const Round& round : rounds) {
      SCOPED_TRACE(round.what);
      TypeIntoFolderChooser chooser(round.typed.string());
      recover();
      EXPECT_TRUE(chooser.Shown());
      if (!chooser.Shown()) return {};
      EXPECT_EQ(chooser.Title(), "Select the Destination folder for Saving Files");
      EXPECT_EQ(chooser.StartFolder(), round.expectedStart.string());
      EXPECT_TRUE(chooser.OffersNewFolder());
      EXPECT_TRUE(chooser.EndedByEnter()) << "Enter on the typed path did nothing";
      check(round.typed, chooser);
      EXPECT_EQ(profile.Profile().Read(profileEntry).utf8_string(), round.typed.string());
    }
    return existing;
  }
};

}  // namespace guitest
