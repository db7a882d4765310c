// Deleted inodes: every inode of the tables that has a deletion time, listed under "Deleted Files".
#include <cstdio>
#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "inode_table_scan.h"

namespace ext2 {

namespace {
// Lists a pseudo-folder under Root (the Root first when the drive has no entries yet).
void ListPseudoFolder(CLinuxDrive& d, std::uint32_t inode, std::uint32_t deleted, const char* name) {
  EntryNode entry;
  entry.kind = kKindFolder;
  entry.parentInode = kRootInode;
  entry.inode = inode;
  entry.deleted = deleted;
  if (d.entries == 0) {
    ++d.folders;
    if (d.frame != nullptr) d.frame->InsertRootItem();
  }
  ++d.entries;
  ++d.folders;
  if (d.frame != nullptr) {
    d.frame->AddTreeEntry(entry, name);
    d.frame->StepProgress(static_cast<int>(d.entries));
  }
  d.visited.push_back(inode);
  d.visitedSet.insert(inode);
}
}  // namespace

void CLinuxDrive::SearchDeletedFiles() {
  AppState& app = App();
  StartInodeSearch(*this);
  StartReadFailureRows();
  if (frame != nullptr) frame->StartProgressText(static_cast<int>(inodesCount), "Read Progress..");
  if (!IsInodeListed(kLostFoldersInode, 0)) ListPseudoFolder(*this, kLostFoldersInode, 0, "Lost Folder(s)");
  if (!IsInodeListed(kDeletedFilesInode, 0)) ListPseudoFolder(*this, kDeletedFilesInode, 1, "Deleted Files");
  Log("Searching deleted and lost file(s)", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);

  std::uint32_t deletedCount = 0;
  const bool completed = ScanInodeTables(*this, false, [&](std::uint32_t i, const InodeCopy& inode) {
    if (i == kLostFoldersInode || i == kRootInode) return true;
    if (inode.dtime == 0) {
      if (frame != nullptr) frame->StepProgressBar();
      return true;
    }
    // Whatever its mode, a deleted inode is listed as a file, and its bytes count in the total as
    // every file's do.
    EntryNode entry;
    FillEntryFromInode(entry, inode);
    entry.kind = kKindFile;
    entry.parentInode = kDeletedFilesInode;
    entry.inode = i;
    entry.deleted = 1;
    ++entries;
    ++files;
    totalBytes += entry.size;
    ++deletedCount;
    if (frame != nullptr) {
      const std::string name = "Inode #" + std::to_string(i);
      frame->AddTreeEntry(entry, name.c_str());
      frame->StepProgress(static_cast<int>(entries));
    }
    return !StopRequested(*this);
  });
  FinishReadFailureRows();
  if (!completed) {
    if (frame != nullptr) frame->EndProgress();
    app.logHasRows = 1;
    Log(nullptr, "Process aborted, user intervention", ("Aborted on " + CTimeNow()).c_str(), kIconAborted);
    return;
  }
  char text[128];
  std::snprintf(text, sizeof text, "Process completed, found %u deleted & %u lost entries", deletedCount, lostEntries);
  Log(nullptr, text, ("Completed on " + CTimeNow()).c_str(), kIconCompleted);
  if (frame != nullptr) frame->EndProgress();
  app.logHasRows = 1;
}

}  // namespace ext2
