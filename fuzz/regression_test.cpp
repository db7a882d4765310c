// Replays every stored fuzz finding (fuzz/regressions/<target>/*) through its target. Each file is
// named after the fault it once caused; it must now run to its end, within a time bound and, in
// the plain build, within 1 GiB of address space: each input runs in a child process that is
// ended when it passes either.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_targets.h"

using namespace fuzz;

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define QV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef QV_ADDRESS_SANITIZER
// The sanitizer reserves its shadow memory up front, so no address-space limit can be set, and
// its checks make every road several times slower.
constexpr unsigned kSecondsPerInput = 120;
constexpr bool kLimitAddressSpace = false;
#else
constexpr unsigned kSecondsPerInput = 10;
constexpr bool kLimitAddressSpace = true;
#endif
constexpr rlim_t kAddressSpaceLimit = rlim_t{1} << 30;

// Runs RUN on BYTES in a child process under the bounds; an empty text when it ran to its end.
std::string RunBounded(int (*run)(const std::uint8_t*, std::size_t), const std::vector<std::uint8_t>& bytes) {
  const pid_t child = ::fork();
  if (child < 0) return std::string("fork failed: ") + std::strerror(errno);
  if (child == 0) {
    if (kLimitAddressSpace) {
      const rlimit limit{kAddressSpaceLimit, kAddressSpaceLimit};
      ::setrlimit(RLIMIT_AS, &limit);
    }
    ::alarm(kSecondsPerInput);  // SIGALRM ends the child
    int code = 0;
    try {
      code = run(bytes.data(), bytes.size()) == 0 ? 0 : 1;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "exception: %s\n", e.what());  // std::bad_alloc at the memory limit
      code = 2;
    } catch (...) {
      code = 2;
    }
    // exit, not _exit: the leak check of a sanitized build runs at the child's end.
    std::exit(code);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    if (WEXITSTATUS(status) == 0) return "";
    if (WEXITSTATUS(status) == 2) return "ended by an exception (std::bad_alloc past the 1 GiB limit, say)";
    return "ended with status " + std::to_string(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
    return "ran longer than " + std::to_string(kSecondsPerInput) + " s";
  }
  return std::string("ended by signal ") + (WIFSIGNALED(status) ? strsignal(WTERMSIG(status)) : "?") +
         " (an abort is also what an allocation past the 1 GiB limit gives)";
}

void ReplayAll(const char* target, int (*run)(const std::uint8_t*, std::size_t)) {
  const fs::path dir = fs::path(QV_REGRESSION_DIR) / target;
  if (!fs::exists(dir)) GTEST_SKIP() << "no findings stored for " << target;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_EQ(RunBounded(run, bytes), "");
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
