// Scan-information files: the layout written, the round trip, old-layout files and hostile files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/scan_file.h"
#include "lost_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary | std::ios::ate);
  Bytes b(in ? static_cast<std::size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return b;
}
void WriteBytes(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

// A folder for the test's files, removed afterwards.
struct TempFolder {
  fs::path path;
  TempFolder() {
    // One folder per process and test; a parameterised test's name holds a '/'.
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(test.begin(), test.end(), '/', '_');
    path = fs::path(::testing::TempDir()) / ("qv_scan_" + std::to_string(::getpid()) + "_" + test);
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
};

const std::string kLongName(255, 'n');

// Root: folder "a" (12) holding file "x" (13, 5 bytes), file "r" (14, 7 bytes) and a file with a
// 255-byte name (15, 9 bytes).
TinyExt2 SmallTree(std::uint16_t inodeSize) {
  TinyExt2 t(256, 128, inodeSize);
  t.Dir(2, {40});
  t.Dots(40, 2, 2);
  t.Record(40, 24, 12, 12, "a", 2);
  t.Record(40, 36, 14, 12, "r", 1);
  t.Record(40, 48, 15, 1024 - 48, kLongName, 1);
  t.Dir(12, {41});
  t.Dots(41, 12, 2);
  t.Record(41, 24, 13, 1000, "x", 1);
  t.File(13, 5, {50});
  t.File(14, 7);
  t.File(15, 9);
  return t;
}

ListedEntry* Find(HeadlessHost& h, std::uint32_t inode) {
  for (auto& e : h.entries) {
    if (e.inode == inode) return &e;
  }
  return nullptr;
}

using EntryKey = std::tuple<std::uint32_t, std::uint32_t, std::uint8_t, std::uint32_t, std::uint32_t, std::uint8_t,
                            std::uint32_t, std::uint64_t, std::uint64_t, std::uint64_t, std::string>;
std::vector<EntryKey> Keys(const EntryList& list) {
  std::vector<EntryKey> keys;
  for (const auto& e : list) {
    keys.emplace_back(e.inode, e.parentInode, e.kind, e.deleted, e.lost, e.check, e.size, e.accessTime, e.changeTime,
                      e.modificationTime, e.name);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) { PutLe32(b, at, v); }

TEST(ScanFile, HeaderAndRecordsAreWrittenByteForByte) {
  TempFolder dir;
  CurrentDrive c(SmallTree(256).bytes);
  c.Open();
  CLinuxDrive& d = c.drive();
  d.disk = 0x81;
  d.driveIndex = 3;
  LogicalDrives().Drives() = {{63, 0, 1063, 0x83, 0, 0}, {2063, 2000, 5000, 0x83, 1, 0}};
  Find(c.host, 14)->check = 1;
  const fs::path file = dir.path / "scan.DAT";
  d.SaveScanInfo(file.string());
  const Bytes got = ReadBytes(file);

  Bytes header(512, 0);
  header[0] = 0x81;
  header[1] = 2;          // sectors per block
  Put32(header, 4, 0);    // first sector
  Put32(header, 8, 511);  // last sector
  Put32(header, 12, 512);
  header[16] = 4;         // descriptor table
  header[18] = 0x00;      // inode size 256
  header[19] = 0x01;
  Put32(header, 20, 64);  // inode-table sectors per group
  Put32(header, 24, 128);
  Put32(header, 28, 128);
  header[32] = 1;         // groups
  Put32(header, 36, 4);   // entries
  Put32(header, 40, 2);   // folders
  Put32(header, 44, 3);   // files
  Put32(header, 48, 21);  // bytes
  header[56] = 2;         // logical-drive records
  const std::string signature = "abbgtpogpkicupoglinux";
  const std::string notice = "QUARVEL VELNORA LINUX SCAN DATA FILE";
  std::copy(signature.begin(), signature.end(), header.begin() + 57);
  std::copy(notice.begin(), notice.end(), header.begin() + 89);
  Bytes descriptor(24, 0);
  Put32(descriptor, 4, 6);
  Put32(descriptor, 8, 8);
  Put32(descriptor, 12, 10);
  Put32(descriptor, 16, 64);
  Bytes drives(72, 0);
  Put32(drives, 8, 63);
  Put32(drives, 16, 1063);
  drives[20] = 0x83;
  Put32(drives, 36 + 8, 2063);
  Put32(drives, 36 + 12, 2000);
  Put32(drives, 36 + 16, 5000);
  drives[36 + 20] = 0x83;
  drives[36 + 21] = 1;
  // Root's entries first ("a", "r", the long name), then the entries of "a".
  Bytes r(1 + 52 + 1, 0);
  r[0] = 1;
  r[1] = 0x20;
  Put32(r, 1 + 4, 1000000000);
  Put32(r, 1 + 8, 1000000001);
  Put32(r, 1 + 12, 1000000002);
  Put32(r, 1 + 28, 7);
  Put32(r, 1 + 32, 2);
  Put32(r, 1 + 36, 14);
  r[1 + 48] = 1;  // checked
  r[53] = 'r';

  ASSERT_GE(got.size(), 512u + 24 + 72);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 512), header);
  EXPECT_EQ(Bytes(got.begin() + 512, got.begin() + 536), descriptor);
  EXPECT_EQ(Bytes(got.begin() + 536, got.begin() + 608), drives);
  const std::size_t second = 608 + 1 + 52 + 1;  // after "a"
  EXPECT_EQ(Bytes(got.begin() + second, got.begin() + second + r.size()), r);
  const std::size_t longAt = second + r.size();
  EXPECT_EQ(got[longAt], 255);
  const std::size_t xAt = longAt + 1 + 52 + 255;
  ASSERT_EQ(got.size(), xAt + 1 + 52 + 1);
  EXPECT_EQ(got.back(), 'x');
  EXPECT_EQ(c.host.log.back().status, "Completed");
  EXPECT_EQ(c.host.log.back().icon, 3);
}

TEST(ScanFile, EntryRecordKeepsSizesOf4GiBAndMoreAndTimesBefore1970) {
  EntryNode e;
  e.kind = kKindFile;
  e.size = (std::uint64_t{5} << 30) + 12345;
  e.accessTime = -15000000;
  e.changeTime = 1300000000;
  e.modificationTime = -1;
  e.inode = 14;
  e.parentInode = 2;
  Bytes out;
  AppendEntryRecord(out, e, "5g");
  ASSERT_EQ(out.size(), 1u + 52 + 2);
  const Bytes record(out.begin() + 1, out.begin() + 53);
  // Size bits 32 to 55 in the three bytes after the kind, the low word at 28.
  EXPECT_EQ(Bytes(record.begin(), record.begin() + 4), (Bytes{0x20, 1, 0, 0}));
  EXPECT_EQ(Bytes(record.begin() + 28, record.begin() + 32), (Bytes{0x39, 0x30, 0, 0x40}));
  // Each time's 32 bits at 4, 8, 12, its sign in the high words at 16, 20, 24.
  EXPECT_EQ(Bytes(record.begin() + 4, record.begin() + 8), (Bytes{0x40, 0x1E, 0x1B, 0xFF}));
  EXPECT_EQ(Bytes(record.begin() + 16, record.begin() + 28),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  const EntryNode back = DecodeEntryRecord(record);
  EXPECT_EQ(back.size, e.size);
  EXPECT_EQ(back.accessTime, e.accessTime);
  EXPECT_EQ(back.changeTime, e.changeTime);
  EXPECT_EQ(back.modificationTime, e.modificationTime);

  // A record of the older layout, zeros in all those bytes: the 32-bit size, and the times' 32
  // bits read signed.
  Bytes old = record;
  std::fill(old.begin() + 1, old.begin() + 4, 0);
  std::fill(old.begin() + 16, old.begin() + 28, 0);
  const EntryNode loaded = DecodeEntryRecord(old);
  EXPECT_EQ(loaded.size, 0x40003039u);
  EXPECT_EQ(loaded.accessTime, -15000000);
  EXPECT_EQ(loaded.modificationTime, -1);

  // A size the record cannot hold is kept as the largest it can.
  e.size = ~std::uint64_t{0};
  out.clear();
  AppendEntryRecord(out, e, "x");
  EXPECT_EQ(DecodeEntryRecord(std::span<const std::uint8_t>(out.data() + 1, 52)).size, (std::uint64_t{1} << 56) - 1);
}

struct RoundTripCase {
  const char* name;
  std::uint16_t inodeSize;
  bool deletedAndLost;
};

class ScanFileRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(ScanFileRoundTrip, LoadGivesBackTheTreeMarksDrivesAndGeometry) {
  const RoundTripCase& k = GetParam();
  TempFolder dir;
  TinyExt2 t = SmallTree(k.inodeSize);
  t.SetInode(30, 0x81A4, 77, {}, 1300000000);  // deleted
  PutLe32(t.bytes, t.InodeAt(30) + 20, 1300000005);
  t.Dir(31, {42});  // lost, with a child
  t.Dots(42, 31, 99);
  t.Record(42, 24, 32, 1000, "inlost", 1);
  t.File(32, 3);
  CurrentDrive c(t.bytes);
  c.Open();
  if (k.deletedAndLost) SearchDeletedAndLost(c.host);
  Find(c.host, 13)->check = 1;
  Find(c.host, 12)->check = 2;
  LogicalDrives().Drives() = {{63, 0, 1063, 0x83, 0, 0}};
  struct Saved {
    std::uint8_t sectorsPerBlock;
    std::uint32_t lastSector, sectorCount;
    std::uint16_t descriptorTableOffset;
    std::uint32_t inodeTableSectorsPerGroup, inodesPerGroup, inodesCount;
    std::uint16_t groupCount;
    std::vector<GroupDescNode> descriptors;
    std::uint32_t entries, folders, files;
    std::uint64_t totalBytes;
  };
  const CLinuxDrive& o = c.drive();
  const Saved saved{o.sectorsPerBlock, o.lastSector, o.sectorCount, o.descriptorTableOffset,
                    o.inodeTableSectorsPerGroup, o.inodesPerGroup, o.inodesCount, o.groupCount,
                    o.descriptors, o.entries, o.folders, o.files, o.totalBytes};
  const auto before = Keys(c.host.entries);
  const fs::path file = dir.path / "scan.DAT";
  c.drive().SaveScanInfo(file.string());

  OpenUsingScanInfo(c.host, file.string());
  const CLinuxDrive& d = c.drive();
  EXPECT_EQ(Keys(c.host.entries), before);
  EXPECT_EQ(d.sectorsPerBlock, saved.sectorsPerBlock);
  EXPECT_EQ(d.lastSector, saved.lastSector);
  EXPECT_EQ(d.sectorCount, saved.sectorCount);
  EXPECT_EQ(d.descriptorTableOffset, saved.descriptorTableOffset);
  EXPECT_EQ(d.inodeTableSectorsPerGroup, saved.inodeTableSectorsPerGroup);
  EXPECT_EQ(d.inodesPerGroup, saved.inodesPerGroup);
  EXPECT_EQ(d.inodesCount, saved.inodesCount);
  EXPECT_EQ(d.groupCount, saved.groupCount);
  EXPECT_EQ(d.inodeSize, k.inodeSize);
  ASSERT_EQ(d.descriptors.size(), saved.descriptors.size());
  EXPECT_EQ(d.descriptors[0].inodeTableSector, saved.descriptors[0].inodeTableSector);
  EXPECT_EQ(d.descriptors[0].inodeTableSectors, saved.descriptors[0].inodeTableSectors);
  ASSERT_EQ(LogicalDrives().Drives().size(), 1u);
  EXPECT_EQ(LogicalDrives().Drives()[0].endSector, 1063u);
  // The Total pane (bytes, files, folders) shows what it showed after the scan, deleted inodes and
  // their bytes too. The lost-folder search counts Root as an entry too, the load does not.
  EXPECT_EQ(d.entries, saved.entries - (k.deletedAndLost ? 1 : 0));
  EXPECT_EQ(d.folders, saved.folders);
  EXPECT_EQ(d.files, saved.files);
  EXPECT_EQ(d.totalBytes, saved.totalBytes);
  std::uint64_t fileBytes = 0;
  for (const auto& e : c.host.entries) fileBytes += e.IsFolder() ? 0 : e.size;
  EXPECT_EQ(d.totalBytes, fileBytes);
  // The partly checked folder's tree item shows it.
  EXPECT_EQ(c.host.stateImages.size(), 1u);
  EXPECT_EQ(c.host.stateImages.empty() ? 0 : c.host.stateImages[0].second, 3);
  // The loaded drive reads its inodes with the stored inode size.
  auto x = App().currentDrive->ReadInode(13);
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->size, 5u);
  EXPECT_EQ(c.host.log.back().text, "Process completed successfully ");
  EXPECT_EQ(App().scanned, 1);
  EXPECT_EQ(App().scanSaved, 1);

  // A drive opened from a scan file has nothing more to save.
  App().currentDrive->SaveScanInfo((dir.path / "again.DAT").string());
  EXPECT_EQ(c.host.messages.back().text, "The image of this logical drive is already saved");
  EXPECT_FALSE(fs::exists(dir.path / "again.DAT"));
}

INSTANTIATE_TEST_SUITE_P(Trees, ScanFileRoundTrip,
                         ::testing::Values(RoundTripCase{"Opened128", 128, false}, RoundTripCase{"Opened256", 256, false},
                                           RoundTripCase{"DeletedAndLost256", 256, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScanFile, DeletedAndLostEntriesKeepTheirPseudoFolders) {
  TempFolder dir;
  TinyExt2 t = SmallTree(128);
  t.SetInode(30, 0x81A4, 77, {});
  PutLe32(t.bytes, t.InodeAt(30) + 20, 1300000005);
  t.Dir(31, {42});
  t.Dots(42, 31, 99);
  CurrentDrive c(t.bytes);
  c.Open();
  SearchDeletedAndLost(c.host);
  const fs::path file = dir.path / "scan.DAT";
  c.drive().SaveScanInfo(file.string());
  OpenUsingScanInfo(c.host, file.string());
  EXPECT_EQ(c.Listed(), (std::vector<std::string>{"a@12<2", "r@14<2", kLongName + "@15<2", "Lost Folder(s)@1<2",
                                                   "Deleted Files@268435455<2", "x@13<12", "Folder 31@31<1",
                                                   "Inode #30@30<268435455"}));
}

TEST(ScanFile, OldLayoutWithZeroInodeSizeLoadsAs128ByteInodes) {
  TempFolder dir;
  CurrentDrive c(SmallTree(128).bytes);
  c.Open();
  const fs::path file = dir.path / "old.DAT";
  c.drive().SaveScanInfo(file.string());
  Bytes b = ReadBytes(file);
  ASSERT_EQ(b[18], 128);
  b[18] = 0;
  WriteBytes(file, b);
  OpenUsingScanInfo(c.host, file.string());
  EXPECT_EQ(c.drive().inodeSize, 128);
  auto x = c.drive().ReadInode(13);
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->size, 5u);
}

struct HostileCase {
  const char* name;
  std::function<void(Bytes&)> damage;
  bool refused;
  std::size_t entriesLoaded;  // when not refused
  // When not refused: the load's end row, for a file that holds fewer entries than its header counts.
  const char* endRow = "Process completed successfully ";
};

class HostileScanFile : public ::testing::TestWithParam<HostileCase> {};

constexpr const char* kThreeOfFour = "Scan file ends early: 3 of its 4 entries read";

// The valid file has 4 entries; the last one is "x", 1 + 52 + 1 bytes at the end.
TEST_P(HostileScanFile, IsRefusedOrLoadsWhatItHolds) {
  const HostileCase& k = GetParam();
  TempFolder dir;
  CurrentDrive c(SmallTree(128).bytes);
  c.Open();
  const fs::path file = dir.path / "hostile.DAT";
  c.drive().SaveScanInfo(file.string());
  Bytes b = ReadBytes(file);
  k.damage(b);
  WriteBytes(file, b);
  c.host.messages.clear();
  OpenUsingScanInfo(c.host, file.string());
  const CLinuxDrive& d = c.drive();
  if (k.refused) {
    ASSERT_GE(c.host.log.size(), 1u);
    EXPECT_EQ(c.host.log.back().activity, "Not a valid file");
    EXPECT_EQ(c.host.log.back().text, file.string() + ", does not contain scan information");
    EXPECT_EQ(c.host.log.back().status, "Process failed");
    ASSERT_EQ(c.host.messages.size(), 1u);
    EXPECT_EQ(c.host.messages[0].text, "Not a valid scan file");
    EXPECT_EQ(c.host.messages[0].caption, "Quarvel Velnora NTFS");
    EXPECT_EQ(d.entries, 0u);
    EXPECT_TRUE(d.descriptors.empty());
  } else {
    EXPECT_EQ(d.entries, k.entriesLoaded);
    EXPECT_TRUE(c.host.messages.empty());
    const auto end = std::find_if(c.host.log.rbegin(), c.host.log.rend(), [](const auto& row) {
      return row.status.rfind("Completed on ", 0) == 0 || row.status.rfind("Incomplete on ", 0) == 0;
    });
    ASSERT_NE(end, c.host.log.rend());
    EXPECT_EQ(end->text, k.endRow);
    EXPECT_EQ(end->icon, std::string(k.endRow) == "Process completed successfully " ? kIconCompleted : kIconAborted);
    for (const auto& e : c.host.entries) EXPECT_LE(e.check, 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Damage, HostileScanFile,
    ::testing::Values(
        HostileCase{"Empty", [](Bytes& b) { b.clear(); }, true, 0},
        HostileCase{"HeaderCut", [](Bytes& b) { b.resize(300); }, true, 0},
        HostileCase{"WrongSignature", [](Bytes& b) { b[57] = 'X'; }, true, 0},
        HostileCase{"SignatureNotEnded", [](Bytes& b) { b[57 + 21] = 'x'; }, true, 0},
        HostileCase{"OtherNotice", [](Bytes& b) { b[89 + 10] = 'Z'; }, true, 0},
        HostileCase{"GroupCountPastTheFile", [](Bytes& b) { b[32] = b[33] = 0xFF; }, true, 0},
        HostileCase{"DriveRecordsPastTheFile", [](Bytes& b) { b[56] = 0xFF; }, true, 0},
        HostileCase{"InodeSizeNotAPowerOfTwo", [](Bytes& b) { b[18] = 100; }, true, 0},
        HostileCase{"InodeSizeHuge", [](Bytes& b) { b[18] = 0; b[19] = 0x80; }, true, 0},
        HostileCase{"CutInTheLastName", [](Bytes& b) { b.pop_back(); }, false, 3, kThreeOfFour},
        HostileCase{"CutInTheLastRecord", [](Bytes& b) { b.resize(b.size() - 20); }, false, 3, kThreeOfFour},
        HostileCase{"CutBeforeTheLastEntry", [](Bytes& b) { b.resize(b.size() - 54); }, false, 3, kThreeOfFour},
        HostileCase{"CutAfterTheRecords", [](Bytes& b) { b.resize(512 + (b[32] | b[33] << 8) * 24 + b[56] * 36); },
                    false, 0,
                    "Scan file ends early: 0 of its 4 entries read"},
        HostileCase{"NameLengthPastTheEnd", [](Bytes& b) { b[b.size() - 54] = 255; }, false, 3, kThreeOfFour},
        HostileCase{"HugeEntryCount", [](Bytes& b) { std::fill(b.begin() + 36, b.begin() + 48, 0xFF); }, false, 4,
                    "Scan file ends early: 4 of its 4294967295 entries read"},
        HostileCase{"CheckByteOutOfRange", [](Bytes& b) { b[b.size() - 5] = 9; }, false, 4},
        HostileCase{"TrailingByte", [](Bytes& b) { b.push_back(7); }, false, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScanFile, DriveWhoseRootHoldsOnlyFilesIsSaved) {
  TempFolder dir;
  TinyExt2 t(256);
  t.Dir(2, {40});
  t.Dots(40, 2, 2);
  t.Record(40, 24, 14, 1000, "only", 1);
  t.File(14, 7);
  CurrentDrive c(t.bytes);
  c.Open();
  ASSERT_TRUE(c.drive().visited.empty());
  const fs::path file = dir.path / "files.DAT";
  c.drive().SaveScanInfo(file.string());
  OpenUsingScanInfo(c.host, file.string());
  EXPECT_EQ(c.Listed(), (std::vector<std::string>{"only@14<2"}));
}

// Disk numbers follow the disk list, which changes when a disk is attached: a scan file opened
// against a disk that does not hold its drive says so, and the drive is opened all the same.
TEST(ScanFile, FileOpenedAgainstAnotherDiskSaysSo) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> disk;  // what the disk holds when the file is opened
    bool holdsTheDrive;
  };
  const std::vector<Case> cases = {
      {"the same disk", [](Bytes&) {}, true},
      {"its files changed since", [](Bytes& b) { b[50 * 1024] ^= 0xFF; }, true},
      {"another drive", [](Bytes& b) { PutLe32(b, 1024, 64); PutLe32(b, 1024 + 40, 64); }, false},
      {"another block size", [](Bytes& b) { PutLe32(b, 1024 + 24, 1); }, false},
      {"a drive larger than the saved one", [](Bytes& b) { PutLe32(b, 1024 + 4, 100000); }, false},
      {"no super block", [](Bytes& b) { std::fill_n(b.begin() + 1024, 1024, 0); }, false},
      {"an empty disk", [](Bytes& b) { std::fill(b.begin(), b.end(), 0); }, false},
      // A drive of the same shape made anew: another UUID, or another volume name.
      {"another file system of the same shape", [](Bytes& b) { b[1024 + 104 + 5] ^= 0x10; }, false},
      {"another volume name", [](Bytes& b) { b[1024 + 120 + 3] = 'X'; }, false},
      // A file of the old layout holds no identity (zeros): its counts are compared as before.
      {"old layout, another file system of the same shape", [](Bytes& b) { b[1024 + 104 + 5] ^= 0x10; }, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TempFolder dir;
    TinyExt2 t = SmallTree(128);
    for (int i = 0; i < 16; ++i) t.bytes[1024 + 104 + i] = static_cast<std::uint8_t>(0xA0 + i);  // s_uuid
    std::copy_n("home", 4, t.bytes.begin() + 1024 + 120);                                       // s_volume_name
    CurrentDrive c(t.bytes);
    c.Open();
    const fs::path file = dir.path / "scan.DAT";
    ASSERT_TRUE(c.drive().SaveScanInfo(file.string()));
    if (std::string(k.name).rfind("old layout", 0) == 0) {
      Bytes saved = ReadBytes(file);
      std::fill_n(saved.begin() + 126, 512 - 126, 0);
      std::ofstream(file, std::ios::binary | std::ios::trunc)
          .write(reinterpret_cast<const char*>(saved.data()), static_cast<std::streamsize>(saved.size()));
    }
    Bytes now = t.bytes;
    k.disk(now);
    c.disk->Bytes() = now;
    c.host.messages.clear();
    OpenUsingScanInfo(c.host, file.string());
    // The tree is loaded either way.
    EXPECT_EQ(c.Listed(), (std::vector<std::string>{"a@12<2", "r@14<2", kLongName + "@15<2", "x@13<12"}));
    if (k.holdsTheDrive) {
      EXPECT_TRUE(c.host.messages.empty());
      EXPECT_EQ(c.host.log.back().text, "Process completed successfully ");
      continue;
    }
    EXPECT_EQ(c.host.log.back().activity, "Disk does not hold the saved drive");
    EXPECT_EQ(c.host.log.back().text, "No matching super block at sector 2 of HardDisk 1");
    EXPECT_EQ(c.host.log.back().icon, kIconQuestion);
    ASSERT_EQ(c.host.messages.size(), 1u);
    EXPECT_EQ(c.host.messages[0].text.rfind("The disk does not hold the logical drive saved in " + file.string(), 0),
              0u);
    EXPECT_EQ(App().scanned, 1);
  }
}

TEST(ScanFile, MissingFileIsReported) {
  TempFolder dir;
  CurrentDrive c(SmallTree(128).bytes);
  const std::string path = (dir.path / "none.DAT").string();
  OpenUsingScanInfo(c.host, path);
  EXPECT_EQ(c.host.log.back().activity, "Unable to open file containing scan information");
  EXPECT_EQ(c.host.log.back().icon, kIconQuestion);
  ASSERT_FALSE(c.host.messages.empty());
  EXPECT_EQ(c.host.messages.back().text, "Error opening file " + path);
  EXPECT_EQ(c.host.messages.back().caption, "Quarvel Velnora NTFS");
}

TEST(ScanFile, ExistingFileIsWrittenOverRenamedOrLeftAsTheUserSays) {
  TempFolder dir;
  CurrentDrive c(SmallTree(128).bytes);
  c.Open();
  c.drive().disk = 0x81;
  c.drive().driveIndex = 3;
  const fs::path file = dir.path / "x.DAT";
  const Bytes old = {1, 2, 3};
  WriteBytes(file, old);

  c.host.onScanExists = ScanFileExistsDecision::Cancel;
  const std::size_t rows = c.host.log.size();
  EXPECT_FALSE(c.drive().SaveScanInfo(file.string()));  // nothing saved
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_EQ(c.host.log.size(), rows);

  c.host.onScanExists = ScanFileExistsDecision::Rename;  // to the proposed name
  WriteBytes(dir.path / "HardDrv1_LogDrv3_Scan.DAT", old);
  EXPECT_EQ(ProposeScanFileName(file.string(), 1, 3), (dir.path / "HardDrv1_LogDrv3_Scan1").string());
  EXPECT_EQ(ProposeScanFileName("x.DAT", 1, 3).rfind("HardDrv1_LogDrv3_Scan", 0), 0u);
  c.drive().SaveScanInfo(file.string());
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_GT(ReadBytes(dir.path / "HardDrv1_LogDrv3_Scan1.DAT").size(), 512u);
  EXPECT_EQ(c.host.log[c.host.log.size() - 2].text, (dir.path / "HardDrv1_LogDrv3_Scan1.DAT").string());

  c.host.onScanExists = ScanFileExistsDecision::Overwrite;
  EXPECT_TRUE(c.drive().SaveScanInfo(file.string()));
  EXPECT_GT(ReadBytes(file).size(), 512u);
}

// A file that cannot be created is named in an error row and a message box, and the scan is not
// taken as saved.
TEST(ScanFile, FileThatCannotBeCreatedIsReportedAndNotSaved) {
  TempFolder dir;
  CurrentDrive c(SmallTree(128).bytes);
  c.Open();
  for (const fs::path& file : {dir.path / "no-such-folder" / "x.DAT", dir.path}) {
    SCOPED_TRACE(file.string());
    c.host.messages.clear();
    c.host.onScanExists = ScanFileExistsDecision::Overwrite;  // an existing folder's name is written over, if it could be
    EXPECT_FALSE(c.drive().SaveScanInfo(file.string()));
    EXPECT_EQ(c.host.log.back().activity, "Unable to save scan information");
    EXPECT_EQ(c.host.log.back().text, file.string());
    EXPECT_EQ(c.host.log.back().status, "Process failed");
    EXPECT_EQ(c.host.log.back().icon, kIconQuestion);
    ASSERT_EQ(c.host.messages.size(), 1u);
    EXPECT_EQ(c.host.messages[0].text, "Error creating file " + file.string());
    EXPECT_EQ(c.host.messages[0].caption, "Quarvel Velnora Linux");
    EXPECT_FALSE(c.host.barShown);
  }
}

}  // namespace

// A symbolic link of the chosen name is a name that exists: the user is asked, and the link is
// replaced by the file, never written through (a link left in a shared folder would otherwise
// make the save create or overwrite a file of the link's choosing).
TEST(ScanFile, SymbolicLinkOfTheNameIsReplacedNotFollowed) {
  struct Case {
    const char* name;
    bool targetExists;
    ScanFileExistsDecision answer;
  };
  for (const Case& k : {Case{"dangling link, written over", false, ScanFileExistsDecision::Overwrite},
                        Case{"link to a file, written over", true, ScanFileExistsDecision::Overwrite},
                        Case{"dangling link, cancelled", false, ScanFileExistsDecision::Cancel},
                        Case{"link to a file, cancelled", true, ScanFileExistsDecision::Cancel}}) {
    SCOPED_TRACE(k.name);
    TempFolder dir;
    CurrentDrive c(SmallTree(128).bytes);
    c.Open();
    const fs::path target = dir.path / "elsewhere" / "target";
    fs::create_directories(target.parent_path());
    const Bytes old = {1, 2, 3};
    if (k.targetExists) WriteBytes(target, old);
    const fs::path file = dir.path / "scan.DAT";
    fs::create_symlink(target, file);
    c.host.onScanExists = k.answer;
    const bool saved = c.drive().SaveScanInfo(file.string());
    EXPECT_EQ(fs::exists(target), k.targetExists);
    if (k.targetExists) {
      EXPECT_EQ(ReadBytes(target), old);
    }
    if (k.answer == ScanFileExistsDecision::Cancel) {
      EXPECT_FALSE(saved);  // the user was asked, and said no

      EXPECT_TRUE(fs::is_symlink(file));
    } else {
      EXPECT_TRUE(saved);
      ASSERT_FALSE(fs::is_symlink(file));
      EXPECT_GT(ReadBytes(file).size(), 512u);
    }
    // No file is left beside it.
    std::size_t names = 0;
    for (const auto& e : fs::directory_iterator(dir.path)) names += e.path().filename() != "elsewhere" ? 1 : 0;
    EXPECT_EQ(names, 1u);
  }
}
