// Recovery of marked, all and deleted files from byte-level images, with filters, read faults,
// stop, and names that would leave the destination.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "cdengine/commands.h"
#include "cdengine/recovery.h"
#include "file_size_limit.h"
#include "test_image.h"

using namespace cd;
using namespace cd::testing;
using namespace cd::headless;

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Bytes(const TestImage& img, std::uint32_t sector, std::size_t n) {
  return std::string(reinterpret_cast<const char*>(img.bytes.data()) + static_cast<std::size_t>(sector) * 2048, n);
}

// A destination folder of the test's own, made empty and removed after.
struct ScratchDestination {
  explicit ScratchDestination(const std::string& tag)
      : path(fs::temp_directory_path() / ("cdrec-" + tag + "-" + std::to_string(::getpid()))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchDestination() { fs::remove_all(path); }
  const fs::path path;
};

// Every regular file below ROOT, as relative paths.
std::vector<std::string> Files(const fs::path& root) {
  std::vector<std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out.push_back(fs::relative(e.path(), root).string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

struct RecoveryFixture : ::testing::Test {
  fs::path dest;
  TestImage img = StandardImage(true);
  CdHeadlessHost host;
  platform::MemoryDevice* dev = nullptr;

  void SetUp() override {
    dest = fs::temp_directory_path() / ("cdrec-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dest);
    fs::create_directories(dest);
    // Root also holds c.txt, c.TXT, readme and archive.tar.gz, all one byte long.
    img.Directory(25, 25,
                  {{TestImage::Ucs2("a.txt;1"), 30, 5000, false},
                   {TestImage::Ucs2("dir"), 26, 2048, true},
                   {TestImage::Ucs2("c.TXT;1"), 36, 1, false},
                   {TestImage::Ucs2("b.doc;1"), 36, 1, false},
                   {TestImage::Ucs2("readme;1"), 36, 1, false},
                   {TestImage::Ucs2("archive.tar.gz;1"), 36, 1, false}});
    Open();
  }
  void TearDown() override { fs::remove_all(dest); }
  void Open() {
    host.treeView.FreeNodeList();
    dev = &UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
  }
  std::uint32_t KeyOf(const std::string& name) {
    for (const auto& n : host.treeView.Nodes()) {
      if (n.name == name) return n.key;
    }
    return 0;
  }
  std::vector<std::string> Statuses() {
    std::vector<std::string> out;
    for (const auto& r : host.log) {
      if (r.activity == "Recovering file") out.push_back(fs::path(r.text).filename().string() + " " + r.status);
    }
    return out;
  }
};

TEST_F(RecoveryFixture, AllWritesTheSourceBytesBelowRoot) {
  dev->ClearReads();  // the scan reads every descriptor sector, these too
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"a.txt", "archive.tar.gz", "b.doc", "c.TXT", "dir/b.dat",
                                                            "readme"}));
  EXPECT_EQ(ReadFile(dest / "Root/a.txt"), Bytes(img, 30, 5000));
  EXPECT_EQ(ReadFile(dest / "Root/dir/b.dat"), Bytes(img, 34, 3));
  // A 5000-byte file is read in one run from its extent.
  std::vector<std::pair<std::uint64_t, std::size_t>> chunks;
  for (const auto& r : dev->Reads()) {
    if (r.first >= 30 * 2048 && r.first < 33 * 2048) chunks.push_back(r);
  }
  EXPECT_EQ(chunks, (std::vector<std::pair<std::uint64_t, std::size_t>>{{61440, 5000}}));
  EXPECT_EQ(host.log.back().activity, "Recovery Status");
  EXPECT_EQ(host.log.back().text, "Saved 6 Files in 2 Dirs");
  EXPECT_EQ(host.log.back().status, "Process Completed");
  EXPECT_EQ(host.busy, 0);
}

TEST_F(RecoveryFixture, MarkedFolderIsCopiedAndCleared) {
  host.treeView.ClickStateIcon(host.treeView.FindFolder(26)->treeItem);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"dir/b.dat"}));
  EXPECT_EQ(host.treeView.Tree().GetStateImage(host.treeView.FindFolder(26)->treeItem), controls::kStateUnchecked);
  for (const auto& n : host.treeView.Nodes()) {
    if (n.name != "Root") {
      EXPECT_EQ(n.mark, 0) << n.name;
    }
  }
  EXPECT_EQ(host.app.somethingMarked, 0);
}

TEST_F(RecoveryFixture, GreyRootCopiesOnlyMarkedFiles) {
  host.treeView.Tree().Select(host.treeView.RootItem());
  host.ClickListRow("a.txt", 30);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(Statuses(), (std::vector<std::string>{"a.txt File Recovered Successfully"}));
}

TEST_F(RecoveryFixture, FiltersIncludeAndExclude) {
  struct Case {
    std::vector<std::string> patterns;
    int include;
    std::vector<std::string> files;
  };
  const std::vector<Case> cases = {
      {{"*.txt"}, 1, {"a.txt"}},
      {{"*.txt"}, 0, {"archive.tar.gz", "b.doc", "c.TXT", "dir/b.dat", "readme"}},
      {{"readme", "*.tar.gz"}, 1, {"archive.tar.gz", "readme"}},
      {{"*.gz"}, 1, {}},  // the extension is everything after the first dot
  };
  for (const auto& c : cases) {
    fs::remove_all(dest / "Root");
    RemoveFileFilter(host.reader);
    ApplyFileFilter(host.reader, c.patterns, c.include);
    RecoverFiles(host.reader, dest.string(), kRecoverAll);
    EXPECT_EQ(Files(dest / "Root"), c.files) << c.patterns[0] << " " << c.include;
  }
  // Include with no patterns copies nothing.
  fs::remove_all(dest / "Root");
  RemoveFileFilter(host.reader);
  host.filterMode = 1;
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_TRUE(Files(dest / "Root").empty());
  EXPECT_FALSE(AddFilterPattern(host.reader, "x") && AddFilterPattern(host.reader, "x"));
}

TEST_F(RecoveryFixture, ReadFaultsGiveFillBytesAndTheirRow) {
  dev->Fail(DiscSectorAt(31), DiscSectorAt(32));       // the middle chunk of a.txt
  dev->Short(DiscSectorAt(34), DiscSectorAt(35), 2);    // b.dat comes short: 1 of its 3 bytes
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  const std::string a = ReadFile(dest / "Root/a.txt");
  ASSERT_EQ(a.size(), 5000u);
  EXPECT_EQ(a.substr(0, 2048), Bytes(img, 30, 2048));
  EXPECT_EQ(a.substr(2048, 2048), std::string(2048, '\xF6'));
  EXPECT_EQ(a.substr(4096), Bytes(img, 32, 904));
  EXPECT_EQ(ReadFile(dest / "Root/dir/b.dat"), Bytes(img, 34, 1) + "\xF6\xF6");
  const auto statuses = Statuses();
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "a.txt File Recovery Failed"), statuses.end());
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "b.dat File Recovered Partially"), statuses.end());
  // The end row counts neither as saved, and is not a plain success.
  EXPECT_EQ(host.log.back().text, "Saved 4 Files in 2 Dirs");
  EXPECT_EQ(host.log.back().status, "Process Completed, 2 Files Not Recovered Whole");
  EXPECT_EQ(host.log.back().icon, kCdIconError);
}

TEST_F(RecoveryFixture, DeletedModeFindsNothingOnAnEngineDisc) {
  RecoverFiles(host.reader, dest.string(), kRecoverDeleted);
  EXPECT_TRUE(Files(dest / "Root").empty());
  EXPECT_EQ(host.log.back().text, "Saved 0 Files in 2 Dirs");
}

TEST_F(RecoveryFixture, RecoverDeletedKeepsTheMarks) {
  host.treeView.ClickStateIcon(host.treeView.FindFolder(26)->treeItem);
  RecoverFiles(host.reader, dest.string(), kRecoverDeleted);
  EXPECT_EQ(host.treeView.Tree().GetStateImage(host.treeView.FindFolder(26)->treeItem), controls::kStateChecked);
  EXPECT_EQ(host.treeView.FindNode("b.dat", 34)->mark, 1);
  EXPECT_EQ(host.app.somethingMarked, 1);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"dir/b.dat"}));
}

// The destination takes 3000 bytes of a file: a.txt (5000 bytes) is cut.
TEST_F(RecoveryFixture, WriteFailuresAreReportedAndKeepTheirMarks) {
  const std::string result = WithFileSizeLimit(3000, [this] {
    host.treeView.ClickStateIcon(host.treeView.RootItem());
    RecoverFiles(host.reader, dest.string(), kRecoverMarked);
    std::string out;
    for (const auto& s : Statuses()) out += s + "\n";
    out += host.log.back().text + " / " + host.log.back().status + " / " + std::to_string(host.log.back().icon) + "\n";
    out += "marks a.txt " + std::to_string(host.treeView.FindNode("a.txt", 30)->mark) + " b.dat " +
           std::to_string(host.treeView.FindNode("b.dat", 34)->mark) + "\n";
    out += "root " + std::to_string(host.treeView.Tree().GetStateImage(host.treeView.RootItem())) + " dir " +
           std::to_string(host.treeView.Tree().GetStateImage(host.treeView.FindFolder(26)->treeItem)) + "\n";
    // The file not written whole is not left behind.
    out += std::string("a.txt left ") + (fs::exists(dest / "Root/a.txt") ? "yes" : "no") + "\n";
    // The next Recover Selected, on a destination with room, writes what is still marked.
    fs::remove_all(dest / "Root");
    rlimit none{};
    ::getrlimit(RLIMIT_FSIZE, &none);
    none.rlim_cur = none.rlim_max;
    ::setrlimit(RLIMIT_FSIZE, &none);
    RecoverFiles(host.reader, dest.string(), kRecoverMarked);
    for (const auto& f : Files(dest / "Root")) out += "again " + f + "\n";
    return out;
  });
  EXPECT_EQ(result,
            "a.txt File Recovery Failed\n"
            "c.TXT File Recovered Successfully\n"
            "b.doc File Recovered Successfully\n"
            "readme File Recovered Successfully\n"
            "archive.tar.gz File Recovered Successfully\n"
            "b.dat File Recovered Successfully\n"
            "Saved 5 Files in 2 Dirs / Process Completed, 1 Files Not Recovered Whole / 1\n"
            "marks a.txt 1 b.dat 0\n"
            "root 3 dir 1\n"
            "a.txt left no\n"
            "again a.txt\n");
}

TEST_F(RecoveryFixture, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram) {
  // The signal a write past the limit raises is left at its default here: recovery ignores it.
  const std::string result = WithFileSizeLimit(
      3000,
      [this] {
        RecoverFiles(host.reader, dest.string(), kRecoverAll);
        return host.log.back().status;
      },
      true);
  EXPECT_EQ(result, "Process Completed, 1 Files Not Recovered Whole");
}

TEST_F(RecoveryFixture, StopEndsAfterTheCurrentFileAndGreysItsFolder) {
  // dir gets a second file, so that Stop during its first leaves work undone.
  img.Directory(26, 25, {{TestImage::Ucs2("b.dat;1"), 34, 3, false}, {TestImage::Ucs2("z.dat;1"), 35, 3, false}});
  Open();
  host.treeView.ClickStateIcon(host.treeView.RootItem());
  const controls::TreeItem dir = host.treeView.FindFolder(26)->treeItem;
  host.onPump = [dir](CdHeadlessHost& h) {
    if (h.app.recovering && h.app.itemUnderRecovery == dir) StopCommand(h.reader);
  };
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(host.log.back().status, "Process Stopped");
  EXPECT_EQ(host.app.recoveryStopped, 1);
  EXPECT_EQ(ReadFile(dest / "Root/dir/b.dat"), Bytes(img, 34, 3));  // the file in progress is finished
  EXPECT_FALSE(fs::exists(dest / "Root/dir/z.dat"));
  EXPECT_EQ(host.treeView.Tree().GetStateImage(dir), controls::kStatePartly);
  EXPECT_EQ(host.treeView.FindFolder(26)->mark, 2);
}

// Folders named like the tree's root: /Root/f, /Root/sub/g, /docs/a.txt, /docs/Root/a.txt.
struct RootNamedFolders : ::testing::Test {
  TestImage img{40};
  CdHeadlessHost host;
  fs::path dest;
  void SetUp() override {
    img.Descriptor(16, 1, 23, 2048);
    img.Terminator(17);
    img.Directory(23, 23, {{"Root", 24, 2048, true}, {"docs", 25, 2048, true}});
    img.Directory(24, 23, {{"f;1", 30, 100, false}, {"sub", 26, 2048, true}});
    img.Directory(26, 24, {{"g;1", 31, 2100, false}});
    img.Directory(25, 23, {{"a.txt;1", 33, 300, false}, {"Root", 27, 2048, true}});
    img.Directory(27, 25, {{"a.txt;1", 34, 400, false}});
    img.Fill(30, 100, 1);
    img.Fill(31, 2100, 2);
    img.Fill(33, 300, 3);
    img.Fill(34, 400, 4);
    dest = fs::temp_directory_path() / ("cdrec-rootnamed-" + std::to_string(::getpid()));
    fs::remove_all(dest);
    fs::create_directories(dest);
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
  }
  void TearDown() override { fs::remove_all(dest); }
  // Paths with the size and a digest of the bytes.
  static std::string Digest(const std::string& bytes) {
    return std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
  }
  std::map<std::string, std::string> Source(bool all) {
    std::map<std::string, std::string> want{{"Root/f", Digest(Bytes(img, 30, 100))},
                                            {"Root/sub/g", Digest(Bytes(img, 31, 2100))},
                                            {"docs/Root/a.txt", Digest(Bytes(img, 34, 400))}};
    if (all) want["docs/a.txt"] = Digest(Bytes(img, 33, 300));
    return want;
  }
  std::map<std::string, std::string> Written() {
    std::map<std::string, std::string> out;
    for (const auto& f : Files(dest / "Root")) out[f] = Digest(ReadFile(dest / "Root" / f));
    return out;
  }
  controls::TreeItem Item(std::uint32_t key) { return host.treeView.FindFolder(key)->treeItem; }
  int Image(std::uint32_t key) { return host.treeView.Tree().GetStateImage(Item(key)); }
};

TEST_F(RootNamedFolders, RecoverAllWritesThemAsFolders) {
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_EQ(Written(), Source(true));
  EXPECT_EQ(host.log.back().text, "Saved 4 Files in 5 Dirs");
}

TEST_F(RootNamedFolders, MarksSpreadAndRecoverSelectedWritesTheMarked) {
  host.treeView.Tree().Select(host.treeView.RootItem());
  // The top-level "Root": everything below it is marked, the tree's root becomes partly checked,
  // and of the rows of the root only its own row changes.
  host.treeView.ClickStateIcon(Item(24));
  EXPECT_EQ(Image(26), controls::kStateChecked);
  EXPECT_EQ(host.treeView.FindNode("g", 31)->mark, 1);
  EXPECT_EQ(host.treeView.Tree().GetStateImage(host.treeView.RootItem()), controls::kStatePartly);
  for (const auto& row : host.rows) EXPECT_EQ(row.image, row.name == "Root" ? 3 : 2) << row.name;
  // The nested "Root" makes docs partly checked.
  host.treeView.ClickStateIcon(Item(27));
  EXPECT_EQ(Image(25), controls::kStatePartly);
  EXPECT_EQ(host.treeView.FindNode("a.txt", 33)->mark, 0);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Written(), Source(false));
  EXPECT_EQ(host.log.back().status, "Process Completed");
  // Unchecking the top-level "Root" again clears its subtree and settles the root.
  host.treeView.ClickStateIcon(Item(24));
  host.treeView.ClickStateIcon(Item(24));
  EXPECT_EQ(Image(26), controls::kStateUnchecked);
  EXPECT_EQ(host.treeView.Tree().GetStateImage(host.treeView.RootItem()), controls::kStateUnchecked);
}

// Hard links and empty files, as xorriso records them: /a and /b each hold x.txt (one extent) and
// the empty e (one extent for all empty files). Recover Selected writes the entries ticked.
TEST(SharedExtents, RecoverSelectedWritesTheEntriesTicked) {
  TestImage img(40);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {{"a", 24, 2048, true}, {"b", 25, 2048, true}});
  for (std::uint32_t folder : {24u, 25u}) img.Directory(folder, 23, {{"e;1", 31, 0, false}, {"x.txt;1", 30, 6, false}});
  img.Fill(30, 6, 9);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  const ScratchDestination scratch("shared");
  const fs::path& dest = scratch.path;
  host.treeView.Tree().Select(host.treeView.FindFolder(25)->treeItem);
  host.ClickListRow("x.txt", 30);
  host.ClickListRow("e", 31);
  EXPECT_EQ(host.treeView.CountFiles(0), 2);
  RecoverFiles(host.reader, dest.string(), kRecoverMarked);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"b/e", "b/x.txt"}));
  EXPECT_EQ(ReadFile(dest / "Root/b/x.txt"), Bytes(img, 30, 6));
  EXPECT_EQ(host.log.back().text, "Saved 2 Files in 2 Dirs");  // Root and b
  for (const auto& n : host.treeView.Nodes()) {
    if (n.type == 1) {
      EXPECT_EQ(n.mark, 0) << n.name << " in " << n.parentKey;
    }
  }
}

// BIG.DAT in three extents (not in disc order), a file whose further extent never comes (CUT.DAT,
// followed by another name), and one whose directory ends before its last extent (END.DAT).
TEST(SeveralExtents, FileIsOneEntryAndOneRecoveredFile) {
  TestImage img(48);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23,
                {{"BIG.DAT;1", 30, 2048, false, 0x80},
                 {"BIG.DAT;1", 35, 2048, false, 0x80},
                 {"BIG.DAT;1", 32, 1000, false},
                 {"CUT.DAT;1", 38, 2048, false, 0x80},
                 {"NEXT.TXT;1", 40, 10, false},
                 {"END.DAT;1", 41, 2048, false, 0x80}});
  img.Fill(30, 2048, 1);
  img.Fill(35, 2048, 2);
  img.Fill(32, 1000, 3);
  img.Fill(38, 2048, 4);
  img.Fill(40, 10, 5);
  img.Fill(41, 2048, 6);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  std::vector<std::string> nodes;
  for (const auto& n : host.treeView.Nodes()) nodes.push_back(n.name + " " + std::to_string(n.key) + " " + std::to_string(n.size));
  EXPECT_EQ(nodes, (std::vector<std::string>{"Root 0 0", "BIG.DAT 30 5096", "CUT.DAT 38 2048", "NEXT.TXT 40 10",
                                             "END.DAT 41 2048"}));
  EXPECT_EQ(host.TotalsPane(), "   Total 9 KB in 4 Files in 0 Folders");

  const ScratchDestination scratch("extents");
  const fs::path& dest = scratch.path;
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_EQ(Files(dest / "Root"), (std::vector<std::string>{"BIG.DAT", "CUT.DAT", "END.DAT", "NEXT.TXT"}));
  EXPECT_TRUE(ReadFile(dest / "Root/BIG.DAT") == Bytes(img, 30, 2048) + Bytes(img, 35, 2048) + Bytes(img, 32, 1000));
  EXPECT_TRUE(ReadFile(dest / "Root/CUT.DAT") == Bytes(img, 38, 2048));
  EXPECT_TRUE(ReadFile(dest / "Root/NEXT.TXT") == Bytes(img, 40, 10));
  int bigRows = 0;
  for (const auto& row : host.log) {
    if (row.text.ends_with("/BIG.DAT")) {
      ++bigRows;
      EXPECT_EQ(row.status, "File Recovered Successfully");
    }
  }
  EXPECT_EQ(bigRows, 1);
  EXPECT_EQ(host.log.back().text, "Saved 4 Files in 1 Dirs");
}

// BIG.BIN: 3 MiB and 1000 bytes from sector 40. It is read in runs of 1 MiB; a run that fails or
// comes short is read again sector by sector from the first sector it did not deliver, so that a
// bad sector costs only its own 2048 bytes.
TEST(RecoveryRuns, ALargeFileIsReadInRunsAndABadSectorCostsOnlyItself) {
  constexpr std::uint32_t kStart = 40, kBad = kStart + 600;  // in the second run
  constexpr std::size_t kSize = (3u << 20) + 1000, kRun = 1u << 20;
  TestImage img(kStart + kSize / 2048 + 1);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {{"BIG.BIN;1", kStart, static_cast<std::uint32_t>(kSize), false}});
  for (std::size_t i = 0; i < kSize; ++i) img.bytes[kStart * 2048 + i] = static_cast<std::uint8_t>(i * 7 + i / 2039);
  const std::string source = Bytes(img, kStart, kSize);
  std::string withHole = source;
  withHole.replace((kBad - kStart) * 2048, 2048, std::string(2048, '\xF6'));
  const std::uint64_t at = DiscSectorAt(kStart);
  using Reads = std::vector<platform::MemoryDevice::Read>;
  const Reads whole{{at, kRun}, {at + kRun, kRun}, {at + 2 * kRun, kRun}, {at + 3 * kRun, 1000}};
  struct Case {
    const char* fault;  // "", "fail": every read touching kBad fails, "bad": as on a drive
    std::string bytes;
    const char* status;
    std::size_t readsOfBad, readsBeforeBad;  // reads touching kBad, and kBad - 1
  };
  const Case cases[] = {
      {"", source, "File Recovered Successfully", 1, 1},
      // The second run fails whole: each of its sectors is read alone, kBad with its retries.
      {"fail", withHole, "File Recovery Failed", 1 + kReadAttempts, 2},
      // The second run delivers up to kBad: those sectors are kept, the rest read alone.
      {"bad", withHole, "File Recovery Failed", 1 + kReadAttempts, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    CdHeadlessHost host;
    platform::MemoryDevice& dev = UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    if (std::string(c.fault) == "fail") dev.Fail(DiscSectorAt(kBad), DiscSectorAt(kBad + 1));
    if (std::string(c.fault) == "bad") dev.Bad(DiscSectorAt(kBad), DiscSectorAt(kBad + 1));
    dev.ClearReads();
    const ScratchDestination scratch("runs");
    const fs::path& dest = scratch.path;
    RecoverFiles(host.reader, dest.string(), kRecoverAll);
    EXPECT_TRUE(ReadFile(dest / "Root/BIG.BIN") == c.bytes);
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[host.log.size() - 2].status, c.status);
    EXPECT_EQ(dev.ReadsOf(DiscSectorAt(kBad), DiscSectorAt(kBad + 1)), c.readsOfBad);
    EXPECT_EQ(dev.ReadsOf(DiscSectorAt(kBad - 1), DiscSectorAt(kBad)), c.readsBeforeBad);
    Reads runs;  // the reads of the first, third and fourth runs
    for (const auto& r : dev.Reads()) {
      if (r.first >= at && (r.first < at + kRun || r.first >= at + 2 * kRun)) runs.push_back(r);
    }
    EXPECT_EQ(runs, (Reads{whole[0], whole[2], whole[3]}));
    std::size_t secondRun = 0;
    for (const auto& r : dev.Reads()) secondRun += r.first >= at + kRun && r.first < at + 2 * kRun ? 1 : 0;
    EXPECT_EQ(secondRun, std::string(c.fault).empty() ? 1u : std::string(c.fault) == "fail" ? 1 + 512 + 2u : 1 + 512 - 88 + 2u);
  }
}

// A disc whose volume is 100 sectors and whose root holds ENTRIES; it is cut after 60 sectors by
// the caller (an image copied short, a disc read short). Sectors 30 and 50 on hold the bytes of
// the files there.
constexpr std::uint32_t kCutVolume = 100, kCut = 60;
TestImage CutDiscOf(const std::vector<TestImage::Entry>& entries) {
  TestImage img(kCutVolume);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, entries);
  img.Fill(30, 3000, 1);
  img.Fill(50, 20 * 2048, 2);
  return img;
}

// cross.bin runs from sector 50 to 70: it is written at its size, with 0xF6 past the cut.
// past.bin lies wholly past the cut: nothing of it is on the medium, and no file is left for it.
// claim.bin claims more than the volume holds: it is written as far as the medium holds it.
TEST(CutDisc, FilesAreWrittenAtTheirSizeWithinTheVolumeAndNotAtAllPastTheCut) {
  TestImage img = CutDiscOf({{"WHOLE.TXT;1", 30, 3000, false},
                             {"CROSS.BIN;1", 50, 20 * 2048 - 100, false},
                             {"PAST.BIN;1", 80, 4000, false},
                             {"EMPTY;1", 90, 0, false},
                             {"CLAIM.BIN;1", 55, 200 * 2048, false}});
  img.bytes.resize(kCut * 2048);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  const ScratchDestination scratch("cut");
  const fs::path& dest = scratch.path;
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  std::string rows;
  for (const auto& r : host.log) {
    if (r.activity != "Recovering file") continue;
    const fs::path p(r.text);
    rows += p.filename().string() + " " + (fs::exists(p) ? std::to_string(fs::file_size(p)) : "none") + " " + r.status + "\n";
  }
  EXPECT_EQ(rows,
            "WHOLE.TXT 3000 File Recovered Successfully\n"
            "CROSS.BIN 40860 File Recovered Partially\n"
            "PAST.BIN none File Recovery Failed\n"
            "EMPTY 0 File Recovered Successfully\n"
            "CLAIM.BIN 10240 File Recovered Partially\n");
  EXPECT_TRUE(ReadFile(dest / "Root/WHOLE.TXT") == Bytes(img, 30, 3000));
  EXPECT_TRUE(ReadFile(dest / "Root/CROSS.BIN") == Bytes(img, 50, 10 * 2048) + std::string(10 * 2048 - 100, '\xF6'));
  EXPECT_TRUE(ReadFile(dest / "Root/CLAIM.BIN") == Bytes(img, 55, 5 * 2048));
  EXPECT_EQ(host.log.back().text, "Saved 2 Files in 1 Dirs");
  EXPECT_EQ(host.log.back().status, "Process Completed, 3 Files Not Recovered Whole");
}

// A disc whose descriptors are gone has no recorded volume size: one read before it does not lend it
// its own. A file that runs past this disc's end is bounded by the medium, not padded to the size
// the earlier disc's volume would have allowed.
TEST(CutDisc, ADiscWithoutDescriptorsKeepsNoVolumeSizeFromTheDiscBefore) {
  const TestImage img = CutDiscOf({{"CROSS.BIN;1", 50, 20 * 2048 - 100, false}});
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  TestImage bare = img;
  std::memset(bare.Sector(16), 0, 2 * 2048);
  bare.bytes.resize(kCut * 2048);
  UseDevice(host, bare.bytes);
  OpenDriveCommand(host.reader);
  const ScratchDestination dest("bare");
  RecoverFiles(host.reader, dest.path.string(), kRecoverAll);
  EXPECT_TRUE(ReadFile(dest.path / "Root/CROSS.BIN") == Bytes(img, 50, 10 * 2048));
}

// A hostile disc: four f0.txt in the root, and two folders d each holding x.txt (one destination
// folder), and a file really named like the first copy. Each is written, none over another, and a
// second recovery into the same destination replaces them rather than adding copies.
TEST(RecoveryNames, SiblingsOfOneNameAreWrittenUnderDistinctNames) {
  TestImage img(50);
  img.Descriptor(16, 2, 20, 2048);
  img.Terminator(17);
  const auto u = [](const std::string& s) { return TestImage::Ucs2(s); };
  img.Directory(20, 20,
                {{u("f0.txt;1"), 30, 12, false},
                 {u("f0.txt;1"), 31, 12, false},
                 {u("f0.txt;1"), 32, 12, false},
                 {u("Copy_31_f0.txt;1"), 33, 12, false},
                 {u("f0.txt;1"), 34, 12, false},
                 {u("d"), 21, 2048, true},
                 {u("d"), 22, 2048, true}});
  img.Directory(21, 20, {{u("x.txt;1"), 35, 5, false}});
  img.Directory(22, 20, {{u("x.txt;1"), 36, 5, false}});
  for (std::uint32_t s = 30; s <= 36; ++s) img.Fill(s, 12, static_cast<std::uint8_t>(s));
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  const ScratchDestination scratch("same");
  const fs::path& dest = scratch.path;
  const std::map<std::string, std::string> want{{"f0.txt", Bytes(img, 30, 12)},
                                                {"Copy_31_f0.txt", Bytes(img, 31, 12)},
                                                {"Copy_32_f0.txt", Bytes(img, 32, 12)},
                                                {"Copy_33_Copy_31_f0.txt", Bytes(img, 33, 12)},
                                                {"Copy_34_f0.txt", Bytes(img, 34, 12)},
                                                {"d/x.txt", Bytes(img, 35, 5)},
                                                {"d/Copy_36_x.txt", Bytes(img, 36, 5)}};
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    host.log.clear();
    RecoverFiles(host.reader, dest.string(), kRecoverAll);
    std::map<std::string, std::string> got;
    for (const auto& f : Files(dest / "Root")) got[f] = ReadFile(dest / "Root" / f);
    EXPECT_EQ(got, want);
    int rows = 0;
    for (const auto& r : host.log) {
      if (r.activity != "Recovering file") continue;
      ++rows;
      EXPECT_EQ(r.status, "File Recovered Successfully") << r.text;
    }
    EXPECT_EQ(rows, 7);
  }
}

TEST(RecoveryNames, UnsafeNamesStayInsideTheDestination) {
  TestImage img(40);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23,
                {{"..", 24, 2048, true},
                 {"../../escape;1", 30, 4, false},
                 {".;1", 31, 4, false},
                 {";1", 32, 4, false},
                 {"/etc/passwd;1", 33, 4, false},
                 {"LINK", 25, 2048, true}});
  img.Directory(24, 23, {{"inner;1", 34, 4, false}});
  // LINK's name is taken in the destination by a link to somewhere else.
  img.Directory(25, 23, {{"out;1", 35, 4, false}, {"DEEPER", 26, 2048, true}});
  img.Directory(26, 25, {{"deep;1", 36, 4, false}});
  const fs::path dest = fs::temp_directory_path() / ("cdrec-names-" + std::to_string(::getpid()));
  const fs::path elsewhere = dest / "elsewhere";
  fs::remove_all(dest);
  fs::create_directories(dest / "Root");
  fs::create_directories(elsewhere);
  fs::create_symlink(elsewhere, dest / "Root/LINK");
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_EQ(Files(dest / "Root"),
            (std::vector<std::string>{".._.._escape", "Extent #24/inner", "Extent #31", "Extent #32", "_etc_passwd"}));
  EXPECT_FALSE(fs::exists(dest / "escape"));
  EXPECT_TRUE(fs::is_empty(elsewhere));
  int linkRows = 0;
  for (const auto& row : host.log) {
    if (row.text.find("/LINK/") != std::string::npos) {
      ++linkRows;
      EXPECT_EQ(row.status, "File Recovery Failed") << row.text;  // written nowhere
    }
  }
  EXPECT_EQ(linkRows, 2);
  fs::remove_all(dest);
}

TEST(RecoveryNames, PathsPastPathMaxAndNamesPast255BytesAreWritten) {
  // Root (20) holds a file named with 105 three-byte characters (315 bytes in UTF-8) and the first
  // of 45 nested folders of 100-character names (a path of over 4,500 bytes); the last holds deep.txt.
  constexpr std::uint32_t kLevels = 45;
  TestImage img(100);
  img.Descriptor(16, 2, 20, 2048);
  img.Terminator(17);
  std::string wide;
  for (int i = 0; i < 105; ++i) wide += std::string("\x65\xE5", 2);
  const std::string folder(100, 'd');
  img.Directory(20, 20, {{wide + TestImage::Ucs2(";1"), 90, 30, false}, {TestImage::Ucs2(folder), 21, 2048, true}});
  for (std::uint32_t level = 0; level < kLevels; ++level) {
    const std::uint32_t here = 21 + level, parent = level == 0 ? 20 : here - 1;
    if (level + 1 < kLevels) {
      img.Directory(here, parent, {{TestImage::Ucs2(folder), here + 1, 2048, true}});
    } else {
      img.Directory(here, parent, {{TestImage::Ucs2("deep.txt;1"), 91, 50, false}});
    }
  }
  img.Fill(90, 30, 4);
  img.Fill(91, 50, 8);
  const ScratchDestination scratch("long");
  const fs::path& dest = scratch.path;
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_EQ(host.log.back().text, "Saved 2 Files in 46 Dirs");
  EXPECT_EQ(host.log.back().status, "Process Completed");
  // Read back by descending one folder at a time: the whole path is too long to open.
  auto readAt = [](int dirFd, const std::string& name) {
    std::string out;
    const int fd = ::openat(dirFd, name.c_str(), O_RDONLY);
    char buffer[256];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
    if (fd >= 0) ::close(fd);
    return out;
  };
  int dirFd = ::open((dest / "Root").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(dirFd, 0);
  std::string shortened;
  for (const auto& e : fs::directory_iterator(dest / "Root")) {
    if (e.is_regular_file()) shortened = e.path().filename().string();
  }
  EXPECT_LE(shortened.size(), 255u);
  EXPECT_EQ(shortened.rfind("\xE6\x97\xA5\xE6\x97\xA5", 0), 0u) << shortened;
  EXPECT_EQ(readAt(dirFd, shortened), Bytes(img, 90, 30));
  for (std::uint32_t level = 0; level < kLevels && dirFd >= 0; ++level) {
    const int next = ::openat(dirFd, folder.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(dirFd);
    dirFd = next;
  }
  ASSERT_GE(dirFd, 0);
  EXPECT_EQ(readAt(dirFd, "deep.txt"), Bytes(img, 91, 50));
  ::close(dirFd);
}

TEST(SafeOutputName, Table) {
  EXPECT_EQ(SafeOutputName("", 5), "Extent #5");
  EXPECT_EQ(SafeOutputName(".", 5), "Extent #5");
  EXPECT_EQ(SafeOutputName("..", 5), "Extent #5");
  EXPECT_EQ(SafeOutputName("a/b", 5), "a_b");
  EXPECT_EQ(SafeOutputName(std::string("a\0b", 3), 5), "a_b");
  EXPECT_EQ(SafeOutputName("...", 5), "...");
}

}  // namespace
