// The directory walk over byte-level images, including damaged and hostile folders.
#include <gtest/gtest.h>

#include "walk_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

using Names = std::vector<std::string>;

// Root in block 40 with "." and "..".
TinyExt2 RootOnly(std::uint32_t blocks = 256) {
  TinyExt2 fs(blocks);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  return fs;
}

TEST(DirectoryWalk, ListsDepthFirstWithTimesSizesAndCounts) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 12, "a", 2);
  fs.Record(40, 36, 13, 1024 - 36, "file.txt", 1);
  fs.Dir(12, {41});
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 14, 1000, "inner", 1);
  fs.File(13, 4000);
  fs.File(14, 7);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"a@12<2", "inner@14<12", "file.txt@13<2"}));
  const auto& inner = d.host.entries[2];
  EXPECT_FALSE(inner.IsFolder());
  EXPECT_EQ(inner.size, 7u);
  EXPECT_EQ(inner.accessTime, 1000000000u);
  EXPECT_EQ(inner.changeTime, 1000000001u);
  EXPECT_EQ(inner.modificationTime, 1000000002u);
  EXPECT_EQ(d.host.entries[1].size, 0u);  // folders have no size
  EXPECT_EQ(d.drive.entries, 3u);
  EXPECT_EQ(d.drive.folders, 2u);  // Root and a
  EXPECT_EQ(d.drive.files, 2u);
  EXPECT_EQ(d.drive.totalBytes, 4007u);
  EXPECT_EQ(App().scanned, 1);
  EXPECT_EQ(d.host.log.back().text, "Process completed");
  ASSERT_FALSE(d.host.messages.empty());
  EXPECT_EQ(d.host.messages.back().caption, "Caution");
}

TEST(DirectoryWalk, RecordsAreTakenFromOffset24WhateverTheLengthOfDotDot) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2, 1012);  // ".." claims the rest of the block
  fs.Record(40, 24, 12, 20, "hidden", 1);
  fs.File(12, 1);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"hidden@12<2"}));
}

// Linux 6 deletes the record after ".." by adding its length to ".." and wiping its bytes. The
// records that follow on the chain of record lengths are all listed, and what the slack behind a
// long ".." still holds is listed as before.
TEST(DirectoryWalk, WipedRecordsEndNothingWhileTheChainOfRecordLengthsGoesOn) {
  struct Case {
    const char* what;
    void (*write)(TinyExt2&);
    Names listed;
  } cases[] = {
      {"first entry deleted and wiped: \"..\" takes its 20 bytes",
       [](TinyExt2& fs) {
         fs.Dots(40, 2, 2, 32);
         fs.Record(40, 44, 13, 20, "second", 1);
         fs.Record(40, 64, 14, 1024 - 64, "sub", 2);
       },
       {"second@13<2", "sub@14<2", "inner@15<14"}},
      {"first entry deleted, not wiped: it is listed from the slack, and the next one too",
       [](TinyExt2& fs) {
         fs.Dots(40, 2, 2, 32);
         fs.Record(40, 24, 12, 20, "gone", 1);
         fs.Record(40, 44, 13, 1024 - 44, "second", 1);
       },
       {"gone@12<2", "second@13<2"}},
      {"a record in the slack whose length runs over the next record of the chain",
       [](TinyExt2& fs) {
         fs.Dots(40, 2, 2, 32);
         fs.Record(40, 24, 12, 100, "stale", 1);
         fs.Record(40, 44, 13, 1024 - 44, "second", 1);
       },
       {"stale@12<2", "second@13<2"}},
  };
  for (const auto& c : cases) {
    TinyExt2 fs = RootOnly();
    c.write(fs);
    fs.File(12, 1);
    fs.File(13, 1);
    fs.Dir(14, {41});
    fs.Dots(41, 14, 2);
    fs.Record(41, 24, 15, 1000, "inner", 1);
    fs.File(15, 1);
    OpenedDrive d(fs.bytes);
    d.Build();
    EXPECT_EQ(d.Listed(), c.listed) << c.what;
  }
}

TEST(DirectoryWalk, FolderWhoseFirstBlockLacksTheDotsYieldsNothing) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 1000, "broken", 2);
  fs.Dir(12, {41});
  fs.Record(41, 0, 13, 24, "notdot", 1);
  fs.Record(41, 24, 14, 1000, "child", 1);
  fs.File(13, 1);
  fs.File(14, 1);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"broken@12<2"}));
}

// A folder of three blocks, one of them damaged: the others are read, and one row names the folder
// and the block.
TEST(DirectoryWalk, ABadFolderBlockHidesOnlyItsOwnEntries) {
  struct Case {
    const char* what;
    bool zeroFirst;
    std::uint64_t badSector;  // 0: none
    Names listed;
    std::string row;
    std::string status;
  } cases[] = {
      {"block 0 zeroed", true, 0, {"d@12<2", "f1@14<12", "f2@15<12"},
       "Folder \"d\" (inode 12), block 0 at drive block 41: not a folder block", "Folder block damaged"},
      {"block 0 unreadable", false, 41 * 2 + 1, {"d@12<2", "f1@14<12", "f2@15<12"},
       "Folder \"d\" (inode 12), block 0 at drive block 41: cannot be read", "Disk read error"},
      {"block 1 unreadable", false, 42 * 2, {"d@12<2", "f0@13<12", "f2@15<12"},
       "Folder \"d\" (inode 12), block 1 at drive block 42: cannot be read", "Disk read error"},
      // A later block zeroed holds no chain of records: its entries are gone, and it is named.
      {"block 1 zeroed", false, 0, {"d@12<2", "f0@13<12", "f2@15<12"},
       "Folder \"d\" (inode 12), block 1 at drive block 42: not a folder block", "Folder block damaged"},
  };
  for (const auto& c : cases) {
    TinyExt2 fs = RootOnly();
    fs.Record(40, 24, 12, 1000, "d", 2);
    fs.Dir(12, {41, 42, 43});
    fs.Dots(41, 12, 2);
    fs.Record(41, 24, 13, 1000, "f0", 1);
    fs.Record(42, 0, 14, 1024, "f1", 1);
    fs.Record(43, 0, 15, 1024, "f2", 1);
    for (std::uint32_t i = 13; i <= 15; ++i) fs.File(i, 1);
    if (c.zeroFirst) std::fill_n(fs.bytes.begin() + 41 * 1024, 1024, 0);
    if (std::string(c.what) == "block 1 zeroed") std::fill_n(fs.bytes.begin() + 42 * 1024, 1024, 0);
    OpenedDrive d(fs.bytes);
    if (c.badSector != 0) FailSector(*d.disk, c.badSector);
    d.Build();
    EXPECT_EQ(d.Listed(), c.listed) << c.what;
    const auto rows = std::count_if(d.host.log.begin(), d.host.log.end(), [&](const LogRow& r) {
      return r.text == c.row && r.status == c.status && r.icon == kIconEvent;
    });
    EXPECT_EQ(rows, 1) << c.what;
    EXPECT_EQ(d.host.log.back().text, "Process completed") << c.what;
  }
}

// A folder's size counts its blocks: a block list that ends before it (a zeroed indirect block, a
// cleared pointer) gets one row naming the folder, the first missing block and the pointer block;
// the blocks listed are read.
TEST(DirectoryWalk, BlockListEndingBeforeTheFolderSizeIsNamed) {
  struct Case {
    const char* what;
    bool zeroIndirect;
    std::uint32_t size;  // of folder d, in blocks
    std::string row;     // empty: none
  } cases[] = {
      {"indirect block zeroed", true, 14,
       "Folder \"d\" (inode 12), block 12 of 14: not in the folder's block list (indirect block 70 names no more)"},
      {"pointers end in the inode", false, 16,
       "Folder \"d\" (inode 12), block 14 of 16: not in the folder's block list (indirect block 70 names no more)"},
      {"sound list", false, 14, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TinyExt2 fs = RootOnly();
    fs.Record(40, 24, 12, 1000, "d", 2);
    // Blocks 41-52 direct, 53 and 54 through the single indirect block 70.
    std::vector<std::uint32_t> pointers;
    for (std::uint32_t b = 41; b <= 52; ++b) pointers.push_back(b);
    pointers.push_back(70);
    fs.SetInode(12, 0x41ED, 1024 * c.size, pointers);
    PutLe32(fs.bytes, 70 * 1024, 53);
    PutLe32(fs.bytes, 70 * 1024 + 4, 54);
    fs.Dots(41, 12, 2);
    fs.Record(41, 24, 0, 1000, "", 0);
    for (std::uint32_t b = 42; b <= 54; ++b) fs.Record(b, 0, 0, 1024, "", 0);
    fs.Record(42, 0, 13, 1024, "early", 1);
    fs.Record(54, 0, 14, 1024, "late", 1);
    fs.File(13, 1);
    fs.File(14, 1);
    if (c.zeroIndirect) std::fill_n(fs.bytes.begin() + 70 * 1024, 1024, 0);
    OpenedDrive d(fs.bytes);
    d.Build();
    const Names listed = c.zeroIndirect ? Names{"d@12<2", "early@13<12"} : Names{"d@12<2", "early@13<12", "late@14<12"};
    EXPECT_EQ(d.Listed(), listed);
    const auto rows = std::count_if(d.host.log.begin(), d.host.log.end(), [&](const LogRow& r) {
      return r.text == c.row && r.status == "Folder block list damaged" && r.icon == kIconEvent;
    });
    EXPECT_EQ(rows, c.row.empty() ? 0 : 1);
    EXPECT_EQ(d.host.log.back().text, "Process completed");
    for (const LogRow& r : d.host.log) EXPECT_NE(r.status, "Folder block damaged") << r.text;
  }
}

// A live entry whose inode record is all zeros is listed as the folder names it, with a row that
// says nothing of the file is known.
TEST(DirectoryWalk, EntryNamingAnEmptyInodeGetsARow) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 12, "kept", 1);
  fs.Record(40, 36, 20, 1024 - 36, "wiped", 1);
  fs.File(12, 3);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"kept@12<2", "wiped@20<2"}));
  const auto rows = std::count_if(d.host.log.begin(), d.host.log.end(), [](const LogRow& r) {
    return r.text == "Entry \"wiped\" of folder \"Root\" (inode 2): inode 20 is empty, its size, times and data are "
                     "not known" &&
           r.status == "Inode empty" && r.icon == kIconEvent;
  });
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(d.host.log.back().text, "Process completed");
}

TEST(DirectoryWalk, FolderMetTwiceIsListedAndEnteredOnce) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 12, "a", 2);
  fs.Record(40, 36, 12, 1024 - 36, "again", 2);
  fs.Dir(12, {41});
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 12, 12, "self", 2);  // a loop back to itself
  fs.Record(41, 36, 2, 12, "root", 2);   // and to the root
  fs.Record(41, 48, 13, 1024 - 48, "f", 1);
  fs.File(13, 5);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"a@12<2", "f@13<12"}));
}

TEST(DirectoryWalk, InodesAboveTheCountAreCountedButNotListed) {
  TinyExt2 fs(256, 20);  // 20 inodes
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 12, "ok", 1);
  fs.Record(40, 36, 21, 1024 - 36, "beyond", 1);
  fs.File(12, 3);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"ok@12<2"}));
  // Inode 21 lies outside the one group of 20 inodes, so it has no inode and is skipped entirely.
  EXPECT_EQ(d.drive.files, 1u);
}

TEST(DirectoryWalk, UnknownFileTypeIsAFolderOnlyWhenItsFirstBlockStartsWithDot) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 16, "realdir", 0);
  fs.Record(40, 40, 13, 16, "fakedir", 0);
  fs.Record(40, 56, 14, 1024 - 56, "plain", 0);
  fs.Dir(12, {41});
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 15, 1000, "x", 1);
  fs.Dir(13, {42});  // a folder's mode, but its block has no "."
  fs.File(14, 9, {43});
  fs.Record(43, 0, 1, 12, ".", 2);  // a file whose data happens to start like a folder
  fs.File(15, 1);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"realdir@12<2", "x@15<12", "fakedir@13<2", "plain@14<2"}));
  EXPECT_TRUE(d.host.entries[1].IsFolder());
  EXPECT_FALSE(d.host.entries[3].IsFolder());
  EXPECT_FALSE(d.host.entries[4].IsFolder());
}

TEST(DirectoryWalk, HostileRecordsEndTheBlockOrCarryOnWithoutLooping) {
  struct Case {
    const char* what;
    void (*damage)(TinyExt2&);
    Names listed;
  } cases[] = {
      {"record length 0", [](TinyExt2& fs) { fs.Record(40, 36, 13, 0, "zero", 1); }, {"a@12<2"}},
      {"unused record of length 0", [](TinyExt2& fs) { fs.Record(40, 36, 0, 0, "", 0, 4); }, {"a@12<2"}},
      {"name length 0", [](TinyExt2& fs) { fs.Record(40, 36, 13, 20, "", 1); }, {"a@12<2"}},
      {"length not a multiple of 4",
       [](TinyExt2& fs) {
         fs.Record(40, 36, 13, 13, "b", 1);
         fs.Record(40, 49, 14, 1024 - 49, "c", 1);
       },
       {"a@12<2", "b@13<2", "c@14<2"}},
      {"name longer than its record", [](TinyExt2& fs) { fs.Record(40, 36, 13, 12, "long-name-here", 1); },
       {"a@12<2", "long-name-here@13<2"}},
      {"name length of 255 at the block end: read into the next block's zeros",
       [](TinyExt2& fs) {
         fs.Record(40, 36, 0, 1016 - 36, "", 0);
         fs.Record(40, 1016, 13, 8, "", 1, 255);
       },
       {"a@12<2", "@13<2"}},
      {"record running past the block",
       [](TinyExt2& fs) {
         fs.Record(40, 36, 13, 1024 - 36 + 24, "b", 1);  // runs 24 bytes into block 41
         fs.Record(41, 24, 14, 1000, "c", 1);
       },
       {"a@12<2", "b@13<2", "c@14<2"}},
      {"huge record length", [](TinyExt2& fs) { fs.Record(40, 36, 13, 65535, "b", 1); }, {"a@12<2", "b@13<2"}},
  };
  for (const auto& c : cases) {
    TinyExt2 fs(256);
    fs.Dir(2, {40, 41});
    fs.Dots(40, 2, 2);
    fs.Record(40, 24, 12, 12, "a", 1);
    fs.Record(40, 36, 0, 1024 - 36, "", 0);
    fs.File(12, 1);
    fs.File(13, 1);
    fs.File(14, 1);
    c.damage(fs);
    OpenedDrive d(fs.bytes);
    d.Build();
    EXPECT_EQ(d.Listed(), c.listed) << c.what;
  }
}

TEST(DirectoryWalk, IndirectBlocksThatPointToThemselvesEndTheList) {
  TinyExt2 fs = RootOnly(1024);
  fs.Record(40, 24, 12, 1000, "loopy", 1);
  std::vector<std::uint32_t> blocks(12, 50);
  blocks.push_back(60);  // single indirect naming itself
  blocks.push_back(61);  // double indirect naming itself
  blocks.push_back(62);  // triple indirect naming itself
  fs.File(12, 100000000, blocks);
  for (std::uint32_t b : {60u, 61u, 62u}) {
    for (int i = 0; i < 256; ++i) PutLe32(fs.bytes, b * 1024 + 4 * i, b);
  }
  OpenedDrive d(fs.bytes);
  d.Build();
  InodeCopy inode = *d.drive.ReadInode(12);
  auto list = d.drive.GetBlockList(inode);
  // Twelve direct blocks and the single-indirect block's 256 entries; the rest loops and adds nothing.
  EXPECT_EQ(list.size(), 12u + 256u);
  EXPECT_LE(list.size(), d.drive.BlockCount());
}

TEST(DirectoryWalk, BlockListIsBoundedByTheDriveBlockCount) {
  TinyExt2 fs(256);
  std::vector<std::uint32_t> blocks(12, 50);
  blocks.push_back(60);
  blocks.push_back(61);
  for (int i = 0; i < 256; ++i) PutLe32(fs.bytes, 60 * 1024 + 4 * i, 70);
  for (int i = 0; i < 256; ++i) PutLe32(fs.bytes, 61 * 1024 + 4 * i, 62 + (i % 100));
  fs.File(12, 1, blocks);
  OpenedDrive d(fs.bytes);
  d.drive.ReadSuperBlock(d.Node());
  d.drive.ReadGroupDescriptors();
  EXPECT_EQ(d.drive.GetBlockList(*d.drive.ReadInode(12)).size(), 256u);
}

// The walk reads inode-table sectors in runs; a sector the run cannot deliver is read on its own,
// so an unreadable sector costs only the inodes it holds, as when every inode is read alone.
TEST(DirectoryWalk, InodesAreReadInRunsAndABadSectorCostsOnlyItsOwnInodes) {
  constexpr std::uint32_t kFirst = 12;
  constexpr std::uint32_t kFiles = 60;
  TinyExt2 fs = RootOnly();
  for (std::uint32_t k = 0; k < kFiles; ++k) {
    const std::uint32_t ino = kFirst + k;
    const std::uint16_t length = k + 1 < kFiles ? 12 : static_cast<std::uint16_t>(1024 - 24 - 12 * k);
    fs.Record(40, 24 + 12 * k, ino, length, "f" + std::to_string(ino), 1);
    fs.File(ino, 100 + k);
  }
  // Inodes 17 to 20 share the table's fifth sector (absolute sector 14).
  constexpr std::uint64_t kBadSector = TinyExt2::kInodeTable * 2 + 4;
  for (const bool bad : {false, true}) {
    SCOPED_TRACE(bad ? "bad sector" : "all readable");
    OpenedDrive d(fs.bytes);
    if (bad) FailSector(*d.disk, kBadSector);
    d.Build();
    ASSERT_EQ(d.host.entries.size(), kFiles + 1);
    for (std::uint32_t k = 0; k < kFiles; ++k) {
      const auto& e = d.host.entries[k + 1];
      const bool lost = bad && e.inode >= 17 && e.inode <= 20;
      EXPECT_EQ(e.size, lost ? 0u : 100 + k) << e.name;
      EXPECT_EQ(e.modificationTime, lost ? 0u : 1000000002u) << e.name;
    }
    if (!bad) {
      EXPECT_LT(d.disk->Reads().size(), 10u);  // not one read for each of the 61 inodes
    }
  }
}

TEST(DirectoryWalk, IndexedFolderSkipsItsHashIndex) {
  TinyExt2 fs = RootOnly();
  fs.Record(40, 24, 12, 1000, "big", 2);
  fs.Dir(12, {41, 42}, kInodeIndexFlag);
  fs.Dots(41, 12, 2, 1012);
  // What an index root holds after "..": bytes that would parse as a record naming inode 13.
  fs.Record(41, 24, 13, 40, "bogus", 1);
  fs.Record(42, 0, 14, 1024, "leaf-entry", 1);
  fs.File(13, 1);
  fs.File(14, 1);
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.Listed(), (Names{"big@12<2", "leaf-entry@14<12"}));
}

TEST(DirectoryWalk, DeepChainOfFoldersDoesNotExhaustTheStack) {
  const std::uint32_t depth = 3000;
  TinyExt2 fs(4096 + 40, depth + 20, 128);  // the inode table takes blocks 5 to 383
  fs.Dir(2, {390});
  fs.Dots(390, 2, 2);
  fs.Record(390, 24, 12, 1000, "d", 2);
  for (std::uint32_t i = 0; i < depth; ++i) {
    const std::uint32_t ino = 12 + i;
    const std::uint32_t block = 400 + i;
    fs.Dir(ino, {block});
    fs.Dots(block, ino, i == 0 ? 2 : ino - 1);
    if (i + 1 < depth) fs.Record(block, 24, ino + 1, 1000, "d", 2);
  }
  OpenedDrive d(fs.bytes);
  d.Build();
  EXPECT_EQ(d.host.entries.size(), depth + 1);
  EXPECT_EQ(d.host.entries[depth].parentInode, 12 + depth - 2);
}

TEST(DirectoryWalk, StopEndsTheWalkWithTheAbortedRow) {
  TinyExt2 fs = RootOnly();
  for (int i = 0; i < 20; ++i) {
    fs.Record(40, 24 + 40 * i, 12 + i, i == 19 ? 1024 - (24 + 40 * i) : 40, "f" + std::to_string(i), 1);
    fs.File(12 + i, 1);
  }
  OpenedDrive d(fs.bytes);
  d.host.onPump = [](HeadlessHost& h) {
    if (h.pumps == 5) h.abortFlag = 1;
  };
  d.Build();
  EXPECT_EQ(d.host.entries.size(), 6u);  // Root and five entries
  ASSERT_GE(d.host.log.size(), 2u);
  EXPECT_EQ(d.host.log.back().text, "Process aborted, user intervention ");
  EXPECT_EQ(App().processRunning, 0);
}

}  // namespace
