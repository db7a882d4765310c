#include "platform/sector_device.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "memory_device.h"

namespace {

TEST(SectorDevice, AnImageFileReadsByPositionAndHasNoLock) {
  const auto path = std::filesystem::temp_directory_path() / "qv_sector_device_test.img";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 3000; ++i) out.put(static_cast<char>(i & 0xFF));
  }
  auto dev = platform::OpenSectorDevice(path.string());
  ASSERT_NE(dev, nullptr);
  EXPECT_EQ(dev->Path(), path.string());
  std::uint64_t size = 0;
  ASSERT_TRUE(dev->SizeBytes(size));
  EXPECT_EQ(size, 3000u);
  unsigned char buf[2048];
  EXPECT_EQ(dev->ReadAt(2048, buf, sizeof buf), 952);
  EXPECT_EQ(buf[1], (2049 & 0xFF));
  EXPECT_TRUE(dev->LockMedia(true));
  EXPECT_TRUE(dev->LockMedia(false));
  std::filesystem::remove(path);
  errno = 0;
  EXPECT_EQ(platform::OpenSectorDevice(path.string()), nullptr);
  EXPECT_EQ(errno, ENOENT);
}

// The faults of the in-memory device apply to the reads that touch their range, in the order they
// were put, and wear off after their count.
TEST(MemoryDevice, FaultsApplyToTheReadsThatTouchTheirRange) {
  platform::MemoryDevice dev(std::vector<std::uint8_t>(4096, 7));
  dev.Fail(1024, 1536, 2);      // fails twice, then reads
  dev.Short(2048, 2560, 100);   // every read across it loses 100 bytes
  std::uint8_t buf[1024];
  struct Case {
    std::uint64_t position;
    std::size_t n;
    long long got;
  } cases[] = {
      {0, 1024, 1024},      // ends where the failing range begins
      {512, 1024, -1},      // touches it
      {1500, 10, -1},       // the second failure
      {1024, 512, 512},     // worn off
      {2000, 100, 0},       // touches the short range: nothing is left of 100 bytes
      {1536, 1024, 924},
      {2560, 1024, 1024},   // after it
      {3584, 1024, 512},    // the end of the medium
      {5000, 16, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(dev.ReadAt(c.position, buf, c.n), c.got) << c.position;
  EXPECT_EQ(dev.Reads().size(), std::size(cases));
  EXPECT_EQ(dev.ReadsOf(1024, 1536), 3u);
  EXPECT_EQ(buf[0], 7);
}

TEST(MemoryDevice, ASparseMediumAndItsReopenedDevicesShareEverything) {
  platform::MemoryDevice dev({1, 2, 3});
  dev.SetSize(3ull << 30);
  dev.Put(2ull << 30, {9, 8});
  auto again = dev.Open();
  std::uint8_t buf[4] = {5, 5, 5, 5};
  EXPECT_EQ(again->ReadAt((2ull << 30) - 1, buf, 4), 4);
  EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 4), (std::vector<std::uint8_t>{0, 9, 8, 0}));
  EXPECT_EQ(again->ReadAt(1, buf, 4), 4);
  EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 4), (std::vector<std::uint8_t>{2, 3, 0, 0}));
  dev.Fail(0, platform::MemoryDevice::kEnd, 1);
  EXPECT_EQ(again->ReadAt(0, buf, 1), -1);
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(dev.ReadAt(0, buf, 1), 1);
  EXPECT_EQ(dev.Reads().size(), 4u);
  std::uint64_t size = 0;
  ASSERT_TRUE(again->SizeBytes(size));
  EXPECT_EQ(size, 3ull << 30);
}

}  // namespace
