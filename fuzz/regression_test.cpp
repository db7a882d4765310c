// Replays every stored fuzz finding (fuzz/regressions/<target>/*) through its target. Each file is
// named after the fault it once caused; it must now run to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_targets.h"

using namespace fuzz;

namespace fs = std::filesystem;

namespace {

void ReplayAll(const char* target, int (*run)(const std::uint8_t*, std::size_t)) {
  const fs::path dir = fs::path(QV_REGRESSION_DIR) / target;
  if (!fs::exists(dir)) GTEST_SKIP() << "no findings stored for " << target;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_EQ(run(bytes.data(), bytes.size()), 0);
  }
}

TEST(FuzzRegressions, PartitionWalk) { ReplayAll("partition_walk", FuzzPartitionWalk); }
TEST(FuzzRegressions, Ext2Tree) { ReplayAll("ext2_tree", FuzzExt2Tree); }
TEST(FuzzRegressions, DeletedAndLost) { ReplayAll("deleted_lost", FuzzDeletedAndLost); }
TEST(FuzzRegressions, DriveSearch) { ReplayAll("drive_search", FuzzDriveSearch); }
TEST(FuzzRegressions, ScanFile) { ReplayAll("scan_file", FuzzScanFile); }
TEST(FuzzRegressions, Recovery) { ReplayAll("recovery", FuzzRecovery); }
TEST(FuzzRegressions, CdVolume) { ReplayAll("cd_volume", FuzzCdVolume); }
TEST(FuzzRegressions, CdRawScans) { ReplayAll("cd_raw_scans", FuzzCdRawScans); }
TEST(FuzzRegressions, CdImage) { ReplayAll("cd_image", FuzzCdImage); }
TEST(FuzzRegressions, CdRecovery) { ReplayAll("cd_recovery", FuzzCdRecovery); }

}  // namespace
