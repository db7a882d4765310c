// CD image files: creation with the trailer, read errors, overwrite, and opening (which then
// serves every read, recovery included).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cdengine/commands.h"
#include "cdengine/drive_access.h"
#include "cdengine/image_file.h"
#include "cdengine/recovery.h"
#include "file_size_limit.h"
#include "test_image.h"

using namespace cd;
using namespace cd::testing;
using namespace cd::headless;

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ImageFixture : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("cdimg-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
};

TEST(ImageFilePath, AppendsCdUnlessNamed) {
  EXPECT_EQ(ImageFilePath("/x/y/disc", "disc"), "/x/y/disc.cd");
  EXPECT_EQ(ImageFilePath("/x/my.cdimage", "my.cdimage"), "/x/my.cdimage");
  EXPECT_EQ(ImageFilePath("disc", "disc"), "disc.cd");
}

TEST_F(ImageFixture, CreateWritesEverySectorAndTheTrailer) {
  TestImage img = StandardImage(true);
  CdHeadlessHost host;
  platform::MemoryDevice& dev = UseDevice(host, img.bytes);
  dev.Short(DiscSectorAt(5), DiscSectorAt(6), 1024);
  dev.Fail(DiscSectorAt(7), DiscSectorAt(8));
  CreateImageCommand(host.reader, (dir / "disc").string());
  const std::string bytes = ReadFile(dir / "disc.cd");
  ASSERT_EQ(bytes.size(), 41u * 2048);
  const std::string trailer = bytes.substr(40 * 2048);
  EXPECT_EQ(trailer.substr(0, 26), std::string(kImageSignature, 26));
  EXPECT_EQ(trailer.substr(26), std::string(2048 - 26, '\xF6'));
  EXPECT_EQ(bytes.substr(0, 5 * 2048), std::string(reinterpret_cast<const char*>(img.bytes.data()), 5 * 2048));
  EXPECT_EQ(bytes.substr(5 * 2048 + 1024, 1024), std::string(1024, '\xF6'));
  EXPECT_EQ(bytes.substr(7 * 2048, 2048), std::string(2048, '\xF6'));
  std::vector<std::string> errors;
  for (const auto& r : host.log) {
    if (r.text == "Read error") errors.push_back(r.status);
  }
  EXPECT_EQ(errors, (std::vector<std::string>{"Error reading sector 5", "Error reading sector 7"}));
  EXPECT_EQ(host.log.front().activity, "Creating CD-ROM Image");
  // The image is not the disc: the end row says so, with the count of sectors it lacks.
  EXPECT_EQ(host.log.back().text, "Process completed, 2 unreadable sectors written as 0xF6");
  EXPECT_EQ(host.log.back().icon, kCdIconError);
  EXPECT_TRUE(host.treeView.Nodes().empty());  // imaging builds no tree when a descriptor is found
}

// The destination takes 20 of the 41 sectors.
TEST_F(ImageFixture, ACopyThatCannotBeWrittenEndsWithAnErrorAndLeavesNoImage) {
  const std::string result = WithFileSizeLimit(20 * 2048, [this] {
    CdHeadlessHost host;
    UseDevice(host, StandardImage(true).bytes);
    CreateImageCommand(host.reader, (dir / "disc").string());
    std::string out;
    for (std::size_t i = 1; i < host.log.size(); ++i) out += host.log[i].text + " " + std::to_string(host.log[i].icon) + "\n";
    for (const auto& m : host.messages) out += m.caption + ": " + m.text + "\n";
    out += fs::exists(dir / "disc.cd") ? "file left\n" : "no file\n";
    out += "busy " + std::to_string(host.busy) + "\n";
    return out;
  });
  EXPECT_EQ(result,
            "Process failed, image file not written 1\n"
            "System Error: Unable to write image file\n"
            "no file\n"
            "busy 0\n");
}

TEST_F(ImageFixture, VolumeLargerThanTheMediumStopsAtItsEnd) {
  TestImage img = StandardImage(true);
  TestImage::Both32(img.Sector(17) + 80, 100000);
  CdHeadlessHost host;
  UseDevice(host, img.bytes);
  CreateImageCommand(host.reader, (dir / "big.cd").string());
  EXPECT_EQ(fs::file_size(dir / "big.cd"), 41u * 2048);
  // The copy holds less than the volume: a read-error row where the disc ended, and no success.
  ASSERT_GE(host.log.size(), 2u);
  const auto& cut = host.log[host.log.size() - 2];
  EXPECT_EQ(cut.text, "Read error");
  EXPECT_EQ(cut.status, "Error reading sector 40");
  EXPECT_NE(host.log.back().text, "Process completed successfully");
  EXPECT_EQ(host.log.back().icon, kCdIconError);
}

// A descriptor whose volume space size is smaller than the disc: the copy goes on to the medium's
// end, says so, and the image opened later holds every file the tree names.
TEST_F(ImageFixture, VolumeSmallerThanTheMediumIsCopiedToTheMediumsEnd) {
  struct Case {
    std::uint32_t volume;
    std::uint32_t badSector;  // 0: none
    std::string end;
  };
  const Case cases[] = {
      {2, 0, "Process completed successfully"},
      {16, 0, "Process completed successfully"},
      {31, 0, "Process completed successfully"},
      {16, 34, "Process completed, 1 unreadable sector written as 0xF6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    TestImage img = StandardImage(true);
    TestImage::Both32(img.Sector(16) + 80, c.volume);
    TestImage::Both32(img.Sector(17) + 80, c.volume);
    CdHeadlessHost maker;
    platform::MemoryDevice& dev = UseDevice(maker, img.bytes);
    if (c.badSector != 0) dev.Fail(DiscSectorAt(c.badSector), DiscSectorAt(c.badSector + 1));
    const fs::path image = dir / "small.cd";
    fs::remove(image);
    CreateImageCommand(maker.reader, image.string());
    ASSERT_EQ(fs::file_size(image), 41u * 2048);
    const std::string bytes = ReadFile(image);
    EXPECT_EQ(bytes.substr(0, 30 * 2048), std::string(reinterpret_cast<const char*>(img.bytes.data()), 30 * 2048));
    bool said = false;
    for (const auto& r : maker.log) {
      said |= r.text == "Medium larger than the volume, copying to the medium's end" &&
              r.status == "Volume " + std::to_string(c.volume) + " sectors, medium 40 sectors";
    }
    EXPECT_TRUE(said);
    EXPECT_EQ(maker.log.back().text, c.end);
    EXPECT_EQ(maker.log.back().icon, c.badSector == 0 ? kCdIconDone : kCdIconError);

    CdHeadlessHost host;
    UseDevice(host, StandardImage(false).bytes);
    OpenImageCommand(host.reader, image.string());
    ASSERT_EQ(host.treeView.NodeCount(), 4u);
    fs::remove_all(dir / "Root");
    RecoverFiles(host.reader, dir.string(), kRecoverAll);
    EXPECT_EQ(ReadFile(dir / "Root/a.txt"), std::string(reinterpret_cast<const char*>(img.Sector(30)), 5000));
    EXPECT_EQ(ReadFile(dir / "Root/dir/b.dat"), c.badSector == 34
                                                    ? std::string(3, '\xF6')
                                                    : std::string(reinterpret_cast<const char*>(img.Sector(34)), 3));
  }
}

TEST_F(ImageFixture, AnOpenedImageEndsAtItsTrailer) {
  // tail.bin starts in the disc's last sector (39) and claims a second one: in the image that
  // second sector is the trailer, which is not the file's.
  TestImage img = StandardImage(true);
  img.Directory(25, 25, {{TestImage::Ucs2("tail.bin;1"), 39, 4096, false}});
  img.Fill(39, 2048, 6);
  CdHeadlessHost maker;
  UseDevice(maker, img.bytes);
  CreateImageCommand(maker.reader, (dir / "disc.cd").string());
  ASSERT_EQ(fs::file_size(dir / "disc.cd"), 41u * 2048);
  CdHeadlessHost host;
  UseDevice(host, StandardImage(false).bytes);
  OpenImageCommand(host.reader, (dir / "disc.cd").string());
  RecoverFiles(host.reader, dir.string(), kRecoverAll);
  EXPECT_EQ(ReadFile(dir / "Root/tail.bin"), std::string(reinterpret_cast<const char*>(img.Sector(39)), 2048));
  bool partial = false;
  for (const auto& r : host.log) partial |= r.activity == "Recovering file" && r.status == "File Recovered Partially";
  EXPECT_TRUE(partial);
}

TEST_F(ImageFixture, StopEndsTheCopyWithATrailer) {
  CdHeadlessHost host;
  UseDevice(host, StandardImage(true).bytes);
  host.onPump = [](CdHeadlessHost& h) {
    if (h.imaging && h.barSteps == 10) StopCommand(h.reader);
  };
  CreateImageCommand(host.reader, (dir / "part.cd").string());
  const std::string bytes = ReadFile(dir / "part.cd");
  EXPECT_EQ(bytes.size(), 11u * 2048);  // ten sectors and the trailer
  EXPECT_EQ(bytes.substr(10 * 2048, 25), std::string(kImageSignature, 25));
  EXPECT_EQ(host.log.back().text, "Aborted, user intervention");
}

TEST_F(ImageFixture, OverwriteOnlyWhenAnswered) {
  const fs::path target = dir / "old.cd";
  std::ofstream(target, std::ios::binary) << std::string(100 * 2048, 'x');
  for (int answer : {0, 1}) {
    CdHeadlessHost host;
    UseDevice(host, StandardImage(true).bytes);
    host.overwriteAnswer = answer;
    CreateImageCommand(host.reader, target.string());
    EXPECT_EQ(fs::file_size(target), answer ? 41u * 2048 : 100u * 2048);
    EXPECT_EQ(host.busy, 0);
  }
  EXPECT_EQ(ReadFile(target).substr(40 * 2048, 25), std::string(kImageSignature, 25));
}

TEST_F(ImageFixture, NeverWritesOverTheSourceItReads) {
  const fs::path source = dir / "source.cd";
  TestImage img = StandardImage(true);
  std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(img.bytes.data()), img.bytes.size());
  CdHeadlessHost host;
  host.reader.device = platform::OpenSectorDevice(source.string());
  host.app.driveOpened = 1;
  host.overwriteAnswer = 1;
  CreateImageCommand(host.reader, source.string());
  EXPECT_EQ(fs::file_size(source), img.bytes.size());
  EXPECT_EQ(host.messages.back().text, "Unable to create/Open file for storing image");
}

TEST_F(ImageFixture, OpenImageAcceptsTheTrailerAndRecoveryReadsTheImage) {
  TestImage img = StandardImage(true);
  CdHeadlessHost maker;
  UseDevice(maker, img.bytes);
  CreateImageCommand(maker.reader, (dir / "disc.cd").string());
  fs::copy_file(dir / "disc.cd", dir / "renamed.bin");

  // The drive in use holds a different disc (ISO 9660 names only): after Open Image the image must
  // be what is read, until Open Drive goes back to the drive.
  CdHeadlessHost host;
  const std::vector<std::uint8_t> drive = StandardImage(false).bytes;
  host.reader.openDevice = [drive](const std::string& path) -> std::unique_ptr<platform::SectorDevice> {
    if (path == "drive") return std::make_unique<platform::MemoryDevice>(drive, path);
    return platform::OpenSectorDevice(path);
  };
  host.reader.drivePaths = {"drive"};
  ReopenSelectedDrive(host.reader);
  host.app.driveOpened = 1;
  OpenImageCommand(host.reader, (dir / "renamed.bin").string());
  ASSERT_EQ(host.treeView.NodeCount(), 4u);
  EXPECT_EQ(host.treeView.Nodes()[1].name, "a.txt");  // Joliet: the image's names
  RecoverFiles(host.reader, dir.string(), kRecoverAll);
  EXPECT_EQ(ReadFile(dir / "Root/a.txt"), std::string(reinterpret_cast<const char*>(img.Sector(30)), 5000));
  OpenDriveCommand(host.reader);  // right after a recovery, which ends with the stop flag set
  ASSERT_EQ(host.treeView.NodeCount(), 4u);
  EXPECT_EQ(host.treeView.Nodes()[1].name, "A.TXT");
  EXPECT_EQ(host.reader.device->Path(), "drive");

  // A file without the trailer is refused, and the drive is the device again.
  OpenImageCommand(host.reader, (dir / "renamed.bin").string());
  std::ofstream(dir / "plain.iso", std::ios::binary).write(reinterpret_cast<const char*>(img.bytes.data()), img.bytes.size());
  EXPECT_FALSE(OpenImage(host.reader, (dir / "plain.iso").string()));
  ASSERT_TRUE(host.reader.device);
  EXPECT_EQ(host.reader.device->Path(), "drive");
  host.messages.clear();
  OpenImageCommand(host.reader, (dir / "plain.iso").string());
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "Invalid Image File Selected");
  // Too short to hold a trailer; missing.
  std::ofstream(dir / "tiny", std::ios::binary) << "12345abbgtpogpkicupog6789";
  EXPECT_FALSE(OpenImage(host.reader, (dir / "tiny").string()));
  EXPECT_FALSE(OpenImage(host.reader, (dir / "missing").string()));
  EXPECT_EQ(host.messages.back().text, "Unable to Open Image File");
}

}  // namespace
