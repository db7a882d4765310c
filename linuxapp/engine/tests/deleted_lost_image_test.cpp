// Search Deleted and Lost and the scan file on real ext2/ext3 images made by mke2fs -d and changed
// with debugfs -w: removed files come back as "Inode #N", a folder whose parent's block was zeroed
// comes back under "Lost Folder(s)", and the image is only read.
//
// Recipe (run at test time; E2FSPROGS_FAKE_TIME and touch -d keep the times fixed):
//   src/a/b/f1 (6 B), src/a/b/deep/f3 (5 B), src/c/f2 (6 B), src/c/gone2 (3 B), src/gone (2 B),
//   src/big (70,000 B); mke2fs -q -F -t TYPE -b BLOCK -I INODE -d src img 8M;
//   debugfs -w: rm gone; rm c/gone2; rm big; zap_block -f /a 0
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/scan_file.h"
#include "lost_fixture.h"

using namespace ext2;
using namespace ext2::testing;

namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& command) {
  std::string out;
  std::FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  pclose(p);
  return out;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary | std::ios::ate);
  std::vector<std::uint8_t> b(in ? static_cast<std::size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return b;
}

struct ImageCase {
  const char* name;
  const char* type;
  int block;
  int inode;
};

class DeletedAndLostImage : public ::testing::TestWithParam<ImageCase> {};

TEST_P(DeletedAndLostImage, RemovedFilesAndCutFoldersComeBack) {
  const ImageCase& k = GetParam();
  if (Shell("command -v mke2fs debugfs || ls /usr/sbin/mke2fs /usr/sbin/debugfs 2>/dev/null").empty()) {
    GTEST_SKIP() << "e2fsprogs not installed";
  }
  const fs::path dir = fs::path(::testing::TempDir()) / ("qv_dl_" + std::to_string(::getpid()) + "_" + k.name);
  fs::remove_all(dir);
  fs::create_directories(dir / "src/a/b/deep");
  fs::create_directories(dir / "src/c");
  const std::string d = dir.string();
  const std::string build =
      "set -e; export PATH=$PATH:/usr/sbin:/sbin E2FSPROGS_FAKE_TIME=1600000000 DEBUGFS_PAGER=__none__ PAGER=__none__; cd '" + d + "'; "
      "printf hello> src/a/b/f1; printf '\\n' >> src/a/b/f1; printf deep1 > src/a/b/deep/f3; "
      "printf world1 > src/c/f2; printf yy1 > src/c/gone2; printf x1 > src/gone; "
      "head -c 70000 /dev/zero | tr '\\0' 'q' > src/big; "
      "find src -exec touch -h -d @1500000000 {} +; "
      "mke2fs -q -F -t " + std::string(k.type) + " -b " + std::to_string(k.block) + " -I " +
      std::to_string(k.inode) + " -d src img 8M >/dev/null 2>&1; "
      "for f in gone c/gone2 big a/b; do debugfs -R \"stat $f\" img 2>/dev/null | sed -n 's/^Inode: \\([0-9]*\\).*/\\1/p'; done > inodes; "
      "printf 'rm gone\\nrm c/gone2\\nrm big\\nzap_block -f /a 0\\n' | debugfs -w -f - img >/dev/null 2>&1; echo ok";
  ASSERT_NE(Shell(build).find("ok"), std::string::npos);
  std::vector<std::uint32_t> inodes;
  {
    std::ifstream in(dir / "inodes");
    for (std::uint32_t i; in >> i;) inodes.push_back(i);
  }
  ASSERT_EQ(inodes.size(), 4u);
  const std::map<std::uint32_t, std::uint32_t> removed = {{inodes[0], 2}, {inodes[1], 3}, {inodes[2], 70000}};
  const std::uint32_t cut = inodes[3];

  const fs::path image = dir / "img";
  const auto before = ReadBytes(image);
  CurrentDrive c({});
  SetDiskSource(PathListDiskSource({image.string()}));
  CLinuxDrive& drive = c.drive();
  drive.sectorCount = static_cast<std::uint32_t>(before.size() / 512);
  drive.lastSector = drive.sectorCount - 1;
  c.Open();
  SearchDeletedAndLost(c.host);

  std::map<std::uint32_t, std::uint32_t> deleted;
  std::set<std::string> inCut;
  std::vector<std::string> lostShown;
  for (const auto& e : c.host.entries) {
    if (e.parentInode == kDeletedFilesInode) {
      EXPECT_EQ(e.name, "Inode #" + std::to_string(e.inode));
      EXPECT_EQ(e.modificationTime, 1500000000u);
      deleted[e.inode] = e.size;
    }
    if (e.parentInode == kLostFoldersInode) lostShown.push_back(e.name);
    if (e.parentInode == cut) inCut.insert(e.name);
  }
  EXPECT_EQ(deleted, removed);
  EXPECT_EQ(lostShown, (std::vector<std::string>{"Folder " + std::to_string(cut)}));
  EXPECT_EQ(inCut, (std::set<std::string>{"deep", "f1"}));

  // Saving the result and loading it back keeps every entry; the image is never written.
  const std::string scan = (dir / "s.DAT").string();
  drive.SaveScanInfo(scan);
  const std::size_t listed = c.host.entries.size();
  OpenUsingScanInfo(c.host, scan);
  EXPECT_EQ(c.host.entries.size(), listed);
  EXPECT_EQ(c.drive().inodeSize, k.inode);
  EXPECT_EQ(ReadBytes(image), before);
  SetDiskSource(nullptr);
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Families, DeletedAndLostImage,
                         ::testing::Values(ImageCase{"ext2_1k_128", "ext2", 1024, 128},
                                           ImageCase{"ext2_4k_256", "ext2", 4096, 256},
                                           ImageCase{"ext3_1k_256", "ext3", 1024, 256}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
