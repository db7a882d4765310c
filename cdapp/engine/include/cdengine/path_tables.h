// Path tables and the raw scans of damaged discs: sectors that begin a path table or a directory.
#pragma once

#include <cstdint>

#include "cdengine/cd_reader.h"

namespace ptrec {
inline constexpr std::size_t kNameLength = 0;
inline constexpr std::size_t kExtent = 2;
inline constexpr std::size_t kParent = 6;
inline constexpr std::size_t kName = 8;
inline constexpr std::size_t kSecondRecord = 10;  // after the root's record
}  // namespace ptrec

// Lists the folders directly below the root from a path-table run and, when WALK_AFTER, walks
// them and everything below.
void ReadPathTableTree(CCDReader& reader, bool freshList, bool walkAfter, bool isJoliet);
// Records the runs of sectors that begin a path table, from sector 16 to the end of the medium.
void ScanPathTableSectors(CCDReader& reader);
// Records the runs of sectors that begin a directory, from FIRST_SECTOR to the end of the medium.
void ScanDirectorySectors(CCDReader& reader, std::uint32_t firstSector);

// The fallback of the disc scan: form A (descriptors found, none readable) or form B (none found).
enum class FallbackForm { A, B };
void RunRawScanFallback(CCDReader& reader, FallbackForm form);
