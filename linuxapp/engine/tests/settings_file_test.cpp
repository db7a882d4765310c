#include "ext2engine/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "ext2engine/app_state.h"

using namespace ext2;

namespace {

std::string TempPath() { return (std::filesystem::temp_directory_path() / "qv_settings_test.cfg").string(); }

void WriteBytes(const std::string& path, std::vector<unsigned char> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(SettingsFile, ReadingTakesTheFirstTwoBytes) {
  struct Case {
    std::vector<unsigned char> bytes;  // empty: no file
    int retries;
    int mode;
  } cases[] = {
      {{}, 3, 1}, {{5, 1}, 5, 1}, {{7, 1}, 3, 1}, {{255, 0}, 3, 0}, {{2, 0}, 2, 0},
      {{0, 1}, 0, 1},  // a stored 0 is taken as it stands
      {{4}, 3, 1},     // shorter than two bytes: the defaults
  };
  const std::string path = TempPath();
  for (const auto& c : cases) {
    std::filesystem::remove(path);
    if (!c.bytes.empty()) WriteBytes(path, c.bytes);
    AppFields state;
    state.readRetryCount = 9;
    ReadSettings(path, state);
    EXPECT_EQ(state.readRetryCount, c.retries);
    EXPECT_EQ(state.readMode, c.mode);
  }
  std::filesystem::remove(path);
}

TEST(SettingsFile, ReadOnlyFileGivesTheDefaults) {
  // Paths that cannot be opened for reading and updating, whoever runs the test: a folder, and a
  // path below a regular file that holds valid settings. A file without write permission is one
  // too, but root may open any file for updating, so that case runs only for other users.
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("qv_settings_ro_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder");
  const std::string file = (dir / "settings").string();
  WriteBytes(file, {5, 0});
  std::vector<std::string> paths = {(dir / "folder").string(), file + "/Velnora.cfg"};
  const std::string readOnly = (dir / "read-only").string();
  if (::geteuid() != 0) {
    WriteBytes(readOnly, {5, 0});
    ::chmod(readOnly.c_str(), 0444);
    paths.push_back(readOnly);
  }
  for (const auto& path : paths) {
    AppFields state;
    state.readRetryCount = 5;
    state.readMode = 0;
    ReadSettings(path, state);
    EXPECT_EQ(state.readRetryCount, 3) << path;
    EXPECT_EQ(state.readMode, 1) << path;
  }
  // The same bytes in a file that can be updated are taken.
  AppFields state;
  ReadSettings(file, state);
  EXPECT_EQ(state.readRetryCount, 5);
  EXPECT_EQ(state.readMode, 0);
  fs::remove_all(dir);
}

TEST(SettingsFile, WriterLaysOut260BytesAndStoresLargeCountsAs3) {
  const std::string path = TempPath();
  ASSERT_TRUE(WriteSettings(path, 9, false));
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 260u);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_TRUE(std::all_of(bytes.begin() + 2, bytes.end(), [](char c) { return c == 0; }));
  ASSERT_TRUE(WriteSettings(path, 6, true));
  AppFields state;
  ReadSettings(path, state);
  EXPECT_EQ(state.readRetryCount, 6);
  EXPECT_EQ(state.readMode, 1);
  std::filesystem::remove(path);
  EXPECT_FALSE(WriteSettings("/nonexistent-dir/Velnora.cfg", 3, true));
}

// A FIFO of that name does not hold up the start-up (its read would wait for a writer), and the
// writer replaces a symbolic link of that name instead of truncating the file it names.
TEST(SettingsFile, FifoIsNotReadAndALinkIsReplacedNotFollowed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("qv_settings_odd_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string fifo = (dir / "fifo.cfg").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto reading = std::async(std::launch::async, [&] {
    AppFields state;
    state.readRetryCount = 5;
    ReadSettings(fifo, state);
    return state.readRetryCount;
  });
  const bool finished = reading.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
  EXPECT_TRUE(finished) << "ReadSettings waits on a FIFO";
  if (!finished) {  // let it go, so that the test ends
    const int w = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    unsigned char two[2] = {5, 0};
    if (w >= 0) {
      (void)!::write(w, two, 2);
      ::close(w);
    }
  }
  EXPECT_EQ(reading.get(), 3);

  const fs::path target = dir / "precious.txt";
  WriteBytes(target.string(), {'k', 'e', 'e', 'p'});
  const fs::path link = dir / "Velnora.cfg";
  fs::create_symlink(target, link);
  ASSERT_TRUE(WriteSettings(link.string(), 4, false));
  EXPECT_EQ(fs::file_size(target), 4u);
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(fs::file_size(link), 260u);
  AppFields state;
  ReadSettings(link.string(), state);
  EXPECT_EQ(state.readRetryCount, 4);
  EXPECT_EQ(state.readMode, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);  // no file left behind
  fs::remove_all(dir);
}

}  // namespace
