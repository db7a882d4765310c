// The logical-drive search on sparse in-memory disks: where each search looks, the plausibility
// and duplicate tests, the overlap pass, the disk's end, Stop, and the Select Physical Disk road.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/drive_search.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "headless_host.h"
#include "test_disk.h"

using namespace ext2;
using namespace ext2::headless;
using namespace ext2::testing;

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The fields of a super block the search reads. The defaults make a small drive of 200 sectors.
struct Sb {
  std::uint32_t inodes = 40;
  std::uint32_t blocks = 100;
  std::uint32_t reserved = 5;
  std::uint32_t logBlockSize = 0;
  std::uint32_t blocksPerGroup = 50;
  std::uint32_t inodesPerGroup = 20;
  std::uint32_t lastCheck = 1200000000;
  std::uint32_t checkInterval = 0;
  std::uint16_t magic = 0xEF53;
  std::uint16_t group = 0;  // s_block_group_nr: the group of a backup copy
};

std::vector<std::uint8_t> SuperBlockSector(const Sb& f) {
  std::vector<std::uint8_t> b(kSectorSize, 0);
  Put32(b, 0, f.inodes);
  Put32(b, 4, f.blocks);
  Put32(b, 8, f.reserved);
  Put32(b, 24, f.logBlockSize);
  Put32(b, 32, f.blocksPerGroup);
  Put32(b, 40, f.inodesPerGroup);
  b[56] = static_cast<std::uint8_t>(f.magic);
  b[57] = static_cast<std::uint8_t>(f.magic >> 8);
  Put32(b, 64, f.lastCheck);
  Put32(b, 68, f.checkInterval);
  b[90] = static_cast<std::uint8_t>(f.group);
  b[91] = static_cast<std::uint8_t>(f.group >> 8);
  return b;
}

// A super block for a drive starting at FIRST (it lies at FIRST + 2).
struct Placed {
  std::uint64_t first;
  Sb sb;
};

// Fields of a drive of 4,000,000 1 KiB blocks.
Sb BigDrive() {
  Sb sb;
  sb.inodes = 1000000;
  sb.blocks = 4000000;
  sb.reserved = 200000;
  sb.blocksPerGroup = 8192;
  sb.inodesPerGroup = 2048;
  return sb;
}

class DriveSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App().Reset();
    LogicalDrives().Clear();
    source = std::make_shared<MemoryDiskSource>();
    SetDiskSource(source);
  }
  void TearDown() override {
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }

  // Disk 0 becomes a disk of SECTORS sectors that is zero except for the super blocks placed on it.
  void Layout(std::uint64_t sectors, const std::vector<Placed>& placed) {
    disk = std::make_shared<platform::MemoryDevice>();
    disk->SetSize(sectors * kSectorSize);
    for (const Placed& p : placed) disk->Put((p.first + 2) * kSectorSize, SuperBlockSector(p.sb));
    source->disks = {disk};
    CloseDiskDevices();
  }

  // The byte position one past the furthest request.
  std::uint64_t FurthestAsked() const {
    std::uint64_t furthest = 0;
    for (const auto& [position, n] : disk->Reads()) furthest = std::max<std::uint64_t>(furthest, position + n);
    return furthest;
  }

  // A fresh search object on disk 0, as the dialog makes it.
  std::unique_ptr<CLinuxDrive> SearchDrive() {
    auto drive = std::make_unique<CLinuxDrive>();
    drive->disk = kFirstPhysicalDisk;
    drive->AttachFrame(&host);
    host.abortFlag = 0;  // as SearchLogicalDrives leaves it for the searches
    return drive;
  }

  static std::vector<std::uint32_t> Firsts(const CLinuxDrive& d) {
    std::vector<std::uint32_t> out;
    for (const auto& n : d.foundDrives) out.push_back(n.firstSector);
    return out;
  }

  bool Logged(const std::string& text, const std::string& status, int icon) const {
    return std::any_of(host.log.begin(), host.log.end(),
                       [&](const LogRow& r) { return r.text == text && r.status.rfind(status, 0) == 0 && r.icon == icon; });
  }

  std::shared_ptr<MemoryDiskSource> source;
  std::shared_ptr<platform::MemoryDevice> disk = std::make_shared<platform::MemoryDevice>();
  HeadlessHost host;
};

struct SearchCase {
  const char* name;
  std::uint64_t sectors;
  std::vector<Placed> placed;
  std::vector<std::uint32_t> standard;
  std::vector<std::uint32_t> advanced;
};

TEST_F(DriveSearchTest, EachSearchFindsTheDrivesWhereItLooks) {
  Sb tooBig;
  tooBig.blocks = 6000000;
  tooBig.inodes = 1000000;
  tooBig.blocksPerGroup = 8192;
  tooBig.inodesPerGroup = 2048;
  Sb eightK;
  eightK.logBlockSize = 3;
  Sb other;
  other.lastCheck = 1300000000;
  Sb backup = BigDrive();  // same counts and check times as the drive at 63
  // Copies that name their group: group g's lies at block 8192 g + 1 of its drive.
  auto copyOf = [](std::uint16_t group, std::uint32_t lastCheck = 1200000000) {
    Sb sb = BigDrive();
    sb.group = group;
    sb.lastCheck = lastCheck;
    return sb;
  };
  auto groupAt = [](std::uint64_t first, std::uint64_t group) { return first + (8192 * group + 1) * 2 - 2; };

  const std::uint32_t c5 = 5 * 16065;
  const std::vector<SearchCase> cases = {
      {"at sector 63, with backup copies inside it dropped", 10000000,
       {{63, BigDrive()}, {16128, backup}, {63 + 16384, backup}},
       {63},
       {63}},
      {"one track after a cylinder boundary", 100000, {{c5 + 63, Sb{}}}, {c5 + 63}, {c5 + 63}},
      {"on a cylinder boundary itself", 100000, {{c5, Sb{}}}, {c5}, {c5}},
      {"a magic one track in hides the boundary", 100000, {{c5, Sb{}}, {c5 + 63, eightK}}, {}, {c5}},
      {"on a 16-head cylinder, only when no 255-head cylinder had one", 100000, {{16128 + 1008 * 7, Sb{}}},
       {16128 + 1008 * 7}, {16128 + 1008 * 7}},
      {"16-head cylinders not searched after a 255-head cylinder drive", 100000,
       {{2 * 16065 + 63, Sb{}}, {16128 + 1008 * 30, other}}, {2 * 16065 + 63}, {2 * 16065 + 63, 16128 + 1008 * 30}},
      {"a drive larger than the disk", 10000000, {{63, tooBig}}, {}, {}},
      {"8 KiB blocks", 100000, {{63, eightK}}, {}, {}},
      {"at an odd sector", 100000, {{1001, Sb{}}}, {}, {1001}},
      {"on a 1 MiB boundary", 100000, {{2048 * 7, Sb{}}}, {2048 * 7}, {2048 * 7}},
      // The first super block gone: the copies of groups 1 and 3 place the drive at its first sector.
      // (group 1's copy at 16449 is also the standard search's read one track after 16384)
      {"by its copies of groups 1 and 3", 10000000, {{groupAt(63, 1), copyOf(1)}, {groupAt(63, 3), copyOf(3)}},
       {63}, {63}},
      {"by the copy of group 1 on a 1 MiB boundary", 10000000, {{groupAt(2048, 1), copyOf(1)}}, {2048}, {2048}},
      {"with its copies, one of another check time", 10000000,
       {{2048, BigDrive()}, {groupAt(2048, 1), copyOf(1, 1)}, {groupAt(2048, 3), copyOf(3)}}, {2048}, {2048}},
      {"a copy whose group lies before the disk", 100000, {{1000, copyOf(1)}}, {}, {}},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.name);
    Layout(c.sectors, c.placed);
    auto standard = SearchDrive();
    EXPECT_EQ(standard->StandardSearch(), c.standard.empty() ? 1 : 0);
    EXPECT_EQ(Firsts(*standard), c.standard);
    auto advanced = SearchDrive();
    advanced->AdvancedSearch();
    EXPECT_EQ(Firsts(*advanced), c.advanced);
    EXPECT_EQ(advanced->diskSize, c.sectors);
  }
}

TEST_F(DriveSearchTest, FoundDrivesAreLoggedWithTheirSizes) {
  Layout(10000000, {{63, BigDrive()}});
  auto drive = SearchDrive();
  EXPECT_EQ(drive->StandardSearch(), 0);
  ASSERT_EQ(drive->foundDrives.size(), 1u);
  const FoundDriveNode& n = drive->foundDrives[0];
  EXPECT_EQ(n.sectorCount, 8000000u);
  EXPECT_EQ(n.endSector, 8000063u);
  EXPECT_EQ(n.sectorsPerBlock, 2);
  EXPECT_TRUE(Logged("Search sector range 0 to 10000000", "Started on ", kIconStarted));
  EXPECT_TRUE(Logged("Logical drive 1", "Found at sector number 63", kIconNone));
  EXPECT_TRUE(Logged("Process completed", "Completed on ", kIconCompleted));
  EXPECT_EQ(host.barMaximum, 10000000 / 16065 + 10000000 / 1008 + 10000000 / 2048 + 255);
  EXPECT_FALSE(host.barShown);
}

TEST_F(DriveSearchTest, PlausibilityRules) {
  struct Case {
    const char* name;
    Sb sb;
    std::uint64_t first;
    bool taken;
  };
  auto with = [](auto change) {
    Sb sb;
    change(sb);
    return sb;
  };
  const std::uint32_t disk = 10000;
  const std::vector<Case> cases = {
      {"plain", Sb{}, 63, true},
      {"ending at the disk's end", Sb{}, disk - 200, true},
      {"ending one past the disk's end", Sb{}, disk - 199, false},
      {"no magic", with([](Sb& s) { s.magic = 0xEF54; }), 63, false},
      {"4 KiB blocks", with([](Sb& s) { s.logBlockSize = 2; }), 63, true},
      {"block size above 4 KiB", with([](Sb& s) { s.logBlockSize = 3; }), 63, false},
      {"no blocks", with([](Sb& s) { s.blocks = 0; }), 63, false},
      // A small drive of one block group, as mke2fs makes it: every count equal to its bound.
      {"as many inodes as blocks", with([](Sb& s) { s.inodes = 100; }), 63, true},
      {"one group of blocks", with([](Sb& s) { s.blocksPerGroup = 100; }), 63, true},
      {"one group of inodes", with([](Sb& s) { s.inodesPerGroup = 40; }), 63, true},
      {"one group, as many inodes as blocks",
       with([](Sb& s) { s.inodes = 100; s.blocksPerGroup = 100; s.inodesPerGroup = 100; }), 63, true},
      {"more inodes than blocks", with([](Sb& s) { s.inodes = 101; }), 63, false},
      // mke2fs -N: more inodes than blocks, exactly as many as the groups hold (here 2 x 60).
      {"more inodes than blocks, as the groups hold them",
       with([](Sb& s) { s.inodes = 120; s.inodesPerGroup = 60; }), 63, true},
      {"more inodes than blocks, not as the groups hold them",
       with([](Sb& s) { s.inodes = 119; s.inodesPerGroup = 60; }), 63, false},
      {"mke2fs -b 1024 -N 8192 on 4 MiB",
       with([](Sb& s) { s.blocks = 4096; s.blocksPerGroup = 8192; s.inodes = 8192; s.inodesPerGroup = 8192; }), 63,
       true},
      {"no inodes", with([](Sb& s) { s.inodes = 0; }), 63, false},
      // The one group of a drive smaller than a full group keeps the full group size.
      {"a short single group of 1 KiB blocks", with([](Sb& s) { s.blocksPerGroup = 8192; }), 63, true},
      {"a short single group of 4 KiB blocks",
       with([](Sb& s) { s.logBlockSize = 2; s.blocksPerGroup = 32768; }), 63, true},
      {"more blocks per group than a 1 KiB bitmap holds", with([](Sb& s) { s.blocksPerGroup = 8193; }), 63, false},
      {"more blocks per group than a 4 KiB bitmap holds",
       with([](Sb& s) { s.logBlockSize = 2; s.blocksPerGroup = 32769; }), 63, false},
      {"no blocks per group", with([](Sb& s) { s.blocksPerGroup = 0; }), 63, false},
      {"more inodes per group than inodes", with([](Sb& s) { s.inodesPerGroup = 41; }), 63, false},
      {"no inodes per group", with([](Sb& s) { s.inodesPerGroup = 0; }), 63, false},
      // 2 x 0x80000001 is 2 in 32 bits; the drive is far larger than the disk.
      {"a block count whose size overflows 32 bits",
       with([](Sb& s) { s.blocks = 0x80000001u; s.blocksPerGroup = 8192; s.inodes = 1000; s.inodesPerGroup = 100; }),
       63, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto sector = SuperBlockSector(c.sb);
    FoundDriveNode node;
    EXPECT_EQ(IsPlausibleSuperBlock(sector.data(), sector.size(), c.first, disk, node), c.taken);
  }
}

TEST_F(DriveSearchTest, NoReadGoesPastTheDiskEnd) {
  // 100 whole reads of 63 sectors and a last one of 17. The smallest plausible drive has 6 sectors.
  const std::uint32_t sectors = 100 * 63 + 17;
  Sb tiny;
  tiny.blocks = 3;
  tiny.inodes = 2;
  tiny.blocksPerGroup = 1;
  tiny.inodesPerGroup = 1;
  Sb tinyOther = tiny;
  tinyOther.lastCheck = 1;
  Layout(sectors, {{sectors - 6, tiny}, {sectors - 5, tinyOther}});
  // A super block in sector 1 would start a drive at sector -1.
  disk->Put(1 * kSectorSize, SuperBlockSector(tiny));
  auto advanced = SearchDrive();
  advanced->AdvancedSearch();
  EXPECT_EQ(Firsts(*advanced), std::vector<std::uint32_t>{sectors - 6});
  EXPECT_LE(FurthestAsked(), std::uint64_t{sectors} * kSectorSize);
  EXPECT_EQ(host.barMaximum, static_cast<int>(sectors / 63));

  // The standard search's read one track after the last cylinder boundary lies past the end.
  Layout(2 * 16065 + 30, {});
  auto standard = SearchDrive();
  EXPECT_EQ(standard->StandardSearch(), 1);
  EXPECT_LE(FurthestAsked(), std::uint64_t{2 * 16065 + 30} * kSectorSize);
}

TEST_F(DriveSearchTest, StandardSearchEndsOnTheLargestDisk) {
  // 2^32 - 1 sectors: the cylinder loop must not wrap around to small sector numbers at the top.
  // A drive on a 255-head cylinder spares the 16-head cylinders, which run through the same loop as
  // the 1 MiB boundaries.
  const std::uint32_t d = 0xFFFFFFFFu;
  static const int candidates = 254 + static_cast<int>((d - 1) / 16065) + static_cast<int>((d - 1) / 2048);
  Layout(d, {{10 * 16065 + 63, Sb{}}});
  host.onPump = [](HeadlessHost& h) {
    if (h.pumps > candidates) h.abortFlag = 1;  // a loop that wrapped around: stop it
  };
  auto drive = SearchDrive();
  drive->StandardSearch();
  EXPECT_EQ(Firsts(*drive), std::vector<std::uint32_t>{10 * 16065 + 63});
  EXPECT_EQ(host.barSteps, candidates);
  EXPECT_EQ(host.pumps, candidates);
}

// A disk of more than 2 TiB is searched to its end. The drive list holds 32-bit sectors: a drive
// that ends past sector 2^32 - 1 gets a row with its place and size (its copies none) and is not
// listed; the drives before it are.
TEST_F(DriveSearchTest, StandardSearchReadsPast2TiBAndNamesTheDrivesTheListCannotHold) {
  const std::uint64_t far = (std::uint64_t{1} << 32) + 2048;  // 2 TiB + 1 MiB
  const std::uint64_t size = far + 20000;
  Sb straddling;  // 4,000 sectors from the last 1 MiB boundary below 2 TiB
  straddling.blocks = 2000;
  straddling.lastCheck = 1300000000;
  Sb copy;  // a backup copy of the far drive, in its group 1
  copy.group = 1;
  Layout(size, {{10 * 16065 + 63, Sb{}}, {(std::uint64_t{1} << 32) - 2048, straddling}, {far, Sb{}}});
  disk->Put((far + 50 * 2 + 2) * kSectorSize, SuperBlockSector(copy));
  auto drive = SearchDrive();
  EXPECT_EQ(drive->StandardSearch(), 0);
  EXPECT_EQ(Firsts(*drive), std::vector<std::uint32_t>{10 * 16065 + 63});
  EXPECT_TRUE(Logged("Search sector range 0 to " + std::to_string(size), "Started on ", kIconStarted));
  const auto rows = [&](const std::string& text) {
    return std::count_if(host.log.begin(), host.log.end(), [&](const LogRow& r) {
      return r.text == text && r.status == "Drive list holds 32-bit sectors only" && r.icon == kIconAborted;
    });
  };
  EXPECT_EQ(rows("Logical drive at sector 4294965248, 4000 sectors: past sector 4294967295, not listed"), 1);
  EXPECT_EQ(rows("Logical drive at sector 4294969344, 200 sectors: past sector 4294967295, not listed"), 1);
  EXPECT_GT(FurthestAsked(), far * kSectorSize);
  EXPECT_LE(FurthestAsked(), size * kSectorSize);
}

// A read that comes back short inside the disk (a device stopping at a bad sector) leaves the rest of
// the buffer cleared, so no super block of the read before is seen again at another sector.
TEST_F(DriveSearchTest, ShortReadInsideTheDiskLeavesNoBytesOfThePreviousRead) {
  Sb small;  // 30 blocks of 1 KiB: 60 sectors
  small.inodes = 16;
  small.blocks = 30;
  small.reserved = 1;
  small.blocksPerGroup = 8;
  small.inodesPerGroup = 8;
  Layout(200, {{38, small}});              // its super block is sector 40 of the first read (0-62)
  disk->Short(93 * kSectorSize, 94 * kSectorSize, 33 * kSectorSize);  // the second read (63-125) delivers 63-92 only
  auto d = SearchDrive();
  d->AdvancedSearch();
  EXPECT_EQ(Firsts(*d), (std::vector<std::uint32_t>{38}));
}

TEST_F(DriveSearchTest, OverlapPassAddsADriveEndingBeforeItsSuccessor) {
  Sb a;  // 8000 sectors
  a.blocks = 4000;
  a.inodes = 2000;
  a.blocksPerGroup = 2000;
  a.inodesPerGroup = 1000;
  Sb b;  // 200 sectors
  b.lastCheck = 1;
  struct Case {
    std::uint32_t bFirst;
    std::vector<std::uint32_t> firsts;
  };
  for (const Case& c : {Case{8500, {1000, 8500, 499}}, Case{5000, {1000, 5000}}}) {
    SCOPED_TRACE(c.bFirst);
    host.log.clear();
    Layout(20000, {{1000, a}, {c.bFirst, b}});
    auto drive = SearchDrive();
    drive->AdvancedSearch();
    EXPECT_EQ(Firsts(*drive), c.firsts);
    EXPECT_EQ(drive->foundCount, c.firsts.size());
    if (c.firsts.size() == 3) {
      EXPECT_EQ(drive->foundDrives[2].sectorCount, 8000u);
      EXPECT_TRUE(Logged("Logical drive 3", "Found at sector number 499", kIconNone));
      EXPECT_TRUE(Logged("Process completed 3 Logical Drives Found", "Completed on ", kIconCompleted));
    }
  }
}

TEST_F(DriveSearchTest, StopEndsEitherSearchAtTheNextCandidate) {
  Layout(100000, {{63, Sb{}}});
  host.onPump = [](HeadlessHost& h) {
    if (h.pumps == 5) h.abortFlag = 1;
  };
  App().searchType = 1;
  auto standard = SearchDrive();
  standard->SearchLogicalDrives();
  EXPECT_EQ(host.pumps, 5);
  EXPECT_EQ(Firsts(*standard), std::vector<std::uint32_t>{63});
  EXPECT_TRUE(Logged("Process aborted, user intervention", "Aborted on ", kIconAborted));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(App().logHasRows, 1);

  // Stopped with nothing found, the standard search does not offer the advanced one.
  Layout(100000, {{1001, Sb{}}});
  host.pumps = 0;
  host.log.clear();
  auto empty = SearchDrive();
  empty->SearchLogicalDrives();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(empty->foundDrives.empty());

  // The advanced search keeps what it found before Stop, and makes no overlap copies.
  Sb a;
  a.blocks = 4000;
  a.inodes = 2000;
  a.blocksPerGroup = 2000;
  a.inodesPerGroup = 1000;
  Layout(100000, {{63, a}, {8010, Sb{}}, {50000, Sb{}}});  // unstopped, 8010 would make a copy at 9
  host.pumps = 0;
  host.log.clear();
  host.onPump = [](HeadlessHost& h) {
    if (h.pumps == 200) h.abortFlag = 1;
  };
  App().searchType = 0;
  auto advanced = SearchDrive();
  advanced->SearchLogicalDrives();
  EXPECT_EQ(host.pumps, 200);
  EXPECT_EQ(Firsts(*advanced), (std::vector<std::uint32_t>{63, 8010}));
  EXPECT_TRUE(Logged("Process aborted, user intervention", "Aborted on ", kIconAborted));
  EXPECT_TRUE(Logged("", "2 Logical drive found", kIconCompleted));
  EXPECT_FALSE(host.barShown);
}

TEST_F(DriveSearchTest, SearchRoadTurnsFoundDrivesIntoTheDriveList) {
  Layout(100000, {{1001, Sb{}}, {5000, Sb{}}});
  struct Case {
    MessageAnswer answer;
    std::vector<std::uint32_t> firsts;
  };
  for (const Case& c : {Case{kAnswerNo, {}}, Case{kAnswerYes, {1001, 5000}}}) {
    SCOPED_TRACE(c.answer);
    App().Reset();
    host.log.clear();
    host.messages.clear();
    host.answersByText[kSwitchToAdvancedSearchText] = c.answer;
    LogicalDrives().Clear();
    LogicalDrives().Drives().push_back({77, 0, 88, kLinuxPartition, 0, 0});  // an earlier search's list
    App().searchType = 1;
    const int count = SearchForLogicalDrives(host, 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "No Linux logical drive(s) found, switch to Advanced Search?");
    EXPECT_EQ(host.messages[0].caption, "Quarvel Velnora Linux");
    const auto& drives = LogicalDrives().Drives();
    ASSERT_EQ(count, static_cast<int>(c.firsts.size()));
    ASSERT_EQ(drives.size(), c.firsts.size());
    for (std::size_t i = 0; i < drives.size(); ++i) {
      EXPECT_EQ(drives[i].firstSector, c.firsts[i]);
      EXPECT_EQ(drives[i].endSector, c.firsts[i] + 200);
      EXPECT_EQ(drives[i].tableBase, 0u);
      EXPECT_EQ(drives[i].partitionType, kLinuxPartition);
      EXPECT_EQ(drives[i].ordinal, i + 1);
    }
    // Without a drive the search object stays the current drive; with drives it is released.
    EXPECT_EQ(App().currentDrive != nullptr, c.firsts.empty());
    EXPECT_EQ(host.drive, App().currentDrive.get());
  }
}

// Every drive found is listed: the list is not cut at 255 rows.
TEST_F(DriveSearchTest, SearchRoadListsEveryDriveFound) {
  // 300 small drives of 6 sectors, each with its own check time, 8 sectors apart.
  std::vector<Placed> placed;
  for (std::uint32_t k = 0; k < 300; ++k) {
    Sb tiny;
    tiny.blocks = 3;
    tiny.inodes = 2;
    tiny.blocksPerGroup = 1;
    tiny.inodesPerGroup = 1;
    tiny.lastCheck = k;
    placed.push_back({100 + 8 * k, tiny});
  }
  Layout(4000, placed);
  App().searchType = 0;
  EXPECT_EQ(SearchForLogicalDrives(host, 0), 300);
  const auto& drives = LogicalDrives().Drives();
  ASSERT_EQ(drives.size(), 300u);
  EXPECT_EQ(drives[254].ordinal, 255);
  EXPECT_EQ(drives.back().firstSector, 100u + 8 * 299);
  EXPECT_EQ(drives.back().endSector, 100u + 8 * 299 + 6);
}

}  // namespace
