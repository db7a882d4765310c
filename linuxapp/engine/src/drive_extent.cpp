// The sectors a drive just opened covers: its file system's size where the partition entry is
// shorter, and a row when the disk ends before the drive does.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ext2engine/disk_access.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

void FitDriveToDisk(FrameServices& frame, CLinuxDrive& drive) {
  if (!drive.HasGeometry()) return;
  std::uint32_t diskSectors = 0;
  const bool diskKnown = GetDiskSectorCount(drive.disk, &diskSectors) != 0 && diskSectors != 0;
  // The file system's own size, from the super block at the drive's start when it has the block
  // size taken.
  std::vector<std::uint8_t> sector(kSectorSize, 0);
  if (drive.ReadDriveSectors(kSuperBlockSector, sector.data(), kSectorSize)) {
    platform::ByteReader sb(sector.data(), sector.size());
    const std::uint8_t logBlockSize = sb.U8(kSbLogBlockSize);
    const std::uint64_t fsSectors = std::uint64_t{sb.Le32(kSbBlocksCount)} * drive.sectorsPerBlock;
    std::uint64_t held = fsSectors;
    if (diskKnown) held = diskSectors > drive.firstSector ? std::min<std::uint64_t>(held, diskSectors - drive.firstSector) : 0;
    held = std::min<std::uint64_t>(held, 0xFFFFFFFFu - drive.firstSector);
    if (sb.Le16(kSbMagic) == kExt2Magic && logBlockSize <= 2 && (2u << logBlockSize) == drive.sectorsPerBlock &&
        held > drive.sectorCount) {
      char text[160];
      std::snprintf(text, sizeof text, "Partition entry holds %u sectors, file system %llu: reading %llu sectors",
                    drive.sectorCount, static_cast<unsigned long long>(fsSectors),
                    static_cast<unsigned long long>(held));
      drive.sectorCount = static_cast<std::uint32_t>(held);
      drive.lastSector = drive.firstSector + drive.sectorCount - 1;
      frame.AddLogEntry(nullptr, text, "Drive is larger than its partition", kIconEvent);
    }
  }
  if (diskKnown && std::uint64_t{drive.firstSector} + drive.sectorCount > diskSectors) {
    char text[160];
    std::snprintf(text, sizeof text, "Drive ends at sector %llu, the disk at sector %u: the rest cannot be read",
                  static_cast<unsigned long long>(std::uint64_t{drive.firstSector} + drive.sectorCount), diskSectors);
    frame.AddLogEntry(nullptr, text, "Drive reaches past the end of the disk", kIconAborted);
  }
}

}  // namespace ext2
