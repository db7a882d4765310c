// Sizes recorded on a disc are claims the medium bounds: files and folders that claim more than
// the medium holds are read as far as it goes, with a row, in bounded time and output.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "cdengine/commands.h"
#include "cdengine/recovery.h"
#include "file_size_limit.h"
#include "test_image.h"

using namespace cd;
using namespace cd::testing;
using namespace cd::headless;

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSectors = 400;  // an 800 KB image

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A Joliet disc whose root (20, two sectors) holds ENTRIES.
TestImage DiscWithRoot(const std::vector<TestImage::Entry>& entries) {
  TestImage img(kSectors);
  img.Descriptor(16, 2, 20, 2 * 2048);
  img.Terminator(17);
  img.Directory(20, 20, entries, 2);
  return img;
}

std::string FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path FreshDestination() {
  const fs::path dest = fs::temp_directory_path() /
                        ("cdbounds-" + std::to_string(::getpid()) + "-" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(dest);
  fs::create_directories(dest);
  return dest;
}

}  // namespace

TEST(MediumBounds, FilesAreReadOnlyAsFarAsTheMediumHoldsThem) {
  // small.txt lies whole on the medium; tail.bin runs 100,000 bytes from sector 390, of which the
  // medium holds 10 sectors; forty files claim 4 GiB each at extents past the end: no file is
  // made for them.
  std::vector<TestImage::Entry> entries{{TestImage::Ucs2("small.txt;1"), 30, 100, false},
                                        {TestImage::Ucs2("tail.bin;1"), 390, 100000, false}};
  for (int i = 0; i < 40; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "huge%02d;1", i);
    entries.push_back({TestImage::Ucs2(name), 1000u + static_cast<std::uint32_t>(i), 0xFFFFFFFFu, false});
  }
  TestImage img = DiscWithRoot(entries);
  img.Fill(30, 100, 3);
  img.Fill(390, 10 * 2048, 5);
  const fs::path dest = FreshDestination();
  // Under a file-size limit, so that a recovery that writes what the records claim cannot fill
  // the disk: it fails instead.
  const std::string result = WithFileSizeLimit(1 << 20, [&] {
    CdHeadlessHost host;
    UseDevice(host, img.bytes);
    OpenDriveCommand(host.reader);
    const auto start = std::chrono::steady_clock::now();
    RecoverFiles(host.reader, dest.string(), kRecoverAll);
    std::string out = Seconds(start) < 10 ? "" : "slow\n";
    for (const auto& r : host.log) {
      if (r.activity != "Recovering file") continue;
      const fs::path p(r.text);
      const std::string name = p.filename().string();
      if (name.rfind("huge", 0) == 0 && name != "huge00" && name != "huge39") continue;
      out += name + " " + (fs::exists(p) ? std::to_string(fs::file_size(p)) : "none") + " " + r.status + "\n";
    }
    return out;
  });
  EXPECT_EQ(result,
            "small.txt 100 File Recovered Successfully\n"
            "tail.bin 20480 File Recovered Partially\n"
            "huge00 none File Recovery Failed\n"
            "huge39 none File Recovery Failed\n");
  const std::string tail = FileBytes(dest / "Root" / "tail.bin");
  EXPECT_TRUE(tail == std::string(reinterpret_cast<const char*>(img.Sector(390)), 10 * 2048))
      << tail.size() << " bytes differ from the medium's last 10 sectors";
  fs::remove_all(dest);
}

TEST(MediumBounds, AFolderClaimingMoreThanTheMediumIsCutWithARow) {
  // dir (22) claims 2 GB; the sectors after it hold records of garbage: every one a plausible
  // record, a third of them folders of random extents and lengths.
  TestImage img = DiscWithRoot({{TestImage::Ucs2("dir"), 22, 2000000000u, true}});
  img.Directory(22, 20, {{TestImage::Ucs2("a.txt;1"), 30, 10, false}});
  std::uint32_t n = 0;
  for (std::uint32_t s = 23; s < kSectors; ++s) {
    for (std::size_t pos = 0; pos + 34 <= 2048; pos += 34, ++n) {
      const std::string name(1, static_cast<char>('a' + n % 26));
      TestImage::Record(img.Sector(s) + pos, (n * 7919) % kSectors, n * 104729u, n % 3 == 0, name);
    }
  }
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  const auto start = std::chrono::steady_clock::now();
  OpenDriveCommand(host.reader);
  EXPECT_LT(Seconds(start), 10.0);
  bool cutRow = false;
  for (const auto& r : host.log) {
    if (r.text == "Folder dir runs past the end of the CDROM") {
      cutRow = true;
      EXPECT_EQ(r.status, "Folder read to sector 400");
      EXPECT_EQ(r.icon, kCdIconError);
    }
  }
  EXPECT_TRUE(cutRow);
  // Every sector is walked at most once: no more entries than the medium's records.
  EXPECT_LE(host.treeView.Nodes().size(), static_cast<std::size_t>(kSectors) * 2048 / 34 + 2);
  EXPECT_EQ(host.log.back().text, "Process completed ");
}

TEST(MediumBounds, ManyEntriesOfOneNameAndExtentAreWrittenInLinearTime) {
  // A hostile folder: 20,000 entries f0.txt, all at one extent. Each is written under a name of
  // its own, and finding that name does not walk the names given before it.
  constexpr std::uint32_t kEntries = 20000, kDirSectors = 520;  // 40 records a sector
  TestImage img(kSectors + kDirSectors);
  img.Descriptor(16, 2, 20, kDirSectors * 2048);
  img.Terminator(17);
  img.Directory(20, 20, std::vector<TestImage::Entry>(kEntries, {TestImage::Ucs2("f0.txt;1"), 19, 3, false}), kDirSectors);
  img.Fill(19, 3, 7);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  OpenDriveCommand(host.reader);
  const fs::path dest = FreshDestination();
  const auto start = std::chrono::steady_clock::now();
  RecoverFiles(host.reader, dest.string(), kRecoverAll);
  EXPECT_LT(Seconds(start), 20.0);
  EXPECT_EQ(host.log.back().text, "Saved 20000 Files in 1 Dirs");
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dest / "Root")) files += e.is_regular_file() && fs::file_size(e) == 3 ? 1 : 0;
  EXPECT_EQ(files, kEntries);
  EXPECT_TRUE(fs::exists(dest / "Root" / "Copy19998_19_f0.txt"));
  fs::remove_all(dest);
}
