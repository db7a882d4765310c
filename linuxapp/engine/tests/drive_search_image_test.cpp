// The logical-drive search on a disk image without a partition table, with file systems that mke2fs
// wrote at chosen sectors.
//
// Recipe (430,080 sectors, sparse):
//   truncate -s 220200960 disk.img
//   mke2fs -t ext2 -b 1024 -E offset=$((63*512)),nodiscard disk.img 20000            # 3 groups
//   mke2fs -t ext3 -b 1024 -E offset=$((48258*512)),nodiscard disk.img 20000         # 3 x 16065 + 63
//   mke2fs -t ext2 -b 4096 -g 8192 -N 4096 -E offset=$((100001*512)),nodiscard disk.img 10000  # odd sector
//   mke2fs -t ext2 -b 4096 -E offset=$((208845*512)),nodiscard disk.img 100M        # 13 x 16065
//   mke2fs -t ext2 -b 1024 -N 8192 -E offset=$((419840*512)),nodiscard disk.img 4M  # 205 MiB
// The fourth is one block group of 25,600 blocks (of 32,768 per group) and as many inodes as blocks;
// the last one group of 4,096 blocks with twice as many inodes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "headless_host.h"

using namespace ext2;
using namespace ext2::headless;

namespace {

constexpr std::uint64_t kDiskSectors = 430080;

struct MadeDrive {
  std::uint32_t first;
  std::uint32_t sectors;
  std::uint16_t groups;
};
const std::vector<MadeDrive> kMade = {
    {63, 40000, 3}, {48258, 40000, 3}, {100001, 80000, 2}, {208845, 204800, 1}, {419840, 8192, 1}};

std::uint64_t Checksum(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint64_t h = 1469598103934665603ull;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) h = (h ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
  }
  return h;
}

class DriveSearchImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The process id keeps test runs of other build trees at the same time apart.
    path_ = ::testing::TempDir() + "drive_search_disk." + std::to_string(::getpid()) + ".img";
    std::remove(path_.c_str());
    const std::string mk = "E2FSPROGS_FAKE_TIME=1500000000 mke2fs -q -F ";
    const std::string commands[] = {
        "truncate -s " + std::to_string(kDiskSectors * 512) + " " + path_,
        mk + "-t ext2 -b 1024 -E offset=" + std::to_string(63 * 512) + ",nodiscard " + path_ + " 20000",
        mk + "-t ext3 -b 1024 -E offset=" + std::to_string(48258 * 512) + ",nodiscard " + path_ + " 20000",
        mk + "-t ext2 -b 4096 -g 8192 -N 4096 -E offset=" + std::to_string(100001ull * 512) + ",nodiscard " + path_ + " 10000",
        mk + "-t ext2 -b 4096 -E offset=" + std::to_string(208845ull * 512) + ",nodiscard " + path_ + " 100M",
        mk + "-t ext2 -b 1024 -N 8192 -E offset=" + std::to_string(419840ull * 512) + ",nodiscard " + path_ + " 4M",
    };
    made_ = true;
    for (const std::string& c : commands) {
      if (std::system((c + " >/dev/null 2>&1").c_str()) != 0) made_ = false;
    }
  }
  static void TearDownTestSuite() { std::remove(path_.c_str()); }

  void SetUp() override {
    if (!made_) GTEST_SKIP() << "mke2fs could not make the disk image";
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(PathListDiskSource({path_}));
  }
  void TearDown() override {
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }

  static std::string path_;
  static bool made_;
  HeadlessHost host;
};
std::string DriveSearchImageTest::path_;
bool DriveSearchImageTest::made_ = false;

TEST_F(DriveSearchImageTest, StandardFindsBoundaryDrivesAndAdvancedFindsEveryDrive) {
  const std::uint64_t before = Checksum(path_);
  struct Case {
    int searchType;
    std::vector<std::size_t> made;  // indices into kMade, in the order found
  };
  for (const Case& c : {Case{1, {0, 1, 3, 4}}, Case{0, {0, 1, 2, 3, 4}}}) {
    SCOPED_TRACE(c.searchType);
    host.messages.clear();
    App().searchType = c.searchType;
    EXPECT_EQ(SearchForLogicalDrives(host, 0), static_cast<int>(c.made.size()));
    EXPECT_TRUE(host.messages.empty());
    const auto& drives = LogicalDrives().Drives();
    ASSERT_EQ(drives.size(), c.made.size());
    for (std::size_t i = 0; i < c.made.size(); ++i) {
      const MadeDrive& made = kMade[c.made[i]];
      EXPECT_EQ(drives[i].firstSector, made.first);
      EXPECT_EQ(drives[i].endSector, made.first + made.sectors);
      EXPECT_EQ(drives[i].ordinal, i + 1);
    }
  }

  // Each drive found opens: its super block is where the search put the drive's start.
  for (std::size_t i = 0; i < kMade.size(); ++i) {
    const LogicalDriveNode node = LogicalDrives().Drives()[i];
    CLinuxDrive drive;
    drive.disk = kFirstPhysicalDisk;
    drive.firstSector = node.firstSector;
    drive.sectorCount = node.endSector - node.firstSector;
    drive.lastSector = node.endSector - 1;
    drive.ReadSuperBlock(node);
    EXPECT_EQ(drive.ReadGroupDescriptors(), 1);
    EXPECT_EQ(drive.groupCount, kMade[i].groups);
  }
  CloseDiskDevices();
  EXPECT_EQ(Checksum(path_), before);
}

}  // namespace
