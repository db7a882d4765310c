// The machine's physical disks as this system sees them.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The paths that stand for physical disks 0, 1, ...: the colon-separated entries of
// QUARVEL_DISKS when it is set (empty entries dropped), else the whole-disk block devices
// listed in /sys/block, in name order, without loop, ram, dm, sr, zram, md and nbd devices.
std::vector<std::string> PhysicalDiskPaths();

// The same rule over given inputs, for tests: ENV is the variable's value (null when unset),
// SYS_BLOCK_NAMES the entries of /sys/block.
std::vector<std::string> PhysicalDiskPaths(const char* env, std::vector<std::string> sys_block_names);

// What the system knows of the disk at PATH, for a disk that does not answer IDENTIFY. An image
// file's model is its file name. A block device (a /dev/disk/by-id link is followed to it) takes
// its model from SYSFS_ROOT/block/NAME/device/model and its serial number from device/serial,
// serial, wwid or device/wwid there, the first that holds one; blanks around them are dropped.
// Texts not known stay empty.
struct DiskDescription {
  std::string model, serial;
};
DiskDescription DescribeDiskPath(const std::string& path, const std::string& sysfs_root);

// The same with the machine's sysfs: QUARVEL_SYSFS when it is set (for tests), else /sys.
DiskDescription DescribeDiskPath(const std::string& path);

// Splits a colon-separated list, dropping empty entries.
std::vector<std::string> SplitPathList(const std::string& list);

}  // namespace platform
