// The Search Deleted and Lost Files and Folders command without its window: the tree is rebuilt
// from the inode tables, with the lost folders and the deleted inodes.
#pragma once

#include "ext2engine/ports.h"

namespace ext2 {

// Runs the search on the application's current drive, once per drive opened: clears the views,
// the tree, the drive's counts and its directory lists, then runs the lost-folder search, the lost
// folders and the deleted-inode search, each only while the user has not stopped.
void SearchDeletedAndLost(FrameServices& frame);

}  // namespace ext2
