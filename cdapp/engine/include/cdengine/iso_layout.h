// The ISO 9660 (and Joliet) on-disc layout the engine reads: byte offsets of the volume-descriptor,
// directory-record and path-table-record fields, and the values that go with them. Fields stored
// in both byte orders are read at their little-endian half.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cd {

// Volume descriptor: one 2048-byte sector each from sector 16 on.
namespace vd {
inline constexpr std::size_t kType = 0;                 // 1 primary, 2 supplementary (Joliet)
inline constexpr std::size_t kIdentifier = 1;           // "CD001"
inline constexpr std::size_t kIdentifierLength = 5;
inline constexpr std::size_t kVersion = 6;              // 1
inline constexpr std::size_t kUnused7 = 7;              // a zero byte
inline constexpr std::size_t kUnused72 = 72;            // zero bytes, kUnused72Length of them
inline constexpr std::size_t kUnused72Length = 8;
inline constexpr std::size_t kVolumeSpaceSize = 80;     // sectors of the volume, both byte orders
inline constexpr std::size_t kVolumeSetSize = 120;      // 16 bits, both byte orders
inline constexpr std::size_t kVolumeSequence = 124;     // 16 bits, both byte orders
inline constexpr std::size_t kLogicalBlockSize = 128;   // 16 bits, both byte orders
inline constexpr std::size_t kPathTableSize = 132;      // bytes of a path table, both byte orders
inline constexpr std::size_t kLPathTable = 140;         // sector of the little-endian table
inline constexpr std::size_t kOptionalLPathTable = 144;
inline constexpr std::size_t kMPathTable = 148;         // sector of the big-endian table, big-endian
inline constexpr std::size_t kOptionalMPathTable = 152;
inline constexpr std::size_t kRootRecord = 156;         // the root's directory record, 34 bytes
inline constexpr std::uint8_t kPrimary = 1;
inline constexpr std::uint8_t kSupplementary = 2;
inline constexpr std::uint32_t kFirstDescriptorSector = 16;  // after the system area
}  // namespace vd

// Directory record: records follow each other in a directory's sectors and never cross a sector.
namespace dirrec {
inline constexpr std::size_t kLength = 0;                   // bytes of the record, 8 bits
inline constexpr std::size_t kExtendedAttributeLength = 1;  // 8 bits
inline constexpr std::size_t kExtent = 2;                   // first sector, both byte orders
inline constexpr std::size_t kDataLength = 10;              // bytes, both byte orders
inline constexpr std::size_t kDate = 18;  // six bytes: years since 1900, month, day, hour, minute, second
inline constexpr std::size_t kDateLength = 6;
inline constexpr std::size_t kDateMonth = kDate + 1;
inline constexpr std::size_t kDateDay = kDate + 2;
inline constexpr std::size_t kDateHour = kDate + 3;
inline constexpr std::size_t kFlags = 25;
inline constexpr std::size_t kNameLength = 32;  // 8 bits
inline constexpr std::size_t kName = 33;        // the name, kNameLength bytes
inline constexpr std::size_t kFixedPart = 33;   // bytes before the name
inline constexpr std::size_t kMinLength = kFixedPart + 1;  // a record with a one-byte name: "." and ".."
// A directory's first sector begins with its "." and ".." records, each kMinLength bytes long.
inline constexpr std::size_t kDotDotRecord = kMinLength;
inline constexpr std::size_t kFirstRecordAfterDots = 2 * kMinLength;
inline constexpr std::uint8_t kFlagDirectory = 0x02;
inline constexpr std::uint8_t kFlagMultiExtent = 0x80;  // not the file's last extent
}  // namespace dirrec

// Path-table record: one per folder, the root's first; the L table little-endian, the M table
// big-endian.
namespace ptrec {
inline constexpr std::size_t kNameLength = 0;     // 8 bits; the root's is 1
inline constexpr std::size_t kExtent = 2;         // the folder's first sector, 32 bits
inline constexpr std::size_t kParent = 6;         // the parent's record number from 1, 16 bits
inline constexpr std::size_t kName = 8;           // the name, then a zero pad byte when its length is odd
inline constexpr std::size_t kSecondRecord = 10;  // after the root's record (its name one zero byte, a pad)
}  // namespace ptrec

}  // namespace cd
