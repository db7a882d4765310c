// The one road by which the engine reads physical disks: 512-byte sectors by LBA, with retries.
// Disk numbers are 0x80 + the index of a physical disk; numbers below 0x80 (drive letters) never open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sector_device.h"

namespace ext2 {

class Prompts;

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint8_t kFirstPhysicalDisk = 0x80;

// Where physical disks come from: index 0, 1, ... ; null when there is no such disk.
class DiskSource {
 public:
  virtual ~DiskSource() = default;
  virtual std::unique_ptr<platform::SectorDevice> Open(unsigned index) = 0;
  // Reads the list of disks anew, for a source that follows the machine; true when an index now
  // names another disk than before.
  virtual bool Reread() { return false; }
  // The path disk INDEX is read from, empty when there is none or the source has no paths.
  virtual std::string PathOf(unsigned) { return {}; }
};

// The platform's disk list (QUARVEL_DISKS, else /sys/block): read when first needed, and again each
// time the disks are counted. A disk's index is its place in that list, also when disks before it
// do not open.
std::shared_ptr<DiskSource> PlatformDiskSource();

// Image files or block devices given by path, as disks 0, 1, ...
std::shared_ptr<DiskSource> PathListDiskSource(std::vector<std::string> paths);

// Replaces the disk source (tests, probes) and closes every open device; null restores the platform's.
void SetDiskSource(std::shared_ptr<DiskSource> source);

// Closes the devices kept open for reads. The next read opens its disk again.
void CloseDiskDevices();

// Always 0 here: the Windows 9x road does not exist on this platform.
extern int g_isWin9x;

// Reads the disk list anew and gives the indices (from 0) of the disks that open, in list order:
// a path that does not open (an empty card-reader slot, a device without permission) leaves a gap
// but hides none of the disks after it, and each disk keeps its place in the list as its number
// (0x80 + index; at most 128 places). When an index comes to name another disk, the devices kept
// open are closed. True when at least one disk was found.
bool CountPhysicalDisks(std::vector<std::uint8_t>& disks);

// A place of the disk list that holds a disk: one that opens (OPEN_ERROR 0), or one that is there
// but refuses to open, with the errno it gave (EACCES for a device without permission).
struct DiskPlace {
  std::uint8_t index;
  int openError;
};

// Reads the disk list anew like CountPhysicalDisks, and gives every place that holds a disk, also
// those that do not open. Places without a disk (no such path, no such device, no medium in a
// card-reader slot) are left out. True when at least one place was given.
bool ListPhysicalDisks(std::vector<DiskPlace>& places);

// The path of disk INDEX (from 0) in the current disk list; empty when not known.
std::string PhysicalDiskPath(std::uint8_t index);

// Opens disk number N (0x80 + index) read-only; null for a drive letter or a missing disk.
std::unique_ptr<platform::SectorDevice> OpenDiskDevice(std::uint16_t n);

// One attempt: reads BYTES at sector LBA (high:low) of the disk. A read that delivers fewer bytes
// than asked (an error part way, or past the disk's end) fails; DELIVERED, when given, receives the
// number of bytes the device returned (the start of BUFFER holds them, also when the read failed).
// The device stays open for the following reads of the process; a failed read closes it, so that
// the next attempt opens it anew.
int ReadSectorsNT(std::uint8_t disk, std::uint32_t lbaLow, std::uint32_t lbaHigh, void* buffer,
                  std::uint32_t bytes, std::uint32_t* delivered = nullptr);

// The sector-read entry: as many attempts in all as the application's read-retry count says
// (at least one), each failed or short attempt retried, except one that came short at the disk's
// end, whose result another attempt cannot change. 1 when an attempt delivered every byte, 0
// otherwise; nothing is shown to the user. DELIVERED, when given, receives the byte count of the
// last attempt.
int ReadDiskSectors(std::uint8_t disk, std::uint32_t lbaLow, std::uint32_t lbaHigh, void* buffer,
                    std::uint32_t bytes, std::uint32_t* delivered = nullptr);

// The geometry the disk reports: 255 heads x 63 sectors, cylinders = sectors / 16065 (low 16 bits).
// A disk that cannot be opened shows "Error Code %lu on Disk %u in GetDiskParameters" on PROMPTS
// (when given) and fails.
int GetDiskParameters(std::uint16_t disk, std::uint16_t* cylinders, std::uint8_t* tracksPerCylinder,
                      std::uint8_t* sectorsPerTrack, Prompts* prompts = nullptr);

// The disk's size in sectors, from its full size (capped at 0xFFFFFFFF, the last 32-bit LBA);
// 0 when the geometry cannot be had.
int GetDiskSectorCount(std::uint8_t disk, std::uint32_t* count, Prompts* prompts = nullptr);
// The same without the cap: disks of 2 TiB and more have sectors past the last 32-bit LBA.
int GetDiskSectorCount64(std::uint8_t disk, std::uint64_t* count, Prompts* prompts = nullptr);

}  // namespace ext2
