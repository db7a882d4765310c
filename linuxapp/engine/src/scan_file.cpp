// The scan-information file's header and records: encoding and decoding.
#include "ext2engine/scan_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/byte_reader.h"

namespace ext2 {

namespace {
// Header fields.
constexpr std::size_t kHdDisk = 0;
constexpr std::size_t kHdSectorsPerBlock = 1;
constexpr std::size_t kHdFirstSector = 4;
constexpr std::size_t kHdLastSector = 8;
constexpr std::size_t kHdSectorCount = 12;
constexpr std::size_t kHdDescriptorOffset = 16;
constexpr std::size_t kHdInodeSize = 18;
constexpr std::size_t kHdTableSectors = 20;
constexpr std::size_t kHdInodesPerGroup = 24;
constexpr std::size_t kHdInodesCount = 28;
constexpr std::size_t kHdGroupCount = 32;
constexpr std::size_t kHdEntries = 36;
constexpr std::size_t kHdFolders = 40;
constexpr std::size_t kHdFiles = 44;
constexpr std::size_t kHdTotalBytes = 48;
constexpr std::size_t kHdDriveRecords = 56;
constexpr std::size_t kHdSignature = 57;
constexpr std::size_t kHdSignatureSize = 32;
constexpr std::size_t kHdNotice = 89;
constexpr std::size_t kHdNoticeSize = 37;
constexpr std::size_t kHdUuid = 128;
constexpr std::size_t kHdVolumeName = 144;
constexpr std::size_t kHdIdentitySize = 16;
constexpr std::size_t kHdSuperBlockSector = 160;
constexpr std::uint32_t kFirstSuperBlockSector = 2;
// Descriptor records.
constexpr std::size_t kGdBlockBitmap = 4;
constexpr std::size_t kGdInodeBitmap = 8;
constexpr std::size_t kGdInodeTable = 12;
constexpr std::size_t kGdTableSectors = 16;
// Logical-drive records (after the two links).
constexpr std::size_t kLdFirstSector = 8;
constexpr std::size_t kLdTableBase = 12;
constexpr std::size_t kLdEndSector = 16;
constexpr std::size_t kLdType = 20;
constexpr std::size_t kLdOrdinal = 21;
constexpr std::size_t kLdReserved = 22;
// Entry records.
constexpr std::size_t kEnKind = 0;
// Bits 32 to 55 of the size sit in the three bytes after the kind, which files of the 32-bit
// layout hold as zero.
constexpr std::size_t kEnSizeHigh = 1;
constexpr std::size_t kEnSizeHighBytes = 3;
constexpr std::uint64_t kEnSizeMax = (std::uint64_t{1} << 56) - 1;
constexpr std::size_t kEnAtime = 4;
constexpr std::size_t kEnCtime = 8;
constexpr std::size_t kEnMtime = 12;
constexpr std::size_t kEnAtimeHigh = 16;
constexpr std::size_t kEnCtimeHigh = 20;
constexpr std::size_t kEnMtimeHigh = 24;
constexpr std::size_t kEnSize = 28;
constexpr std::size_t kEnParent = 32;
constexpr std::size_t kEnInode = 36;
constexpr std::size_t kEnDeleted = 40;
constexpr std::size_t kEnLost = 44;
constexpr std::size_t kEnCheck = 48;

// Little-endian fields written into a fixed-size record.
class RecordWriter {
 public:
  explicit RecordWriter(std::size_t size) : bytes_(size, 0) {}
  void U8(std::size_t at, std::uint8_t v) { Put(at, v, 1); }
  void Le16(std::size_t at, std::uint16_t v) { Put(at, v, 2); }
  void Le32(std::size_t at, std::uint32_t v) { Put(at, v, 4); }
  void Le64(std::size_t at, std::uint64_t v) { Put(at, v, 8); }
  // TEXT and its terminating zero, cut to fit FIELD bytes.
  void Text(std::size_t at, std::size_t field, const char* text) {
    const std::size_t n = std::min(std::strlen(text), field - 1);
    if (at + n <= bytes_.size()) std::memcpy(bytes_.data() + at, text, n);
  }
  void AppendTo(std::vector<std::uint8_t>& out) const { out.insert(out.end(), bytes_.begin(), bytes_.end()); }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  void Put(std::size_t at, std::uint64_t v, std::size_t width) {
    if (at > bytes_.size() || width > bytes_.size() - at) return;
    for (std::size_t i = 0; i < width; ++i) bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  std::vector<std::uint8_t> bytes_;
};

// True when FIELD bytes at AT hold TEXT followed by a zero.
bool FieldHolds(const platform::ByteReader& r, std::size_t at, std::size_t field, const char* text) {
  const std::size_t n = std::strlen(text);
  if (n >= field || !r.Has(at, field)) return false;
  return std::memcmp(r.data() + at, text, n) == 0 && r.U8(at + n) == 0;
}

// An inode time as stored: its 32 bits signed, the high word its sign. Reading only the low word
// keeps the times of older files, whose high word is 0 whatever the sign.
void PutTime(RecordWriter& w, std::size_t low, std::size_t high, std::int64_t time) {
  const auto seconds = static_cast<std::int32_t>(time);
  w.Le32(low, static_cast<std::uint32_t>(seconds));
  w.Le32(high, seconds < 0 ? 0xFFFFFFFFu : 0);
}

std::int64_t GetTime(const platform::ByteReader& r, std::size_t low) { return static_cast<std::int32_t>(r.Le32(low)); }
}  // namespace

std::vector<std::uint8_t> EncodeScanHeader(const ScanFileHeader& h) {
  RecordWriter w(kScanHeaderSize);
  w.U8(kHdDisk, h.disk);
  w.U8(kHdSectorsPerBlock, h.sectorsPerBlock);
  w.Le32(kHdFirstSector, h.firstSector);
  w.Le32(kHdLastSector, h.lastSector);
  w.Le32(kHdSectorCount, h.sectorCount);
  w.Le16(kHdDescriptorOffset, h.descriptorTableOffset);
  w.Le16(kHdInodeSize, h.inodeSize);
  w.Le32(kHdTableSectors, h.inodeTableSectorsPerGroup);
  w.Le32(kHdInodesPerGroup, h.inodesPerGroup);
  w.Le32(kHdInodesCount, h.inodesCount);
  w.Le16(kHdGroupCount, h.groupCount);
  w.Le32(kHdEntries, h.entries);
  w.Le32(kHdFolders, h.folders);
  w.Le32(kHdFiles, h.files);
  w.Le64(kHdTotalBytes, h.totalBytes);
  w.U8(kHdDriveRecords, h.driveRecords);
  w.Text(kHdSignature, kHdSignatureSize, kScanSignature);
  w.Text(kHdNotice, kHdNoticeSize, kScanNotice);
  for (std::size_t i = 0; i < kHdIdentitySize; ++i) {
    w.U8(kHdUuid + i, h.uuid[i]);
    w.U8(kHdVolumeName + i, h.volumeName[i]);
  }
  w.Le32(kHdSuperBlockSector, h.superBlockSector == kFirstSuperBlockSector ? 0 : h.superBlockSector);
  return w.Take();
}

std::optional<ScanFileHeader> DecodeScanHeader(std::span<const std::uint8_t> bytes) {
  const platform::ByteReader r(bytes);
  if (!r.Has(0, kScanHeaderSize)) return std::nullopt;
  if (!FieldHolds(r, kHdSignature, kHdSignatureSize, kScanSignature) ||
      !FieldHolds(r, kHdNotice, kHdNoticeSize, kScanNotice)) {
    return std::nullopt;
  }
  ScanFileHeader h;
  h.disk = r.U8(kHdDisk);
  h.sectorsPerBlock = r.U8(kHdSectorsPerBlock);
  h.firstSector = r.Le32(kHdFirstSector);
  h.lastSector = r.Le32(kHdLastSector);
  h.sectorCount = r.Le32(kHdSectorCount);
  h.descriptorTableOffset = r.Le16(kHdDescriptorOffset);
  h.inodeSize = r.Le16(kHdInodeSize) == 0 ? 128 : r.Le16(kHdInodeSize);
  h.inodeTableSectorsPerGroup = r.Le32(kHdTableSectors);
  h.inodesPerGroup = r.Le32(kHdInodesPerGroup);
  h.inodesCount = r.Le32(kHdInodesCount);
  h.groupCount = r.Le16(kHdGroupCount);
  h.entries = r.Le32(kHdEntries);
  h.folders = r.Le32(kHdFolders);
  h.files = r.Le32(kHdFiles);
  h.totalBytes = static_cast<std::uint64_t>(r.Le32(kHdTotalBytes)) |
                 (static_cast<std::uint64_t>(r.Le32(kHdTotalBytes + 4)) << 32);
  h.driveRecords = r.U8(kHdDriveRecords);
  for (std::size_t i = 0; i < kHdIdentitySize; ++i) {
    h.uuid[i] = r.U8(kHdUuid + i);
    h.volumeName[i] = r.U8(kHdVolumeName + i);
  }
  h.superBlockSector = r.Le32(kHdSuperBlockSector) == 0 ? kFirstSuperBlockSector : r.Le32(kHdSuperBlockSector);
  return h;
}

void AppendDescriptorRecord(std::vector<std::uint8_t>& out, const GroupDescNode& node) {
  RecordWriter w(kScanDescriptorSize);
  w.Le32(kGdBlockBitmap, node.blockBitmapSector);
  w.Le32(kGdInodeBitmap, node.inodeBitmapSector);
  w.Le32(kGdInodeTable, node.inodeTableSector);
  w.Le32(kGdTableSectors, node.inodeTableSectors);
  w.AppendTo(out);
}

GroupDescNode DecodeDescriptorRecord(std::span<const std::uint8_t> record) {
  const platform::ByteReader r(record);
  GroupDescNode node;
  node.blockBitmapSector = r.Le32(kGdBlockBitmap);
  node.inodeBitmapSector = r.Le32(kGdInodeBitmap);
  node.inodeTableSector = r.Le32(kGdInodeTable);
  node.inodeTableSectors = r.Le32(kGdTableSectors);
  return node;
}

void AppendDriveRecord(std::vector<std::uint8_t>& out, const LogicalDriveNode& node) {
  RecordWriter w(kScanDriveRecordSize);
  w.Le32(kLdFirstSector, node.firstSector);
  w.Le32(kLdTableBase, node.tableBase);
  w.Le32(kLdEndSector, node.endSector);
  w.U8(kLdType, node.partitionType);
  w.U8(kLdOrdinal, node.ordinal);
  w.U8(kLdReserved, node.reserved);
  w.AppendTo(out);
}

LogicalDriveNode DecodeDriveRecord(std::span<const std::uint8_t> record) {
  const platform::ByteReader r(record);
  LogicalDriveNode node;
  node.firstSector = r.Le32(kLdFirstSector);
  node.tableBase = r.Le32(kLdTableBase);
  node.endSector = r.Le32(kLdEndSector);
  node.partitionType = r.U8(kLdType);
  node.ordinal = r.U8(kLdOrdinal);
  node.reserved = r.U8(kLdReserved);
  return node;
}

void AppendEntryRecord(std::vector<std::uint8_t>& out, const EntryNode& e, const std::string& name) {
  const std::size_t n = std::min(name.size(), kScanMaxNameLength);
  out.push_back(static_cast<std::uint8_t>(n));
  RecordWriter w(kScanEntryRecordSize);
  w.U8(kEnKind, e.kind);
  PutTime(w, kEnAtime, kEnAtimeHigh, e.accessTime);
  PutTime(w, kEnCtime, kEnCtimeHigh, e.changeTime);
  PutTime(w, kEnMtime, kEnMtimeHigh, e.modificationTime);
  const std::uint64_t size = std::min(e.size, kEnSizeMax);
  w.Le32(kEnSize, static_cast<std::uint32_t>(size));
  for (std::size_t i = 0; i < kEnSizeHighBytes; ++i) {
    w.U8(kEnSizeHigh + i, static_cast<std::uint8_t>(size >> (32 + 8 * i)));
  }
  w.Le32(kEnParent, e.parentInode);
  w.Le32(kEnInode, e.inode);
  w.Le32(kEnDeleted, e.deleted);
  w.Le32(kEnLost, e.lost);
  w.U8(kEnCheck, e.check);
  w.AppendTo(out);
  out.insert(out.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n));
}

EntryNode DecodeEntryRecord(std::span<const std::uint8_t> record) {
  const platform::ByteReader r(record);
  EntryNode e;
  e.kind = r.U8(kEnKind);
  e.accessTime = GetTime(r, kEnAtime);
  e.changeTime = GetTime(r, kEnCtime);
  e.modificationTime = GetTime(r, kEnMtime);
  e.size = r.Le32(kEnSize);
  for (std::size_t i = 0; i < kEnSizeHighBytes; ++i) e.size |= std::uint64_t{r.U8(kEnSizeHigh + i)} << (32 + 8 * i);
  e.parentInode = r.Le32(kEnParent);
  e.inode = r.Le32(kEnInode);
  e.deleted = r.Le32(kEnDeleted);
  e.lost = r.Le32(kEnLost);
  const std::uint8_t check = r.U8(kEnCheck);
  e.check = check <= 2 ? check : 0;
  return e;
}

std::string ProposeScanFileName(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string base = folder + "HardDrv" + std::to_string(diskIndex) + "_LogDrv" + std::to_string(driveIndex) + "_Scan";
  auto taken = [](const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
  };
  if (!taken(base + ".DAT")) return base;
  for (unsigned k = 1;; ++k) {
    const std::string candidate = base + std::to_string(k);
    if (!taken(candidate + ".DAT")) return candidate;
  }
}

}  // namespace ext2
