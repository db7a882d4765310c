// The "Creating directory tree" process: the walk from the root, or the inode tables when the
// root yields nothing.
#include <string>

#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"

namespace ext2 {

void CLinuxDrive::BuildDirectoryTree() {
  AppState& app = App();
  app.scanned = 0;
  app.processRunning = 1;
  if (frame != nullptr) {
    frame->abortFlag = 0;
    frame->EnableToolbarButton(kCmdGoUp, false);
  }
  Log("Creating directory tree", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);
  auto aborted = [&] { return frame != nullptr && frame->abortFlag != 0; };
  StartReadFailureRows();
  const int rootHasEntries = ReadDirectory(kRootInode, 0);
  FinishReadFailureRows();
  if (rootHasEntries) {
    if (aborted()) {
      Log(nullptr, "Process aborted, user intervention ", ("Aborted on " + CTimeNow()).c_str(), kIconAborted);
    } else {
      Log("Creating directory tree", "Process completed", ("Completed on " + CTimeNow()).c_str(), kIconCompleted);
    }
  } else {
    SearchLostFolders();
    if (!aborted()) {
      if (frame != nullptr) frame->EndProgress();
      app.logHasRows = 1;
      Log("Searching missing file(s) and folder(s)", "Process started", ("Started on " + CTimeNow()).c_str(),
          kIconStarted);
      AddLostFolders();
      if (!aborted()) {
        Log("Creating directory tree", "Process completed", ("Completed on " + CTimeNow()).c_str(), kIconCompleted);
      }
    }
    if (frame != nullptr) frame->UpdateMarkedPane(false, false, nullptr, false);
  }
  if (frame != nullptr) frame->EndProgress();
  app.logHasRows = 1;
  if (treeView != nullptr) {
    treeView->CollapseChildren();
    treeView->ExpandAndSelect(true);
  }
  if (entries > 0) app.scanned = 1;
  if (frame != nullptr) frame->GetPrompts().ShowCaution(CautionKind::LostFilesHint);
}

}  // namespace ext2
