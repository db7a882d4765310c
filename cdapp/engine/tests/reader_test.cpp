// The read primitives, record names and the bounded record walk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "cdengine/directory_record.h"
#include "cdengine/drive_access.h"
#include "test_image.h"

using namespace cd;
using namespace cd::testing;
using namespace cd::headless;

namespace {

TEST(ReadSectors, RetriesAndReportsTheLastAttempt) {
  CdHeadlessHost host;
  TestImage img(10);
  img.Fill(3, 2048, 5);
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  std::vector<std::uint8_t> buf(6144, kFillByte);
  std::uint32_t got = 99;

  dev.Fail(DiscSectorAt(3), DiscSectorAt(4), 1);  // succeeds at the second attempt
  EXPECT_TRUE(host.reader.ReadSectors(3, 1, buf, got));
  EXPECT_EQ(got, 2048u);
  EXPECT_EQ(buf[1], img.Sector(3)[1]);

  dev.Fail(DiscSectorAt(4), DiscSectorAt(5));  // three attempts, then failure; the buffer keeps its fill
  std::fill(buf.begin(), buf.end(), kFillByte);
  const std::size_t before = dev.Reads().size();
  EXPECT_FALSE(host.reader.ReadSectors(4, 1, buf, got));
  EXPECT_EQ(dev.Reads().size() - before, 3u);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(buf[0], kFillByte);

  // Exact bytes win over the sector count.
  EXPECT_TRUE(host.reader.ReadSectors(0, 1, buf, got, 6144, true));
  EXPECT_EQ(got, 6144u);
}

TEST(ReadBytes, TrailerModeReadsTheLastSector) {
  CdHeadlessHost host;
  TestImage img(10);
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  std::vector<std::uint8_t> buf(2048);
  std::uint32_t got = 0;
  EXPECT_TRUE(host.reader.ReadBytes(12345, 2048, 0, buf, got));
  ASSERT_FALSE(dev.Reads().empty());
  EXPECT_EQ(dev.Reads().back().first, 18432u);
  EXPECT_EQ(got, 2048u);
}

TEST(ReadSectors, PositionsAbove2GiBRead) {
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, {});
  dev.SetSize(3ull << 30);  // 3 GiB
  std::vector<std::uint8_t> buf(2048);
  std::uint32_t got = 0;
  const std::uint32_t sector = 1'300'000;  // past 2^31 bytes
  dev.Put(DiscSectorAt(sector), std::vector<std::uint8_t>(2048, static_cast<std::uint8_t>(sector)));
  EXPECT_TRUE(host.reader.ReadSectors(sector, 1, buf, got));
  EXPECT_EQ(dev.Reads().back().first, static_cast<std::uint64_t>(sector) * 2048);
  EXPECT_EQ(buf[0], static_cast<std::uint8_t>(sector));
}

TEST(ReadSectors, NoDeviceFails) {
  CdHeadlessHost host;
  std::vector<std::uint8_t> buf(2048);
  std::uint32_t got = 1;
  EXPECT_FALSE(host.reader.ReadSectors(16, 1, buf, got));
  EXPECT_EQ(got, 0u);
}

TEST(OpenDrive, DriveListAndChoice) {
  const std::string first = ::testing::TempDir() + "cd_drive_" + std::to_string(::getpid());
  std::ofstream(first) << "disc";
  ::setenv("QUARVEL_CDROMS", (":" + first + "::/proc/self/exe:").c_str(), 1);
  EXPECT_EQ(FindCdDrives(), (std::vector<std::string>{first, "/proc/self/exe"}));
  for (int choice : {-1, 1}) {  // -1: the dialog is cancelled and the previous choice (0) stays
    CdHeadlessHost host;
    host.driveChoice = choice;
    OpenDrive(host.reader);
    ASSERT_TRUE(host.reader.device);
    EXPECT_EQ(host.reader.device->Path(), choice == 1 ? "/proc/self/exe" : first);
    EXPECT_TRUE(host.log.empty());
  }
  std::remove(first.c_str());
  // A drive that cannot be opened, or is not a disc at all, says so in a row; every later read fails.
  for (const auto& [path, why] : {std::pair<std::string, std::string>{"/nonexistent/cd", "No such file or directory"},
                                  {"/dev/null", "a character device is neither a regular file nor a block device"}}) {
    ::setenv("QUARVEL_CDROMS", path.c_str(), 1);
    CdHeadlessHost host;
    OpenDrive(host.reader);
    EXPECT_FALSE(host.reader.device);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0].activity, "Opening CD-ROM drive");
    EXPECT_EQ(host.log[0].text, path + " cannot be opened: " + why);
    EXPECT_EQ(host.log[0].status, "Drive not opened");
  }
  ::unsetenv("QUARVEL_CDROMS");
}

struct NameCase {
  std::string raw;
  bool joliet, folder;
  std::string listed;
};

TEST(ConvertRecordName, VersionsAndUcs2) {
  const std::vector<NameCase> cases = {
      {TestImage::Ucs2("A.TXT;1"), true, false, "A.TXT"},
      {TestImage::Ucs2("notes"), true, false, "notes"},  // no version suffix: kept whole
      {"README.TXT;1", false, false, "README.TXT"},
      {"DIR;1", false, true, "DIR;1"},  // folder names are kept whole
      {TestImage::Ucs2("my;folder"), true, true, "my;folder"},
      {std::string("\x00\xE9\x00t\x00\xE9", 6), true, true, "\xC3\xA9t\xC3\xA9"},
      {std::string("\x65\xE5\x67\x2C", 4), true, false, "\xE6\x97\xA5\xE6\x9C\xAC"},
      {std::string("\xD8\x3D\xDE\x00", 4), true, false, "\xF0\x9F\x98\x80"},  // surrogate pair
      {std::string("\xD8\x3D\x00" "a", 4), true, false, "\xEF\xBF\xBD" "a"},  // unpaired surrogate
      {std::string("\x00" "a\x00", 3), true, false, "a"},                   // odd byte count
      {"A;B", false, false, "A;B"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConvertRecordName(reinterpret_cast<const std::uint8_t*>(c.raw.data()), c.raw.size(), c.joliet, c.folder),
              c.listed)
        << c.raw;
  }
}

std::vector<std::string> WalkNames(const std::vector<std::uint8_t>& buffer, std::size_t start = 0) {
  std::vector<std::string> names;
  WalkRecords(buffer, start, [&](std::span<const std::uint8_t> r) {
    names.emplace_back(reinterpret_cast<const char*>(r.data() + 33), r[32]);
  });
  return names;
}

TEST(WalkRecords, HostileRecordsNeverReadPastTheirSector) {
  TestImage img(3);
  std::uint8_t* s0 = img.Sector(0);
  std::size_t pos = TestImage::Record(s0, 1, 1, false, "A");
  s0[pos] = 0;  // length 0 mid-sector: the rest of the sector is padding
  TestImage::Record(s0 + pos + 40, 1, 1, false, "HIDDEN");
  std::uint8_t* s1 = img.Sector(1);
  pos = TestImage::Record(s1, 1, 1, false, "B");
  s1[pos] = 20;  // below 34: skip to the next sector
  std::uint8_t* s2 = img.Sector(2);
  pos = TestImage::Record(s2, 1, 1, false, "C");
  pos += TestImage::Record(s2 + pos, 1, 1, false, "NAMELONG");
  const std::size_t bad = TestImage::Record(s2 + pos, 1, 1, false, "D");
  s2[pos + 32] = 200;
  pos += bad;
  pos += TestImage::Record(s2 + pos, 1, 1, false, "E");
  // A record crossing the sector end.
  s2[2040] = 40;
  EXPECT_EQ(WalkNames(img.bytes), (std::vector<std::string>{"A", "B", "C", "NAMELONG", "E"}));
}

TEST(WalkRecords, FillEndsTheBufferButALengthOf246DoesNot) {
  TestImage img(2);
  std::uint8_t* s0 = img.Sector(0);
  std::size_t pos = TestImage::Record(s0, 1, 1, false, "A");
  // A genuine record of length 246.
  const std::string longName(212, 'L');
  pos += TestImage::Record(s0 + pos, 1, 1, false, longName);
  EXPECT_EQ(s0[pos - 246], 246);
  std::memset(s0 + pos, 0xF6, 2048 - pos);
  TestImage::Record(img.Sector(1), 1, 1, false, "AFTER");
  EXPECT_EQ(WalkNames(img.bytes), (std::vector<std::string>{"A", longName}));
}

}  // namespace
