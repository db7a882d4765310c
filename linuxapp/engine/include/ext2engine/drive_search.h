// The logical-drive search: ext2/ext3 super blocks looked for on a raw disk, each plausible one a drive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ext2 {

// The question asked when the standard search found nothing.
constexpr const char* kSwitchToAdvancedSearchText = "No Linux logical drive(s) found, switch to Advanced Search?";
constexpr const char* kSwitchToAdvancedSearchCaption = "Quarvel Velnora Linux";

// The super-block fields that tell a backup copy of a drive already found.
struct SuperBlockKey {
  std::uint32_t inodesCount = 0;
  std::uint32_t blocksCount = 0;
  std::uint32_t reservedBlocksCount = 0;
  std::uint32_t lastCheck = 0;
  std::uint32_t checkInterval = 0;

  bool operator==(const SuperBlockKey&) const = default;
};

// One drive found by a search.
struct FoundDriveNode {
  std::uint32_t firstSector = 0;
  std::uint32_t sectorCount = 0;  // sectors per block x s_blocks_count
  std::uint32_t endSector = 0;    // first + count; a copy made by the overlap pass keeps its origin's
  std::uint8_t sectorsPerBlock = 0;
  SuperBlockKey key;
};

// The last sector the drive list holds (its sectors are 32-bit): a drive must end at or before it.
constexpr std::uint32_t kLastListedSector = 0xFFFFFFFFu;

// A drive a plausible super block describes, in 64-bit sectors.
struct PlausibleDrive {
  std::uint64_t first = 0;
  std::uint64_t sectors = 0;  // sectors per block x s_blocks_count
  std::uint8_t sectorsPerBlock = 0;
  SuperBlockKey key;
};

// The plausibility test of a super block whose first byte is SB (SIZE bytes held) for a drive that
// starts at FIRST on a disk of DISK_SIZE sectors: the magic, a block size of 1, 2 or 4 KiB, counts
// that fit one another (no more inodes than blocks unless exactly as many as the groups hold, no
// more inodes per group than inodes, no more blocks per group than blocks unless the one group of a
// small drive, whose bitmap block bounds it), and a drive that ends within the disk (sizes in 64
// bits, so that a block count cannot wrap into range). The drive, or none when it fails.
std::optional<PlausibleDrive> PlausibleDriveOf(const std::uint8_t* sb, std::size_t size, std::uint64_t first,
                                               std::uint64_t diskSize);
// True when DRIVE ends at or before kLastListedSector, so that the drive list can hold it.
bool FitsDriveList(const PlausibleDrive& drive);
// The found-drive node of a drive that fits the list.
FoundDriveNode ListedNode(const PlausibleDrive& drive);
// The same test for a drive the list can hold; on success fills NODE's sectors, block size and key.
bool IsPlausibleSuperBlock(const std::uint8_t* sb, std::size_t size, std::uint64_t first, std::uint64_t diskSize,
                           FoundDriveNode& node);

}  // namespace ext2
