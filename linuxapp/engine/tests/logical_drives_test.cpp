#include "ext2engine/logical_drives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "headless_host.h"
#include "test_disk.h"

using namespace ext2;
using namespace ext2::headless;
using namespace ext2::testing;

namespace {

// A disk with partition tables written at given sectors.
class TableDisk {
 public:
  explicit TableDisk(std::uint32_t sectors = 20000) : bytes_(static_cast<std::size_t>(sectors) * 512, 0) {}
  TableDisk& Entry(std::uint32_t tableLba, int slot, std::uint8_t type, std::uint32_t start, std::uint32_t count) {
    const std::size_t at = static_cast<std::size_t>(tableLba) * 512 + 446 + 16 * slot;
    bytes_.at(at + 4) = type;
    PutLe32(bytes_, at + 8, start);
    PutLe32(bytes_, at + 12, count);
    return *this;
  }
  // BYTES written from sector LBA on.
  TableDisk& Put(std::uint32_t lba, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(lba) * 512);
    return *this;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<LogicalDriveNode> Walk() {
    InstallMemoryDisk(bytes_);
    LogicalDriveList list;
    list.StartWalk();
    list.ScanPartitionTable(0x80, 0);
    SetDiskSource(nullptr);
    return list.Drives();
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct Expected {
  std::uint32_t first, base, end;
  std::uint8_t ordinal;
};

void ExpectDrives(const std::vector<LogicalDriveNode>& got, const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].firstSector, want[i].first) << i;
    EXPECT_EQ(got[i].tableBase, want[i].base) << i;
    EXPECT_EQ(got[i].endSector, want[i].end) << i;
    EXPECT_EQ(got[i].ordinal, want[i].ordinal) << i;
    EXPECT_EQ(got[i].partitionType, 0x83) << i;
  }
}

TEST(PartitionWalk, LinuxPartitionInTheMasterBootRecordWithoutSignature) {
  ExpectDrives(TableDisk().Entry(0, 0, 0x83, 63, 1000).Walk(), {{63, 0, 1063, 0}});
  EXPECT_TRUE(TableDisk().Walk().empty());
}

TEST(PartitionWalk, ExtendedChainStartsAreRelativeToTheirRecordAndTheFirstExtended) {
  for (std::uint8_t extended : {0x05, 0x0F, 0x85}) {
    auto drives = TableDisk()
                      .Entry(0, 0, 0x83, 63, 1000)
                      .Entry(0, 1, extended, 2000, 10000)
                      .Entry(0, 2, 0x83, 15000, 100)
                      .Entry(2000, 0, 0x83, 63, 500)
                      .Entry(2000, 1, 0x05, 5000, 3000)
                      .Entry(7000, 0, 0x82, 63, 10)  // swap
                      .Entry(7000, 1, 0x83, 100, 200)
                      .Entry(7000, 2, 0x8E, 400, 10)
                      .Walk();
    // Depth-first: the entries before the extended one, the chain, then the entries after it.
    ExpectDrives(drives, {{63, 0, 1063, 0}, {2063, 2000, 2563, 1}, {7100, 7000, 7300, 2}, {15000, 0, 15100, 3}});
  }
}

TEST(PartitionWalk, ChainsThatPointBackEndWithEveryDriveFoundOnce) {
  // A link back to the record itself.
  ExpectDrives(TableDisk().Entry(0, 0, 0x05, 2000, 9000).Entry(2000, 0, 0x83, 63, 10).Entry(2000, 1, 0x05, 0, 9000).Walk(),
               {{2063, 2000, 2073, 0}});
  // A second record whose link points back to the first one.
  ExpectDrives(TableDisk()
                   .Entry(0, 0, 0x05, 2000, 9000)
                   .Entry(2000, 0, 0x83, 63, 10)
                   .Entry(2000, 1, 0x05, 1000, 9000)
                   .Entry(3000, 0, 0x83, 63, 10)
                   .Entry(3000, 1, 0x05, 0, 9000)
                   .Walk(),
               {{2063, 2000, 2073, 0}, {3063, 3000, 3073, 1}});
  // The master boot record naming itself as an extended partition.
  ExpectDrives(TableDisk().Entry(0, 0, 0x05, 0, 9000).Entry(0, 1, 0x83, 63, 10).Walk(), {{63, 0, 73, 0}});
}

TEST(PartitionWalk, UnreadableTableContributesNothing) {
  ExpectDrives(TableDisk(100).Entry(0, 0, 0x05, 5000, 100).Entry(0, 1, 0x83, 63, 10).Walk(), {{63, 0, 73, 0}});
}

// Ends in 64 bits: an entry reaching past the last 32-bit sector (its end wrapped to a sector before
// its start) or starting past the disk's end is refused; one that starts inside a disk that ends
// too soon (an image cut short) is listed. Each gets a row after the walk.
TEST(PartitionWalk, EntriesReachingPastTheDiskEndAreRefusedOrFlagged) {
  TableDisk disk(20000);
  disk.Entry(0, 0, 0x83, 20480, 0xFFFFFFFFu).Entry(0, 1, 0x83, 25000, 100).Entry(0, 2, 0x83, 1000, 30000)
      .Entry(0, 3, 0x83, 63, 900);
  App().Reset();
  LogicalDrives().Clear();
  InstallMemoryDisk(disk.Bytes());
  HeadlessHost host;
  EXPECT_EQ(WalkPartitionTables(host, 0, "M", "S"), 2);
  ExpectDrives(LogicalDrives().Drives(), {{1000, 0, 31000, 0}, {63, 0, 963, 1}});
  std::vector<std::string> rows;
  for (const auto& r : host.log) {
    if (r.activity == "Read partition table" && r.icon == kIconAborted) rows.push_back(r.text + " | " + r.status);
  }
  const std::string past = " ends past the disk's end (20000 sectors) | ";
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "Linux partition from sector 20480 to 4294987774" + past + "Partition refused",
                      "Linux partition from sector 25000 to 25099" + past + "Partition refused",
                      "Linux partition from sector 1000 to 30999" + past + "Drive may be incomplete"}));
  LogicalDrives().Clear();
  SetDiskSource(nullptr);
}

// The number of drives a walk finds is an int: a chain of 256 drives or more is listed whole (it
// read as none, or as a few, when counted in a byte), and a row past 255 opens its drive.
TEST(PartitionWalk, ChainsOf256AndMoreDrivesAreCountedAndTheirLastRowOpens) {
  for (const std::uint32_t n : {256u, 300u}) {
    SCOPED_TRACE(n);
    // Boot record k at 2048 + 2k holds a one-sector Linux drive right after it and the link to the
    // next; the last one's drive is a small ext2 after the chain.
    constexpr std::uint32_t kBase = 2048;
    const std::uint32_t fsAt = kBase + 2 * n + 64;
    TinyExt2 fs(256);
    fs.Dir(2, {40});
    fs.Dots(40, 2, 2);
    fs.Record(40, 24, 12, 1000, "last.txt", 1);
    fs.File(12, 3);
    TableDisk disk(fsAt + 512 + 8);
    disk.Entry(0, 0, 0x05, kBase, 2 * n);
    for (std::uint32_t k = 0; k < n; ++k) {
      const std::uint32_t record = kBase + 2 * k;
      if (k + 1 < n) {
        disk.Entry(record, 0, 0x83, 1, 1).Entry(record, 1, 0x05, 2 * (k + 1), 2);
      } else {
        disk.Entry(record, 0, 0x83, fsAt - record, 512);
      }
    }
    disk.Put(fsAt, fs.bytes);
    App().Reset();
    LogicalDrives().Clear();
    InstallMemoryDisk(disk.Bytes());
    HeadlessHost host;

    EXPECT_EQ(WalkPartitionTables(host, 0, "M", "S"), static_cast<int>(n));
    ASSERT_EQ(LogicalDrives().Drives().size(), n);
    EXPECT_EQ(host.log.back().status, std::to_string(n) + " Linux logical drive(s) found");
    EXPECT_TRUE(host.messages.empty());

    ASSERT_TRUE(OpenLogicalDrive(host, 0x80, static_cast<int>(n - 1)));
    ASSERT_TRUE(App().currentDrive);
    EXPECT_EQ(App().currentDrive->firstSector, fsAt);
    EXPECT_EQ(App().currentDrive->driveIndex, n - 1);
    ASSERT_EQ(host.entries.size(), 2u);  // Root and the file
    EXPECT_EQ(host.entries[1].name, "last.txt");
    EXPECT_EQ(App().scanned, 1);
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }
}

TEST(LogicalDriveListTest, SavedListUntilTheChoiceIsCommittedOrAbandoned) {
  LogicalDriveList list;
  list.Drives().push_back({1, 0, 2, 0x83, 0, 0});
  list.StartWalk();
  EXPECT_TRUE(list.Drives().empty());
  ASSERT_TRUE(list.HasSavedList());
  list.Drives().push_back({5, 0, 6, 0x83, 0, 0});
  list.AbandonChoice();
  ASSERT_EQ(list.Drives().size(), 1u);
  EXPECT_EQ(list.Drives()[0].firstSector, 1u);
  EXPECT_FALSE(list.HasSavedList());

  list.StartWalk();
  list.Drives().push_back({5, 0, 6, 0x83, 0, 0});
  list.CommitChoice();
  EXPECT_FALSE(list.HasSavedList());
  EXPECT_EQ(list.Drives()[0].firstSector, 5u);

  // Without a saved list, Cancel keeps the walk's list; a search drops the list but keeps a saved one.
  list.AbandonChoice();
  EXPECT_EQ(list.Drives().size(), 1u);
  list.StartWalk();
  list.StartSearch();
  EXPECT_TRUE(list.Drives().empty());
  EXPECT_TRUE(list.HasSavedList());
}

}  // namespace
