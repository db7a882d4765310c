// Metadata that cannot be read: inode-table blocks, indirect blocks of folders and partition
// tables each give a row, one for each block and a count once there are many.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "ext2engine/drive_selection.h"
#include "ext2engine/logical_drives.h"
#include "walk_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

using Names = std::vector<std::string>;

std::vector<LogRow> RowsWithStatus(const HeadlessHost& host, const std::string& status) {
  std::vector<LogRow> out;
  for (const LogRow& r : host.log) {
    if (r.status == status) out.push_back(r);
  }
  return out;
}

TEST(MetadataReadErrors, UnreadableInodeTableSectorGivesOneRowNamingItsInodes) {
  TinyExt2 fs;
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 17, 12, "a", 1);  // inodes 17 to 20 share sector 14, 17 to 24 block 7
  fs.Record(40, 36, 18, 12, "b", 1);
  fs.Record(40, 48, 12, 1024 - 48, "c", 1);
  for (std::uint32_t i : {12u, 17u, 18u}) fs.File(i, 5);
  OpenedDrive d(fs.bytes);
  FailSector(*d.disk, TinyExt2::kInodeTable * 2 + 4);
  d.Build();
  const auto rows = RowsWithStatus(d.host, "Disk read error");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].text, "Inode table block 7 (inodes 17 to 24): cannot be read");
  EXPECT_EQ(rows[0].icon, kIconEvent);
  EXPECT_EQ(d.host.log.back().text, "Process completed");
}

TEST(MetadataReadErrors, ManyUnreadableBlocksGiveRowsUpToABoundAndThenACount) {
  // 1024 inodes of 128 bytes: a table of 128 blocks, from block 5 to 132, all unreadable.
  TinyExt2 fs(2048, 1024);
  OpenedDrive d(fs.bytes);
  for (std::uint64_t s = TinyExt2::kInodeTable * 2; s < (TinyExt2::kInodeTable + 128) * 2; ++s) {
    FailSector(*d.disk, s);
  }
  d.drive.ReadSuperBlock(d.Node());
  ASSERT_TRUE(d.drive.ReadGroupDescriptors());
  d.drive.SearchDeletedFiles();
  const auto rows = RowsWithStatus(d.host, "Disk read error");
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[0].text, "Inode table block 5 (inodes 1 to 8): cannot be read");
  EXPECT_EQ(rows[19].text, "Inode table block 24 (inodes 153 to 160): cannot be read");
  EXPECT_EQ(rows[20].text, "108 more metadata blocks cannot be read");
  EXPECT_EQ(d.host.log.back().text, "Process completed, found 0 deleted & 0 lost entries");
}

TEST(MetadataReadErrors, UnreadableIndirectBlockOfAFolderGivesARowAndTheOtherBlocksAreRead) {
  TinyExt2 fs(256);
  fs.Dir(2, {40});
  fs.Dots(40, 2, 2);
  fs.Record(40, 24, 12, 1000, "big", 2);
  // Twelve direct blocks 41 to 52, a single-indirect block 60 naming 53, a double-indirect block 61
  // naming 62, which names 54. Block 41 holds "." and ".."; every block one file.
  std::vector<std::uint32_t> pointers;
  for (std::uint32_t b = 41; b <= 52; ++b) pointers.push_back(b);
  pointers.push_back(60);
  pointers.push_back(61);
  fs.SetInode(12, 0x41ED, 14 * 1024, pointers);
  PutLe32(fs.bytes, 60 * 1024, 53);
  PutLe32(fs.bytes, 61 * 1024, 62);
  PutLe32(fs.bytes, 62 * 1024, 54);
  fs.Dots(41, 12, 2);
  fs.Record(41, 24, 13, 1000, "f41", 1);
  fs.File(13, 1);
  for (std::uint32_t b = 42; b <= 54; ++b) {
    fs.Record(b, 0, b - 28, 1024, "f" + std::to_string(b), 1);
    fs.File(b - 28, 1);
  }
  OpenedDrive d(fs.bytes);
  FailSector(*d.disk, 60 * 2 + 1);
  d.Build();
  Names listed = d.Listed();
  EXPECT_EQ(listed.size(), 14u);  // big and the files of every block but 53
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "f53@25<12"), 0);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "f54@26<12"), 1);
  const auto rows = RowsWithStatus(d.host, "Disk read error");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].text, "Folder \"big\" (inode 12), indirect block 60: cannot be read");
}

// A disk whose device cannot be opened, with the reason of the open.
class RefusingSource : public DiskSource {
 public:
  explicit RefusingSource(int error) : error_(error) {}
  std::unique_ptr<platform::SectorDevice> Open(unsigned) override {
    errno = error_;
    return nullptr;
  }

 private:
  int error_;
};

TEST(MetadataReadErrors, UnreadablePartitionTablesSaySoWithTheReason) {
  struct Case {
    const char* what;
    std::shared_ptr<DiskSource> source;
    std::uint64_t badSector;
    int drives;
    LogRow row;
  };
  auto disk = [](std::uint64_t bad) {
    // A Linux partition at 63 and an extended partition at 2000 whose first record is unreadable.
    std::vector<std::uint8_t> bytes(20000 * 512, 0);
    bytes[446 + 4] = 0x83;
    PutLe32(bytes, 446 + 8, 63);
    PutLe32(bytes, 446 + 12, 1000);
    bytes[462 + 4] = 0x05;
    PutLe32(bytes, 462 + 8, 2000);
    PutLe32(bytes, 462 + 12, 10000);
    auto source = std::make_shared<MemoryDiskSource>();
    auto state = std::make_shared<platform::MemoryDevice>(std::move(bytes));
    FailSector(*state, bad);
    source->disks.push_back(state);
    return source;
  };
  Case cases[] = {
      {"no permission", std::make_shared<RefusingSource>(EACCES), 0, 0,
       {"Read partition table", "Sector 0 cannot be read: Permission denied", "Partition table not read",
        kIconQuestion}},
      {"first sector bad", disk(0), 0, 0,
       {"Read partition table", "Sector 0 cannot be read: Input/output error", "Partition table not read",
        kIconQuestion}},
      {"extended record bad", disk(2000), 0, 1,
       {"Read partition table", "Sector 2000 cannot be read: Input/output error",
        "Extended partition table not read", kIconQuestion}},
  };
  for (const Case& c : cases) {
    App().Reset();
    SetDiskSource(c.source);
    HeadlessHost host;
    EXPECT_EQ(WalkPartitionTables(host, 0, "M", "S"), c.drives) << c.what;
    SetDiskSource(nullptr);
    bool found = false;
    for (const LogRow& r : host.log) {
      found |= r.activity == c.row.activity && r.text == c.row.text && r.status == c.row.status && r.icon == c.row.icon;
      EXPECT_NE(r.status, "No valid Linux drives found") << c.what;
    }
    EXPECT_TRUE(found) << c.what;
  }
}

}  // namespace
