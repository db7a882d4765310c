// Path tables and the raw scans of damaged discs: sectors that begin a path table or a directory.
#pragma once

#include <cstdint>
#include <optional>

#include "cdengine/cd_reader.h"
#include "cdengine/iso_layout.h"

namespace cd {

// Lists the folders directly below the root from a path-table run and, when WALK_AFTER, walks
// them and everything below. With ONLY_NAME_KIND the first run of that kind that reads is taken.
void ReadPathTableTree(CCDReader& reader, bool freshList, bool walkAfter, bool isJoliet,
                       std::optional<NameKind> onlyNameKind = std::nullopt);
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
