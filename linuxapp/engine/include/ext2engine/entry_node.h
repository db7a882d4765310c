// The record of one scanned file or folder of an ext2/ext3 drive.
#pragma once

#include <cstdint>

namespace ext2 {

constexpr std::uint8_t kKindFolder = 0x10;
constexpr std::uint8_t kKindFile = 0x20;

constexpr std::uint32_t kRootInode = 2;
constexpr std::uint32_t kLostFoldersInode = 1;
constexpr std::uint32_t kDeletedFilesInode = 0x0FFFFFFF;
constexpr std::uint32_t kNoParent = 0xFFFFFFFF;

// Check states: 0 unchecked, 1 checked, 2 partly checked (some children checked).
struct EntryNode {
  std::uintptr_t treeItem = 0;  // the folder's tree item; set by the tree view, 0 for none
  std::uint8_t check = 0;
  std::uint8_t kind = 0;
  // Seconds from 1970-01-01 00:00:00 UTC, negative before it.
  std::int64_t accessTime = 0;
  std::int64_t changeTime = 0;
  std::int64_t modificationTime = 0;
  std::uint64_t size = 0;  // bytes of a file, 0 for a folder
  std::uint32_t parentInode = 0;
  std::uint32_t inode = 0;
  std::uint32_t deleted = 0;
  std::uint32_t lost = 0;

  bool IsFolder() const { return (kind & kKindFolder) != 0; }
};

}  // namespace ext2
