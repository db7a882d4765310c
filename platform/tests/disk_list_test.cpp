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

#include <filesystem>
#include <fstream>
#include <unistd.h>

// Disks that do not answer IDENTIFY (NVMe, USB bridges, virtio, images) are told apart by what
// sysfs says of them, or by an image's file name.
TEST(DiskList, DescriptionFromSysfsOrTheImagesFileName) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(::testing::TempDir()) / ("qv_sysfs_" + std::to_string(::getpid()));
  fs::remove_all(root);
  auto put = [&](const std::string& rel, const std::string& text) {
    fs::create_directories((root / rel).parent_path());
    std::ofstream(root / rel) << text;
  };
  put("block/nvme0n1/device/model", "Samsung SSD 980 1TB                     \n");
  put("block/nvme0n1/device/serial", "  S64ANS0T123456X   \n");
  put("block/nvme0n1/wwid", "eui.0025385b11223344\n");
  put("block/vda/serial", "virtio-disk-7\n");
  put("block/sdb/device/model", "Ultra Fit       \n");
  put("block/sdb/device/wwid", "t10.SanDisk 4C530001\n");
  put("block/nvme1n1/wwid", "nvme.144d-5336\n");
  put("block/sdc/device/model", "   \n");
  const fs::path image = root / "backup disk.img";
  std::ofstream(image) << std::string(512, '\0');

  struct Case {
    std::string path, model, serial;
  };
  const Case cases[] = {
      {"/dev/nvme0n1", "Samsung SSD 980 1TB", "S64ANS0T123456X"},  // device/serial before the wwid
      {"/dev/vda", "", "virtio-disk-7"},
      {"/dev/sdb", "Ultra Fit", "t10.SanDisk 4C530001"},
      {"/dev/nvme1n1", "", "nvme.144d-5336"},
      {"/dev/sdc", "", ""},  // blanks only
      {"/dev/sdz", "", ""},  // nothing in sysfs
      {image.string(), "backup disk.img", ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.path);
    const platform::DiskDescription d = platform::DescribeDiskPath(k.path, root.string());
    EXPECT_EQ(d.model, k.model);
    EXPECT_EQ(d.serial, k.serial);
  }
  ::setenv("QUARVEL_SYSFS", root.c_str(), 1);
  EXPECT_EQ(platform::DescribeDiskPath("/dev/vda").serial, "virtio-disk-7");
  ::unsetenv("QUARVEL_SYSFS");
  fs::remove_all(root);
}
