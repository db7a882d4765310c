// Recovery into a destination folder, and the name filters.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ext2engine/recovery.h"
#include "walk_fixture.h"

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

class Recovery : public ::testing::Test {
 protected:
  void SetUp() override {
    dest = fs::temp_directory_path() / ("qv_recovery_" + std::to_string(::getpid()));
    fs::remove_all(dest);
    fs::create_directories(dest);
  }
  void TearDown() override { fs::remove_all(dest); }
  fs::path dest;
};

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
    EXPECT_FALSE(fs::exists(out / "#Root/empty"));  // empty files are left out
    EXPECT_EQ(d.drive.recoveredFileCount, 3u);
    EXPECT_EQ(d.host.log[d.host.log.size() - 1].status, "Completed");
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
    int answer;  // index of the decision
    const char* expectFile;
    const char* expectOld;
  } cases[] = {
      {0, nullptr, "old"},             // Skip All
      {3, nullptr, "old"},             // Skip
      {4, nullptr, nullptr},           // OverWrite: a.txt holds the recovered bytes
      {2, "Copy1_13_a.txt", "old"},    // Rename All, with Copy_13_a.txt taken
      {5, "Copy1_13_a.txt", "old"},    // Rename, taking the dialog's proposal
  };
  for (const auto& c : cases) {
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    d.host.onExists = c.answer;
    const fs::path out = dest / std::to_string(c.answer);
    fs::create_directories(out / "#Root/docs");
    std::ofstream(out / "#Root/docs/a.txt") << "old";
    std::ofstream(out / "#Root/docs/Copy_13_a.txt") << "taken";
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    EXPECT_EQ(ReadFile(out / "#Root/docs/a.txt"), c.expectOld ? c.expectOld : a) << c.answer;
    if (c.expectFile) {
      EXPECT_EQ(ReadFile(out / "#Root/docs" / c.expectFile), a) << c.answer;
    }
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), b) << c.answer;
  }
}

TEST_F(Recovery, ReadErrorsWriteZerosAndAreLogged) {
  for (std::uint8_t mode : {1, 0}) {
    std::string a, b;
    OpenedDrive d(SmallTree(a, b).bytes);
    d.Build();
    App().readMode = mode;
    App().readRetryCount = 2;
    d.disk->badSectors = {110 * 2 + 1};  // second sector of b.bin's first block
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    d.disk->readLog.clear();
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    // Sector mode asks for the file data a sector at a time, so the bad sector costs only its own
    // attempts; block mode asks for whole blocks.
    int badReads = 0;
    for (const auto& [position, bytes] : d.disk->readLog) {
      if (position >= 100 * 1024 && position < 130 * 1024) {
        EXPECT_EQ(bytes, mode == 1 ? 512u : 1024u) << "read at " << position;
      }
      badReads += position <= 221 * 512 && 221 * 512 < position + bytes;
    }
    EXPECT_EQ(badReads, 2) << "read mode " << int(mode);  // the retry count
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
  }
}

// A block the device cannot deliver (past the end of a cut image: the read comes back empty but
// counts as success) is written as zeros, not as what the buffer held from the block before.
TEST_F(Recovery, BlockPastTheEndOfACutImageIsWrittenAsZeros) {
  for (std::uint8_t mode : {1, 0}) {
    std::string a, b;
    TinyExt2 fs = SmallTree(a, b);
    fs.SetInode(14, 0x81A4, 2049, {110, 600, 112}, 1600000000);  // the image holds 512 blocks
    OpenedDrive d(fs.bytes);
    d.Build();
    App().readMode = mode;
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    std::string expect = b;
    std::fill(expect.begin() + 1024, expect.begin() + 2048, '\0');
    EXPECT_EQ(ReadFile(out / "#Root/docs/b.bin"), expect) << "read mode " << int(mode);
  }
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
  fs.Record(40, 36, 13, 1024 - 36, "link", 7);
  const std::string data = Pattern(3 * 1024, 5);
  fs.SetInode(12, 0x81A4, 0xC0000000u, PutData(fs, 100, data));  // 3 GiB, but only three blocks listed
  fs.SetInode(13, 0xA1FF, 11, {});
  const std::string target = "target/file";
  std::copy(target.begin(), target.end(), fs.bytes.begin() + static_cast<std::ptrdiff_t>(fs.InodeAt(13) + 40));
  OpenedDrive d(fs.bytes);
  d.Build();
  RecoverFiles(d.host, d.drive, kRecoverAll, dest.string());
  EXPECT_EQ(ReadFile(dest / "#Root/big"), data);  // written up to where the block list ends
  EXPECT_EQ(ReadFile(dest / "#Root/link"), target);
}

// Zero pointers inside a file's size are holes written as zeros, direct ones, entries of an
// indirect block and whole indirect pointers, when data follows. Trailing zeros and all-zero
// pointers (an ext3 deleted inode) write no zeros. Folder block lists still end at the first zero.
TEST_F(Recovery, SparseFilesHaveTheirHolesWrittenAsZeros) {
  constexpr std::uint32_t kB = 1024;
  TinyExt2 fs(512);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 16, "holes", 1);
  fs.Record(40, 40, 13, 16, "far", 1);
  fs.Record(40, 56, 14, 16, "tail", 1);
  fs.Record(40, 72, 15, 1024 - 72, "wiped", 1);
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
  // tail: one data block, then a trailing hole; wiped: every pointer zero.
  const std::string head = Pattern(kB, 10);
  fs.SetInode(14, 0x81A4, 3 * kB, PutData(fs, 310, head));
  fs.File(15, 5000);
  for (std::uint8_t mode : {1, 0}) {
    OpenedDrive d(fs.bytes);
    d.Build();
    App().readMode = mode;
    const fs::path out = dest / std::to_string(mode);
    fs::create_directories(out);
    RecoverFiles(d.host, d.drive, kRecoverAll, out.string());
    EXPECT_TRUE(ReadFile(out / "#Root/holes") == holes) << "read mode " << int(mode);  // no 270 KiB dumps
    EXPECT_TRUE(ReadFile(out / "#Root/far") == far) << "read mode " << int(mode);
    EXPECT_EQ(ReadFile(out / "#Root/tail"), head) << "read mode " << int(mode);
    EXPECT_EQ(ReadFile(out / "#Root/wiped"), "") << "read mode " << int(mode);
    for (const auto& row : d.host.log) EXPECT_NE(row.text, "Disk read error, file may not be completely recovered");
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
    d.host.onExists = 4;  // overwrite
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
    EXPECT_EQ(d.host.log.back().text, c.endRow);
    EXPECT_EQ(d.host.log.back().status.rfind("Completed on ", 0), 0u);
    EXPECT_EQ(d.host.log.back().icon, kIconAborted);
    // Only c.txt, where it could be written, joins the file that was in the way.
    std::size_t files = 0;
    for (const auto& p : fs::recursive_directory_iterator(out)) files += p.is_regular_file();
    EXPECT_EQ(files, c.folderInTheWay ? 1u : 2u);
    EXPECT_EQ(c.folderInTheWay ? fs::is_directory(out / "#Root/c.txt") : ReadFile(out / "#Root/c.txt") == "z", true);
  }
  // A recovery that wrote everything ends as it always did, without that row.
  std::string a, b;
  OpenedDrive d(SmallTree(a, b).bytes);
  d.Build();
  fs::create_directories(dest / "3");
  ASSERT_EQ(RecoverFiles(d.host, d.drive, kRecoverAll, (dest / "3").string()), 1);
  EXPECT_EQ(d.host.log.back().status, "Completed");
}

}  // namespace
