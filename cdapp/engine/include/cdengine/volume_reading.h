// Reading a disc: volume descriptors, the breadth-first directory walk, and the scan that picks
// the descriptor (Joliet first) and falls back to path tables and raw scans.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "cdengine/cd_reader.h"

namespace cd {

namespace vd {
inline constexpr std::size_t kType = 0;
inline constexpr std::size_t kIdentifier = 1;  // "CD001"
inline constexpr std::size_t kVersion = 6;
inline constexpr std::size_t kUnused7 = 7;
inline constexpr std::size_t kUnused72 = 72;  // 8 zero bytes
inline constexpr std::size_t kVolumeSpaceSize = 80;
inline constexpr std::size_t kVolumeSetSize = 120;
inline constexpr std::size_t kVolumeSequence = 124;
inline constexpr std::size_t kLogicalBlockSize = 128;
inline constexpr std::size_t kPathTableSize = 132;
inline constexpr std::size_t kLPathTable = 140;
inline constexpr std::size_t kOptionalLPathTable = 144;
inline constexpr std::size_t kMPathTable = 148;
inline constexpr std::size_t kOptionalMPathTable = 152;
inline constexpr std::size_t kRootRecord = 156;
inline constexpr std::uint8_t kPrimary = 1;
inline constexpr std::uint8_t kSupplementary = 2;
inline constexpr std::uint32_t kFirstDescriptorSector = 16;
}  // namespace vd

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
// Date and folder size of the newest node from the "." record of its extent.
void ReadFolderDateAndSize(CCDReader& reader);
// With COUNT_ONLY the number of entries; else 1 when an entry has NAME and EXTENT (cursor left on it).
int FindDirEntry(CCDReader& reader, std::uint32_t extent, const std::string& name, bool countOnly);
bool IsDirectoryVisited(const CCDReader& reader, std::uint32_t extent, const std::string& name);

// Sectors of a directory or table of BYTE_LENGTH bytes at EXTENT that the medium can hold.
std::uint32_t SectorsToRead(const CCDReader& reader, std::uint32_t extent, std::uint64_t byteLength);

}  // namespace cd
