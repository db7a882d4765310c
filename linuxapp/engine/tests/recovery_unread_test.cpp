// Recovery of what it cannot read or that holds no data: inodes whose table sector fails after the
// scan, files kept in extents, empty files, and deleted files whose block pointers were cleared.
// Every recovery ends with its end row.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "destination_fixture.h"
#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"
#include "lost_fixture.h"
#include "walk_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string Pattern(std::size_t n, int seed) {
  std::string s(n, 0);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(((i * 29 + seed) & 0xFF) | 1);
  return s;
}

void Put(TinyExt2& fs, std::uint32_t block, const std::string& data) {
  std::copy(data.begin(), data.end(), fs.bytes.begin() + static_cast<std::ptrdiff_t>(block) * TinyExt2::kBlock);
}

// The rows after the "Started" row of PATH, up to the next file's or the end rows.
std::vector<std::string> RowsOf(const std::vector<LogRow>& log, const std::string& path) {
  std::vector<std::string> out;
  auto row = std::find_if(log.begin(), log.end(), [&](const LogRow& r) { return r.text == path; });
  if (row == log.end()) return out;
  auto ends = [](const LogRow& r) {
    return r.status == "Started" || r.status.rfind("Completed on ", 0) == 0 || r.status.rfind("Aborted on ", 0) == 0;
  };
  for (++row; row < log.end() && !ends(*row); ++row) out.push_back(row->text + "|" + row->status);
  return out;
}

std::vector<std::string> Texts(const std::vector<LogRow>& log) {
  std::vector<std::string> out;
  for (const auto& r : log) out.push_back(r.text);
  return out;
}

bool Logged(const std::vector<LogRow>& log, const std::string& text) {
  return std::any_of(log.begin(), log.end(), [&](const LogRow& r) { return r.text == text; });
}

// Root: live.txt (inode 12, 1,000 bytes in block 100), empty (13, 0 bytes), far.txt (40, 1,500
// bytes in blocks 102-103; its inode alone in table sector 19 of the ones listed).
constexpr std::uint64_t kFarInodeSector = 10 + (40 - 1) / 4;
TinyExt2 Tree(std::string& live, std::string& far) {
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 20, "live.txt", 1);
  fs.Record(40, 44, 13, 16, "empty", 1);
  fs.Record(40, 60, 40, 1024 - 60, "far.txt", 1);
  live = Pattern(1000, 1);
  far = Pattern(1500, 2);
  Put(fs, 100, live);
  Put(fs, 102, far);
  fs.SetInode(12, 0x81A4, 1000, {100}, 1500000000);
  fs.SetInode(13, 0x81A4, 0, {}, 1400000000);
  fs.SetInode(40, 0x81A4, 1500, {102, 103}, 1600000000);
  return fs;
}

using RecoveryUnread = DestinationTest;

// An inode-table sector that fails after the scan (a dying disk, or a drive opened from a scan
// file): the file is a failed read with its row, not a file of zeros under "Completed", and the
// end rows count it. The other files, the empty one too, come back.
TEST_F(RecoveryUnread, AnInodeThatCannotBeReadIsAFailedRead) {
  for (const bool throughScanFile : {false, true}) {
    SCOPED_TRACE(throughScanFile ? "through a scan file" : "after the walk");
    std::string live, far;
    CurrentDrive c(Tree(live, far).bytes);
    c.Open();
    ASSERT_EQ(c.host.entries.size(), 4u);
    if (throughScanFile) {
      const std::string scan = (dest / "scan.DAT").string();
      ASSERT_TRUE(c.drive().SaveScanInfo(scan));
      FailSector(*c.disk, kFarInodeSector);
      OpenUsingScanInfo(c.host, scan);
      ASSERT_TRUE(c.drive().openedFromScanFile);
    } else {
      FailSector(*c.disk, kFarInodeSector);
    }
    const fs::path out = dest / (throughScanFile ? "scan" : "walk");
    fs::create_directories(out);
    c.host.log.clear();
    ASSERT_EQ(RecoverFiles(c.host, c.drive(), kRecoverAll, out.string()), 1);
    EXPECT_EQ(ReadFile(out / "#Root/live.txt"), live);
    EXPECT_TRUE(fs::exists(out / "#Root/empty"));
    EXPECT_FALSE(fs::exists(out / "#Root/far.txt"));
    EXPECT_EQ(RowsOf(c.host.log, out.string() + "/#Root/far.txt"),
              (std::vector<std::string>{"Disk read error, inode 40 cannot be read (sector 19), file not recovered|"
                                        "Error reading inode",
                                        "File not recovered|Not recovered"}));
    const auto texts = Texts(c.host.log);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "Recovery incomplete, 1 file(s) not recovered: their inodes cannot be read");
    EXPECT_EQ(texts.back(), "Process completed, 2 file(s) recovered, 1 not recovered");
    EXPECT_EQ(c.host.log.back().icon, kIconEvent);
  }
}

// A live file of 0 bytes is written as an empty file with its times, by Recover All and by
// Recover Selected; a file kept in extents of 0 bytes (as ext4 makes them) too.
TEST_F(RecoveryUnread, EmptyLiveFilesAreWrittenWithTheirTimes) {
  for (const std::uint8_t type : {kRecoverAll, kRecoverExisting, kRecoverMarked}) {
    SCOPED_TRACE("type " + std::to_string(type));
    std::string live, far;
    TinyExt2 fs = Tree(live, far);
    fs.Record(40, 60, 40, 20, "far.txt", 1);
    fs.Record(40, 80, 14, 1024 - 80, "ext-empty", 1);
    fs.SetInode(14, 0x81A4, 0, {0x0000F30A, 4}, 1300000000, kInodeExtentsFlag);
    OpenedDrive d(fs.bytes);
    d.Build();
    if (type == kRecoverMarked) {
      for (auto& e : d.host.entries) {
        if (e.inode == 13 || e.inode == 14) e.check = 1;
      }
      d.host.markedFiles = 2;
    }
    const fs::path out = dest / std::to_string(type);
    fs::create_directories(out);
    ASSERT_EQ(RecoverFiles(d.host, d.drive, type, out.string()), 1);
    for (const auto& [name, time] : {std::pair{"empty", 1400000000}, std::pair{"ext-empty", 1300000000}}) {
      struct stat st {};
      ASSERT_EQ(::stat((out / "#Root" / name).c_str(), &st), 0) << name;
      EXPECT_TRUE(S_ISREG(st.st_mode));
      EXPECT_EQ(st.st_size, 0);
      EXPECT_EQ(st.st_atime, time);
      EXPECT_EQ(st.st_mtime, time + 2);
      EXPECT_EQ(RowsOf(d.host.log, out.string() + "/#Root/" + name), std::vector<std::string>{"|Completed"});
    }
    EXPECT_EQ(fs::exists(out / "#Root/live.txt"), type != kRecoverMarked);
    if (type == kRecoverMarked) {
      EXPECT_EQ(d.host.markedFiles, 0);
    }
    EXPECT_EQ(d.host.log.back().text,
              type == kRecoverMarked ? "Process completed, 2 file(s) recovered, 0 not recovered"
                                     : "Process completed, 4 file(s) recovered, 0 not recovered");
    EXPECT_EQ(d.host.log.back().icon, kIconCompleted);
    EXPECT_EQ(d.host.log.back().status.rfind("Completed on ", 0), 0u);
  }
}

// A file whose inode maps its data with extents (i_flags 0x80000) is listed, and recovery says that
// it is kept in extents and does not write it: its extent header is no list of block numbers. The
// files beside it come back.
TEST_F(RecoveryUnread, FilesKeptInExtentsAreNotReadAsBlockPointers) {
  std::string live, far;
  TinyExt2 fs = Tree(live, far);
  fs.Record(40, 60, 40, 20, "far.txt", 1);
  fs.Record(40, 80, 14, 1024 - 80, "ext.bin", 1);
  // Header: magic 0xF30A, 1 entry, room for 4, depth 0; one extent: file block 0, 3 blocks from 110.
  Put(fs, 110, Pattern(3000, 3));
  fs.SetInode(14, 0x81A4, 3000, {0x0001F30A, 4, 0, 0, 3, 110}, 1300000000, kInodeExtentsFlag);
  for (std::uint8_t mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "sector mode" : "block mode");
    OpenedDrive d(fs.bytes);
    d.Build();
    App().readMode = mode;
    const auto listed = d.Listed();
    EXPECT_NE(std::find(listed.begin(), listed.end(), "ext.bin@14<2"), listed.end());
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, out.string()), 1);
    EXPECT_FALSE(fs::exists(out / "#Root/ext.bin"));
    EXPECT_EQ(ReadFile(out / "#Root/far.txt"), far);
    EXPECT_EQ(RowsOf(d.host.log, out.string() + "/#Root/ext.bin"),
              (std::vector<std::string>{"File kept in extents, which are not read: file not recovered|Not read",
                                        "File not recovered|Not recovered"}));
    const auto texts = Texts(d.host.log);
    EXPECT_EQ(texts[texts.size() - 2],
              "Recovery incomplete, 1 file(s) kept in extents not recovered: extents are not read");
    EXPECT_EQ(texts.back(), "Process completed, 3 file(s) recovered, 1 not recovered");
    for (const auto& row : d.host.log) EXPECT_NE(row.text, "Disk read error, file may not be completely recovered");
  }
}

// Deleted files whose inodes no longer record their data (ext3 clears the size and the block
// pointers on delete; a size may also stay with the pointers gone) get one row for all of them,
// and the recovery ends with its end row whatever it wrote. A deleted file with its blocks comes back.
TEST_F(RecoveryUnread, DeletedFilesWithoutDataEndWithOneRowAndTheEndRow) {
  std::string live, far;
  TinyExt2 fs = Tree(live, far);
  auto deleteInode = [&](std::uint32_t inode, std::uint32_t size, std::vector<std::uint32_t> blocks) {
    fs.SetInode(inode, 0x81A4, size, std::move(blocks), 1500000000);
    PutLe32(fs.bytes, fs.InodeAt(inode) + 20, 1500000100);  // i_dtime
  };
  deleteInode(20, 0, {});
  deleteInode(21, 0, {});
  deleteInode(22, 5000, {});
  for (const bool withData : {false, true}) {
    SCOPED_TRACE(withData ? "and one with its blocks" : "none with data");
    if (withData) {
      Put(fs, 120, "kept");
      deleteInode(23, 4, {120});
    }
    CurrentDrive c(fs.bytes);
    c.Open();
    SearchDeletedAndLost(c.host);
    const fs::path out = dest / (withData ? "with" : "without");
    fs::create_directories(out);
    c.host.log.clear();
    ASSERT_EQ(RecoverFiles(c.host, c.drive(), kRecoverDeleted, out.string()), 1);
    std::size_t files = 0;
    for (const auto& p : fs::recursive_directory_iterator(out)) files += p.is_regular_file();
    EXPECT_EQ(files, withData ? 1u : 0u);
    if (withData) {
      EXPECT_EQ(ReadFile(out / "#Root/Deleted Files/Inode #23"), "kept");
    }
    EXPECT_TRUE(Logged(c.host.log, "3 deleted file(s) not recovered: their data blocks are no longer recorded "
                                   "(ext3 clears them on delete)"));
    for (std::uint32_t i : {20, 21, 22}) {
      EXPECT_FALSE(Logged(c.host.log, out.string() + "/#Root/Deleted Files/Inode #" + std::to_string(i)));
    }
    EXPECT_EQ(c.host.log.back().text, withData ? "Process completed, 1 file(s) recovered, 3 not recovered"
                                               : "Process completed, 0 file(s) recovered, 3 not recovered");
    EXPECT_EQ(c.host.log.back().status.rfind("Completed on ", 0), 0u);
  }
}

// A stopped recovery ends with its end row too, after the row of the stop.
TEST_F(RecoveryUnread, AStoppedRecoveryEndsWithItsEndRow) {
  std::string live, far;
  OpenedDrive d(Tree(live, far).bytes);
  d.Build();
  d.host.onPump = [](HeadlessHost&) { App().stopRequested = 1; };
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, dest.string()), 1);
  const auto texts = Texts(d.host.log);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "Process aborted, user intervention ");
  EXPECT_EQ(texts.back(), "Recovery stopped, 1 file(s) recovered, 0 not recovered");
  EXPECT_EQ(d.host.log.back().status.rfind("Aborted on ", 0), 0u);
}

}  // namespace
