// The Recover commands as the frame runs them once the destination folder is chosen.
#include <sys/statvfs.h>

#include <cstdio>

#include "ext2engine/app_state.h"
#include "ext2engine/entry_list.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/recovery.h"
#include "platform/output_tree.h"

namespace ext2 {

namespace {

bool FileSystemFreeSpace(const std::string& path, std::uint64_t& bytes) {
  struct statvfs fs {};
  if (::statvfs(path.c_str(), &fs) != 0) return false;
  bytes = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
  return true;
}

FreeSpaceQuery g_freeSpace = FileSystemFreeSpace;

// A row of TEXT (a printf format of one count) when COUNT is not 0.
void CountRow(FrameServices& frame, const char* format, std::uint32_t count, LogIcon icon) {
  if (count == 0) return;
  char text[200];
  std::snprintf(text, sizeof text, format, count);
  frame.AddLogEntry(nullptr, text, ("Completed on " + CTimeNow()).c_str(), icon);
}

// The rows that close a recovery: one for each kind of file it could not write whole, then the
// end row with the count of files written, whatever it wrote.
void LogRecoveryEnd(FrameServices& frame, const CLinuxDrive& drive, bool stopped) {
  if (drive.unwrittenFolders != 0 || drive.unwrittenFiles != 0) {
    char text[160];
    std::snprintf(text, sizeof text, "Recovery incomplete, %u folder(s) and %u file(s) could not be written",
                  drive.unwrittenFolders, drive.unwrittenFiles);
    frame.AddLogEntry(nullptr, text, ("Completed on " + CTimeNow()).c_str(), kIconAborted);
  }
  CountRow(frame, "Recovery incomplete, %u file(s) not recovered: their inodes cannot be read",
           drive.unreadInodeFiles, kIconAborted);
  CountRow(frame, "Recovery incomplete, %u file(s) kept in extents not recovered: extents are not read",
           drive.extentFiles, kIconAborted);
  CountRow(frame, "Recovery incomplete, %u file(s) written with unreadable parts as zeros", drive.incompleteFiles,
           kIconEvent);
  CountRow(frame,
           "%u deleted file(s) not recovered: their data blocks are no longer recorded (ext3 clears them on delete)",
           drive.dataGoneFiles, kIconEvent);
  CountRow(frame, "%u marked file(s) left out by the file filters, still marked", drive.filteredOutFiles, kIconEvent);
  const std::uint32_t notRecovered =
      drive.unwrittenFiles + drive.unreadInodeFiles + drive.extentFiles + drive.dataGoneFiles;
  char text[160];
  std::snprintf(text, sizeof text, "%s, %u file(s) recovered, %u not recovered",
                stopped ? "Recovery stopped" : "Process completed", drive.writtenFiles, notRecovered);
  const bool whole = notRecovered == 0 && drive.incompleteFiles == 0 && drive.unwrittenFolders == 0;
  frame.AddLogEntry(nullptr, text, ((stopped ? "Aborted on " : "Completed on ") + CTimeNow()).c_str(),
                    stopped ? kIconAborted : whole ? kIconCompleted : kIconEvent);
}

}  // namespace

void SetFreeSpaceQuery(FreeSpaceQuery query) { g_freeSpace = query != nullptr ? query : FileSystemFreeSpace; }

int RecoverFiles(FrameServices& frame, CLinuxDrive& drive, std::uint8_t type, const std::string& destination) {
  AppState& app = App();
  // A file-size limit fails the write (reported like a full disk) instead of ending the program.
  platform::IgnoreFileSizeSignal();
  app.fileExists = FileExistsDecision::None;
  frame.GetPrompts().ShowCaution(CautionKind::SameDriveOverwrite);
  frame.abortFlag = 0;
  app.processRunning = 1;
  app.stopRequested = 0;
  drive.recoveredFileCount = 0;
  drive.unwrittenFolders = 0;
  drive.unwrittenFiles = 0;
  drive.incompleteFiles = 0;
  drive.unreadInodeFiles = 0;
  drive.extentFiles = 0;
  drive.dataGoneFiles = 0;
  drive.writtenFiles = 0;
  drive.filteredOutFiles = 0;
  app.recovering = 1;
  for (ToolbarCommand command : {kCmdSelectPhysicalDisk, kCmdFileMask, kCmdOpenDrive, kCmdAddFileFilter, kCmdFind,
                                 kCmdRecoverAll, kCmdRecoverSelected, kCmdRecoverDeleted}) {
    frame.EnableToolbarButton(command, false);
  }
  // Without a destination the user chooses one now; Cancel ends the process before anything is written.
  std::string chosen = destination;
  if (chosen.empty() && (!frame.GetPrompts().BrowseForFolder(chosen) || chosen.empty())) {
    frame.EndProgress();
    return 0;
  }
  const std::string path = chosen + (!chosen.empty() && chosen.back() == '/' ? "#Root" : "/#Root");
  frame.EnableToolbarButton(kCmdStop, true);
  frame.StartProgressText(static_cast<int>(type == kRecoverAll ? drive.entries : drive.CountCheckedEntries()),
                          nullptr);

  // The space this recovery needs: what it will write, whatever is marked.
  const std::uint64_t required = drive.BytesToRecover(type);
  std::uint64_t available = 0;
  if (g_freeSpace(chosen, available)) {
    if (available < required) {
      char text[200];
      std::snprintf(text, sizeof text,
                    "Insufficient disk space on destination media\n\nRequired Space: %8llu MB\nAvailable Space: %8llu MB",
                    static_cast<unsigned long long>(required / 1048576),
                    static_cast<unsigned long long>(available / 1048576));
      frame.GetPrompts().MessageBox(text, "Can not recover file(s) on to  destination media", MessageButtons::Ok);
      frame.EndProgress();
      return 0;
    }
  }

  app.rowActivity[0] = app.rowText[0] = app.rowStatus[0] = 0;
  frame.AddLogEntry("Recovering file", "Process started", ("Started on " + CTimeNow()).c_str(), kIconStarted);
  std::uintptr_t rootItem = 0;
  if (drive.treeView != nullptr && !drive.treeView->Entries().empty()) rootItem = drive.treeView->Entries()[0].treeItem;
  drive.RecoverFolder(rootItem, kRootInode, path, type, 0);
  if (app.stopRequested) {
    frame.AddLogEntry(nullptr, "Process aborted, user intervention ", ("Aborted on " + CTimeNow()).c_str(),
                      kIconAborted);
  }
  LogRecoveryEnd(frame, drive, app.stopRequested != 0);
  app.recovering = 0;
  frame.EndProgress();
  app.recoverSelected = 0;
  return 1;
}

}  // namespace ext2
