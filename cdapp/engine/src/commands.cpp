// The command bodies of the CD frame that drive the engine.
#include "cdengine/commands.h"

#include <cstdio>

#include "cdengine/drive_access.h"
#include "cdengine/image_file.h"
#include "cdengine/recovery.h"
#include "cdengine/volume_reading.h"

namespace cd {

std::string SizePaneText(const char* word, std::uint64_t bytes, std::uint32_t files, std::uint32_t folders) {
  const char* unit = "Bytes";
  std::uint64_t shown = bytes;
  if (bytes >= 1000000) {
    shown = bytes / 1000000;
    unit = "MB";
  } else if (bytes >= 1000) {
    shown = bytes / 1000;
    unit = "KB";
  }
  char text[128];
  std::snprintf(text, sizeof text, "   %s %llu %s in %ld Files in %ld Folders", word, static_cast<unsigned long long>(shown), unit,
                static_cast<long>(files), static_cast<long>(folders));
  return text;
}

void OpenDriveCommand(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  if (reader.mediaLockTaken) SetMediaLock(reader, false);
  if (frame.GetPrompts().MessageBox("Insert CDROM To Start Process", "Quarvel Velnora CDROM", CdButtons::OkCancel) !=
      kCdAnswerOk) {
    return;
  }
  // An image opened earlier stays the device until this command: it goes back to the drive, unless
  // it is the image being opened that is to be scanned.
  if (reader.imageIsDevice && !app.imageOpening) ReopenSelectedDrive(reader);
  SetMediaLock(reader, true);
  app.allMarked = 0;
  app.markedBytesFlag = 0;
  // While an image is being opened it is the device: the drive is not reopened over it.
  if (!app.driveOpened && !app.imageOpening) {
    OpenDrive(reader);
    app.driveOpened = 1;
  }
  app.fileMaskApplied = 0;
  app.scanUnderWay = 1;
  CdTreeViewPort* tree = frame.GetLeftPane();
  CdListViewPort* list = frame.GetRightPane();
  if (tree != nullptr) tree->FreeNodeList();
  reader.totalBytes = 0;
  for (int cmd : {kCdCmdOpenDrive, kCdCmdAddFileFilter, kCdCmdFind, kCdCmdRecoverAll, kCdCmdRecoverDeleted, kCdCmdGoUp}) {
    frame.EnableToolbarButton(cmd, false);
  }
  if (tree != nullptr) tree->ClearTree();
  if (list != nullptr) list->ClearListView();
  ScanDisc(reader);
  if (tree != nullptr) tree->CollapseRootChildren();
}

namespace {

// Forgets the scan on screen: its entry list, the tree, the list, the marks and the panes together,
// so that nothing shows or can be marked that no longer has its entry.
void ForgetScan(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  if (CdTreeViewPort* tree = frame.GetLeftPane()) {
    tree->FreeNodeList();
    tree->ClearTree();
  }
  if (CdListViewPort* list = frame.GetRightPane()) list->ClearListView();
  app.allMarked = app.somethingMarked = app.markedBytesFlag = 0;
  app.fileMaskApplied = 0;
  app.findNext = 0;
  reader.totalBytes = 0;
  frame.markedBytes = frame.markedFiles = frame.markedFolders = 0;
  frame.UpdateTotalsPane(0, 0);
  frame.UpdateMarkedPane();
}

}  // namespace

void OpenImageCommand(CCDReader& reader, const std::string& path) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  // The scan on screen stays until the image is accepted. A refused image sends the device back to
  // the drive, so a listing read from an earlier image goes with it.
  const bool listedFromImage = reader.imageIsDevice;
  if (!OpenImage(reader, path)) {
    if (listedFromImage) ForgetScan(reader);
    frame.GetPrompts().MessageBox("Invalid Image File Selected", "Quarvel Velnora CDROM", CdButtons::Ok);
    return;
  }
  ForgetScan(reader);
  frame.stopFlag = 0;
  app.imageOpening = 1;
  OpenDriveCommand(reader);
  app.imageOpening = 0;
}

void CreateImageCommand(CCDReader& reader, const std::string& path) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  frame.stopFlag = 0;
  app.processRunning = 1;
  frame.imaging = 1;
  for (int cmd : {kCdCmdOpenDrive, kCdCmdAddFileFilter, kCdCmdFind, kCdCmdRecoverAll, kCdCmdRecoverDeleted, kCdCmdGoUp,
                  kCdCmdHelpTopics}) {
    frame.EnableToolbarButton(cmd, false);
  }
  const std::size_t slash = path.rfind('/');
  CreateImage(reader, path, slash == std::string::npos ? path : path.substr(slash + 1), "cd");
  frame.imageCreated = 1;
  app.processRunning = 0;
  frame.imaging = 0;
}

void RecoverFiles(CCDReader& reader, const std::string& folder, int mode) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  std::string destination = folder;
  while (destination.size() > 1 && destination.back() == '/') destination.pop_back();
  destination += destination == "/" ? "Root" : "/Root";
  frame.EnableToolbarButton(kCdCmdStop, true);
  reader.treeView = frame.GetLeftPane();
  reader.listView = frame.GetRightPane();
  app.recovering = 1;
  RecoverItems(reader, destination, mode);
  app.recovering = 0;
}

void SelectAll(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  app.somethingMarked = 1;
  app.allMarked = 1;
  if (CdTreeViewPort* tree = frame.GetLeftPane()) tree->MarkSubtree(1, 0, tree->RootItem());
  if (CdListViewPort* list = frame.GetRightPane()) {
    list->SetItemCheckState(CdCheckRows::Every, controls::kStateChecked, std::string(), 0);
  }
  char text[128];
  std::snprintf(text, sizeof text, "   Marked %llu MB in %ld Files in %ld Folders",
                static_cast<unsigned long long>(reader.totalBytes / 1000000), static_cast<long>(frame.totalFiles),
                static_cast<long>(frame.totalFolders));
  frame.SetMarkedPaneText(text);
}

void UnselectAll(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  app.allMarked = app.somethingMarked = app.markedBytesFlag = 0;
  if (CdTreeViewPort* tree = frame.GetLeftPane()) tree->MarkSubtree(0, 0, tree->RootItem());
  if (CdListViewPort* list = frame.GetRightPane()) {
    list->SetItemCheckState(CdCheckRows::Every, controls::kStateUnchecked, std::string(), 0);
  }
  frame.SetMarkedPaneText("   Marked 0 Bytes in 0 Files in 0 Folders");
}

void ApplyFileFilter(CCDReader& reader, const std::vector<std::string>& patterns, int include) {
  for (const auto& p : patterns) {
    if (AddFilterPattern(reader, p)) ++reader.app->filterPatternsAdded;
  }
  reader.frame->filterMode = include ? 1 : 0;
  reader.app->filterPresent = 1;
}

void RemoveFileFilter(CCDReader& reader) {
  reader.app->filterPresent = 0;
  reader.filterPatterns.clear();
  reader.app->filterPatternsAdded = 0;
}

void StopCommand(CCDReader& reader) {
  CdFrame& frame = *reader.frame;
  CdAppState& app = *reader.app;
  app.scanUnderWay = 0;
  app.recoveryStop = 1;
  app.recovering = 0;
  frame.stopFlag = 1;
  frame.busy = 0;
  if (!frame.imaging) {
    app.contentsShown = 1;
    reader.cursor = reader.newest = 0;
  }
  app.processRunning = 0;
}

}  // namespace cd
