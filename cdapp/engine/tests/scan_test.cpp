// The disc scan: descriptor choice, the breadth-first walk, path tables and raw scans, on
// byte-level images with faults and hostile structures.
#include <gtest/gtest.h>

#include "cdengine/commands.h"
#include "cdengine/log_time.h"
#include "cdengine/path_tables.h"
#include "cdengine/volume_reading.h"
#include "test_image.h"

using namespace cd;
using namespace cd::testing;
using namespace cd::headless;

namespace {

// "parent/key name" of every node but Root, in list order.
std::vector<std::string> Listing(const CdHeadlessHost& host) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i < host.treeView.Nodes().size(); ++i) {
    const auto& n = host.treeView.Nodes()[i];
    out.push_back(std::to_string(n.parentKey) + "/" + std::to_string(n.key) + " " + n.name);
  }
  return out;
}

std::vector<std::string> LogTexts(const CdHeadlessHost& host) {
  std::vector<std::string> out;
  for (const auto& row : host.log) out.push_back(row.text);
  return out;
}

TEST(ScanDisc, PrefersJolietWhateverTheOrder) {
  for (bool jolietFirst : {false, true}) {
    TestImage img = StandardImage(true);
    if (jolietFirst) {
      std::vector<std::uint8_t> pvd(img.Sector(16), img.Sector(17));
      std::memmove(img.Sector(16), img.Sector(17), 2048);
      std::memcpy(img.Sector(17), pvd.data(), 2048);
    }
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/30 a.txt", "0/26 dir", "26/34 b.dat"})) << jolietFirst;
    EXPECT_EQ(host.reader.volumeSpaceSize, 40u);
    EXPECT_EQ(host.treeView.Nodes()[1].size, 5000u);
    EXPECT_EQ(host.treeView.Nodes()[1].date[0], 120);
    EXPECT_EQ(host.treeView.Nodes()[1].time[0], 10);
  }
}

TEST(ScanDisc, JolietDescriptorReadShortFallsBackToPrimary) {
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, StandardImage(true).bytes);
  dev.Short(DiscSectorAt(17), DiscSectorAt(18), 1024);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/30 A.TXT", "0/24 DIR", "24/34 B.DAT"}));
}

TEST(ScanDisc, PrimaryAfterAnEarlyTerminatorIsFound) {
  TestImage img = StandardImage(false);
  std::memcpy(img.Sector(20), img.Sector(16), 2048);
  std::memset(img.Sector(16), 0, 2048);
  img.Terminator(17);
  std::memset(img.Sector(19), 0, 2048);  // its path table is not needed
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host).size(), 3u);
}

TEST(ScanDisc, EmptyRootGivesStartEndAndNothingFoundRows) {
  TestImage img(30);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {});
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  SetCdClock([] { return CdTime{2026, 12, 6, 0, 8, 5, 3}; });  // a Sunday
  OpenDriveCommand(host.reader);
  SetCdClock(nullptr);
  EXPECT_TRUE(host.treeView.Nodes().empty());
  EXPECT_EQ(LogTexts(host),
            (std::vector<std::string>{"Process started", "Process completed ", "No files or folders found"}));
  EXPECT_EQ(host.messages.back().text, "No files or folders found on the CDROM");
  EXPECT_EQ(host.log[0].status, "Started Sunday, December 6 2026 at 8-5-3");
  EXPECT_EQ(host.log[1].icon, kCdIconDone);
  EXPECT_EQ(host.barSteps, 9999u);  // EndProgress(1) fills the bar from 1
}

TEST(ScanDisc, DirectoryOfThreeSectorsWithASectorFilledExactly) {
  TestImage img(60);
  img.Descriptor(16, 1, 23, 3 * 2048);
  img.Terminator(17);
  // Sector 23: "." and ".." and a few records; sector 24 filled to its last byte; sector 25 one more.
  std::uint8_t* d = img.Sector(23);
  std::size_t pos = TestImage::Record(d, 23, 3 * 2048, true, std::string(1, '\0'));
  pos += TestImage::Record(d + pos, 23, 3 * 2048, true, std::string(1, '\1'));
  pos += TestImage::Record(d + pos, 40, 1, false, "F0;1");
  std::uint8_t* s = img.Sector(24);
  // 2048 = 15 records of 128 + one of 128: names of 94 bytes give records of 33 + 94 + 1 = 128.
  int n = 0;
  for (std::size_t p = 0; p < 2048; ++n) p += TestImage::Record(s + p, 41, 1, false, std::string("G").append(90, 'x').append(std::to_string(100 + n)));
  TestImage::Record(img.Sector(25), 42, 1, false, "H;1");
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host).size(), static_cast<std::size_t>(1 + n + 1));
  EXPECT_EQ(host.treeView.Nodes().back().name, "H");
}


// A folder of 200 sectors: 4,000 files of two extents, whose two records lie in different sectors
// from the second sector on, then a folder with one file. The walk takes it whole. A sector that
// holds the fill, fails to read, or is unreadable where a long read reaches into it from before
// costs only the records it holds: every other sector's records are listed, the first one's too,
// with a row for each sector that does not read.
TEST(ScanDisc, ALargeFolderIsWalkedWholeAcrossItsSectors) {
  constexpr std::uint32_t kBig = 30, kBigSectors = 200, kSub = 240, kPairs = 4000;
  auto name = [](std::uint32_t k) {
    char text[16];
    std::snprintf(text, sizeof text, "F%05u.DAT;1", k);
    return std::string(text);
  };
  TestImage img(250);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {{"BIG", kBig, kBigSectors * 2048, true}});
  std::vector<TestImage::Entry> entries;
  for (std::uint32_t k = 0; k < kPairs; ++k) {
    entries.push_back({name(k), 1000 + 2 * k, 2048, false, 0x80});
    entries.push_back({name(k), 1001 + 2 * k, 100, false});
  }
  entries.push_back({"SUB", kSub, 2048, true});
  img.Directory(kBig, 23, entries, kBigSectors);
  img.Directory(kSub, kBig, {{"LAST.TXT;1", 245, 1, false}});
  // The pair whose second record begins sector S of BIG.
  auto pairAt = [&](std::uint32_t s) {
    const std::uint8_t* rec = img.Sector(kBig + s);
    EXPECT_EQ(rec[25] & 0x80, 0) << s;  // a last extent
    return static_cast<std::uint32_t>(std::stoul(std::string(reinterpret_cast<const char*>(rec + 34), 5)));
  };
  ASSERT_LT(pairAt(180), kPairs);

  {
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    const auto& nodes = host.treeView.Nodes();
    ASSERT_EQ(nodes.size(), 1 + 1 + kPairs + 1 + 1u);
    for (std::uint32_t k = 0; k < kPairs; ++k) {
      const TreeItemNode& file = nodes[2 + k];
      ASSERT_EQ(file.name, name(k).substr(0, 10));
      ASSERT_EQ(file.size, 2148u) << k;
      ASSERT_EQ(std::distance(file.sections.begin(), file.sections.end()), 2) << k;
    }
    EXPECT_EQ(nodes[2 + kPairs].name, "SUB");
    EXPECT_EQ(nodes.back().name, "LAST.TXT");
    EXPECT_EQ(nodes.back().parentKey, kSub);
  }
  // The names whose records lie in the sectors of BIG other than LOST, in order.
  auto namesOutside = [&](std::uint32_t lost) {
    std::vector<std::string> names;
    for (std::uint32_t s = 0; s < kBigSectors; ++s) {
      const std::uint8_t* sector = img.Sector(kBig + s);
      for (std::size_t pos = s == 0 ? 68 : 0; pos < 2048 && sector[pos] != 0; pos += sector[pos]) {
        std::string n(reinterpret_cast<const char*>(sector + pos + 33), sector[pos + 32]);
        n = n.substr(0, n.find(';'));
        if (s != lost && (names.empty() || names.back() != n)) names.push_back(n);
      }
    }
    return names;
  };
  enum class Damage { Fill, Fails, ReachedInto };
  for (const auto& [s, damage] : std::vector<std::pair<std::uint32_t, Damage>>{
           {0, Damage::Fails}, {63, Damage::Fill}, {64, Damage::Fails}, {65, Damage::ReachedInto},
           {70, Damage::ReachedInto}, {150, Damage::Fill}, {199, Damage::Fails}}) {
    TestImage cut = img;
    if (damage == Damage::Fill) std::fill(cut.Sector(kBig + s), cut.Sector(kBig + s) + 2048, kFillByte);
    CdHeadlessHost host;
    platform::MemoryDevice& dev = UseDevice(host, cut.bytes);
    if (damage == Damage::Fails) dev.Fail(DiscSectorAt(kBig + s), DiscSectorAt(kBig + s + 1));
    if (damage == Damage::ReachedInto) dev.Bad(DiscSectorAt(kBig + s), DiscSectorAt(kBig + s + 1));
    OpenDriveCommand(host.reader);
    std::vector<std::string> listed;
    for (const auto& n : host.treeView.Nodes()) {
      if (n.parentKey == kBig) listed.push_back(n.name);
    }
    EXPECT_EQ(listed, namesOutside(s)) << s;
    EXPECT_EQ(host.treeView.Nodes().back().name, "LAST.TXT") << s;
    std::vector<std::string> rows;
    for (const auto& row : host.log) {
      if (row.icon == kCdIconError) rows.push_back(row.text + " / " + row.status);
    }
    const std::string at = std::to_string(kBig + s);
    EXPECT_EQ(rows, damage == Damage::Fill ? std::vector<std::string>{}
                                           : std::vector<std::string>{"Folder BIG: sector " + at + " cannot be read / Error reading sector " + at})
        << s;
  }
}


TEST(ScanDisc, DirectoriesThatContainThemselvesOrTheirParentEnd) {
  TestImage img(40);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  img.Directory(23, 23, {{"SELF", 23, 2048, true}, {"SUB", 24, 2048, true}});
  img.Directory(24, 23, {{"UP", 23, 2048, true}, {"LOOP", 24, 2048, true}, {"F;1", 30, 1, false}});
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/23 SELF", "0/24 SUB", "24/23 UP", "24/24 LOOP", "24/30 F"}));
}

TEST(ScanDisc, OverlappingFolderExtentsReadTheMediumAtMostOnce) {
  TestImage img(300);
  img.Descriptor(16, 1, 23, 2048);
  img.Terminator(17);
  std::vector<TestImage::Entry> folders;
  for (std::uint32_t i = 0; i < 40; ++i) folders.push_back({std::string("F").append(std::to_string(i)), 30 + i, 250 * 2048, true});
  img.Directory(23, 23, folders);
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  std::uint64_t bytes = 0;
  for (const auto& r : dev.Reads()) bytes += r.second;
  EXPECT_LT(bytes, 2u * 300 * 2048 + 5100u * 2048);  // not 40 folders x 250 sectors
  EXPECT_EQ(Listing(host).size(), 40u);
}

TEST(ScanDisc, UnreadableRootComesBackThroughThePathTables) {
  for (bool failL : {false, true}) {
    CdHeadlessHost host;
    TestImage img = StandardImage(true);
    // A folder below the first level, listed in the path table with parent 2.
    img.PathTable(21, false, 25, {{TestImage::Ucs2("dir"), 26, 1}, {TestImage::Ucs2("deep"), 27, 2}});
    img.Directory(26, 25, {{TestImage::Ucs2("b.dat;1"), 34, 3, false}, {TestImage::Ucs2("deep"), 27, 2048, true}});
    img.Directory(27, 26, {{TestImage::Ucs2("c;1"), 35, 1, false}});
    platform::MemoryDevice& dev = UseDevice(host, img.bytes);
    dev.Fail(DiscSectorAt(25), DiscSectorAt(26));
    if (failL) dev.Fail(DiscSectorAt(21), DiscSectorAt(22));  // only the M table reads
    OpenDriveCommand(host.reader);
    // The L table names deep below dir as well, the M table only dir: deep comes first or from dir's walk.
    std::vector<std::string> listed = Listing(host);
    std::sort(listed.begin(), listed.end());
    // A.TXT, which only the lost Joliet root held, from the ISO 9660 tree.
    EXPECT_EQ(listed, (std::vector<std::string>{"0/26 dir", "0/30 A.TXT", "26/27 deep", "26/34 b.dat", "27/35 c"})) << failL;
    const std::vector<std::string> texts = LogTexts(host);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1 entries the Joliet tree lost are listed from the ISO 9660 tree"),
              texts.end());
    EXPECT_EQ(host.treeView.Nodes()[1].date[1], 6);  // from the folder's "." record
  }
}

// A plain disc: root 23-24 (two sectors: A.TXT and folder A in the first, B.TXT and folder B in
// the second); A at 25-26 (F.TXT in its first sector, its folder S in the second); S at 27 holding
// folder T (28) holding G.TXT. Path tables at 19 (L) and 20 (M) name every folder.
TestImage TwoSectorFolders(bool forwardParent = false) {
  TestImage img(60);
  // Record numbers: 1 root, 2 A, 3 B, 4 S (in A), 5 T (in S).
  const std::vector<TestImage::PathEntry> dirs{
      {"A", 25, 1}, {"B", 29, 1}, {"S", 27, static_cast<std::uint16_t>(forwardParent ? 5 : 2)}, {"T", 28, 4}};
  const auto size = img.PathTable(19, false, 23, dirs);
  img.PathTable(20, true, 23, dirs);
  img.Descriptor(16, 1, 23, 2 * 2048, size, 19, 20);
  img.Terminator(17);
  auto twoSectors = [&](std::uint32_t extent, std::uint32_t parent, std::vector<TestImage::Entry> first,
                        std::vector<TestImage::Entry> second) {
    img.Directory(extent, parent, first, 1);
    TestImage::Both32(img.Sector(extent) + 10, 2 * 2048);
    std::size_t pos = 0;
    for (const auto& e : second) pos += TestImage::Record(img.Sector(extent + 1) + pos, e.extent, e.length, e.dir, e.name);
  };
  twoSectors(23, 23, {{"A.TXT;1", 40, 10, false}, {"A", 25, 2 * 2048, true}},
             {{"B.TXT;1", 41, 20, false}, {"B", 29, 2048, true}});
  twoSectors(25, 23, {{"F.TXT;1", 42, 30, false}}, {{"S", 27, 2048, true}});
  img.Directory(27, 25, {{"T", 28, 2048, true}});
  img.Directory(28, 27, {{"G.TXT;1", 43, 40, false}});
  img.Directory(29, 23, {});
  return img;
}

TEST(ScanDisc, ALostFolderSectorCostsOnlyItsRecordsAndThePathTablesReachEveryFolder) {
  const std::vector<std::string> whole{"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B",
                                       "25/42 F.TXT", "25/27 S", "27/28 T", "28/43 G.TXT"};
  struct Case {
    const char* what;
    std::uint32_t sector;  // the lost sector
    bool zeroed;           // else it fails to read
    bool forwardParent;    // the path table gives S a parent listed after it
    std::vector<std::string> listed;
  };
  const std::vector<Case> cases{
      {"nothing lost", 0, false, false, whole},
      {"root's first sector fails", 23, false, false,
       {"0/41 B.TXT", "0/29 B", "0/25 A", "25/42 F.TXT", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"root's last sector fails", 24, false, false,
       {"0/40 A.TXT", "0/25 A", "25/42 F.TXT", "0/29 B", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"A's last sector fails: S and T below it from the tables", 26, false, false,
       {"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B", "25/42 F.TXT", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"A's last sector zeroed", 26, true, false,
       {"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B", "25/42 F.TXT", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"A's first sector fails", 25, false, false,
       {"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"S's only sector fails: T below it from the tables", 27, false, false,
       {"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B", "25/42 F.TXT", "25/27 S", "27/28 T", "28/43 G.TXT"}},
      {"S's parent unknown in the table", 26, false, true,
       {"0/40 A.TXT", "0/25 A", "0/41 B.TXT", "0/29 B", "25/42 F.TXT", "0/4294967294 Lost Folder(s)",
        "4294967294/27 S", "27/28 T", "28/43 G.TXT"}},
  };
  for (const Case& c : cases) {
    TestImage img = TwoSectorFolders(c.forwardParent);
    if (c.zeroed) std::memset(img.Sector(c.sector), 0, 2048);
    CdHeadlessHost host;
    platform::MemoryDevice& dev = UseDevice(host, img.bytes);
    if (c.sector != 0 && !c.zeroed) dev.Fail(DiscSectorAt(c.sector), DiscSectorAt(c.sector + 1));
    OpenDriveCommand(host.reader);
    std::vector<std::string> listed = Listing(host), wanted = c.listed;
    std::sort(listed.begin(), listed.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(listed, wanted) << c.what;
    std::vector<std::string> texts = LogTexts(host);
    EXPECT_EQ(texts.back(), "Process completed ") << c.what;
    const bool rowed = std::find(texts.begin(), texts.end(), "Folder " + std::string(c.sector <= 24 ? "Root" : c.sector <= 26 ? "A" : "S") +
                                                                ": sector " + std::to_string(c.sector) + " cannot be read") != texts.end();
    EXPECT_EQ(rowed, c.sector != 0 && !c.zeroed) << c.what;
    const bool lostRow = std::find(texts.begin(), texts.end(), "Folders whose parent is not known are listed in Lost Folder(s)") != texts.end();
    EXPECT_EQ(lostRow, c.forwardParent) << c.what;
  }
}

TEST(ScanDisc, TheIsoTreeStandsInForWhatTheJolietTreeLost) {
  struct Case {
    const char* what;
    std::function<void(TestImage&, platform::MemoryDevice&)> damage;
    std::vector<std::string> listed;
    bool row;
  };
  const std::vector<Case> cases{
      {"nothing lost", [](TestImage&, platform::MemoryDevice&) {}, {"0/30 a.txt", "0/26 dir", "26/34 b.dat"}, false},
      {"Joliet dir unreadable: its file below it, by its ISO 9660 name",
       [](TestImage&, platform::MemoryDevice& d) { d.Fail(DiscSectorAt(26), DiscSectorAt(27)); },
       {"0/30 a.txt", "0/26 dir", "26/34 B.DAT"}, true},
      {"Joliet root and path tables zeroed: the ISO 9660 tree whole",
       [](TestImage& i, platform::MemoryDevice&) {
         for (std::uint32_t s : {21u, 22u, 25u}) std::memset(i.Sector(s), 0, 2048);
       },
       {"0/30 A.TXT", "0/24 DIR", "24/34 B.DAT"}, true},
      {"Joliet root and dir unreadable, path tables zeroed",
       [](TestImage& i, platform::MemoryDevice& d) {
         std::memset(i.Sector(21), 0, 2048);
         std::memset(i.Sector(22), 0, 2048);
         d.Fail(DiscSectorAt(25), DiscSectorAt(27));
       },
       {"0/30 A.TXT", "0/24 DIR", "24/34 B.DAT"}, true},
  };
  for (const Case& c : cases) {
    TestImage img = StandardImage(true);
    platform::MemoryDevice scratch;
    c.damage(img, scratch);  // the bytes, before the device takes a copy of them
    CdHeadlessHost host;
    platform::MemoryDevice& dev = UseDevice(host, img.bytes);
    c.damage(img, dev);  // the faults
    OpenDriveCommand(host.reader);
    EXPECT_EQ(Listing(host), c.listed) << c.what;
    const std::vector<std::string> texts = LogTexts(host);
    EXPECT_EQ(std::any_of(texts.begin(), texts.end(),
                          [](const std::string& t) { return t.find("entries the Joliet tree lost are listed from the ISO 9660 tree") != std::string::npos; }),
              c.row)
        << c.what;
    EXPECT_EQ(texts.back(), "Process completed ") << c.what;
  }
}

TEST(ScanDisc, ZeroedRootExtentCountsAsUnreadable) {
  TestImage img = StandardImage(true);
  std::memset(img.Sector(25), 0, 2048);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/26 dir", "26/34 b.dat", "0/30 A.TXT"}));
}

TEST(ScanDisc, DescriptorsGoneTreeComesFromRawScans) {
  TestImage img = StandardImage(true);
  for (std::uint32_t s = 16; s <= 18; ++s) std::memset(img.Sector(s), 0, 2048);
  // A raw directory start needs a real entry at 68: the Joliet root has one.
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/30 a.txt", "0/26 dir", "26/34 b.dat"}));
  EXPECT_FALSE(host.reader.dirSectorRuns.empty());
}

TEST(ScanDisc, PlainIsoDescriptorsGoneTreeComesFromItsPathTables) {
  // The standard disc with three more folders, so that its path tables are long enough to be told
  // from other sectors (more than 50 bytes), and its descriptors (16, 17) zeroed.
  TestImage img = StandardImage(false);
  const std::vector<TestImage::PathEntry> dirs{{"DIR", 24, 1}, {"DIR2", 25, 1}, {"DIR3", 26, 1}, {"DIR4", 27, 1}};
  img.PathTable(19, false, 23, dirs);
  img.PathTable(20, true, 23, dirs);
  img.Directory(23, 23,
                {{"A.TXT;1", 30, 5000, false}, {"DIR", 24, 2048, true}, {"DIR2", 25, 2048, true},
                 {"DIR3", 26, 2048, true}, {"DIR4", 27, 2048, true}});
  for (std::uint32_t s = 25; s <= 27; ++s) img.Directory(s, 23, {});
  std::memset(img.Sector(16), 0, 2048);
  std::memset(img.Sector(17), 0, 2048);
  const std::vector<std::string> whole{"0/30 A.TXT", "0/24 DIR", "0/25 DIR2", "0/26 DIR3", "0/27 DIR4", "24/34 B.DAT"};
  {
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    EXPECT_EQ(Listing(host), whole);
    EXPECT_EQ(host.busy, 0);
  }
  // The root directory unreadable as well: the folders below it, from the path table.
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  dev.Fail(DiscSectorAt(23), DiscSectorAt(24));
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/24 DIR", "0/25 DIR2", "0/26 DIR3", "0/27 DIR4", "24/34 B.DAT"}));
}

TEST(ScanDisc, ANothingFoundScanSaysSo) {
  struct Case {
    const char* what;
    std::function<void(TestImage&)> damage;
  };
  const std::vector<Case> cases = {
      {"all zero", [](TestImage& i) { std::fill(i.bytes.begin(), i.bytes.end(), 0); }},
      {"directories gone too",
       [](TestImage& i) { std::fill(i.bytes.begin() + 16 * 2048, i.bytes.begin() + 25 * 2048, 0); }},
  };
  for (const auto& c : cases) {
    TestImage img = StandardImage(false);
    c.damage(img);
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    EXPECT_TRUE(Listing(host).empty()) << c.what;
    ASSERT_FALSE(host.log.empty()) << c.what;
    EXPECT_EQ(host.log.back().text, "No files or folders found") << c.what;
    EXPECT_EQ(host.log.back().icon, kCdIconError) << c.what;
    EXPECT_EQ(host.messages.back().text, "No files or folders found on the CDROM") << c.what;
    EXPECT_EQ(host.busy, 0) << c.what;
  }
}

TEST(ScanDisc, PlainIsoWithDescriptorsAndPathTablesGoneIsReadFromItsRootDirectory) {
  TestImage img = StandardImage(false);
  std::fill(img.bytes.begin() + 16 * 2048, img.bytes.begin() + 23 * 2048, 0);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/30 A.TXT", "0/24 DIR", "24/34 B.DAT"}));
  EXPECT_EQ(host.log.back().text, "Process completed ");
}

TEST(ScanDisc, PrimaryThatNeverReadsWholeFallsBackToRawScans) {
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, StandardImage(true).bytes);
  dev.Short(DiscSectorAt(16), DiscSectorAt(17), 1024);  // the primary descriptor: recognised, but never read whole (form A)
  dev.Short(DiscSectorAt(17), DiscSectorAt(18), 1024);  // the Joliet one is passed over
  OpenDriveCommand(host.reader);
  EXPECT_EQ(host.reader.rawScansUsed, 1u);
  EXPECT_EQ(Listing(host), (std::vector<std::string>{"0/30 a.txt", "0/26 dir", "26/34 b.dat"}));
  EXPECT_EQ(host.busy, 0);
}

TEST(ScanDisc, HostileVolumesEndWithoutCrashOrHang) {
  struct Case {
    const char* what;
    std::function<void(TestImage&)> damage;
  };
  const std::vector<Case> cases = {
      {"volume space larger than the image", [](TestImage& i) { TestImage::Both32(i.Sector(17) + 80, 0x7FFFFFFF); }},
      {"huge root data length", [](TestImage& i) { TestImage::Both32(i.Sector(17) + 156 + 10, 0xFFFFFFF0u); }},
      {"huge path table, root unreadable",
       [](TestImage& i) {
         TestImage::Both32(i.Sector(17) + 132, 0xFFFFFFF0u);
         std::memset(i.Sector(25), 0, 2048);
       }},
      {"path table parents pointing forward",
       [](TestImage& i) {
         i.PathTable(21, false, 25, {{TestImage::Ucs2("dir"), 26, 3}, {TestImage::Ucs2("x"), 26, 9}});
         std::memset(i.Sector(25), 0, 2048);
       }},
      {"path table of 0xF6 bytes", [](TestImage& i) {
         std::memset(i.Sector(21), 0xF6, 2048);
         std::memset(i.Sector(25), 0, 2048);
       }},
      {"root extent past the end", [](TestImage& i) { TestImage::Both32(i.Sector(17) + 156 + 2, 0x00FFFFFF); }},
      {"all zero", [](TestImage& i) { std::fill(i.bytes.begin(), i.bytes.end(), 0); }},
  };
  for (const auto& c : cases) {
    TestImage img = StandardImage(true);
    c.damage(img);
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    EXPECT_EQ(host.busy, 0) << c.what;
  }
  // An image of one sector: readable (a read at the end delivers nothing) and empty.
  CdHeadlessHost host;
  UseDevice(host, std::vector<std::uint8_t>(2048, 0));
  OpenDriveCommand(host.reader);
  EXPECT_TRUE(host.treeView.Nodes().empty());
}

TEST(ScanDisc, UnreadableDiscShowsTheMessage) {
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, std::vector<std::uint8_t>(40 * 2048));
  dev.Fail(0, DiscSectorAt(5100));
  EXPECT_FALSE(ScanDisc(host.reader));
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "CDROM not found / CDROM entirely corrupted");
  EXPECT_EQ(host.app.driveOpened, 0);
}

TEST(ScanDisc, StopAbortsTheWalk) {
  CdHeadlessHost host;
  UseDevice(host, StandardImage(true).bytes);
  host.onPump = [](CdHeadlessHost& h) {
    if (h.treeView.Nodes().size() >= 2) StopCommand(h.reader);
  };
  OpenDriveCommand(host.reader);
  ASSERT_FALSE(host.log.empty());
  EXPECT_EQ(host.log.back().text, "Process aborted, user intervention ");
  EXPECT_LT(host.treeView.Nodes().size(), 4u);
  EXPECT_EQ(host.stopFlag, 0);
}

TEST(ScanDisc, StopDuringARawScanNamesTheDayAndMonth) {
  CdHeadlessHost host;
  UseDevice(host, std::vector<std::uint8_t>(3000 * 2048, 0));  // no descriptors: the raw scans read it all
  host.onPump = [](CdHeadlessHost& h) { StopCommand(h.reader); };
  SetCdClock([] { return CdTime{2026, 12, 6, 0, 8, 5, 3}; });  // a Sunday
  OpenDriveCommand(host.reader);
  SetCdClock(nullptr);
  ASSERT_FALSE(host.log.empty());
  EXPECT_EQ(host.log.back().text, "Process aborted, user intervention ");
  EXPECT_EQ(host.log.back().status, "Aborted Sunday, December 6 2026 at 8-5-3");
}

TEST(ScanDisc, AScanAfterARecoveryIsNotAborted) {
  CdHeadlessHost host;
  UseDevice(host, StandardImage(true).bytes);
  OpenDriveCommand(host.reader);
  const std::vector<std::string> first = Listing(host);
  ASSERT_FALSE(first.empty());
  host.stopFlag = 1;  // as a finished recovery or image copy leaves it
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host), first);
  EXPECT_NE(host.log.back().text, "Process aborted, user intervention ");
}

TEST(RawScans, DirectoriesAndPathTablesSpanningSectors) {
  TestImage img(80);
  std::vector<TestImage::Entry> entries;
  std::vector<TestImage::PathEntry> dirs;
  for (int i = 0; i < 60; ++i) {
    const std::string name = std::string("folder-with-a-long-name-").append(std::to_string(100 + i));
    entries.push_back({TestImage::Ucs2(name), static_cast<std::uint32_t>(40 + i / 4), 2048, true});
    dirs.push_back({TestImage::Ucs2(name), static_cast<std::uint32_t>(40 + i / 4), 1});
  }
  img.Directory(20, 20, entries, 3);  // about 5 KB of records
  img.Sector(21)[21] = 0;  // recorded in the hour after midnight: a date, not the directory's end
  img.PathTable(30, false, 20, dirs);  // about 3.2 KB: two sectors
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  ScanDirectorySectors(host.reader, 16);
  ASSERT_FALSE(host.reader.dirSectorRuns.empty());
  EXPECT_EQ(host.reader.dirSectorRuns[0].firstSector, 20u);
  EXPECT_EQ(host.reader.dirSectorRuns[0].sectorCount, 3u);
  EXPECT_EQ(host.reader.dirSectorRuns[0].complete, 1u);
  ScanPathTableSectors(host.reader);
  ASSERT_FALSE(host.reader.pathTableRuns.empty());
  EXPECT_EQ(host.reader.pathTableRuns[0].firstSector, 30u);
  EXPECT_EQ(host.reader.pathTableRuns[0].sectorCount, 2u);
  // The whole tree comes back from the raw directory run.
  host.reader.FreeEntryList();
  OpenDriveCommand(host.reader);
  EXPECT_EQ(Listing(host).size(), 60u);
}

// Discs whose descriptors are gone, read by the raw scans. Joliet: root 30 holding a.txt and
// folder sub (26), which holds b.dat and egl (24); egl holds c.dat. Every folder's ".." names the
// folder itself, as xorriso writes them, and the sub-folders lie before the root on the disc.
// ISO 9660 with Rock Ridge: root 40 (".." itself) holding A.TXT and DIR (41) holding B.DAT, every
// record with a system-use area.
TestImage RawScanDisc(bool joliet, bool tables) {
  TestImage img(60);
  if (joliet) {
    img.Directory(30, 30, {{TestImage::Ucs2("a.txt;1"), 50, 5, false}, {TestImage::Ucs2("sub"), 26, 2048, true}});
    img.Directory(26, 26, {{TestImage::Ucs2("b.dat;1"), 51, 6, false}, {TestImage::Ucs2("egl"), 24, 2048, true}});
    img.Directory(24, 24, {{TestImage::Ucs2("c.dat;1"), 52, 7, false}});
    if (tables) img.PathTable(20, false, 30, {{TestImage::Ucs2("sub"), 26, 1}, {TestImage::Ucs2("egl"), 24, 2}});
  } else {
    img.Directory(40, 40, {{"A.TXT;1", 50, 5, false}, {"DIR", 41, 2048, true}}, 1, 96 - 34);
    img.Directory(41, 40, {{"B.DAT;1", 51, 6, false}}, 1, 96 - 34);
    if (tables) img.PathTable(20, false, 40, {});  // a table of the root alone
  }
  return img;
}

TEST(RawScans, TheRootIsTheFolderThePathTablesNameOrThatNoFolderLists) {
  struct Case {
    const char* what;
    bool joliet, tables;
    std::vector<std::string> listed;
  };
  const std::vector<std::string> jolietTree{"0/50 a.txt", "0/26 sub", "26/51 b.dat", "26/24 egl", "24/52 c.dat"};
  const std::vector<Case> cases{
      {"Joliet, folders' \"..\" their own, path tables", true, true, jolietTree},
      {"Joliet, folders' \"..\" their own, no path tables", true, false, jolietTree},
      {"Rock Ridge, no path tables", false, false, {"0/50 A.TXT", "0/41 DIR", "41/51 B.DAT"}},
      {"Rock Ridge, a path table of the root alone", false, true, {"0/50 A.TXT", "0/41 DIR", "41/51 B.DAT"}},
  };
  for (const Case& c : cases) {
    CdHeadlessHost host;
    UseDevice(host, RawScanDisc(c.joliet, c.tables).bytes);
    OpenDriveCommand(host.reader);
    EXPECT_EQ(Listing(host), c.listed) << c.what;
    EXPECT_EQ(host.log.back().text, "Process completed ") << c.what;
  }
  // A table of the root alone is a table, and names the root.
  CdHeadlessHost host;
  UseDevice(host, RawScanDisc(false, true).bytes);
  ScanPathTableSectors(host.reader);
  ASSERT_EQ(host.reader.pathTableRuns.size(), 1u);
  EXPECT_EQ(host.reader.pathTableRuns[0].firstSector, 20u);
  EXPECT_EQ(host.reader.pathTableRuns[0].rootExtent, 40u);
}

TEST(RawScans, RunOnPathTableCandidatesStayBounded) {
  // One stream of consistent records from sector 16 to the end: every fifth sector begins like a
  // path table, and each such table runs on to the end of the disc.
  TestImage img(3000);
  const std::uint8_t record[10] = {1, 0, 5, 0, 0, 0, 1, 0, 0, 0};
  for (std::size_t i = 16 * 2048; i + 10 <= img.bytes.size(); i += 10) std::memcpy(&img.bytes[i], record, 10);
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  ScanPathTableSectors(host.reader);
  EXPECT_LE(dev.Reads().size(), 4u * 3000 + 1024 + 16);
  EXPECT_GT(dev.Reads().size(), 2u * 3000);  // the candidates did run on
}

TEST(RawScans, BothScansStopAtTheEndOfTheMedium) {
  // No Joliet directory ends the directory scan early, and the last sector begins both a
  // directory and a path table whose records run on to its end.
  for (bool failPastEnd : {false, true}) {  // an image file delivers nothing there, a drive fails
    TestImage img = StandardImage(false);
    std::uint8_t* last = img.Sector(39);
    std::size_t pos = TestImage::Record(last, 39, 2048, true, std::string(1, '\0'));
    pos += TestImage::Record(last + pos, 23, 2048, true, std::string(1, '\1'));
    for (int i = 0; pos < 2048; ++i) pos += TestImage::Record(last + pos, 5, 1, false, std::string(96, 'x').append(std::to_string(100 + i)));
    ASSERT_EQ(pos, 2048u);
    CdHeadlessHost host;
    platform::MemoryDevice& dev = UseDevice(host, img.bytes);
    if (failPastEnd) dev.Fail(img.bytes.size(), platform::MemoryDevice::kEnd);
    ScanDirectorySectors(host.reader, 16);
    ASSERT_FALSE(host.reader.dirSectorRuns.empty());
    EXPECT_EQ(host.reader.dirSectorRuns.back().firstSector, 39u);
    for (const auto& r : dev.Reads()) EXPECT_LT(r.first, img.bytes.size()) << failPastEnd;
    std::fill(last, last + 2048, 0);
    const std::uint8_t record[10] = {1, 0, 5, 0, 0, 0, 1, 0, 0, 0};
    for (std::size_t i = 0; i + 10 <= 2048; i += 10) std::memcpy(last + i, record, 10);
    platform::MemoryDevice& tables = UseDevice(host, img.bytes);
    if (failPastEnd) tables.Fail(img.bytes.size(), platform::MemoryDevice::kEnd);
    ScanPathTableSectors(host.reader);
    EXPECT_EQ(host.reader.pathTableRuns.back().firstSector, 39u);
    for (const auto& r : tables.Reads()) EXPECT_LT(r.first, img.bytes.size()) << failPastEnd;
  }
}

TEST(RawScans, PathTableAndDirectoryStarts) {
  TestImage img(40);
  img.PathTable(18, false, 23, {{TestImage::Ucs2("dir"), 26, 1}, {TestImage::Ucs2("abcdefghij"), 27, 1}});
  img.Directory(23, 23, {{TestImage::Ucs2("x;1"), 30, 1, false}});
  img.Directory(24, 24, {});  // only "." and "..": not a directory start
  img.Sector(25)[0] = 34;      // data starting with 34 whose extent is not its own sector
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  ScanPathTableSectors(host.reader);
  ASSERT_EQ(host.reader.pathTableRuns.size(), 1u);
  EXPECT_EQ(host.reader.pathTableRuns[0].firstSector, 18u);
  EXPECT_EQ(host.reader.pathTableRuns[0].sectorCount, 1u);
  EXPECT_EQ(host.reader.pathTableRuns[0].tableType, PathTableType::L);
  EXPECT_EQ(host.reader.pathTableRuns[0].nameKind, NameKind::Joliet);
  ScanDirectorySectors(host.reader, 16);
  ASSERT_EQ(host.reader.dirSectorRuns.size(), 1u);
  EXPECT_EQ(host.reader.dirSectorRuns[0].firstSector, 23u);
  EXPECT_EQ(host.reader.dirSectorRuns[0].kind, NameKind::Joliet);
  EXPECT_EQ(host.reader.dirSectorRuns[0].complete, 1u);
}

}  // namespace
