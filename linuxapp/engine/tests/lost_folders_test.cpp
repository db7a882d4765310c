// Lost folders and deleted inodes over byte-level images: the tree rebuilt from the inode tables.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "ext2engine/deleted_and_lost.h"
#include "lost_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

using Names = std::vector<std::string>;

constexpr std::size_t kInoDtime = 20;

// Folder INO in BLOCK whose first block holds only "." and ".." (PARENT).
void LoneFolder(TinyExt2& fs, std::uint32_t ino, std::uint32_t block, std::uint32_t parent) {
  fs.Dir(ino, {block});
  fs.Dots(block, ino, parent, TinyExt2::kBlock - 12);
}

void SetDtime(TinyExt2& fs, std::uint32_t ino, std::uint32_t dtime) { PutLe32(fs.bytes, fs.InodeAt(ino) + kInoDtime, dtime); }

// Splits the one group of FS into two groups of half its inodes each.
void TwoGroups(TinyExt2& fs, std::uint32_t inodes, std::uint16_t inodeSize) {
  PutLe32(fs.bytes, 1024 + 40, inodes / 2);
  PutLe32(fs.bytes, 2 * 1024 + 32 + 0, 3);
  PutLe32(fs.bytes, 2 * 1024 + 32 + 4, 4);
  PutLe32(fs.bytes, 2 * 1024 + 32 + 8, TinyExt2::kInodeTable + inodes / 2 * inodeSize / TinyExt2::kBlock);
}

TEST(LostFolders, EmptyRootRebuildsTheTreeFromTheInodeTables) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});  // the root's block is all zeros: the walk from the root finds nothing
  fs.Dir(12, {41});  // ".." is the root, but no folder lists it
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 20, 1000, "f12", 1);
  fs.File(20, 3);
  fs.Dir(13, {42});  // ".." names inode 99, which is no folder: a top lost folder
  fs.Dots(42, 13, 99);
  fs.Record(42, 24, 14, 1000, "sub", 2);
  fs.Dir(14, {43});  // lost too, but reached through 13's walk
  fs.Dots(43, 14, 13);
  fs.Record(43, 24, 21, 1000, "f14", 1);
  fs.File(21, 4);
  LoneFolder(fs, 15, 44, 16);  // 15 and 16 name each other: shown after the top folders
  LoneFolder(fs, 16, 45, 15);
  CurrentDrive c(fs.bytes);
  c.Open();

  EXPECT_EQ(c.Listed(), (Names{"Inode12@12<2", "f12@20<12", "Lost Folder(s)@1<2", "Folder 13@13<1", "sub@14<13",
                               "f14@21<14", "Folder 15@15<1", "Folder 16@16<1"}));
  EXPECT_EQ(c.host.entries[3].lost, 1u);
  EXPECT_EQ(c.host.entries[4].lost, 1u);
  EXPECT_EQ(c.host.entries[5].lost, 0u);
  EXPECT_EQ(c.host.entries[1].modificationTime, 1000000002u);  // "Inode" folders carry their inode's times
  const CLinuxDrive& d = c.drive();
  EXPECT_EQ(d.entries, 8u);
  EXPECT_EQ(d.folders, 7u);  // Root, Inode12, Lost Folder(s), Folder 13, sub, Folder 15, Folder 16
  EXPECT_EQ(d.files, 2u);
  EXPECT_EQ(c.LogTexts(), (Names{"Creating directory tree|Process started",
                                 "|Folder \"Root\" (inode 2), block 0 at drive block 40: not a folder block",
                                 "|Process Completed", "Searching missing file(s) and folder(s)|Process started",
                                 "Creating directory tree|Process completed"}));
  EXPECT_EQ(App().scanned, 1);
}

TEST(LostFolders, RootWithEntriesDoesNotLookForLostFolders) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 20, 1000, "f", 1);
  fs.File(20, 1);
  LoneFolder(fs, 13, 42, 99);
  CurrentDrive c(fs.bytes);
  c.Open();
  EXPECT_EQ(c.Listed(), (Names{"f@20<2"}));
  EXPECT_TRUE(c.drive().lost.empty());
}

// The shown order is always the first top folder of the lost list; a folder becomes top when a walk
// takes its parent off the list, so it can come after folders that follow it in the list.
TEST(LostFolders, FolderBecomesTopWhenAWalkReachesItsParent) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 1000, "ok", 1);
  fs.File(12, 1);
  LoneFolder(fs, 20, 41, 30);  // its parent 30 does not list it
  LoneFolder(fs, 25, 42, 99);
  fs.Dir(30, {43});
  fs.Dots(43, 30, 99);
  fs.Record(43, 24, 31, 1000, "kid", 2);
  LoneFolder(fs, 31, 44, 30);
  CurrentDrive c(fs.bytes);
  c.Open();
  SearchDeletedAndLost(c.host);
  EXPECT_EQ(c.Listed(), (Names{"ok@12<2", "Lost Folder(s)@1<2", "Folder 25@25<1", "Folder 30@30<1", "kid@31<30",
                               "Folder 20@20<1", "Deleted Files@268435455<2"}));
  EXPECT_EQ(c.host.log.back().text, "Process completed, found 0 deleted & 4 lost entries");
  // The command runs once for each drive opened.
  const std::size_t rows = c.host.log.size();
  SearchDeletedAndLost(c.host);
  EXPECT_EQ(c.host.log.size(), rows);
}

// Lost folders whose ".." entries name one another in a ring: no parent is ever reached, so the
// first of the ring in list order is taken as a top folder, and the rest follow as each one's parent
// leaves the list. Every folder is shown once, with its file.
TEST(LostFolders, FoldersWhoseParentsFormACycleAreEachShownOnceWithTheirFiles) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> parents;  // of folders 20, 21, ... in that order
    Names listed;
  };
  const std::vector<Case> cases = {
      {"two naming each other", {21, 20},
       {"Folder 20@20<1", "f20@30<20", "Folder 21@21<1", "f21@31<21"}},
      {"three in a ring", {22, 20, 21},
       {"Folder 20@20<1", "f20@30<20", "Folder 21@21<1", "f21@31<21", "Folder 22@22<1", "f22@32<22"}},
      // 21 names itself; 20 hangs below it, and 22 names 20.
      {"a folder naming itself, with a chain below it", {21, 21, 20},
       {"Folder 20@20<1", "f20@30<20", "Folder 22@22<1", "f22@32<22", "Folder 21@21<1", "f21@31<21"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TinyExt2 fs(256);
    fs.Dir(2, {40});
    fs.Dots(40, 2, 2);
    fs.Record(40, 24, 12, 1000, "ok", 1);
    fs.File(12, 1);
    for (std::uint32_t i = 0; i < k.parents.size(); ++i) {
      const std::uint32_t ino = 20 + i;
      fs.Dir(ino, {41 + i});
      fs.Dots(41 + i, ino, k.parents[i]);
      fs.Record(41 + i, 24, 30 + i, 1000, "f" + std::to_string(ino), 1);
      fs.File(30 + i, 5 + i);
    }
    CurrentDrive c(fs.bytes);
    c.Open();
    SearchDeletedAndLost(c.host);
    Names want = {"ok@12<2", "Lost Folder(s)@1<2"};
    want.insert(want.end(), k.listed.begin(), k.listed.end());
    want.push_back("Deleted Files@268435455<2");
    EXPECT_EQ(c.Listed(), want);
    EXPECT_TRUE(c.drive().lostSet.empty());
    EXPECT_EQ(c.host.log.back().text,
              "Process completed, found 0 deleted & " + std::to_string(2 * k.parents.size()) + " lost entries");
  }
}

TEST(LostFolders, TenThousandLostFoldersInAChainFinish) {
  constexpr std::uint32_t kFolders = 10000;
  constexpr std::uint32_t kInodes = 10112;
  constexpr std::uint32_t kFirstDirBlock = 1300;
  TinyExt2 fs(kFirstDirBlock + kFolders + 8, kInodes);
  fs.Dir(2, {kFirstDirBlock});
  fs.Dots(kFirstDirBlock, 2, 2, TinyExt2::kBlock - 12);
  // Each folder's ".." is the next one, the last one's no folder: the last is shown first, then each
  // one before it becomes top in turn.
  for (std::uint32_t i = 0; i < kFolders; ++i) {
    const std::uint32_t ino = 12 + i;
    LoneFolder(fs, ino, kFirstDirBlock + 1 + i, i + 1 < kFolders ? ino + 1 : 99999);
  }
  CurrentDrive c(fs.bytes);
  const auto start = std::chrono::steady_clock::now();
  c.Open();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[ timing ] %u lost folders listed in %.3f s\n", kFolders, seconds);
  ASSERT_EQ(c.host.entries.size(), kFolders + 2);  // Root, Lost Folder(s), the folders
  EXPECT_EQ(c.host.entries[2].name, "Folder 10011");
  EXPECT_EQ(c.host.entries[kFolders + 1].name, "Folder 12");
  EXPECT_TRUE(c.drive().lostSet.empty());
}

struct DeletedCase {
  std::uint16_t inodeSize;
};

class DeletedInodes : public ::testing::TestWithParam<DeletedCase> {};

TEST_P(DeletedInodes, InodesWithADeletionTimeAreListedUnderDeletedFiles) {
  const std::uint16_t size = GetParam().inodeSize;
  TinyExt2 fs(256, 128, size);
  TwoGroups(fs, 128, size);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 11, 1000, "kept", 1);
  fs.File(11, 10);
  SetDtime(fs, 1, 1500000000);  // inodes 1 and 2 are never listed
  SetDtime(fs, 2, 1500000000);
  fs.Dir(12, {41});  // a deleted folder is listed as a file
  SetDtime(fs, 12, 1500000000);
  fs.SetInode(70, 0x81A4, 1234, {50}, 1400000000);  // in the second group
  SetDtime(fs, 70, 1500000000);
  CurrentDrive c(fs.bytes);
  c.Open();
  SearchDeletedAndLost(c.host);

  EXPECT_EQ(c.Listed(), (Names{"kept@11<2", "Lost Folder(s)@1<2", "Deleted Files@268435455<2",
                               "Inode #12@12<268435455", "Inode #70@70<268435455"}));
  const auto& deletedFolder = c.host.entries[3];
  EXPECT_TRUE(deletedFolder.IsFolder());
  EXPECT_EQ(deletedFolder.deleted, 1u);
  const auto& e = c.host.entries[5];
  EXPECT_FALSE(e.IsFolder());
  EXPECT_EQ(e.deleted, 1u);
  EXPECT_EQ(e.size, 1234u);
  EXPECT_EQ(e.accessTime, 1400000000u);
  EXPECT_EQ(e.changeTime, 1400000001u);
  EXPECT_EQ(e.modificationTime, 1400000002u);
  const CLinuxDrive& d = c.drive();
  EXPECT_EQ(d.files, 3u);
  // The Total pane counts the bytes of every file it counts, the deleted inodes' too.
  std::uint64_t fileBytes = 0;
  for (const auto& listed : c.host.entries) fileBytes += listed.IsFolder() ? 0 : listed.size;
  EXPECT_EQ(d.totalBytes, fileBytes);
  EXPECT_EQ(d.totalBytes, 10u + deletedFolder.size + 1234u);
  EXPECT_EQ(c.host.log.back().text, "Process completed, found 2 deleted & 0 lost entries");
  EXPECT_EQ(c.host.log.back().icon, kIconCompleted);
  EXPECT_EQ(c.host.markedPaneText, " Reading Inode Sector " + std::to_string(64 * size / 512 - 1) + " of Block Group 2");
}

INSTANTIATE_TEST_SUITE_P(InodeSizes, DeletedInodes, ::testing::Values(DeletedCase{128}, DeletedCase{256}),
                         [](const auto& info) { return "Inode" + std::to_string(info.param.inodeSize); });

TEST(DeletedInodesHostile, EveryInodeLookingDeletedIsListedOnce) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  for (std::uint32_t i = 1; i <= 128; ++i) SetDtime(fs, i, 1);
  CurrentDrive c(fs.bytes);
  c.Open();
  SearchDeletedAndLost(c.host);
  std::size_t deleted = 0;
  for (const auto& e : c.host.entries) deleted += e.parentInode == kDeletedFilesInode ? 1 : 0;
  EXPECT_EQ(deleted, 126u);
}

struct StopCase {
  const char* name;
  const char* stopAfterActivity;  // Stop is chosen at the first pump after this row
  const char* lastText;
  bool deletedFolderListed;
};

class SearchStopped : public ::testing::TestWithParam<StopCase> {};

TEST_P(SearchStopped, StopEndsThePhaseWithItsRowAndSkipsTheLaterOnes) {
  const StopCase& k = GetParam();
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 11, 1000, "kept", 1);
  fs.File(11, 10);
  SetDtime(fs, 20, 5);
  CurrentDrive c(fs.bytes);
  c.Open();
  const std::string activity = k.stopAfterActivity;
  c.host.onPump = [activity](HeadlessHost& h) {
    if (!h.log.empty() && h.log.back().activity == activity) {
      h.abortFlag = 1;
      h.busyFlag = 0;
    }
  };
  SearchDeletedAndLost(c.host);
  EXPECT_EQ(c.host.log.back().text, k.lastText);
  EXPECT_EQ(c.host.log.back().icon, kIconAborted);
  bool listed = false;
  for (const auto& e : c.host.entries) listed = listed || e.inode == kDeletedFilesInode;
  EXPECT_EQ(listed, k.deletedFolderListed);
  EXPECT_FALSE(c.host.barShown);
  EXPECT_EQ(App().processRunning, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, SearchStopped,
    ::testing::Values(StopCase{"LostFolderSearch", "Creating directory tree", "Process aborted, user intervention ", false},
                      StopCase{"DeletedSearch", "Searching deleted and lost file(s)", "Process aborted, user intervention",
                               true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
