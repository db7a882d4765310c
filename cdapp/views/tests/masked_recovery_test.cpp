// Recover Selected with a mask in force writes the marked files the masked tree shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cdviews/file_mask.h"
#include "cdengine/commands.h"
#include "cdengine/recovery.h"
#include "test_image.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::testing;
using namespace cd::headless;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Files(const fs::path& root) {
  std::vector<std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out.push_back(fs::relative(e.path(), root).string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST(MaskedRecovery, MarksMadeBeforeTheMaskAreShownAndRecovered) {
  const fs::path dest = fs::temp_directory_path() / ("cdmask-" + std::to_string(::getpid()));
  fs::remove_all(dest);
  fs::create_directories(dest);
  // Root: a.txt (5000 bytes at 30), dir (26) [b.dat (3 bytes at 34)].
  const TestImage img = StandardImage(true);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  CdTreeView& view = host.treeView;
  view.Tree().Select(view.FindFolder(26)->treeItem);
  host.ClickListRow("b.dat", 34);
  view.Tree().Select(view.RootItem());
  host.ClickListRow("a.txt", 30);

  host.app.mask.maskPresent = 1;
  host.app.mask.deletedEntries = host.app.mask.existingEntries = 1;
  host.reader.fileMaskPatterns = {"*.dat"};
  CdFileMask mask;
  mask.Apply(host.reader, host.treeView, {2024, 5, 15});
  // The masked dir shows the mark of its file, so recovery goes into it; a.txt is masked out.
  EXPECT_EQ(view.Tree().GetStateImage(view.FindFolder(26)->treeItem), controls::kStateChecked);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"dir/b.dat"}));
  fs::remove_all(dest);
}

}  // namespace
