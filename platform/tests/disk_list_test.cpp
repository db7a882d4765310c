#include "platform/disk_list.h"

#include <gtest/gtest.h>

using platform::PhysicalDiskPaths;

TEST(DiskList, EnvironmentListWinsAndDropsEmptyEntries) {
  auto paths = PhysicalDiskPaths("/tmp/a.img::/dev/sdb:", {"sda"});
  EXPECT_EQ(paths, (std::vector<std::string>{"/tmp/a.img", "/dev/sdb"}));
  EXPECT_TRUE(PhysicalDiskPaths("", {"sda"}).empty());
}

TEST(DiskList, SysBlockInNameOrderWithoutVirtualDevices) {
  auto paths = PhysicalDiskPaths(nullptr, {"sdb", "loop0", "sda", "dm-0", "sr0", "zram0", "nvme0n1", "ram1", "vda"});
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/nvme0n1", "/dev/sda", "/dev/sdb", "/dev/vda"}));
}

#include "platform/byte_reader.h"

TEST(ByteReader, ReadsBothOrdersAndRefusesFieldsPastTheEnd) {
  const std::uint8_t bytes[] = {0x53, 0xEF, 0x01, 0x02, 0x03};
  platform::ByteReader r(bytes, sizeof bytes);
  EXPECT_EQ(r.Le16(0), 0xEF53);
  EXPECT_EQ(r.Be16(0), 0x53EF);
  EXPECT_EQ(r.Le32(1), 0x030201EFu);
  EXPECT_EQ(r.Be32(1), 0xEF010203u);
  EXPECT_EQ(r.Le32(2), 0u);   // runs one byte past the end
  EXPECT_EQ(r.U8(5), 0);
  EXPECT_FALSE(r.Has(static_cast<std::size_t>(-1), 2));
}
