// The engine's records: the chosen volume descriptor, directory entries, path-table and
// directory-sector runs found by the raw scans, folders taken from a path table, filter patterns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cd {

inline constexpr std::uint8_t kTypeFile = 1;
inline constexpr std::uint8_t kTypeFolder = 2;
inline constexpr std::uint8_t kExistenceDeleted = 1;
inline constexpr std::uint8_t kExistenceExisting = 2;
// The folder node that holds folders a path table names whose parent folder is not known; its key
// is no sector of a disc.
inline constexpr std::uint32_t kLostFoldersKey = 0xFFFFFFFEu;
inline constexpr const char* kLostFoldersName = "Lost Folder(s)";

struct VolumeInfo {
  std::uint8_t head[120] = {};  // the descriptor's first 120 bytes
  std::uint16_t volumeSetSize = 0;
  std::uint16_t volumeSequenceNumber = 0;
  std::uint16_t logicalBlockSize = 0;
  std::uint32_t pathTableSize = 0;
  std::uint32_t lPathTable = 0;
  std::uint32_t optionalLPathTable = 0;
  std::uint32_t mPathTable = 0;          // converted from big-endian
  std::uint32_t optionalMPathTableRaw = 0;  // on-disc byte order
  std::uint8_t rootRecordLength = 0;
  std::uint8_t rootExtendedAttributeLength = 0;
  std::uint32_t rootExtent = 0;
  std::uint32_t rootDataLength = 0;
};

// One extent of a file recorded in several (the ISO 9660 multi-extent flag): first sector, bytes.
struct FileSection {
  std::uint32_t extent = 0;
  std::uint32_t length = 0;
  bool operator==(const FileSection&) const = default;
};

// The extents of a file recorded in several, in order. One pointer wide and empty for the usual
// file of one extent, so that the entry lists of large discs stay small; copies are deep.
class FileSections {
 public:
  FileSections() = default;
  FileSections(const FileSections& other) { *this = other; }
  FileSections& operator=(const FileSections& other) {
    if (this != &other) list_ = other.list_ ? std::make_unique<std::vector<FileSection>>(*other.list_) : nullptr;
    return *this;
  }
  FileSections(FileSections&&) noexcept = default;
  FileSections& operator=(FileSections&&) noexcept = default;

  bool empty() const { return !list_ || list_->empty(); }
  void push_back(FileSection section) {
    if (!list_) list_ = std::make_unique<std::vector<FileSection>>();
    list_->push_back(section);
  }
  const FileSection* begin() const { return list_ ? list_->data() : nullptr; }
  const FileSection* end() const { return list_ ? list_->data() + list_->size() : nullptr; }

 private:
  std::unique_ptr<std::vector<FileSection>> list_;
};

// The fields are ordered by width, so that the entry lists of large discs stay small.
struct DirEntryNode {
  std::string name;  // converted; Joliet names in UTF-8
  std::uint64_t size = 0;  // the sum of its sections for a file of several extents
  // A file of several extents: all of them in order (the first is EXTENT); empty for one extent.
  FileSections sections;
  std::uint32_t extent = 0;  // the tree key
  std::uint32_t parentKey = 0;
  std::uint32_t folderSize = 0;
  std::uint8_t date[6] = {};  // years since 1900, month, day, hour, minute, second
  std::uint8_t type = 0;
  std::uint8_t mark = 0;
  std::uint8_t existence = kExistenceExisting;
};

// A path table's byte order: the L table little-endian, the M table big-endian.
enum class PathTableType : std::uint8_t { L = 1, M = 2 };
// How the names of a path table or directory are written: Joliet (UCS-2) or ISO 9660 (bytes).
enum class NameKind : std::uint8_t { Joliet = 1, Iso9660 = 2 };

struct PathTableRun {
  std::uint32_t firstSector = 0;
  std::uint32_t sectorCount = 0;
  PathTableType tableType = PathTableType::L;
  NameKind nameKind = NameKind::Joliet;
  std::uint32_t rootExtent = 0;  // the root directory its first record names
};

struct DirSectorRun {
  std::uint32_t firstSector = 0;
  std::uint32_t sectorCount = 0;
  NameKind kind = NameKind::Joliet;  // Joliet when its first name looks like UCS-2
  std::uint32_t complete = 0;  // the whole length of its "." record lies on the medium
  bool root = false;           // its "." and ".." name the same extent (a root; xorriso writes every Joliet folder so)
};

struct ScannedDirNode {
  std::string name;
  std::uint32_t extent = 0;
};

}  // namespace cd
