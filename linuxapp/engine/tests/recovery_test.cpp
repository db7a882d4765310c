// Recovery into a destination folder, and the name filters.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "destination_fixture.h"
#include "ext2engine/recovery.h"
#include "file_size_limit.h"
#include "walk_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace fs = std::filesystem;

namespace {

TEST(FileFilters, PatternsMatchBothPartsAsPrefixesWithoutCase) {
  EXPECT_EQ(ExpandPattern("*.*"), std::string(128, '?') + "." + std::string(128, '?'));
  EXPECT_EQ(ExpandPattern("ab*.t"), "AB*.T");
  EXPECT_EQ(ExpandPattern("name."), "NAME.");
  struct Case {
    const char* name;
    const char* pattern;
    int match;
  } cases[] = {
      {"notes.txt", "*.TXT", 1}, {"notes.doc", "*.TXT", 0}, {"abc.txt", "AB.TXT", 1}, {"abc.txt", "ABC.T", 1},
      {"ab.txt", "ABC.TXT", 0},  {"readme", "*.*", 0},       {"readme", "*", 1},       {"a.tar.gz", "*.TAR", 1},
      {"a.tar.gz", "*.GZ", 0},   {"README", "read", 1},      {"x.txt", "", 0},         {"data", "data.", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchPattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;

  const std::vector<FilterNode> txt = {{"*.TXT", 1}};
  EXPECT_EQ(MatchFilterList("notes.txt", txt, 0), 1);
  EXPECT_EQ(MatchFilterList("notes.doc", txt, 0), 0);
  EXPECT_EQ(MatchFilterList("notes.txt", txt, 1), 0);
  EXPECT_EQ(MatchFilterList("notes.doc", txt, 1), 1);
  EXPECT_EQ(MatchFilterList("anything", {}, 0), 1);
}

TEST(FileFilters, UnsafeNamesAndCopyNames) {
  EXPECT_EQ(SafeRecoveredName("..", 12), "Inode #12");
  EXPECT_EQ(SafeRecoveredName(".", 12), "Inode #12");
  EXPECT_EQ(SafeRecoveredName("", 12), "Inode #12");
  EXPECT_EQ(SafeRecoveredName("a/../b", 12), "a_.._b");
  EXPECT_EQ(SafeRecoveredName("...", 12), "...");
  const fs::path dir = fs::temp_directory_path() / "qv_copy_names";
  fs::remove_all(dir);
  fs::create_directories(dir);
  EXPECT_EQ(ProposeCopyName(dir, 12, "a.txt"), "Copy_12_a.txt");
  std::ofstream(dir / "Copy_12_a.txt") << "x";
  std::ofstream(dir / "Copy1_12_a.txt") << "x";
  EXPECT_EQ(ProposeCopyName(dir, 12, "a.txt"), "Copy2_12_a.txt");
  fs::remove_all(dir);
}

std::string Pattern(std::size_t n, int seed) {
  std::string s(n, 0);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + seed) & 0xFF);
  return s;
}

// Writes DATA into consecutive blocks from FIRST and gives their numbers.
std::vector<std::uint32_t> PutData(TinyExt2& fs, std::uint32_t first, const std::string& data) {
  std::vector<std::uint32_t> blocks;
  for (std::size_t at = 0; at < data.size(); at += 1024) {
    const std::uint32_t b = first + static_cast<std::uint32_t>(at / 1024);
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), std::min<std::size_t>(1024, data.size() - at),
                fs.bytes.begin() + static_cast<std::ptrdiff_t>(b) * 1024);
    blocks.push_back(b);
  }
  return blocks;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The status that closes the recovery of the file at PATH: the first one after its "Started" row
// that is not a read error row.
std::string ClosingStatus(const std::vector<LogRow>& log, const std::string& path) {
  auto row = std::find_if(log.begin(), log.end(), [&](const LogRow& r) { return r.text == path; });
  if (row == log.end()) return "";
  for (++row; row < log.end(); ++row) {
    if (row->text != "Disk read error, file may not be completely recovered") return row->status;
  }
  return "";
}

// The row before the end row that closes every recovery.
const LogRow& BeforeEndRow(const std::vector<LogRow>& log) { return log.at(log.size() - 2); }

using Recovery = DestinationTest;

// Root: "docs" (folder 12) holding a.txt (13, 1000 bytes) and b.bin (14, 2049 bytes); c.txt (15,
// 1 byte, deleted) and empty (16, 0 bytes) in Root.
TinyExt2 SmallTree(std::string& a, std::string& b) {
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 12, "docs", 2);
  fs.Record(40, 36, 15, 16, "c.txt", 1);
  fs.Record(40, 52, 16, 1024 - 52, "empty", 1);
  fs.Dir(12, {41});
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 13, 16, "a.txt", 1);
  fs.Record(41, 40, 14, 1024 - 40, "b.bin", 1);
  a = Pattern(1000, 1);
  b = Pattern(2049, 2);
  fs.SetInode(13, 0x81A4, 1000, PutData(fs, 100, a), 1500000000);
  fs.SetInode(14, 0x81A4, 2049, PutData(fs, 110, b), 1600000000);
  fs.SetInode(15, 0x81A4, 1, PutData(fs, 120, "z"));
  fs.File(16, 0);
  return fs;
}

TEST_F(Recovery, AllFilesInBothReadModesWithTheirTimes) {
  for (std::uint8_t mode : {1, 0}) {
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    App().readMode = mode;
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, out.string()), 1);
    struct stat st {};
    ASSERT_EQ(::stat((out / "#Root/docs/a.txt").c_str(), &st), 0);  // before a read moves the access time
    EXPECT_EQ(st.st_atime, 1500000000);
    EXPECT_EQ(st.st_mtime, 1500000002);
    EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), a);
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), b);
    EXPECT_EQ(ReadFile(out / "#Root/c.txt"), "z");
    EXPECT_EQ(fs::file_size(out / "#Root/empty"), 0u);  // an empty file is written empty
    EXPECT_EQ(d.drive.recoveredFileCount, 4u);
    EXPECT_EQ(BeforeEndRow(d.host.log).status, "Completed");
    EXPECT_EQ(d.host.log.back().text, "Process completed, 4 file(s) recovered, 0 not recovered");
    EXPECT_EQ(App().recovering, 0);
    EXPECT_EQ(App().processRunning, 0);
  }
}

TEST_F(Recovery, MarkedEntriesOnlyAndTheirMarksCleared) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  for (auto& e : d.host.entries) {
    if (e.inode == 12) e.check = 2;  // partly checked: entered, only its checked files written
    if (e.inode == 14) e.check = 1;
  }
  d.host.markedFolders = 1;
  d.host.markedFiles = 1;
  d.host.markedBytes = 2049;
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverMarked, dest.string()), 1);
  EXPECT_TRUE(fs::exists(dest / "#Root/docs/b.bin"));
  EXPECT_FALSE(fs::exists(dest / "#Root/docs/a.txt"));
  EXPECT_FALSE(fs::exists(dest / "#Root/c.txt"));
  for (const auto& e : d.host.entries) {
    if (e.inode == 14) {
      EXPECT_EQ(e.check, 0);
    }
  }
  EXPECT_EQ(d.host.markedFiles, 0);
  EXPECT_EQ(d.host.markedBytes, 0u);
}

TEST_F(Recovery, ExistingAndDeletedSelections) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  for (auto& e : d.host.entries) {
    if (e.inode == 15) e.deleted = 1;
  }
  fs::create_directories(dest / "existing");
  fs::create_directories(dest / "deleted");
  RecoverFiles(d.host, d.drive, kRecoverExisting, (dest / "existing").string());
  EXPECT_TRUE(fs::exists(dest / "existing/#Root/docs/a.txt"));
  EXPECT_FALSE(fs::exists(dest / "existing/#Root/c.txt"));
  RecoverFiles(d.host, d.drive, kRecoverDeleted, (dest / "deleted").string());
  EXPECT_TRUE(fs::exists(dest / "deleted/#Root/c.txt"));
  EXPECT_FALSE(fs::exists(dest / "deleted/#Root/docs/a.txt"));
}

TEST_F(Recovery, NameClashAnswers) {
  struct Case {
    FileExistsDecision answer;
    const char* expectFile;
    const char* expectOld;
  } cases[] = {
      {FileExistsDecision::SkipAll, nullptr, "old"},
      {FileExistsDecision::Skip, nullptr, "old"},
      {FileExistsDecision::Overwrite, nullptr, nullptr},           // a.txt holds the recovered bytes
      {FileExistsDecision::RenameAll, "Copy1_13_a.txt", "old"},    // with Copy_13_a.txt taken
      {FileExistsDecision::Rename, "Copy1_13_a.txt", "old"},       // taking the dialog's proposal
  };
  for (const auto& c : cases) {
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    d.host.onExists = c.answer;
    const int n = static_cast<int>(c.answer);
    const fs::path out = dest / std::to_string(n);
    fs::create_directories(out / "#Root/docs");
    std::ofstream(out / "#Root/docs/a.txt") << "old";
    std::ofstream(out / "#Root/docs/Copy_13_a.txt") << "taken";
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), c.expectOld ? c.expectOld : a) << n;
    if (c.expectFile) {
      EXPECT_EQ(ReadFile(out / "#Root/docs" / c.expectFile), a) << n;
    }
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), b) << n;
  }
}

TEST_F(Recovery, ReadErrorsWriteZerosAndAreLogged) {
  for (std::uint8_t mode : {1, 0}) {
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    App().readMode = mode;
    App().readRetryCount = 2;
    FailSector(*d.disk, 110 * 2 + 1);  // second sector of b.bin's first block
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    d.disk->ClearReads();
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    // Block mode asks for whole blocks, each with the retries. Sector mode asks for each run of
    // blocks in one attempt, and for a run that fails a sector at a time with the retries, so the
    // bad sector costs its own attempts and one of the run.
    int alone = 0, within = 0;  // reads of the bad sector by itself, and as part of a longer read
    for (const auto& [position, bytes] : d.disk->Reads()) {
      if (mode == 0 && position >= 100 * 1024 && position < 130 * 1024) {
        EXPECT_EQ(bytes, 1024u) << "read at " << position;
      }
      if (mode == 1 && position == 100 * 1024) {
        EXPECT_EQ(bytes, 1024u);  // a.txt: its two sectors in one read
      }
      if (position <= 221 * 512 && 221 * 512 < position + bytes) (bytes == 512 ? alone : within) += 1;
    }
    EXPECT_EQ(alone, mode == 1 ? 2 : 0) << "read mode " << int(mode);  // the retry count
    EXPECT_EQ(within, mode == 1 ? 1 : 2) << "read mode " << int(mode);
    std::string expect = b;
    const std::size_t from = mode == 1 ? 512 : 0;  // sector mode loses one sector, block mode the block
    std::fill(expect.begin() + static_cast<std::ptrdiff_t>(from), expect.begin() + 1024, '\0');
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), expect);
    bool logged = false;
    for (const auto& row : d.host.log) {
      if (row.text == "Disk read error, file may not be completely recovered") {
        logged = true;
        EXPECT_EQ(row.status, mode == 1 ? "Error reading sector 221" : "Error reading block 220");
      }
    }
    EXPECT_TRUE(logged);
    // The file is written, and says that it is not whole.
    EXPECT_EQ(ClosingStatus(d.host.log, out.string() + "/#Root/docs/b.bin"), "Incomplete");
    EXPECT_EQ(ClosingStatus(d.host.log, out.string() + "/#Root/docs/a.txt"), "Completed");
    EXPECT_EQ(BeforeEndRow(d.host.log).text, "Recovery incomplete, 1 file(s) written with unreadable parts as zeros");
  }
}

// Sector mode: a bad sector anywhere in a run of blocks costs only its own reads. It alone is read
// by itself with every attempt of the retry count, it alone becomes zeros with its one row, and the
// good sectors on both sides of it come back.
TEST_F(Recovery, ABadSectorInsideARunCostsOnlyItsOwnReads) {
  struct Case {
    std::uint64_t bad;  // a sector of b.bin's run 110-112 (sectors 220-224)
    std::size_t zerosFrom, zerosTo;
  };
  const Case cases[] = {{220, 0, 512}, {223, 1536, 2048}, {224, 2048, 2049}};
  for (const Case& c : cases) {
    for (std::uint8_t retries : {1, 3}) {
      SCOPED_TRACE("bad sector " + std::to_string(c.bad) + ", " + std::to_string(retries) + " attempts");
      std::string a, b;
      OpenedDrive d(SmallTree(a, b).bytes);
      d.Build();
      App().readMode = 1;
      App().readRetryCount = retries;
      FailSector(*d.disk, c.bad);
      const fs::path out = dest / (std::to_string(c.bad) + "_" + std::to_string(retries));
      fs::create_directories(out);
      d.disk->ClearReads();
      d.host.log.clear();
      RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
      std::string expect = b;
      std::fill(expect.begin() + static_cast<std::ptrdiff_t>(c.zerosFrom),
                expect.begin() + static_cast<std::ptrdiff_t>(c.zerosTo), '\0');
      EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), expect);
      EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), a);
      int alone = 0, within = 0;  // reads of the bad sector by itself, and as part of a longer read
      for (const auto& [position, bytes] : d.disk->Reads()) {
        if (!(position < (c.bad + 1) * 512 && c.bad * 512 < position + bytes)) continue;
        (bytes == 512 ? alone : within) += 1;
      }
      EXPECT_EQ(alone, retries);
      EXPECT_LE(within, 1);  // never retried as part of a longer read
      std::vector<std::string> rows;
      for (const auto& row : d.host.log) {
        if (row.text == "Disk read error, file may not be completely recovered") rows.push_back(row.status);
      }
      EXPECT_EQ(rows, std::vector<std::string>{"Error reading sector " + std::to_string(c.bad)});
      EXPECT_EQ(ClosingStatus(d.host.log, out.string() + "/#Root/docs/b.bin"), "Incomplete");
    }
  }
}

// A file larger than the write chunk goes out a MiB at a time, and the window has its turn after
// each MiB, in both read modes. A Stop that arrives there ends the file before another block is
// read, and the part written does not stay.
TEST_F(Recovery, StopInsideALargeFileEndsItAtAChunkAndRemovesIt) {
  constexpr std::uint32_t kB = 1024, kFirst = 100, kBlocks = 1537;  // 1.5 MiB and 100 bytes
  TinyExt2 fs(2048);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 1024 - 24, "big", 1);
  const std::string data = Pattern(std::size_t{kBlocks - 1} * kB + 100, 3);
  PutData(fs, kFirst, data);
  // Blocks 12-267 through the single indirect block 1700, the rest through the double one 1701.
  std::vector<std::uint32_t> ptr(15, 0);
  for (std::uint32_t i = 0; i < 12; ++i) ptr[i] = kFirst + i;
  ptr[12] = 1700;
  ptr[13] = 1701;
  for (std::uint32_t i = 12; i < kBlocks; ++i) {
    const std::uint32_t single = i < 268 ? 1700 : 1702 + (i - 268) / 256;
    const std::uint32_t entry = i < 268 ? i - 12 : (i - 268) % 256;
    PutLe32(fs.bytes, std::size_t{single} * kB + 4 * entry, kFirst + i);
    if (i >= 268 && entry == 0) PutLe32(fs.bytes, std::size_t{1701} * kB + 4 * ((i - 268) / 256), single);
  }
  fs.SetInode(12, 0x81A4, static_cast<std::uint32_t>(data.size()), ptr);
  for (std::uint8_t mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "sector mode" : "block mode");
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    {  // whole, in writes of a MiB
      OpenedDrive d(fs.bytes);
      d.Build();
      App().readMode = mode;
      std::vector<std::uintmax_t> written;  // the file's size at each turn of the window
      d.host.onPump = [&](HeadlessHost&) {
        std::error_code e;
        const auto n = fs::file_size(out / "#Root/big", e);
        if (!e) written.push_back(n);
      };
      RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
      EXPECT_TRUE(ReadFile(out / "#Root/big") == data);
      EXPECT_EQ(std::count(written.begin(), written.end(), std::uintmax_t{1} << 20), 1);
      fs::remove_all(out / "#Root");
    }
    OpenedDrive d(fs.bytes);
    d.Build();
    App().readMode = mode;
    d.host.onPump = [&](HeadlessHost&) {
      std::error_code e;
      if (fs::file_size(out / "#Root/big", e) == std::uintmax_t{1} << 20 && !e) App().stopRequested = 1;
    };
    d.disk->ClearReads();
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    EXPECT_FALSE(fs::exists(out / "#Root/big"));
    for (const auto& [position, bytes] : d.disk->Reads()) {  // the data blocks past the first MiB are not read
      if (position >= kFirst * kB && position < 1700 * kB) {
        EXPECT_LE(position + bytes, (std::uint64_t{kFirst} + 1024) * kB) << "read at " << position;
      }
    }
    const auto stopped = std::find_if(d.host.log.begin(), d.host.log.end(), [](const LogRow& r) { return r.status == "Stopped"; });
    ASSERT_NE(stopped, d.host.log.end());
    EXPECT_EQ((stopped - 1)->text, out.string() + "/#Root/big");
  }
}

// A read that comes back short through the read seam (the platform returned fewer bytes after an
// error) is a failed read: retried, logged, and the file is not reported complete. What it did
// deliver is kept.
TEST_F(Recovery, ShortReadsAreFailedReads) {
  for (std::uint8_t mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "sector mode" : "block mode");
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    App().readMode = mode;
    App().readRetryCount = 2;
    d.disk->Short(0, platform::MemoryDevice::kEnd, 12);
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    d.host.log.clear();
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    std::string expect = a;
    std::fill(expect.begin() + 500, expect.begin() + 512, '\0');  // each read loses its last 12 bytes
    if (mode == 0) expect = a;  // block mode: the 1,000 bytes lie before the last 12 of the block
    EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), expect);
    std::vector<std::string> statuses;
    for (const auto& row : d.host.log) {
      if (row.text == "Disk read error, file may not be completely recovered") statuses.push_back(row.status);
    }
    for (const char* file : {"/#Root/docs/a.txt", "/#Root/docs/b.bin", "/#Root/c.txt"}) {
      EXPECT_EQ(ClosingStatus(d.host.log, out.string() + file), "Incomplete") << file;
    }
    EXPECT_EQ(ClosingStatus(d.host.log, out.string() + "/#Root/empty"), "Completed");  // no data to read
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), mode == 1 ? "Error reading sector 240" : "Error reading block 240");  // c.txt, the first
  }
}

// A drive on an image cut inside it: blocks past the cut are failed reads, written as zeros (not
// as what the buffer held from the block before), each with its row, and the file is incomplete.
TEST_F(Recovery, BlocksPastTheEndOfACutImageAreReadErrors) {
  for (std::uint8_t mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "sector mode" : "block mode");
    std::string a, b;
    TinyExt2 fs = SmallTree(a, b);
    OpenedDrive d(fs.bytes);
    d.Build();
    d.disk->Bytes().resize(111 * 1024);  // b.bin has blocks 110, 111 and 112; the drive stays 512 blocks
    App().readMode = mode;
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    std::string expect = b;
    std::fill(expect.begin() + 1024, expect.end(), '\0');
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), expect);
    EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), a);
    std::vector<std::string> errors;
    for (const auto& row : d.host.log) {
      if (row.text == "Disk read error, file may not be completely recovered") errors.push_back(row.status);
    }
    // c.txt (block 120) in Root first, then b.bin.
    const std::vector<std::string> sectorRows = {"Error reading sector 240", "Error reading sector 222",
                                                 "Error reading sector 223", "Error reading sector 224"};
    const std::vector<std::string> blockRows = {"Error reading block 240", "Error reading block 222",
                                                "Error reading block 224"};
    EXPECT_EQ(errors, mode == 1 ? sectorRows : blockRows);
    EXPECT_EQ(ClosingStatus(d.host.log, out.string() + "/#Root/docs/b.bin"), "Incomplete");
    EXPECT_EQ(BeforeEndRow(d.host.log).text, "Recovery incomplete, 2 file(s) written with unreadable parts as zeros");
  }
}

// A file the destination cannot take whole (here the file-size limit, with SIGXFSZ ignored so that
// the write fails with EFBIG) is not recovered: the cut file is removed, its mark stays, its row and
// the end row say so, and a later recovery writes it whole.
TEST_F(Recovery, FileThatCannotBeWrittenWholeIsRemovedAndKeepsItsMark) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  for (auto& e : d.host.entries) {
    if (e.inode == 12) e.check = 2;
    if (e.inode == 13 || e.inode == 14) e.check = 1;
  }
  d.host.markedFolders = 1;
  d.host.markedFiles = 2;
  d.host.markedBytes = 3049;
  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  struct rlimit limit = before;
  limit.rlim_cur = 1500;  // a.txt (1,000 bytes) fits, b.bin (2,049) does not
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  RecoverFiles(d.host, d.drive, kRecoverMarked, dest.string());
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(ReadFile(dest / "#Root/docs/a.txt"), a);
  EXPECT_FALSE(fs::exists(dest / "#Root/docs/b.bin"));
  for (const auto& e : d.host.entries) {
    if (e.inode == 13 || e.inode == 14) {
      EXPECT_EQ(e.check, e.inode == 13 ? 0 : 1);
    }
  }
  EXPECT_EQ(d.host.markedFiles, 1);
  EXPECT_EQ(d.host.markedBytes, 2049u);
  const auto error = std::find_if(d.host.log.begin(), d.host.log.end(), [](const LogRow& r) {
    return r.status == "Error writing file";
  });
  ASSERT_NE(error, d.host.log.end());
  EXPECT_EQ((error - 1)->text, dest.string() + "/#Root/docs/b.bin");
  EXPECT_EQ((error + 1)->status, "Not recovered");
  EXPECT_EQ(BeforeEndRow(d.host.log).text, "Recovery incomplete, 0 folder(s) and 1 file(s) could not be written");
  EXPECT_EQ(d.host.log.back().text, "Process completed, 1 file(s) recovered, 1 not recovered");
  // Once the destination takes it, the file comes back whole.
  RecoverFiles(d.host, d.drive, kRecoverMarked, dest.string());
  EXPECT_EQ(ReadFile(dest / "#Root/docs/b.bin"), b);
  EXPECT_EQ(d.host.markedFiles, 0);
}

// The same limit with the signal of a write past it left at its default: the recovery ignores the
// signal, so the program goes on and says which file it could not write.
TEST_F(Recovery, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  const std::string result = WithFileSizeLimit(
      1500,
      [&] {
        RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
        return BeforeEndRow(d.host.log).text;
      },
      true);
  EXPECT_EQ(result, "Recovery incomplete, 0 folder(s) and 1 file(s) could not be written");
}

TEST_F(Recovery, HostileNamesStayInsideTheDestination) {
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 20, "../../evil", 1);
  fs.Record(40, 44, 13, 12, "..", 1);
  fs.Record(40, 56, 14, 1024 - 56, "sub/x", 2);
  fs.File(12, 1, PutData(fs, 100, "e"));
  fs.File(13, 1, PutData(fs, 101, "d"));
  fs.Dir(14, {42});
  fs.Dots(42, 14, 2);
  fs.Record(42, 24, 15, 1000, ".", 1);
  fs.File(15, 1, PutData(fs, 102, "f"));
  OpenedDrive d(fs.bytes);
  d.Build();
  const fs::path out = dest / "inner";
  fs::create_directories(out);
  RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
  EXPECT_EQ(ReadFile(out / "#Root/.._.._evil"), "e");
  EXPECT_EQ(ReadFile(out / "#Root/Inode #13"), "d");
  EXPECT_EQ(ReadFile(out / "#Root/sub_x/Inode #15"), "f");
  std::size_t outside = 0;
  for (const auto& p : fs::recursive_directory_iterator(dest)) outside += p.path().string().find("/inner/") == std::string::npos;
  EXPECT_EQ(outside, 1u);  // only "inner" itself
}

TEST_F(Recovery, SizesAbove2GiBAndFastSymlinks) {
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 12, "big", 1);
  fs.Record(40, 36, 13, 12, "link", 7);
  fs.Record(40, 48, 14, 1024 - 48, "grown", 7);
  const std::string data = Pattern(3 * 1024, 5);
  fs.SetInode(12, 0x81A4, 0xC0000000u, PutData(fs, 100, data));  // 3 GiB: three blocks, then holes
  const std::string target = "target/file";
  fs.SetInode(13, 0xA1FF, 11, {});
  fs.SetInode(14, 0xA1FF, 11, {});
  for (std::uint32_t ino : {13u, 14u}) {
    std::copy(target.begin(), target.end(), fs.bytes.begin() + static_cast<std::ptrdiff_t>(fs.InodeAt(ino) + 40));
  }
  OpenedDrive d(fs.bytes);
  d.Build();
  // A scan file whose size byte was changed (or a disk changed since the scan): the link's text is
  // never read past the 60 bytes of the block pointers.
  for (auto& e : d.host.entries) {
    if (e.inode == 14) e.size = 200;
  }
  RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
  EXPECT_EQ(fs::file_size(dest / "#Root/big"), 0xC0000000u);  // written to its size, the holes as zeros
  std::ifstream big(dest / "#Root/big", std::ios::binary);
  std::string head(data.size() + 4096, 'x');
  big.read(head.data(), static_cast<std::streamsize>(head.size()));
  EXPECT_TRUE(head == data + std::string(4096, '\0'));
  EXPECT_EQ(ReadFile(dest / "#Root/link"), target);
  EXPECT_FALSE(fs::exists(dest / "#Root/grown"));
  const auto row = std::find_if(d.host.log.begin(), d.host.log.end(), [](const LogRow& r) {
    return r.text == "Link size exceeds the 60 bytes of its inode, link not recovered";
  });
  ASSERT_NE(row, d.host.log.end());
  EXPECT_EQ((row + 1)->status, "Not recovered");
  EXPECT_EQ(BeforeEndRow(d.host.log).text, "Recovery incomplete, 0 folder(s) and 1 file(s) could not be written");
}

// Data blocks of zeros are passed over on the destination (they read back as zeros there); a file
// that ends in them still gets its whole size.
TEST_F(Recovery, ZerosAreLeftAsHolesAndTheFileKeepsItsSize) {
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 1024 - 24, "zeros", 1);
  const std::string zeros(3000, '\0');
  fs.SetInode(12, 0x81A4, static_cast<std::uint32_t>(zeros.size()), PutData(fs, 100, zeros));
  OpenedDrive d(fs.bytes);
  d.Build();
  RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
  EXPECT_EQ(ReadFile(dest / "#Root/zeros"), zeros);
}

// Zero pointers inside a file's size are holes written as zeros, direct ones, entries of an
// indirect block and whole indirect pointers, wherever they lie: a live file is written at exactly
// its size. The bound on the walk counts the blocks it takes, not the places they stand for, so a
// sparse file larger than its drive comes back whole. A deleted inode whose pointers are all zero
// (ext3 clears them) is no file: a row says so and nothing is written. Folder block lists still end
// at the first zero.
TEST_F(Recovery, SparseFilesAreWrittenToTheirSizeWithHolesAsZeros) {
  constexpr std::uint32_t kB = 1024;
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  const char* names[] = {"holes", "far", "tail", "start", "allhole", "beyond", "wiped"};
  for (std::uint32_t i = 0; i < 7; ++i) {
    fs.Record(40, 24 + 16 * i, 12 + i, i == 6 ? static_cast<std::uint16_t>(1024 - 24 - 16 * i) : 16, names[i], 1);
  }
  // holes: 17 blocks; block 1 and entries 1 and 3 of the single indirect block are holes.
  const std::string data = Pattern(16 * kB + 100, 7);
  std::string holes = data;
  std::vector<std::uint32_t> ptr(15, 0);
  for (std::uint32_t i = 0; i < 12; ++i) ptr[i] = i == 1 ? 0 : 100 + i;
  ptr[12] = 200;
  const std::uint32_t single[5] = {112, 0, 114, 0, 116};
  for (std::uint32_t i = 0; i < 17; ++i) {
    const std::uint32_t b = i < 12 ? ptr[i] : single[i - 12];
    const std::size_t at = std::size_t{i} * kB, n = std::min<std::size_t>(kB, data.size() - at);
    if (b == 0) {
      std::fill_n(holes.begin() + static_cast<std::ptrdiff_t>(at), n, '\0');
    } else {
      std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(at), n, fs.bytes.begin() + std::ptrdiff_t{b} * kB);
    }
  }
  for (std::uint32_t i = 0; i < 5; ++i) PutLe32(fs.bytes, std::size_t{200} * kB + 4 * i, single[i]);
  fs.SetInode(12, 0x81A4, static_cast<std::uint32_t>(data.size()), ptr);
  // far: a zero single indirect pointer, then the double indirect one holding the last block.
  const std::uint32_t farBlocks = 12 + 256 + 1;
  std::string far(std::size_t{farBlocks} * kB, '\0');
  const std::string first = Pattern(kB, 8), last = Pattern(kB, 9);
  far.replace(0, kB, first);
  far.replace(far.size() - kB, kB, last);
  PutData(fs, 300, first);
  PutData(fs, 301, last);
  PutLe32(fs.bytes, std::size_t{302} * kB, 303);
  PutLe32(fs.bytes, std::size_t{303} * kB, 301);
  fs.SetInode(13, 0x81A4, farBlocks * kB, {300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 302});
  // tail: one data block, then a hole of two and a half blocks; start: holes, then 100 bytes.
  const std::string head = Pattern(kB, 10);
  fs.SetInode(14, 0x81A4, 3 * kB + 512, PutData(fs, 310, head));
  PutData(fs, 311, Pattern(100, 11));
  fs.SetInode(15, 0x81A4, 3 * kB + 100, {0, 0, 0, 311});
  // allhole: a live file without a data block; beyond: 8 MiB on this 512 KiB drive, a block at
  // each end (the last one through the double indirect block).
  fs.File(16, 5000);
  const std::uint32_t beyondBlocks = 8192;
  PutData(fs, 320, first);
  PutData(fs, 321, last);
  const std::uint32_t inDouble = beyondBlocks - 1 - 12 - 256;
  PutLe32(fs.bytes, std::size_t{322} * kB + 4 * (inDouble / 256), 323);
  PutLe32(fs.bytes, std::size_t{323} * kB + 4 * (inDouble % 256), 321);
  fs.SetInode(17, 0x81A4, beyondBlocks * kB, {320, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 322});
  std::string beyond(std::size_t{beyondBlocks} * kB, '\0');
  beyond.replace(0, kB, first);
  beyond.replace(beyond.size() - kB, kB, last);
  // wiped: deleted, every pointer cleared.
  fs.File(18, 5000);
  PutLe32(fs.bytes, fs.InodeAt(18) + 20, 1500000000);  // i_dtime
  for (std::uint8_t mode : {1, 0}) {
    SCOPED_TRACE(mode == 1 ? "sector mode" : "block mode");
    OpenedDrive d(fs.bytes);
    d.Build();
    App().readMode = mode;
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    EXPECT_TRUE(ReadFile(out / "#Root/holes") == holes);  // no 270 KiB dumps on a mismatch
    EXPECT_TRUE(ReadFile(out / "#Root/far") == far);
    EXPECT_TRUE(ReadFile(out / "#Root/tail") == head + std::string(2 * kB + 512, '\0'));
    EXPECT_TRUE(ReadFile(out / "#Root/start") == std::string(3 * kB, '\0') + Pattern(100, 11));
    EXPECT_TRUE(ReadFile(out / "#Root/allhole") == std::string(5000, '\0'));
    EXPECT_TRUE(ReadFile(out / "#Root/beyond") == beyond);
    EXPECT_FALSE(fs::exists(out / "#Root/wiped"));
    // The deleted file whose pointers are gone: counted in one row, without a row of its own.
    for (const auto& row : d.host.log) {
      EXPECT_NE(row.text, "Disk read error, file may not be completely recovered");
      EXPECT_NE(row.text, out.string() + "/#Root/wiped");
    }
    EXPECT_EQ(BeforeEndRow(d.host.log).text,
              "1 deleted file(s) not recovered: their data blocks are no longer recorded (ext3 clears them on delete)");
    EXPECT_EQ(d.host.log.back().text, "Process completed, 6 file(s) recovered, 1 not recovered");
    EXPECT_EQ(d.drive.GetclusterList(12), std::vector<std::uint32_t>{100});
  }
}

TEST_F(Recovery, FiltersSelectTheFilesWritten) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  d.drive.filters = {{"*.TXT", 1}};
  d.drive.filterMode = 1;  // exclude
  RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
  EXPECT_FALSE(fs::exists(dest / "#Root/docs/a.txt"));
  EXPECT_TRUE(fs::exists(dest / "#Root/docs/b.bin"));
  EXPECT_FALSE(fs::exists(dest / "#Root/c.txt"));
}

TEST_F(Recovery, MarkedFilesTheFiltersLeaveOutKeepTheirMarksAndMakeNoFolder) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  // Marked: b.bin in docs (so docs is partly checked) and c.txt in Root; the filter keeps *.txt.
  auto record = [&](std::uint32_t inode) -> ListedEntry& {
    for (auto& e : d.host.entries) {
      if (e.inode == inode) return e;
    }
    throw std::runtime_error("no entry");
  };
  record(kRootInode).check = 2;
  record(12).check = 2;
  record(14).check = 1;
  record(15).check = 1;
  d.host.markedFolders = 2;
  d.host.markedFiles = 2;
  d.host.markedBytes = 2049 + 1;
  d.drive.filters = {{"*.TXT", 1}};
  d.drive.filterMode = 0;  // include
  const fs::path first = dest / "first";
  fs::create_directories(first);
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverMarked, first.string()), 1);
  EXPECT_EQ(ReadFile(first / "#Root/c.txt"), "z");
  EXPECT_FALSE(fs::exists(first / "#Root/docs")) << "a folder the filters left empty";
  // b.bin is still marked, and so are the folders on its way; one row says so.
  EXPECT_EQ(record(14).check, 1);
  EXPECT_EQ(record(15).check, 0);
  EXPECT_EQ(d.host.markedFolders, 2);
  EXPECT_EQ(d.host.markedFiles, 1);
  EXPECT_EQ(d.host.markedBytes, 2049u);
  int rows = 0;
  for (const auto& row : d.host.log) rows += row.text == "1 marked file(s) left out by the file filters, still marked";
  EXPECT_EQ(rows, 1);

  // Without the filters the same marks bring b.bin back, and then nothing stays marked.
  d.drive.filters.clear();
  const fs::path retry = dest / "retry";
  fs::create_directories(retry);
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverMarked, retry.string()), 1);
  EXPECT_EQ(ReadFile(retry / "#Root/docs/b.bin"), b);
  EXPECT_FALSE(fs::exists(retry / "#Root/c.txt"));
  EXPECT_EQ(record(14).check, 0);
  EXPECT_EQ(d.host.markedFiles, 0);
  EXPECT_EQ(d.host.markedBytes, 0u);
  rows = 0;
  for (const auto& row : d.host.log) rows += row.text.find("left out by the file filters") != std::string::npos;
  EXPECT_EQ(rows, 1) << "the retry leaves nothing out";
}

TEST_F(Recovery, TheFolderIsAskedAfterTheCautionAndNoFolderIsACancel) {
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  // A folder dialog that answers OK without a folder must not make the target "/#Root".
  d.host.chosenFolder = "";
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, ""), 0);
  EXPECT_EQ(App().processRunning, 0);
  EXPECT_EQ(App().recovering, 0);
  d.host.chosenFolder.reset();  // Cancel
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, ""), 0);
  for (const auto& row : d.host.log) EXPECT_NE(row.activity, "Recovering file");
  d.host.chosenFolder = dest.string();
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, ""), 1);
  EXPECT_TRUE(fs::exists(dest / "#Root/docs/a.txt"));
}

std::uint64_t g_free = 0;
bool FakeFreeSpace(const std::string&, std::uint64_t& bytes) {
  bytes = g_free;
  return true;
}

TEST_F(Recovery, FreeSpaceMustHoldWhatThisRecoveryWrites) {
  // SmallTree writes a.txt (1000 bytes), b.bin (2049) and the deleted c.txt (1); nothing is marked
  // in the frame but b.bin, which the amount of the Marked pane does not decide.
  struct Case {
    const char* what;
    std::uint8_t type;
    bool txtOnly;
    std::uint64_t required;
  } cases[] = {
      {"all", kRecoverAll, false, 3050},
      {"existing", kRecoverExisting, false, 3049},
      {"deleted", kRecoverDeleted, false, 1},
      {"marked", kRecoverMarked, false, 2049},
      {"all, include *.txt", kRecoverAll, true, 1001},
  };
  SetFreeSpaceQuery(FakeFreeSpace);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::uint64_t free : {c.required - 1, c.required}) {
      std::string a, b;
      OpenedDrive d(SmallTree(a, b).bytes);
      d.Build();
      for (auto& e : d.host.entries) {
        if (e.inode == 15) e.deleted = 1;
        if (e.inode == 12) e.check = 2;
        if (e.inode == 14) e.check = 1;
      }
      if (c.txtOnly) d.drive.filters = {{"*.TXT", 1}};
      d.host.markedBytes = 0;
      g_free = free;
      const fs::path out = dest / (std::to_string(c.type) + c.what + std::to_string(free));
      fs::create_directories(out);
      const bool enough = free >= c.required;
      EXPECT_EQ(RecoverFiles(d.host, d.drive, c.type, out.string()), enough ? 1 : 0);
      EXPECT_EQ(fs::exists(out / "#Root"), enough);
      EXPECT_EQ(App().processRunning, 0);
      if (!enough) {
        ASSERT_FALSE(d.host.messages.empty());
        EXPECT_EQ(d.host.messages.back().caption, "Can not recover file(s) on to  destination media");
        for (const auto& row : d.host.log) EXPECT_NE(row.activity, "Recovering file");
      }
    }
  }
  // Required 3,000,000,000 bytes against 1,048,576,000 free: 2861 and 1000 MB, 8 columns each.
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  for (auto& e : d.host.entries) {
    if (e.inode == 13) e.size = 3000000000u - 2049 - 1;
  }
  g_free = 1048576000;
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, dest.string()), 0);
  ASSERT_FALSE(d.host.messages.empty());
  EXPECT_EQ(d.host.messages.back().text,
            "Insufficient disk space on destination media\n\nRequired Space:     2861 MB\nAvailable Space:     1000 MB");
  // A file of 8 GiB counts whole: 8 GiB and 2,050 bytes against 5 GiB free.
  for (auto& e : d.host.entries) {
    if (e.inode == 13) e.size = std::uint64_t{8} << 30;
  }
  g_free = std::uint64_t{5} << 30;
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, dest.string()), 0);
  EXPECT_EQ(d.host.messages.back().text,
            "Insufficient disk space on destination media\n\nRequired Space:     8192 MB\nAvailable Space:     5120 MB");
  // 4 PiB, as a damaged inode may claim: more megabytes than 31 bits hold.
  for (auto& e : d.host.entries) {
    if (e.inode == 13) e.size = std::uint64_t{1} << 52;
  }
  EXPECT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, dest.string()), 0);
  EXPECT_EQ(d.host.messages.back().text,
            "Insufficient disk space on destination media\n\nRequired Space: 4294967296 MB\nAvailable Space:     5120 MB");
  SetFreeSpaceQuery(nullptr);
}

}  // namespace

namespace {

// A folder that cannot be made is named in an error row and its contents are left; the end of the
// recovery says how much could not be written.
TEST_F(Recovery, UnwritableFoldersAndFilesAreReportedAndTheWalkGoesOn) {
  struct Case {
    const char* name;
    bool folderInTheWay;  // a folder where the file c.txt would go
    std::string endRow;
  };
  for (const Case& c : {Case{"a file where a folder goes", false,
                             "Recovery incomplete, 1 folder(s) and 0 file(s) could not be written"},
                        Case{"and a folder where a file goes", true,
                             "Recovery incomplete, 1 folder(s) and 1 file(s) could not be written"}}) {
    SCOPED_TRACE(c.name);
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    const fs::path out = dest / (c.folderInTheWay ? "2" : "1");
    fs::create_directories(out / "#Root");
    if (c.folderInTheWay) fs::create_directories(out / "#Root/c.txt");
    std::ofstream(out / "#Root/docs") << "in the way";
    d.host.onExists = FileExistsDecision::Overwrite;
    d.host.log.clear();
    ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, out.string()), 1);
    EXPECT_EQ(ReadFile(out / "#Root/docs"), "in the way");
    EXPECT_EQ(App().processRunning, 0);
    const auto folderRow = std::find_if(d.host.log.begin(), d.host.log.end(), [](const LogRow& r) {
      return r.status == "Error creating folder";
    });
    ASSERT_NE(folderRow, d.host.log.end());
    EXPECT_EQ(folderRow->text, "Disk write error, folder and its contents not recovered: " + out.string() + "/#Root/docs");
    EXPECT_EQ(folderRow->icon, kIconAborted);
    EXPECT_EQ(BeforeEndRow(d.host.log).text, c.endRow);
    EXPECT_EQ(BeforeEndRow(d.host.log).status.rfind("Completed on ", 0), 0u);
    EXPECT_EQ(BeforeEndRow(d.host.log).icon, kIconAborted);
    EXPECT_EQ(d.host.log.back().icon, kIconEvent);
    // Only c.txt, where it could be written, and the empty file join the file that was in the way.
    std::size_t files = 0;
    for (const auto& p : fs::recursive_directory_iterator(out)) files += p.is_regular_file();
    EXPECT_EQ(files, c.folderInTheWay ? 2u : 3u);
    EXPECT_EQ(c.folderInTheWay ? fs::is_directory(out / "#Root/c.txt") : ReadFile(out / "#Root/c.txt") == "z", true);
  }
  // A recovery that wrote everything ends without that row: its last file, then the end row.
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  fs::create_directories(dest / "3");
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, (dest / "3").string()), 1);
  EXPECT_EQ(BeforeEndRow(d.host.log).status, "Completed");
  EXPECT_EQ(d.host.log.back().text, "Process completed, 4 file(s) recovered, 0 not recovered");
  EXPECT_EQ(d.host.log.back().icon, kIconCompleted);
}

}  // namespace

namespace {

// A chain of 3,000 folders with 250-byte names (a path of 750 KB, far past PATH_MAX) and a file at
// its bottom recovers whole with 256 descriptors: the walk keeps a bounded number of folders open.
TEST_F(Recovery, DeepChainOfLongNamesRecoversWholeWithFewDescriptors) {
  constexpr std::uint32_t kLevels = 3000;
  constexpr std::uint32_t kFirstBlock = 700;  // after the inode table of 4,096 inodes
  TinyExt2 fs(kFirstBlock + kLevels + 8, 4096);
  auto name = [](std::uint32_t level) {
    std::string n = "level " + std::to_string(level) + " ";
    return n + std::string(250 - n.size(), 'n');
  };
  // Folder k (inode 12 + k, block kFirstBlock + k) holds folder k + 1; the last one holds the file.
  fs.Dir(2, {kFirstBlock - 1});
  fs.Dots(kFirstBlock - 1, 2, 2);
  fs.Record(kFirstBlock - 1, 24, 12, 1000, name(0), 2);
  for (std::uint32_t k = 0; k < kLevels; ++k) {
    const std::uint32_t block = kFirstBlock + k;
    fs.Dir(12 + k, {block});
    fs.Dots(block, 12 + k, k == 0 ? 2 : 11 + k);
    if (k + 1 < kLevels) {
      fs.Record(block, 24, 13 + k, 1000, name(k + 1), 2);
    } else {
      fs.Record(block, 24, 13 + k, 1000, "bottom.txt", 1);
    }
  }
  const std::uint32_t fileBlock = kFirstBlock + kLevels;
  fs.File(12 + kLevels, 6, PutData(fs, fileBlock, "bottom"));
  OpenedDrive d(fs.bytes);
  d.Build();
  ASSERT_EQ(d.host.entries.size(), kLevels + 2u);
  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
  struct rlimit limit = before;
  limit.rlim_cur = 256;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
  RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
  ::setrlimit(RLIMIT_NOFILE, &before);
  for (const auto& row : d.host.log) EXPECT_NE(row.status, "Error creating folder");
  // Walk down the written chain by relative opens, as its path is too long for one.
  int fd = ::open((dest / "#Root").c_str(), O_RDONLY | O_DIRECTORY);
  std::uint32_t depth = 0;
  for (; fd >= 0 && depth < kLevels; ++depth) {
    const int below = ::openat(fd, name(depth).c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = below;
  }
  EXPECT_EQ(depth, kLevels);
  ASSERT_GE(fd, 0);
  char text[16] = {};
  const int file = ::openat(fd, "bottom.txt", O_RDONLY);
  EXPECT_EQ(::read(file, text, sizeof text), 6);
  EXPECT_STREQ(text, "bottom");
  ::close(file);
  ::close(fd);
  EXPECT_EQ(ClosingStatus(d.host.log, d.host.log[d.host.log.size() - 3].text), "Completed");
}

}  // namespace
