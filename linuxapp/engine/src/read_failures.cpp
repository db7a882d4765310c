// Rows of the metadata reads that failed: folder blocks, indirect blocks of folders, inode tables.
#include <algorithm>
#include <cstdio>
#include <string>

#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"

namespace ext2 {

namespace {
constexpr const char* kReadError = "Disk read error";
constexpr const char* kEmptyInode = "Inode empty";

// "\"NAME\" (inode N)", or "inode N" when the name is not known.
std::string FolderLabel(const std::string& name, std::uint32_t folder) {
  const std::string inode = "inode " + std::to_string(folder);
  return name.empty() ? inode : "\"" + name + "\" (" + inode + ")";
}
}  // namespace

void CLinuxDrive::FinishReadFailureRows() {
  const std::size_t counted = readFailures_.Finish();
  if (counted != 0) {
    Log(nullptr, (std::to_string(counted) + " more metadata blocks cannot be read").c_str(), kReadError, kIconEvent);
  }
  const std::size_t empty = emptyInodes_.Finish();
  if (empty != 0) Log(nullptr, (std::to_string(empty) + " more entries name an empty inode").c_str(), kEmptyInode, kIconEvent);
}

void CLinuxDrive::ReportFolderBlock(const std::string& name, std::uint32_t folder, std::size_t index,
                                    std::uint32_t block, bool damaged) {
  if (!readFailures_.Take(block)) return;
  const std::string text = "Folder " + FolderLabel(name, folder) + ", block " + std::to_string(index) +
                           " at drive block " + std::to_string(block) +
                           (damaged ? ": not a folder block" : ": cannot be read");
  Log(nullptr, text.c_str(), damaged ? "Folder block damaged" : kReadError, kIconEvent);
}

void CLinuxDrive::ReportIndirectBlock(const std::string& name, std::uint32_t folder, std::uint32_t block) {
  if (!readFailures_.Take(block)) return;
  const std::string text =
      "Folder " + FolderLabel(name, folder) + ", indirect block " + std::to_string(block) + ": cannot be read";
  Log(nullptr, text.c_str(), kReadError, kIconEvent);
}

void CLinuxDrive::ReportShortBlockList(const std::string& name, std::uint32_t folder, const InodeCopy& raw,
                                       std::size_t listed, std::uint64_t sized) {
  // The pointer that the first missing block lies under: the inode's own for a direct block, else
  // the top indirect block of its level.
  const std::uint64_t perBlock = BlockSize() / 4;
  std::uint64_t first = kDirectBlocks;
  std::uint32_t under = 0;
  for (int level = 1; level <= 3 && listed >= first; ++level) {
    std::uint64_t covered = 1;
    for (int l = 0; l < level; ++l) covered *= perBlock;
    under = raw.block[kDirectBlocks - 1 + level];
    if (listed < first + covered) break;
    first += covered;
  }
  // Keyed apart from block numbers when no pointer block holds the gap.
  if (!readFailures_.Take(under != 0 ? under : (std::uint64_t{1} << 32) | folder)) return;
  std::string text = "Folder " + FolderLabel(name, folder) + ", block " + std::to_string(listed) + " of " +
                     std::to_string(sized) + ": not in the folder's block list";
  text += under != 0 ? " (indirect block " + std::to_string(under) + " names no more)" : " (no pointer in its inode)";
  Log(nullptr, text.c_str(), "Folder block list damaged", kIconEvent);
}

void CLinuxDrive::ReportEmptyInode(const std::string& name, std::uint32_t folder, const std::string& entryName,
                                   std::uint32_t inode) {
  if (!emptyInodes_.Take(inode)) return;
  const std::string text = "Entry \"" + entryName + "\" of folder " + FolderLabel(name, folder) + ": inode " +
                           std::to_string(inode) + " is empty, its size, times and data are not known";
  Log(nullptr, text.c_str(), kEmptyInode, kIconEvent);
}

void CLinuxDrive::ReportInodeTableSector(std::uint32_t group, std::uint64_t relativeSector) {
  if (sectorsPerBlock == 0 || inodeSize == 0 || group >= descriptors.size()) return;
  const std::uint64_t block = relativeSector / sectorsPerBlock;
  if (!readFailures_.Take(block)) return;
  // The inodes of that block of the table.
  const std::uint64_t tableBlock = descriptors[group].inodeTableSector / sectorsPerBlock;
  const std::uint64_t perBlock = std::max<std::uint64_t>(BlockSize() / inodeSize, 1);
  const std::uint64_t groupFirst = static_cast<std::uint64_t>(group) * inodesPerGroup + 1;
  const std::uint64_t first = groupFirst + (block - std::min(block, tableBlock)) * perBlock;
  const std::uint64_t last = std::min(first + perBlock - 1, groupFirst + inodesPerGroup - 1);
  char text[160];
  std::snprintf(text, sizeof text, "Inode table block %llu (inodes %llu to %llu): cannot be read",
                static_cast<unsigned long long>(block), static_cast<unsigned long long>(first),
                static_cast<unsigned long long>(last));
  Log(nullptr, text, kReadError, kIconEvent);
}

}  // namespace ext2
