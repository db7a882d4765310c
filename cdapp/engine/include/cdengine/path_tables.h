// Path tables and the raw scans of damaged discs: sectors that begin a path table or a directory.
#pragma once

#include <cstdint>

#include "cdengine/cd_reader.h"

namespace cd {

namespace ptrec {
inline constexpr std::size_t kNameLength = 0;
inline constexpr std::size_t kExtent = 2;
inline constexpr std::size_t kParent = 6;
inline constexpr std::size_t kName = 8;
inline constexpr std::size_t kSecondRecord = 10;  // after the root's record
}  // namespace ptrec

// Lists the folders directly below the root from a path-table run and, when WALK_AFTER, walks
// them and everything below. With ONLY_NAME_KIND (1 Joliet, 2 ISO 9660) the first run of that
// kind that reads is taken.
void ReadPathTableTree(CCDReader& reader, bool freshList, bool walkAfter, bool isJoliet,
                       std::uint32_t onlyNameKind = 0);
// A disc whose descriptors are gone and whose directories are not Joliet: the root directory that
// an ISO 9660 path table names in its first record is walked whole; when no such root reads, the
// folders below it come from the table.
void ReadIsoPathTableTree(CCDReader& reader);
// Records the runs of sectors that begin a path table, from sector 16 to the end of the medium.
void ScanPathTableSectors(CCDReader& reader);
// Records the runs of sectors that begin a directory, from FIRST_SECTOR to the end of the medium.
void ScanDirectorySectors(CCDReader& reader, std::uint32_t firstSector);

// The fallback of the disc scan: form A (descriptors found, none readable) or form B (none found).
enum class FallbackForm { A, B };
void RunRawScanFallback(CCDReader& reader, FallbackForm form);

}  // namespace cd
