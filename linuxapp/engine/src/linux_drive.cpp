// The drive object: its lists, its frame and its sector reads.
#include "ext2engine/linux_drive.h"

#include <ctime>

#include "ext2engine/disk_access.h"

namespace ext2 {

std::string CTimeNow() {
  std::time_t now = std::time(nullptr);
  char text[64] = {};
  if (ctime_r(&now, text) == nullptr) return {};
  std::string s(text);
  if (!s.empty()) s.pop_back();
  return s;
}

void CLinuxDrive::ClearDirectoryLists() {
  visited.clear();
  visitedSet.clear();
  lost.clear();
  lostSet.clear();
  filters.clear();
}

void CLinuxDrive::ClearLists() {
  descriptors.clear();
  ClearDirectoryLists();
}

void CLinuxDrive::AttachFrame(FrameServices* f) {
  frame = f;
  treeView = f != nullptr ? f->GetLeftPane() : nullptr;
  listView = f != nullptr ? f->GetRightPane() : nullptr;
}

int CLinuxDrive::ReadDriveSectors(std::uint64_t relativeSector, void* buffer, std::uint32_t bytes,
                                  std::uint32_t* delivered) {
  const std::uint64_t lba = firstSector + relativeSector;
  return ReadDiskSectors(disk, static_cast<std::uint32_t>(lba), static_cast<std::uint32_t>(lba >> 32), buffer,
                         bytes, delivered);
}

int CLinuxDrive::ReadDriveSectorsOnce(std::uint64_t relativeSector, void* buffer, std::uint32_t bytes) {
  const std::uint64_t lba = firstSector + relativeSector;
  return ReadSectorsNT(disk, static_cast<std::uint32_t>(lba), static_cast<std::uint32_t>(lba >> 32), buffer, bytes);
}

void CLinuxDrive::Log(const char* activity, const char* text, const char* status, LogIcon icon) {
  if (frame != nullptr) frame->AddLogEntry(activity, text, status, icon);
}

}  // namespace ext2
