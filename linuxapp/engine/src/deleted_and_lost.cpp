// The Search Deleted and Lost Files and Folders command without its window.
#include "ext2engine/deleted_and_lost.h"

#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"

namespace ext2 {

void SearchDeletedAndLost(FrameServices& frame) {
  AppState& app = App();
  CLinuxDrive* drive = app.currentDrive.get();
  if (drive == nullptr || app.deletedAndLostSearched) return;
  app.deletedAndLostSearched = 1;

  TreeViewPort* tree = frame.GetLeftPane();
  ListViewPort* list = frame.GetRightPane();
  if (tree != nullptr) tree->ClearTree();
  if (list != nullptr) list->ClearListView();
  drive->entries = 0;
  drive->folders = 0;
  drive->files = 0;
  drive->totalBytes = 0;
  drive->ClearDirectoryLists();  // the file filters go too

  frame.markedFolders = 0;
  frame.markedFiles = 0;
  frame.markedBytes = 0;
  frame.abortFlag = 0;
  frame.busyFlag = 1;
  app.stopRequested = 0;
  app.logHasRows = 0;
  app.allMarked = 0;
  app.marked = 0;
  app.recoverSelected = 0;
  app.userSorted = 0;
  app.findMatchCase = 0;
  app.findDeleted = 1;
  app.findExisting = 1;
  app.scanned = 0;
  for (ToolbarCommand command : {kCmdGoUp, kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdFileMask, kCmdAddFileFilter,
                                 kCmdFind, kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
    frame.EnableToolbarButton(command, false);
  }
  frame.EnableToolbarButton(kCmdStop, true);
  frame.GetPrompts().ShowCaution(CautionKind::LongProcess);
  if (tree != nullptr) tree->FreeEntryLists();

  frame.AddLogEntry("Creating directory tree", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);
  drive->SearchLostFolders();
  if (!frame.abortFlag) {
    frame.EndProgress();
    app.logHasRows = 1;
    frame.AddLogEntry("Searching missing file(s) and folder(s)", "Process started",
                      ("Started on " + CTimeNow()).c_str(), kIconStarted);
    drive->AddLostFolders();
  }
  if (!frame.abortFlag) {
    frame.EndProgress();
    app.logHasRows = 1;
    frame.AddLogEntry("Creating directory tree", "Process completed", ("Completed on " + CTimeNow()).c_str(),
                      kIconCompleted);
    drive->SearchDeletedFiles();
  }

  frame.UpdateMarkedPane(false, false, nullptr, false);
  frame.EndProgress();
  app.logHasRows = 1;
  if (tree != nullptr) {
    tree->CollapseChildren();
    tree->ExpandAndSelect(true);
  }
  if (drive->entries > 0) app.scanned = 1;
}

}  // namespace ext2
