#include "ext2engine/disk_access.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/drive_selection.h"
#include "test_disk.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

class DiskAccess : public ::testing::Test {
 protected:
  void SetUp() override { App().Reset(); }
  void TearDown() override { SetDiskSource(nullptr); }
};

TEST_F(DiskAccess, RetryCountIsTheNumberOfAttemptsInAll) {
  struct Case {
    std::uint8_t retries;
    int failures;
    int expectResult;
    int expectReads;
  } cases[] = {
      {3, 100, 0, 3},  // never reads: exactly three attempts
      {3, 1, 1, 2},    // reads on the second attempt
      {1, 1, 0, 1},
      {6, 5, 1, 6},
      {0, 100, 0, 1},  // a stored 0 still makes one attempt
  };
  for (const auto& c : cases) {
    auto disk = InstallMemoryDisk(std::vector<std::uint8_t>(4096, 0xAB));
    disk->Fail(0, platform::MemoryDevice::kEnd, c.failures);
    App().readRetryCount = c.retries;
    std::uint8_t buf[512] = {};
    EXPECT_EQ(ReadDiskSectors(0x80, 1, 0, buf, 512), c.expectResult) << int(c.retries) << "/" << c.failures;
    EXPECT_EQ(static_cast<int>(disk->Reads().size()), c.expectReads) << int(c.retries) << "/" << c.failures;
  }
}

// Reopening a block device for every read drops its page cache: one descriptor serves the reads of
// the process, and only a failed read makes the next attempt open the disk anew.
TEST_F(DiskAccess, OneOpenServesEveryReadUntilAReadFails) {
  auto source = std::make_shared<MemoryDiskSource>();
  auto disk = std::make_shared<platform::MemoryDevice>(std::vector<std::uint8_t>(64 * 512, 0x5A));
  source->disks.push_back(disk);
  SetDiskSource(source);
  std::uint8_t buf[512] = {};
  for (std::uint32_t lba = 0; lba < 64; ++lba) ASSERT_EQ(ReadDiskSectors(0x80, lba, 0, buf, 512), 1);
  EXPECT_EQ(source->opens, 1);
  disk->Fail(0, platform::MemoryDevice::kEnd, 1);
  EXPECT_EQ(ReadDiskSectors(0x80, 3, 0, buf, 512), 1);  // the retry opens the disk again
  EXPECT_EQ(source->opens, 2);
  EXPECT_EQ(ReadDiskSectors(0x80, 4, 0, buf, 512), 1);
  EXPECT_EQ(source->opens, 2);
  CloseDiskDevices();
  EXPECT_EQ(ReadDiskSectors(0x80, 5, 0, buf, 512), 1);
  EXPECT_EQ(source->opens, 3);
}

// A read that delivers less than asked (an error part way, the disk's end) has failed, and the
// bytes it did deliver are reported. It is retried like any failure, except where it came short at
// the disk's end: another attempt cannot read what the disk does not hold.
TEST_F(DiskAccess, ShortDeliveryIsAFailedReadAndIsRetried) {
  auto disk = InstallMemoryDisk(std::vector<std::uint8_t>(1024, 0x11));
  disk->Short(0, platform::MemoryDevice::kEnd, 100);
  App().readRetryCount = 3;
  std::uint8_t buf[512];
  std::memset(buf, 0x77, sizeof buf);
  std::uint32_t delivered = 0;
  EXPECT_EQ(ReadDiskSectors(0x80, 1, 0, buf, 512, &delivered), 0);
  EXPECT_EQ(disk->Reads().size(), 3u);
  EXPECT_EQ(delivered, 412u);
  EXPECT_EQ(buf[0], 0x11);
  disk->ClearFaults();
  EXPECT_EQ(ReadDiskSectors(0x80, 1, 0, buf, 1024, &delivered), 0);  // half past the end
  EXPECT_EQ(delivered, 512u);
  EXPECT_EQ(disk->Reads().size(), 4u);
  EXPECT_EQ(ReadDiskSectors(0x80, 100, 0, buf, 512, &delivered), 0);  // wholly past it
  EXPECT_EQ(delivered, 0u);
  EXPECT_EQ(disk->Reads().size(), 5u);
  EXPECT_EQ(ReadDiskSectors(0x80, 0xFFFFFFFF, 0xFFFFFFFF, buf, 512, &delivered), 0);  // past any disk
  EXPECT_EQ(disk->Reads().size(), 5u);
  EXPECT_EQ(ReadDiskSectors(0x80, 1, 0, buf, 512, &delivered), 1);
  EXPECT_EQ(delivered, 512u);
}

TEST_F(DiskAccess, DiskNumbersAndCounting) {
  auto source = std::make_shared<MemoryDiskSource>();
  source->disks.push_back(std::make_shared<platform::MemoryDevice>());
  source->disks.push_back(std::make_shared<platform::MemoryDevice>());
  SetDiskSource(source);
  std::vector<std::uint8_t> disks;
  EXPECT_TRUE(CountPhysicalDisks(disks));
  EXPECT_EQ(disks, (std::vector<std::uint8_t>{0, 1}));
  EXPECT_EQ(g_isWin9x, 0);
  EXPECT_NE(OpenDiskDevice(0x81), nullptr);
  EXPECT_EQ(OpenDiskDevice(0x82), nullptr);
  EXPECT_EQ(OpenDiskDevice(2), nullptr);  // drive letter C: there are none here
  std::uint8_t buf[512];
  EXPECT_EQ(ReadDiskSectors(0x82, 0, 0, buf, 512), 0);

  SetDiskSource(std::make_shared<MemoryDiskSource>());
  EXPECT_FALSE(CountPhysicalDisks(disks));
  EXPECT_TRUE(disks.empty());
}

// The machine's disk list is read each time the disks are counted, every path that opens is a disk,
// and a disk's number is its place in the list: a path that does not open hides none after it.
TEST_F(DiskAccess, DiskListIsReadAtEachCountAndKeepsEachDisksPlace) {
  const std::string dir = ::testing::TempDir() + "qv_disks_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  auto image = [&](const char* name, char fill) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << std::string(1024, fill);
    return path;
  };
  const std::string a = image("a.img", 'a'), b = image("b.img", 'b'), c = image("c.img", 'c');
  const char* before = std::getenv("QUARVEL_DISKS");
  const std::string kept = before != nullptr ? before : "";
  auto firstByte = [](std::uint8_t disk) {
    std::uint8_t buf[512] = {};
    return ReadDiskSectors(disk, 0, 0, buf, 512) ? static_cast<char>(buf[0]) : '-';
  };
  struct Case {
    std::string list;
    std::vector<std::uint8_t> disks;
    std::string firstBytes;  // of disks 0x80, 0x81, ... as far as the list goes
  };
  const std::vector<Case> cases = {
      {a + ":/nonexistent:" + b, {0, 2}, "a-b"},
      {a + ":/nonexistent:" + b + ":" + c, {0, 2, 3}, "a-bc"},  // attached after start-up
      {"/nonexistent:" + c + ":" + b, {1, 2}, "-cb"},            // an index now names another disk
      {"/nonexistent", {}, "-"},
  };
  SetDiskSource(nullptr);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.list);
    ::setenv("QUARVEL_DISKS", k.list.c_str(), 1);
    std::vector<std::uint8_t> disks;
    EXPECT_EQ(CountPhysicalDisks(disks), !k.disks.empty());
    EXPECT_EQ(disks, k.disks);
    std::string bytes;
    for (std::size_t i = 0; i < k.firstBytes.size(); ++i) bytes += firstByte(static_cast<std::uint8_t>(0x80 + i));
    EXPECT_EQ(bytes, k.firstBytes);
  }
  if (before != nullptr) {
    ::setenv("QUARVEL_DISKS", kept.c_str(), 1);
  } else {
    ::unsetenv("QUARVEL_DISKS");
  }
  SetDiskSource(nullptr);
  std::filesystem::remove_all(dir);
}

TEST_F(DiskAccess, SectorCountComesFromTheFullSizeNotTheCylinderCount) {
  auto disk = InstallMemoryDisk({});
  disk->SetSize(600ull * 1000 * 1000 * 1000);  // 72,937 cylinders: more than 16 bits hold
  std::uint16_t cylinders = 0;
  std::uint8_t heads = 0, sectors = 0;
  ASSERT_EQ(GetDiskParameters(0x80, &cylinders, &heads, &sectors), 1);
  EXPECT_EQ(heads, 255);
  EXPECT_EQ(sectors, 63);
  EXPECT_EQ(cylinders, static_cast<std::uint16_t>(1171875000ull / 16065));
  std::uint32_t count = 0;
  ASSERT_EQ(GetDiskSectorCount(0x80, &count), 1);
  EXPECT_EQ(count, 1171875000u);

  disk->SetSize(3ull << 41);  // 6 TiB: beyond the last 32-bit sector
  ASSERT_EQ(GetDiskSectorCount(0x80, &count), 1);
  EXPECT_EQ(count, 0xFFFFFFFFu);
  EXPECT_EQ(GetDiskSectorCount(0x85, &count), 0);
  EXPECT_EQ(count, 0u);
}

// The disks of a path list, some of which refuse to open with a given errno, as a device without
// permission does for a user who is not root.
class RefusingDiskSource : public DiskSource {
 public:
  RefusingDiskSource(std::vector<std::string> paths, std::map<unsigned, int> refused)
      : paths_(PathListDiskSource(std::move(paths))), refused_(std::move(refused)) {}
  std::unique_ptr<platform::SectorDevice> Open(unsigned index) override {
    auto it = refused_.find(index);
    if (it == refused_.end()) return paths_->Open(index);
    errno = it->second;
    return nullptr;
  }
  std::string PathOf(unsigned index) override { return paths_->PathOf(index); }

 private:
  std::shared_ptr<DiskSource> paths_;
  std::map<unsigned, int> refused_;
};

// Every disk is listed so that it can be told apart: an image by its file name, a device that gives
// no identity by what sysfs holds of it, and one that refuses to open with its reason; choosing
// that one says what to do. Places without a disk or without a medium stay gaps.
TEST_F(DiskAccess, DisksThatGiveNoIdentityOrDoNotOpenAreListedByWhatIsKnown) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / ("qv_rows_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "sys/block/nvme0n1/device");
  std::ofstream(dir / "sys/block/nvme0n1/device/model") << "Samsung SSD 980 1TB  \n";
  std::ofstream(dir / "sys/block/nvme0n1/device/serial") << "S64ANS0T123456X\n";
  const std::string image = (dir / "card.img").string();
  std::ofstream(image) << std::string(4096, '\0');
  ::setenv("QUARVEL_SYSFS", (dir / "sys").c_str(), 1);
  SetDiskSource(std::make_shared<RefusingDiskSource>(
      std::vector<std::string>{image, "/dev/nvme0n1", "/nonexistent", "/dev/sdz", "/dev/sdy"},
      std::map<unsigned, int>{{1, EACCES}, {3, ENOMEDIUM}, {4, EIO}}));

  std::vector<DiskPlace> places;
  ASSERT_TRUE(ListPhysicalDisks(places));
  std::vector<std::pair<int, int>> listed;
  for (const DiskPlace& p : places) listed.emplace_back(p.index, p.openError);
  EXPECT_EQ(listed, (std::vector<std::pair<int, int>>{{0, 0}, {1, EACCES}, {4, EIO}}));
  std::vector<std::uint8_t> disks;
  EXPECT_TRUE(CountPhysicalDisks(disks));
  EXPECT_EQ(disks, (std::vector<std::uint8_t>{0}));

  struct Row {
    int index, error;
    std::string model, serial;
  };
  const Row rows[] = {
      {0, 0, "card.img", "UNKNOWN"},
      {1, EACCES, "Samsung SSD 980 1TB (Permission denied)", "S64ANS0T123456X"},
      {4, EIO, "UNKNOWN (Input/output error)", "UNKNOWN"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    std::string model, serial;
    PhysicalDiskRowTexts(static_cast<std::uint8_t>(r.index), r.error, model, serial);
    EXPECT_EQ(model, r.model);
    EXPECT_EQ(serial, r.serial);
  }

  const std::string advice = UnopenedDiskAdvice(1, EACCES);
  EXPECT_NE(advice.find("HardDisk 2 (/dev/nvme0n1) cannot be opened: Permission denied."), std::string::npos) << advice;
  EXPECT_NE(advice.find("as root"), std::string::npos) << advice;
  EXPECT_NE(advice.find("usermod -aG disk"), std::string::npos) << advice;
  EXPECT_EQ(UnopenedDiskAdvice(4, EIO), "HardDisk 5 (/dev/sdy) cannot be opened: Input/output error.");
  ::unsetenv("QUARVEL_SYSFS");
  fs::remove_all(dir);
}

}  // namespace
