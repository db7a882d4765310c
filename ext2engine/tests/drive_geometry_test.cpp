// Super block, group descriptors and inode location of the drive object.
#include <gtest/gtest.h>

#include "walk_fixture.h"

namespace {

std::vector<std::uint8_t> SuperBlockImage(std::uint32_t logBlock, std::uint32_t inodes, std::uint32_t perGroup,
                                          std::uint16_t inodeSize = 128, std::size_t at = 1024,
                                          std::size_t total = 64 * 1024) {
  std::vector<std::uint8_t> b(total, 0);
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
  ASSERT_EQ(d.host.log.size(), 2u);
  EXPECT_EQ(d.host.log[0].activity, "Searching for valid super block");
  EXPECT_EQ(d.host.log[1].text, "Valid super block found");
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
