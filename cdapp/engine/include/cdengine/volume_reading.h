// Reading a disc: volume descriptors, the breadth-first directory walk, and the scan that picks
// the descriptor (Joliet first) and falls back to path tables and raw scans.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cdengine/cd_reader.h"
#include "cdengine/iso_layout.h"

namespace cd {

// Largest directory or path table read in one buffer, in sectors.
inline constexpr std::uint32_t kMaxDirectorySectors = 65536;

bool IsVolumeDescriptor(std::span<const std::uint8_t> sector);
// Builds a new VolumeInfo from SECTOR and sets the volume space size.
void ReadVolumeDescriptor(CCDReader& reader, std::uint32_t sector);

// Probes the disc, chooses the descriptor and builds the tree. True when the disc is readable and
// the frame is imaging (image creation only needs the volume space size).
bool ScanDisc(CCDReader& reader);
// Reads the tree from the root record of the volume info; path tables when the root does not read.
void ReadDirectoryTree(CCDReader& reader, bool isJoliet);
// The breadth-first walk; false only when the first extent (not from the list) does not read.
bool WalkDirectoryRecords(CCDReader& reader, int fromList, bool isJoliet, std::uint32_t firstNumber,
                          std::uint32_t extent, std::uint32_t byteLength, bool final);
// The completion row of a tree walk of ENTRIES entries, and the end of its progress.
void EndTreeWalk(CCDReader& reader, std::uint32_t entries);
// Date and folder size of the newest node from the "." record of its extent.
void ReadFolderDateAndSize(CCDReader& reader);
// With COUNT_ONLY the number of entries; else 1 when an entry has NAME and EXTENT (cursor left on it).
int FindDirEntry(CCDReader& reader, std::uint32_t extent, const std::string& name, bool countOnly);
bool IsDirectoryVisited(const CCDReader& reader, std::uint32_t extent, const std::string& name);

// Sectors of a directory or table of BYTE_LENGTH bytes at EXTENT that the medium can hold.
std::uint32_t SectorsToRead(const CCDReader& reader, std::uint32_t extent, std::uint64_t byteLength);

}  // namespace cd
