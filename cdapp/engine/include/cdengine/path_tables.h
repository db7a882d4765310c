// Path tables and the raw scans of damaged discs: sectors that begin a path table or a directory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cdengine/cd_reader.h"
#include "cdengine/iso_layout.h"

namespace cd {

// One record of a path table: the root's first, numbered from 1; PARENT is the parent's number.
struct PathTableFolder {
  std::string name;
  std::uint32_t extent = 0;
  std::uint16_t parent = 0;
};
// The records of a path table, up to its end, the end of BUFFER or a sector that did not read.
std::vector<PathTableFolder> ParsePathTable(std::span<const std::uint8_t> buffer, PathTableType type, bool joliet);
// Lists every folder of a path table that is not listed yet (unless FRESH_LIST, where the list is
// new), below its parent, at any depth; a folder whose parent the table does not give before it
// goes below the lost folders, a folder node of its own (kLostFoldersKey) with one row.
void ListPathTableFolders(CCDReader& reader, const std::vector<PathTableFolder>& folders, bool freshList,
                          std::uint32_t& entryNumber);

// Lists the folders of a path-table run that are not listed yet and, when WALK_AFTER, walks them
// and everything below. With ONLY_NAME_KIND the first run of that kind that reads is taken. A
// walk that is not FINAL_WALK writes no completion row and keeps its files listed.
void ReadPathTableTree(CCDReader& reader, bool freshList, bool walkAfter, bool isJoliet,
                       std::optional<NameKind> onlyNameKind = std::nullopt, bool finalWalk = true);
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
