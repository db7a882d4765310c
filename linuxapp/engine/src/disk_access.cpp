// Sector reads from physical disks through the platform layer, with the retry rule.
#include "ext2engine/disk_access.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/ports.h"
#include "platform/disk_list.h"

namespace ext2 {

int g_isWin9x = 0;

namespace {

class PathDiskSource : public DiskSource {
 public:
  PathDiskSource() = default;
  explicit PathDiskSource(std::vector<std::string> paths) : fixed_(true), listed_(true), paths_(std::move(paths)) {}
  std::unique_ptr<platform::SectorDevice> Open(unsigned index) override {
    List();
    if (index >= paths_.size()) {
      errno = ENOENT;
      return nullptr;
    }
    return platform::OpenSectorDevice(paths_[index]);
  }
  std::string PathOf(unsigned index) override {
    List();
    return index < paths_.size() ? paths_[index] : std::string();
  }
  bool Reread() override {
    if (fixed_) return false;
    std::vector<std::string> paths = platform::PhysicalDiskPaths();
    const bool changed = listed_ && paths != paths_;
    paths_ = std::move(paths);
    listed_ = true;
    return changed;
  }

 private:
  void List() {
    if (listed_) return;
    paths_ = platform::PhysicalDiskPaths();
    listed_ = true;
  }

  bool fixed_ = false;  // a list given by path: it stays as given
  bool listed_ = false;
  std::vector<std::string> paths_;
};

struct DiskContext {
  std::shared_ptr<DiskSource> source;
  std::map<std::uint8_t, std::unique_ptr<platform::SectorDevice>> open;
};

DiskContext& Context() {
  static DiskContext context;
  if (!context.source) context.source = PlatformDiskSource();
  return context;
}

platform::SectorDevice* KeptDevice(std::uint8_t disk) {
  auto& context = Context();
  auto it = context.open.find(disk);
  if (it != context.open.end()) return it->second.get();
  auto dev = OpenDiskDevice(disk);
  if (!dev) return nullptr;
  return (context.open[disk] = std::move(dev)).get();
}

}  // namespace

std::shared_ptr<DiskSource> PlatformDiskSource() { return std::make_shared<PathDiskSource>(); }

std::shared_ptr<DiskSource> PathListDiskSource(std::vector<std::string> paths) {
  return std::make_shared<PathDiskSource>(std::move(paths));
}

void SetDiskSource(std::shared_ptr<DiskSource> source) {
  auto& context = Context();
  context.open.clear();
  context.source = source ? std::move(source) : PlatformDiskSource();
}

void CloseDiskDevices() { Context().open.clear(); }

bool ListPhysicalDisks(std::vector<DiskPlace>& places) {
  g_isWin9x = 0;
  auto& context = Context();
  if (context.source->Reread()) context.open.clear();
  places.clear();
  constexpr unsigned kPlaces = 0x100 - kFirstPhysicalDisk;
  for (unsigned n = 0; n < kPlaces; ++n) {
    errno = 0;
    if (OpenDiskDevice(static_cast<std::uint16_t>(kFirstPhysicalDisk + n))) {
      places.push_back({static_cast<std::uint8_t>(n), 0});
      continue;
    }
    // A source that gives no reason has no disk there.
    const int error = errno;
    if (error == 0 || error == ENOENT || error == ENXIO || error == ENODEV || error == ENOMEDIUM) continue;
    places.push_back({static_cast<std::uint8_t>(n), error});
  }
  return !places.empty();
}

bool CountPhysicalDisks(std::vector<std::uint8_t>& disks) {
  std::vector<DiskPlace> places;
  ListPhysicalDisks(places);
  disks.clear();
  for (const DiskPlace& p : places) {
    if (p.openError == 0) disks.push_back(p.index);
  }
  return !disks.empty();
}

std::string PhysicalDiskPath(std::uint8_t index) { return Context().source->PathOf(index); }

std::unique_ptr<platform::SectorDevice> OpenDiskDevice(std::uint16_t n) {
  if (n < kFirstPhysicalDisk) {
    errno = ENOENT;  // drive letters do not exist here
    return nullptr;
  }
  return Context().source->Open(n - kFirstPhysicalDisk);
}

namespace {

enum class ReadResult { kWhole, kFailed, kAtDiskEnd };

// One attempt, telling a read that came short because the disk ends there (its result cannot
// change) from one that failed.
ReadResult ReadOnce(std::uint8_t disk, std::uint64_t lba, void* buffer, std::uint32_t bytes, std::uint32_t* delivered) {
  if (delivered != nullptr) *delivered = 0;
  platform::SectorDevice* dev = KeptDevice(disk);
  if (dev == nullptr) return ReadResult::kFailed;
  if (lba > (UINT64_MAX - bytes) / kSectorSize) return ReadResult::kAtDiskEnd;  // no disk reaches there
  const long long got = dev->ReadAt(lba * kSectorSize, buffer, bytes);
  if (got < 0) {
    Context().open.erase(disk);
    return ReadResult::kFailed;
  }
  if (delivered != nullptr) *delivered = static_cast<std::uint32_t>(std::min<long long>(got, bytes));
  if (got >= static_cast<long long>(bytes)) return ReadResult::kWhole;
  // Fewer bytes than asked (an error part way, or the disk's end) is a failed read.
  std::uint64_t size = 0;
  if (dev->SizeBytes(size) && lba * kSectorSize + static_cast<std::uint64_t>(got) >= size) return ReadResult::kAtDiskEnd;
  return ReadResult::kFailed;
}

}  // namespace

int ReadSectorsNT(std::uint8_t disk, std::uint32_t lbaLow, std::uint32_t lbaHigh, void* buffer,
                  std::uint32_t bytes, std::uint32_t* delivered) {
  const std::uint64_t lba = (static_cast<std::uint64_t>(lbaHigh) << 32) | lbaLow;
  return ReadOnce(disk, lba, buffer, bytes, delivered) == ReadResult::kWhole ? 1 : 0;
}

int ReadDiskSectors(std::uint8_t disk, std::uint32_t lbaLow, std::uint32_t lbaHigh, void* buffer,
                    std::uint32_t bytes, std::uint32_t* delivered) {
  const std::uint64_t lba = (static_cast<std::uint64_t>(lbaHigh) << 32) | lbaLow;
  const unsigned attempts = App().readRetryCount == 0 ? 1 : App().readRetryCount;
  for (unsigned k = 0; k < attempts; ++k) {
    const ReadResult result = ReadOnce(disk, lba, buffer, bytes, delivered);
    if (result == ReadResult::kWhole) return 1;
    // What lies past the disk's end does not come with another attempt.
    if (result == ReadResult::kAtDiskEnd) return 0;
  }
  return 0;
}

namespace {

// The disk's size in bytes; a disk that cannot be opened is reported on PROMPTS.
bool DiskSizeBytes(std::uint16_t disk, std::uint64_t& size, Prompts* prompts) {
  auto dev = OpenDiskDevice(disk);
  if (!dev) {
    if (prompts != nullptr) {
      char text[96];
      std::snprintf(text, sizeof text, "Error Code %lu on Disk %u in GetDiskParameters",
                    static_cast<unsigned long>(errno), static_cast<unsigned>(disk));
      prompts->MessageBox(text, "Quarvel Velnora Linux", MessageButtons::Ok);
    }
    return false;
  }
  return dev->SizeBytes(size);
}

}  // namespace

int GetDiskParameters(std::uint16_t disk, std::uint16_t* cylinders, std::uint8_t* tracksPerCylinder,
                      std::uint8_t* sectorsPerTrack, Prompts* prompts) {
  std::uint64_t size = 0;
  if (!DiskSizeBytes(disk, size, prompts)) return 0;
  *cylinders = static_cast<std::uint16_t>(size / kSectorSize / (255 * 63));
  *tracksPerCylinder = 255;
  *sectorsPerTrack = 63;
  return 1;
}

int GetDiskSectorCount64(std::uint8_t disk, std::uint64_t* count, Prompts* prompts) {
  *count = 0;
  std::uint64_t size = 0;
  if (!DiskSizeBytes(disk, size, prompts)) return 0;
  // From the full size, not from the 16-bit cylinder count of the geometry.
  *count = size / kSectorSize;
  return 1;
}

int GetDiskSectorCount(std::uint8_t disk, std::uint32_t* count, Prompts* prompts) {
  std::uint64_t total = 0;
  const int known = GetDiskSectorCount64(disk, &total, prompts);
  *count = total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(total);
  return known;
}

}  // namespace ext2
