// Disk list from QUARVEL_DISKS or /sys/block.
#include "platform/disk_list.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace platform {

std::vector<std::string> SplitPathList(const std::string& list) {
  std::vector<std::string> out;
  std::string::size_type start = 0;
  while (start <= list.size()) {
    auto colon = list.find(':', start);
    if (colon == std::string::npos) colon = list.size();
    if (colon > start) out.push_back(list.substr(start, colon - start));
    start = colon + 1;
  }
  return out;
}

static bool IsWholeDiskName(const std::string& name) {
  static const char* const kSkipped[] = {"loop", "ram", "dm-", "sr", "zram", "md", "nbd"};
  for (const char* prefix : kSkipped) {
    if (name.rfind(prefix, 0) == 0) return false;
  }
  return !name.empty();
}

std::vector<std::string> PhysicalDiskPaths(const char* env, std::vector<std::string> sys_block_names) {
  if (env != nullptr) return SplitPathList(env);
  std::sort(sys_block_names.begin(), sys_block_names.end());
  std::vector<std::string> out;
  for (const auto& name : sys_block_names) {
    if (IsWholeDiskName(name)) out.push_back("/dev/" + name);
  }
  return out;
}

std::vector<std::string> PhysicalDiskPaths() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/block", ec)) {
    names.push_back(entry.path().filename().string());
  }
  return PhysicalDiskPaths(std::getenv("QUARVEL_DISKS"), std::move(names));
}

static std::string FirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  const auto blank = " \t\r\n";
  const auto first = line.find_first_not_of(blank);
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(blank) - first + 1);
}

DiskDescription DescribeDiskPath(const std::string& path, const std::string& sysfs_root) {
  namespace fs = std::filesystem;
  DiskDescription d;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    d.model = fs::path(path).filename().string();
    return d;
  }
  std::error_code ec;
  fs::path device = fs::canonical(path, ec);
  if (ec) device = path;
  const fs::path block = fs::path(sysfs_root) / "block" / device.filename();
  d.model = FirstLine(block / "device" / "model");
  for (const char* name : {"device/serial", "serial", "wwid", "device/wwid"}) {
    d.serial = FirstLine(block / name);
    if (!d.serial.empty()) break;
  }
  return d;
}

DiskDescription DescribeDiskPath(const std::string& path) {
  const char* root = std::getenv("QUARVEL_SYSFS");
  return DescribeDiskPath(path, root != nullptr && root[0] != '\0' ? root : "/sys");
}

}  // namespace platform
