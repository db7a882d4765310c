// The ext2/ext3 on-disk layout the engine reads: byte offsets of the super-block, group-descriptor,
// inode and directory-record fields, and the sizes and values that go with them. All little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ext2 {

// Super block: 1024 bytes into its drive (sector 2), or at the first block of a group for a copy.
constexpr std::size_t kSuperBlockOffset = 1024;  // bytes from the drive's start to the first copy
constexpr std::uint32_t kSuperBlockSector = 2;   // the same in 512-byte sectors
constexpr std::size_t kSbInodesCount = 0;          // s_inodes_count
constexpr std::size_t kSbBlocksCount = 4;          // s_blocks_count
constexpr std::size_t kSbReservedBlocksCount = 8;  // s_r_blocks_count
constexpr std::size_t kSbLogBlockSize = 24;        // s_log_block_size: block size is 1024 << this
constexpr std::size_t kSbBlocksPerGroup = 32;      // s_blocks_per_group
constexpr std::size_t kSbInodesPerGroup = 40;      // s_inodes_per_group
constexpr std::size_t kSbMagic = 56;               // s_magic, 16 bits
constexpr std::size_t kSbLastCheck = 64;           // s_lastcheck
constexpr std::size_t kSbCheckInterval = 68;       // s_checkinterval
constexpr std::size_t kSbRevLevel = 76;            // s_rev_level: 0 has fixed 128-byte inodes, no features
constexpr std::size_t kSbInodeSize = 88;           // s_inode_size, 16 bits, from revision 1 on
constexpr std::size_t kSbBlockGroupNr = 90;        // s_block_group_nr, 16 bits: the group a copy lies in
constexpr std::size_t kSbFeatureIncompat = 96;     // s_feature_incompat
constexpr std::size_t kSbFeatureRoCompat = 100;    // s_feature_ro_compat
constexpr std::size_t kSbUuid = 104;               // s_uuid, 16 bytes
constexpr std::size_t kSbVolumeName = 120;         // s_volume_name, 16 bytes
constexpr std::uint16_t kExt2Magic = 0xEF53;       // the value of s_magic
constexpr std::uint16_t kRevision0InodeSize = 128;  // the inode size of revision 0
constexpr std::uint32_t kRoCompatSparseSuper = 0x0001;  // backups only in groups 1 and powers of 3, 5, 7
constexpr std::uint32_t kIncompatMetaBg = 0x0010;       // the descriptor table lies elsewhere

// Group descriptor: one record per block group in the table that follows the super block's block.
constexpr std::size_t kDescriptorSize = 32;  // bytes of one descriptor
constexpr std::size_t kBgBlockBitmap = 0;    // bg_block_bitmap: block number
constexpr std::size_t kBgInodeBitmap = 4;    // bg_inode_bitmap: block number
constexpr std::size_t kBgInodeTable = 8;     // bg_inode_table: first block number

// Inode: a record of s_inode_size bytes in its group's inode table.
constexpr std::size_t kInoMode = 0;         // i_mode, 16 bits: type in the top four bits
constexpr std::size_t kInoSize = 4;         // i_size: low 32 bits of the size
constexpr std::size_t kInoAtime = 8;        // i_atime
constexpr std::size_t kInoCtime = 12;       // i_ctime
constexpr std::size_t kInoMtime = 16;       // i_mtime
constexpr std::size_t kInoDtime = 20;       // i_dtime: non-zero once deleted
constexpr std::size_t kInoFlags = 32;       // i_flags
constexpr std::size_t kInoBlock = 40;       // i_block: 15 block pointers, or a fast link's target text
constexpr std::size_t kInoSizeHigh = 108;   // i_size_high: high 32 bits of a regular file's size
constexpr std::size_t kBlockPointers = 15;  // pointers in i_block: direct, then single, double, triple
constexpr std::size_t kDirectBlocks = 12;   // of them direct
// The values of i_mode and i_flags are in linux_drive.h with the decoded inode.

// Directory record: records follow each other in a directory block by their record lengths.
constexpr std::size_t kDeInode = 0;     // inode, 32 bits: 0 for an unused record
constexpr std::size_t kDeRecLen = 4;    // rec_len, 16 bits: bytes to the next record
constexpr std::size_t kDeNameLen = 6;   // name_len, 8 bits
constexpr std::size_t kDeFileType = 7;  // file_type, 8 bits
constexpr std::size_t kDeName = 8;      // the name, name_len bytes, not terminated
constexpr std::uint32_t kDirEntryHeader = 8;  // bytes before the name
constexpr std::uint8_t kFileTypeUnknown = 0;
constexpr std::uint8_t kFileTypeDirectory = 2;
// A folder's first block begins with "." and "..", 12 bytes each as mke2fs and the kernel write them.
constexpr std::size_t kDotRecord = 0;
constexpr std::size_t kDotDotRecord = 12;
constexpr std::uint32_t kFirstEntryAfterDots = 24;

}  // namespace ext2
