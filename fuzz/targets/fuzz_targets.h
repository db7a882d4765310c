// The fuzz targets: each feeds one input to one parser road of the engines, over an in-memory
// device behind the read seam. libFuzzer entries and the regression runner both call these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The input is a whole disk: its partition tables are walked.
int FuzzPartitionWalk(const std::uint8_t* data, std::size_t size);
// The input is one logical drive: super block (and its search), group descriptors, the directory
// tree from the root, and the lost-folder road when the root yields nothing.
int FuzzExt2Tree(const std::uint8_t* data, std::size_t size);
// The input is one logical drive opened as above, then searched for deleted and lost entries.
int FuzzDeletedAndLost(const std::uint8_t* data, std::size_t size);
// The input is a whole disk: the standard, then the advanced logical-drive search.
int FuzzDriveSearch(const std::uint8_t* data, std::size_t size);
// The input is a scan-information file, loaded into a fresh drive.
int FuzzScanFile(const std::uint8_t* data, std::size_t size);
// The input is a scan-information file and the drive it describes: a little-endian 32-bit length,
// that many bytes of the scan file, then the drive's image. The file is loaded and Recover All
// writes the drive's files into a scratch folder.
int FuzzRecovery(const std::uint8_t* data, std::size_t size);
// The input is a disc: its volume descriptors, the directory walk and, when they fail, the path
// tables and the raw scans, as Open Drive runs them.
int FuzzCdVolume(const std::uint8_t* data, std::size_t size);
// The input is a disc: the raw path-table and directory-sector scans of both fallback forms.
int FuzzCdRawScans(const std::uint8_t* data, std::size_t size);
// The input is an image file: the trailer check of Open Image, then the scan of the image.
int FuzzCdImage(const std::uint8_t* data, std::size_t size);
// The input is a disc: Open Drive, then Recover All into a scratch folder, which is removed.
int FuzzCdRecovery(const std::uint8_t* data, std::size_t size);

// A file of this process for targets whose road reads a named file: in /dev/shm when there is
// one, because rewriting a file on a disk for every input slows a run many times over.
std::string FuzzTempPath(const char* name);

}  // namespace fuzz
