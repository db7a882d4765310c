// Rows of the metadata reads that failed: folder blocks, indirect blocks of folders, inode tables.
#include <algorithm>
#include <cstdio>
#include <string>

#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"

namespace ext2 {

namespace {
constexpr const char* kReadError = "Disk read error";

// "\"NAME\" (inode N)", or "inode N" when the name is not known.
std::string FolderLabel(const std::string& name, std::uint32_t folder) {
  const std::string inode = "inode " + std::to_string(folder);
  return name.empty() ? inode : "\"" + name + "\" (" + inode + ")";
}
}  // namespace

void CLinuxDrive::FinishReadFailureRows() {
  const std::size_t counted = readFailures_.Finish();
  if (counted == 0) return;
  Log(nullptr, (std::to_string(counted) + " more metadata blocks cannot be read").c_str(), kReadError, kIconEvent);
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
