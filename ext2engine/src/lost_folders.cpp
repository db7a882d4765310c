// Lost folders: folders of the inode tables that the walk from the root did not reach.
#include <algorithm>

#include "ext2engine/linux_drive.h"

void CLinuxDrive::RemoveLostFolder(std::uint32_t inode) {
  if (lostSet.erase(inode) == 0) return;
  lost.erase(std::remove(lost.begin(), lost.end(), inode), lost.end());
}

void CLinuxDrive::SearchLostFolders() {}

void CLinuxDrive::AddLostFolders() {}
