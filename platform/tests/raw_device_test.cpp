#include "platform/raw_device.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sector_device.h"

using platform::RawDevice;

TEST(RawDevice, ReadsAtPositionsAndReportsShortAndEndReads) {
  auto path = std::filesystem::temp_directory_path() / "qv_raw_device_test.img";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 1000; ++i) out.put(static_cast<char>(i & 0xFF));
  }
  auto dev = RawDevice::OpenReadOnly(path.string());
  ASSERT_NE(dev, nullptr);
  std::uint64_t size = 0;
  ASSERT_TRUE(dev->SizeBytes(size));
  EXPECT_EQ(size, 1000u);
  unsigned char buf[512];
  EXPECT_EQ(dev->ReadAt(512, buf, 512), 488);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(buf[1], 1);
  EXPECT_EQ(dev->ReadAt(4096, buf, 512), 0);
  std::filesystem::remove(path);
}

namespace {

// Opens PATH, and should the open wait (a FIFO without a writer), releases it after two seconds by
// opening the FIFO's other end, so that a waiting open fails the test instead of hanging it.
struct TimedOpen {
  std::unique_ptr<RawDevice> device;
  int error = 0;
  double seconds = 0;
};
TimedOpen OpenWithWatchdog(const std::string& path) {
  std::atomic<bool> done{false};
  std::thread watchdog([&] {
    const auto start = std::chrono::steady_clock::now();
    while (!done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) continue;
      const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
    }
  });
  const auto start = std::chrono::steady_clock::now();
  errno = 0;
  TimedOpen result;
  result.device = RawDevice::OpenReadOnly(path);
  result.error = errno;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  done = true;
  watchdog.join();
  return result;
}

}  // namespace

// Only what holds sectors at byte positions is opened; anything else is refused at once, never
// opened, with a text that names the path and what it is.
TEST(RawDevice, OnlyRegularFilesAndBlockDevicesAreOpened) {
  const auto dir = std::filesystem::temp_directory_path() / ("qv_raw_kinds_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string socketPath = (dir / "socket").string();
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string link = (dir / "link").string();
  ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
  struct Case {
    std::string path;
    int error;
    std::string text;
  };
  const Case refused[] = {
      {fifo, ENOTBLK, fifo + " cannot be opened: a FIFO is neither a regular file nor a block device"},
      {link, ENOTBLK, link + " cannot be opened: a FIFO is neither a regular file nor a block device"},
      {"/dev/null", ENOTBLK,
       "/dev/null cannot be opened: a character device is neither a regular file nor a block device"},
      {socketPath, ENOTBLK, socketPath + " cannot be opened: a socket is neither a regular file nor a block device"},
      {dir.string(), EISDIR, dir.string() + " cannot be opened: a folder is neither a regular file nor a block device"},
      {(dir / "missing").string(), ENOENT, (dir / "missing").string() + " cannot be opened: No such file or directory"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.path);
    const TimedOpen open = OpenWithWatchdog(c.path);
    EXPECT_FALSE(open.device);
    EXPECT_EQ(open.error, c.error);
    EXPECT_LT(open.seconds, 1.0);
    EXPECT_EQ(platform::OpenFailureText(c.path, open.error), c.text);
  }
  ::close(sock);

  // A regular file is read through a descriptor that blocks as usual.
  const std::string file = (dir / "disk.img").string();
  std::ofstream(file, std::ios::binary) << std::string(4096, 'x');
  const TimedOpen image = OpenWithWatchdog(file);
  ASSERT_NE(image.device, nullptr);
  EXPECT_FALSE(image.device->IsBlockDevice());
  EXPECT_EQ(::fcntl(image.device->Descriptor(), F_GETFL) & O_NONBLOCK, 0);
  std::filesystem::remove_all(dir);

  // A block device, where one can be opened here (loop devices, as root).
  for (int n = 0; n < 8; ++n) {
    const std::string loop = "/dev/loop" + std::to_string(n);
    if (::access(loop.c_str(), R_OK) != 0) continue;
    const TimedOpen block = OpenWithWatchdog(loop);
    if (!block.device) continue;
    EXPECT_TRUE(block.device->IsBlockDevice());
    std::uint64_t size = 1;
    EXPECT_TRUE(block.device->SizeBytes(size));
    return;
  }
  GTEST_SKIP() << "no block device to open";
}
