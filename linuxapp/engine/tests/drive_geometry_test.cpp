// Super block, group descriptors and inode location of the drive object.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ext2engine/drive_selection.h"
#include "ext2engine/recovery.h"
#include "walk_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

std::vector<std::uint8_t> SuperBlockImage(std::uint32_t logBlock, std::uint32_t inodes, std::uint32_t perGroup,
                                          std::uint16_t inodeSize = 128, std::size_t at = 1024,
                                          std::size_t total = 64 * 1024) {
  std::vector<std::uint8_t> b(total, 0);
  // Groups of the largest size the block size allows, as many as the inodes need.
  const std::uint32_t perGroupBlocks = logBlock <= 2 ? 8192u << logBlock : 8192;
  const std::uint32_t groups = perGroup == 0 ? 1 : std::max(1u, (inodes + perGroup - 1) / perGroup);
  PutLe32(b, at + 4, groups * perGroupBlocks + (logBlock == 0 ? 1 : 0));
  PutLe32(b, at + 32, perGroupBlocks);
  PutLe32(b, at + 0, inodes);
  PutLe32(b, at + 24, logBlock);
  PutLe32(b, at + 40, perGroup);
  PutLe16(b, at + 56, 0xEF53);
  PutLe32(b, at + 76, inodeSize == 128 ? 0 : 1);
  PutLe16(b, at + 88, inodeSize);
  return b;
}

TEST(SuperBlock, GeometryFromTheFirstSuperBlock) {
  struct Case {
    std::uint32_t logBlock, inodes, perGroup;
    std::uint16_t inodeSize;
    int spb, table, groups;
    std::uint32_t tableSectors;
  } cases[] = {
      {0, 2048, 2048, 128, 2, 4, 1, 512},
      {1, 2048, 2048, 128, 4, 4, 1, 512},
      {2, 2048, 2048, 128, 8, 8, 1, 512},
      {2, 10000, 4096, 128, 8, 8, 3, 1024},
      {2, 8192, 4096, 256, 8, 8, 2, 2048},  // 256-byte inodes: two per sector
  };
  for (const auto& c : cases) {
    OpenedDrive d(SuperBlockImage(c.logBlock, c.inodes, c.perGroup, c.inodeSize));
    d.drive.ReadSuperBlock(d.Node());
    EXPECT_EQ(d.drive.sectorsPerBlock, c.spb);
    EXPECT_EQ(d.drive.descriptorTableOffset, c.table);
    EXPECT_EQ(d.drive.groupCount, c.groups);
    EXPECT_EQ(d.drive.inodeTableSectorsPerGroup, c.tableSectors);
    EXPECT_EQ(d.drive.inodeSize, c.inodeSize);
    EXPECT_TRUE(d.host.log.empty());  // no search
  }
}

TEST(SuperBlock, UnusableFirstCopyRunsTheSearchWhichKeepsTheDrivesFirstSector) {
  // Zero inodes per group in the first copy; a good copy in the third sector of the second read.
  auto bytes = SuperBlockImage(0, 2048, 0, 128, 1024, 256 * 1024);
  const std::size_t copy = (63 + 63 + 2) * 512;
  auto good = SuperBlockImage(1, 4096, 2048, 256, 0, 512);
  std::copy(good.begin(), good.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copy));
  OpenedDrive d(bytes);
  d.drive.ReadSuperBlock(d.Node());
  EXPECT_EQ(d.drive.sectorsPerBlock, 4);
  EXPECT_EQ(d.drive.groupCount, 2);
  EXPECT_EQ(d.drive.inodeSize, 256);
  EXPECT_EQ(d.drive.firstSector, 0u);
  // No copy of group 1 where the group sizes put it: the drive is searched.
  ASSERT_EQ(d.host.log.size(), 3u);
  EXPECT_EQ(d.host.log[0].text, "Super block unusable: s_inodes_per_group 0");
  EXPECT_EQ(d.host.log[1].activity, "Searching for valid super block");
  EXPECT_EQ(d.host.log[2].text, "Valid super block found");
  EXPECT_EQ(d.host.barSteps, 2);
}

TEST(SuperBlock, NoUsableCopyLeavesNoGeometry) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"zero inodes per group", SuperBlockImage(0, 2048, 0)},
      {"zero inodes", SuperBlockImage(0, 0, 2048)},
      {"8 KiB blocks", SuperBlockImage(3, 2048, 2048)},
      {"odd inode size", SuperBlockImage(0, 2048, 2048, 200)},
      {"no magic", std::vector<std::uint8_t>(64 * 1024, 0)},
  };
  for (auto& c : cases) {
    OpenedDrive d(c.bytes);
    d.drive.ReadSuperBlock(d.Node());
    EXPECT_FALSE(d.drive.HasGeometry()) << c.what;
    EXPECT_EQ(d.drive.ReadGroupDescriptors(), 0) << c.what;
    ASSERT_FALSE(d.host.log.empty()) << c.what;
    EXPECT_EQ(d.host.log.back().text, "No valid super block") << c.what;
  }
}

// A first super block that describes an impossible drive: a row names the field, and the copy of
// group 1 is taken when there is one; without one the drive is searched and refused.
TEST(SuperBlock, ImpossibleFirstCopyIsNamedAndGroupOnesCopyTaken) {
  struct Case {
    std::size_t offset, width;
    std::uint32_t value;
    const char* row;
  } cases[] = {
      {56, 2, 0, "s_magic 0"},
      {24, 4, 3, "s_log_block_size 3"},
      {24, 4, 0x100, "s_log_block_size 256"},  // its low byte alone reads as 1 KiB
      {88, 2, 200, "s_inode_size 200"},
      {88, 2, 2048, "s_inode_size 2048"},  // above the block size
      {88, 2, 64, "s_inode_size 64"},
      {0, 4, 0, "s_inodes_count 0"},
      {0, 4, 0xFFFFFFFF, "s_inodes_count 4294967295"},
      {40, 4, 0, "s_inodes_per_group 0"},
      {40, 4, 0x10000, "s_inodes_per_group 65536"},  // an inode table of 16384 blocks: past its group
      {4, 4, 0, "s_blocks_count 0"},
      {32, 4, 0, "s_blocks_per_group 0"},
      {32, 4, 9000, "s_blocks_per_group 9000"},  // more than a 1 KiB bitmap counts
  };
  // Two groups of 8192 1 KiB blocks, 2048 inodes of 256 bytes each; group 1's copy at block 8193.
  const std::size_t copyAt = 8193 * 1024;
  const auto good = SuperBlockImage(0, 4096, 2048, 256, 0, 1024);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    auto bytes = SuperBlockImage(0, 4096, 2048, 256, 1024, copyAt + 64 * 1024);
    std::copy(good.begin(), good.end(), bytes.begin() + static_cast<std::ptrdiff_t>(copyAt));
    PutLe16(bytes, copyAt + 90, 1);  // s_block_group_nr
    for (std::size_t i = 0; i < c.width; ++i) bytes[1024 + c.offset + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
    OpenedDrive d(bytes);
    d.drive.ReadSuperBlock(d.Node());
    ASSERT_EQ(d.host.log.size(), 2u);
    EXPECT_EQ(d.host.log[0].text, std::string("Super block unusable: ") + c.row);
    EXPECT_EQ(d.host.log[1].text, "Backup super block of group 1 used");
    EXPECT_EQ(d.host.log[1].status, "At sector 16386 of the drive");
    EXPECT_EQ(d.drive.sectorsPerBlock, 2);
    EXPECT_EQ(d.drive.inodesPerGroup, 2048u);
    EXPECT_EQ(d.drive.inodesCount, 4096u);
    EXPECT_EQ(d.drive.inodeSize, 256);

    // Without the copy: the search finds none and the drive is refused.
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(copyAt), bytes.end(), 0);
    OpenedDrive alone(bytes);
    alone.drive.ReadSuperBlock(alone.Node());
    EXPECT_FALSE(alone.drive.HasGeometry());
    ASSERT_FALSE(alone.host.log.empty());
    EXPECT_EQ(alone.host.log.front().text, std::string("Super block unusable: ") + c.row);
    EXPECT_EQ(alone.host.log.back().text, "No valid super block");
  }
}

TEST(SuperBlock, StopDuringTheSearch) {
  OpenedDrive d(SuperBlockImage(0, 2048, 0, 128, 1024, 1 << 20));
  d.host.onPump = [](HeadlessHost& h) {
    if (h.pumps == 3) h.abortFlag = 1;
  };
  EXPECT_EQ(d.drive.SearchSuperBlock(d.Node()), 0);
  ASSERT_EQ(d.host.log.size(), 3u);
  EXPECT_EQ(d.host.log[1].text, "Process aborted, user intervention ");
  EXPECT_EQ(d.host.log[1].status.rfind("Aborted on ", 0), 0u);
  EXPECT_EQ(d.host.log[2].text, "No valid super block");
  EXPECT_EQ(d.host.barSteps, 2);
}

// Opening a drive whose super block names incompatible features: those the engine does not read
// get one error row after the drive parameters; the drive is read as before.
TEST(SuperBlock, FeaturesNotReadAreLoggedAfterTheDriveParameters) {
  struct Case {
    std::uint32_t incompat;
    const char* names;  // null: no row
  } cases[] = {
      {0, nullptr},
      {0x0002, nullptr},           // filetype
      {0x0002 | 0x0004, nullptr},  // an ext3 drive whose journal waits for recovery
      {0x0002 | 0x0100 | 0x0200 | 0x0400 | 0x2000 | 0x4000 | 0x20000, nullptr},
      {0x0002 | 0x0040 | 0x0080 | 0x0200, "extent, 64bit"},  // ext4
      {0x0010, "meta_bg"},
      {0x0001 | 0x0008 | 0x1000 | 0x8000 | 0x10000, "compression, journal_dev, dirdata, inline_data, encrypt"},
      {0x0002 | (1u << 24), "FEATURE_I24"},
  };
  for (const auto& c : cases) {
    TinyExt2 fs;
    fs.Dir(2, {40});
    fs.Dots(40, 2, 2);
    fs.Record(40, 24, 12, 1024 - 24, "file", 1);
    fs.File(12, 1, {41});
    PutLe32(fs.bytes, 1024 + 96, c.incompat);
    App().Reset();
    InstallMemoryDisk(fs.bytes);
    LogicalDrives().Clear();
    LogicalDrives().Drives().push_back({0, 0, static_cast<std::uint32_t>(fs.bytes.size() / 512), 0x83, 0, 0});
    HeadlessHost host;
    ASSERT_TRUE(OpenLogicalDrive(host, 0x80, 0));
    std::vector<std::string> rows;
    for (const auto& row : host.log) rows.push_back(row.activity + "|" + row.text + "|" + std::to_string(row.icon));
    std::vector<std::string> expect = {"Getting drive parameters||4", "||0"};
    if (c.names != nullptr) expect.push_back("|File system features not supported: " + std::string(c.names) + "|3");
    expect.push_back("Creating directory tree|Process started|4");
    ASSERT_GE(rows.size(), expect.size() + 1) << c.incompat;
    EXPECT_EQ(std::vector<std::string>(rows.begin() + 1, rows.begin() + 1 + static_cast<std::ptrdiff_t>(expect.size())),
              expect)
        << c.incompat;
    if (c.names != nullptr) {
      EXPECT_EQ(host.log[3].status, "Files and folders may be missing");
    }
    EXPECT_EQ(host.entries.size(), 2u) << c.incompat;  // Root and the file, as before
    host.SetDrive(nullptr);
    App().currentDrive.reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }
}

// A partition entry shorter than its file system: the drive is read to the file system's size as
// far as the disk holds it, with a row saying so; a drive that reaches past the disk's end (a cut
// image) gets a row too. The file lies in block 180 (sectors 360 and 361) of 256.
TEST(SuperBlock, DriveCoversItsFileSystemAndSaysWhenTheDiskEndsFirst) {
  struct Case {
    const char* what;
    std::uint32_t entrySectors;
    std::size_t diskSectors;
    std::uint32_t expectSectors;
    const char* status;  // the row after the drive parameters; null: none
  } cases[] = {
      {"entry shorter than the file system", 300, 512, 512, "Drive is larger than its partition"},
      {"entry and disk shorter", 300, 400, 400, "Drive is larger than its partition"},
      {"disk cut inside the drive", 512, 400, 512, "Drive reaches past the end of the disk"},
      {"entry as large as its file system", 512, 512, 512, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TinyExt2 fs;
    fs.Dir(2, {40});
    fs.Dots(40, 2, 2);
    fs.Record(40, 24, 12, 1024 - 24, "file", 1);
    fs.File(12, 5, {180});
    std::copy_n("hello", 5, fs.bytes.begin() + 180 * 1024);
    fs.bytes.resize(c.diskSectors * 512);
    App().Reset();
    InstallMemoryDisk(fs.bytes);
    LogicalDrives().Clear();
    LogicalDrives().Drives().push_back({0, 0, c.entrySectors, 0x83, 0, 0});
    HeadlessHost host;
    ASSERT_TRUE(OpenLogicalDrive(host, 0x80, 0));
    ASSERT_TRUE(App().currentDrive);
    EXPECT_EQ(App().currentDrive->sectorCount, c.expectSectors);
    ASSERT_GE(host.log.size(), 4u);
    EXPECT_EQ(host.log[3].status.substr(0, c.status != nullptr ? std::string::npos : 10),
              c.status != nullptr ? c.status : "Started on");
    ASSERT_EQ(host.entries.size(), 2u);
    const std::filesystem::path dest =
        std::filesystem::temp_directory_path() / ("qv_fit_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dest);
    std::filesystem::create_directories(dest);
    RecoverFiles(host, *App().currentDrive, kRecoverAll, dest.string());
    std::ifstream in(dest / "#Root/file");
    std::string got;
    std::getline(in, got);
    EXPECT_EQ(got, "hello");
    std::filesystem::remove_all(dest);
    host.SetDrive(nullptr);
    App().currentDrive.reset();
    LogicalDrives().Clear();
    SetDiskSource(nullptr);
  }
}

TEST(GroupDescriptors, ReadingEndsAtAZeroBitmapOrTheGroupCount) {
  auto bytes = SuperBlockImage(0, 32 * 20, 32);  // 20 groups
  for (int g = 0; g < 20; ++g) {
    PutLe32(bytes, 2048 + 32 * g, 100 + g);
    PutLe32(bytes, 2048 + 32 * g + 8, 200 + g);
  }
  PutLe32(bytes, 2048 + 32 * 3, 0);  // the fourth descriptor ends the table
  OpenedDrive d(bytes);
  d.drive.ReadSuperBlock(d.Node());
  ASSERT_EQ(d.drive.ReadGroupDescriptors(), 1);
  ASSERT_EQ(d.drive.descriptors.size(), 3u);
  EXPECT_EQ(d.drive.descriptors[2].blockBitmapSector, 102u * 2);
  EXPECT_EQ(d.drive.descriptors[2].inodeTableSector, 202u * 2);
  EXPECT_EQ(d.drive.descriptors[2].inodeTableSectors, 8u);

  // A table with no zero entry is read only as far as the super block's groups.
  auto full = SuperBlockImage(0, 32 * 5, 32);
  for (int g = 0; g < 40; ++g) PutLe32(full, 2048 + 32 * g, 100 + g);
  OpenedDrive e(full);
  e.drive.ReadSuperBlock(e.Node());
  e.drive.ReadGroupDescriptors();
  EXPECT_EQ(e.drive.descriptors.size(), 5u);
}

TEST(Inodes, LocationByInodeSize) {
  CLinuxDrive drive;
  drive.inodesPerGroup = 2048;
  struct Case {
    std::uint16_t size;
    std::uint32_t inode;
    int group;
    std::uint32_t sector;
    long offset;
  } cases[] = {
      {128, 1, 0, 0, 0},   {128, 5, 0, 1, 0},   {128, 8, 0, 1, 384}, {128, 2049, 1, 0, 0},
      {256, 8, 0, 3, 256}, {256, 2050, 1, 0, 256}, {1024, 3, 0, 4, 0},
  };
  for (const auto& c : cases) {
    drive.inodeSize = c.size;
    std::uint16_t group = 99;
    std::uint32_t sector = 99;
    EXPECT_EQ(drive.LocateInode(c.inode, &group, &sector), c.offset) << c.size << "/" << c.inode;
    EXPECT_EQ(group, c.group);
    EXPECT_EQ(sector, c.sector);
  }
  std::uint16_t group = 0;
  std::uint32_t sector = 0;
  EXPECT_EQ(drive.LocateInode(0, &group, &sector), -1);
  drive.inodesPerGroup = 1;
  EXPECT_EQ(drive.LocateInode(0x00FFFFFF, &group, &sector), -1);  // group beyond 16 bits
}

TEST(Inodes, RegularFilesTakeTheSizesHighWordAndTimesAreSigned) {
  struct Case {
    const char* what;
    std::uint16_t mode;
    std::uint64_t size;
  } cases[] = {
      {"regular file", 0x81A4, (std::uint64_t{5} << 32) + 12345},
      {"folder (the word is i_dir_acl there)", 0x41ED, 12345},
      {"symbolic link", 0xA1FF, 12345},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> raw(256, 0);
    PutLe16(raw, 0, c.mode);
    PutLe32(raw, 4, 12345);
    PutLe32(raw, 8, 0xFF1B1E40u);  // 1969-07-11
    PutLe32(raw, 12, 0x7FFFFFFFu);
    PutLe32(raw, 16, 0x80000000u);  // 1901-12-13
    PutLe32(raw, 108, 5);
    const InodeCopy inode = DecodeInode(raw.data(), raw.size(), 0);
    EXPECT_EQ(inode.size, c.size) << c.what;
    EXPECT_EQ(inode.atime, -15000000) << c.what;
    EXPECT_EQ(inode.ctime, 2147483647) << c.what;
    EXPECT_EQ(inode.mtime, -2147483647 - 1) << c.what;
  }
}

TEST(Inodes, DirectPointersPastTheDriveRejectOrCutTheCopy) {
  TinyExt2 fs(256);
  const std::uint32_t blocks = 256;  // the drive's block count
  fs.File(12, 10, {blocks});
  fs.File(13, 10, {blocks + 1});
  fs.File(14, 10, {50, 51, 52, blocks + 5, 53});
  OpenedDrive d(fs.bytes);
  d.drive.ReadSuperBlock(d.Node());
  ASSERT_EQ(d.drive.ReadGroupDescriptors(), 1);
  auto atEnd = d.drive.ReadInode(12);
  ASSERT_NE(atEnd, nullptr);
  EXPECT_EQ(atEnd->block[0], blocks);
  EXPECT_EQ(d.drive.ReadInode(13), nullptr);
  auto cut = d.drive.ReadInode(14);
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->block[2], 52u);
  EXPECT_EQ(cut->block[3], 0u);
  EXPECT_EQ(cut->block[4], 53u);  // beyond the cut; the block list stops at the zero
  EXPECT_EQ(d.drive.ReadInode(129), nullptr);  // outside the group table
}

}  // namespace

namespace {

// A super block of S_BLOCKS_COUNT blocks in groups of 2 (revision 0: no sparse_super, so every
// group would hold a backup) on a drive of 32 KiB whose descriptor 0 is all zeros.
std::vector<std::uint8_t> BackupsEverywhereImage(std::uint32_t blocksCount) {
  std::vector<std::uint8_t> b(32 * 1024, 0);
  PutLe32(b, 1024 + 0, 800);  // 100 groups of 8 inodes
  PutLe32(b, 1024 + 4, blocksCount);
  PutLe32(b, 1024 + 32, 2);
  PutLe32(b, 1024 + 40, 8);
  PutLe16(b, 1024 + 56, 0xEF53);
  return b;
}

}  // namespace

// A damaged first descriptor table is looked for in backup copies only in groups that lie on the
// drive and the disk, and in the first few of them: a block count of 2^16 in groups of 2 blocks
// names 32,767 backup groups, but the drive holds 16 and no more than 8 are tried. (The block count
// of 2^32 - 1 is replayed by the fuzz regressions under a memory limit.)
TEST(GroupDescriptors, BackupCopiesAreTriedOnlyInTheFirstGroupsOnTheDrive) {
  for (const std::uint32_t blocks : {1u << 16, 64u}) {
    SCOPED_TRACE(blocks);
    OpenedDrive d(BackupsEverywhereImage(blocks));
    d.drive.ReadSuperBlock(d.Node());
    ASSERT_TRUE(d.drive.HasGeometry());
    d.disk->ClearReads();
    EXPECT_EQ(d.drive.ReadGroupDescriptors(), 0);
    // The first copy's block, at most 8 backup blocks, and the first copy again sector by sector.
    EXPECT_LE(d.disk->Reads().size(), 1u + 8u + 2u);
    EXPECT_GE(d.disk->Reads().size(), 1u + 8u);
  }
}
