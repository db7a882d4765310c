#include "platform/raw_device.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using platform::RawDevice;

TEST(RawDevice, ReadsAtPositionsAndReportsShortAndEndReads) {
  auto path = std::filesystem::temp_directory_path() / "qv_raw_device_test.img";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 1000; ++i) out.put(static_cast<char>(i & 0xFF));
  }
  auto dev = RawDevice::OpenReadOnly(path.string());
  ASSERT_NE(dev, nullptr);
  std::uint64_t size = 0;
  ASSERT_TRUE(dev->SizeBytes(size));
  EXPECT_EQ(size, 1000u);
  unsigned char buf[512];
  EXPECT_EQ(dev->ReadAt(512, buf, 512), 488);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(buf[1], 1);
  EXPECT_EQ(dev->ReadAt(4096, buf, 512), 0);
  std::filesystem::remove(path);
}

TEST(RawDevice, MissingPathAndFolderAreRefused) {
  EXPECT_EQ(RawDevice::OpenReadOnly("/nonexistent/disk.img"), nullptr);
  EXPECT_EQ(RawDevice::OpenReadOnly("/tmp"), nullptr);
}
