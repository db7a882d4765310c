// What the engine needs of the workbench: frame services, the two views and the prompts.
// The wx frame implements these in the program; a headless host implements them in tests and probes.
#pragma once

#include <cstdint>
#include <string>

#include "ext2engine/caution_texts.h"
#include "ext2engine/entry_node.h"

namespace ext2 {

class EntryList;

class CLinuxDrive;

// Log-row icons (index into the log's image list).
enum LogIcon : int {
  kIconCompleted = 0,
  kIconEvent = 1,
  kIconAborted = 3,
  kIconStarted = 4,
  kIconSaveScan = 5,
  kIconQuestion = 6,
  kIconNone = 10,
};

// Toolbar command ids the engine enables and disables while it runs.
enum ToolbarCommand : int {
  kCmdSelectPhysicalDisk = 32771,
  kCmdOpenDrive = 32772,
  kCmdOpenScanInfo = 32773,
  kCmdRecoverSelected = 32774,
  kCmdRecoverAll = 32775,
  kCmdRecoverDeleted = 32776,
  kCmdAddFileFilter = 32777,
  kCmdFind = 32779,
  kCmdFileMask = 32781,
  kCmdStop = 32788,
  kCmdGoUp = 32789,
};

enum class MessageButtons { Ok, YesNo };
// The Yes/No confirmations: "Save Drive Scan Information ?" and "Stop current process ?".
enum class ConfirmKind : std::uint8_t { SaveScanInformation = 0, StopProcess = 1 };
enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Message boxes, cautions and confirmations; each call returns when the user has answered.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual MessageAnswer MessageBox(const char* text, const char* caption, MessageButtons buttons) = 0;
  // The Caution dialog of KIND.
  virtual void ShowCaution(CautionKind kind) = 0;
  // The Yes/No confirmation of KIND; true for Yes.
  virtual bool Confirm(ConfirmKind kind) = 0;
  // The File Already Exists dialog for NAME in the folder DIRECTORY (recovering INODE): writes one
  // decision and, for Rename, the new name into the application object. False when the user closed
  // it without a decision (Esc, the close box): then no field changes.
  virtual bool FileExists(const std::string& directory, const std::string& name, std::uint32_t inode) = 0;
  // The File already exists dialog of the scan-information file PATH (disk and logical-drive rows
  // from 0): writes Rename (with the new name), Cancel or Overwrite into the application object.
  // False when the user closed it without a decision: then no field changes.
  virtual bool ScanFileExists(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) = 0;
  // The destination folder of a recovery, chosen by the user into PATH; false on Cancel. A host
  // without a user chooses none.
  virtual bool BrowseForFolder(std::string& path) {
    (void)path;
    return false;
  }
};

// What recovery leaves of a mark it has passed: a folder still in progress shows partly checked (its
// row grey), a folder or file done shows unchecked.
enum class Uncheck : std::uint8_t { Fully = 0, Partly = 1 };

// The left pane: the folder tree.
class TreeViewPort {
 public:
  virtual ~TreeViewPort() = default;
  virtual void CollapseChildren() = 0;
  virtual void ExpandAndSelect(bool collapseFirst) = 0;
  virtual void ClearTree() = 0;
  // Frees the entry list and the File Mask's lists (before another drive is opened).
  virtual void FreeEntryLists() = 0;
  // The master entry list the view keeps.
  virtual EntryList& Entries() = 0;
  // Shows a folder's tree item partly checked or unchecked.
  virtual void UncheckEntry(std::uintptr_t treeItem, Uncheck how) = 0;
  // Sets a folder's tree item to state image IMAGE (1 unchecked, 2 checked, 3 partly checked).
  virtual void SetItemStateImage(std::uintptr_t treeItem, int image) = 0;
};

// The right pane: the list of the selected folder's entries.
class ListViewPort {
 public:
  virtual ~ListViewPort() = default;
  virtual void ClearListView() = 0;
  // Shows the row of NAME/INODE grey (Partly) or unchecked (Fully), when it is shown checked or grey.
  virtual void UpdateItemCheck(const std::string& name, std::uint32_t inode, std::uintptr_t treeItem, Uncheck how) = 0;
};

// The main frame's services for long processes.
class FrameServices {
 public:
  virtual ~FrameServices() = default;

  // 0 while a process may step; set by Stop and by EndProgress (so it reads 1 between processes).
  int abortFlag = 0;
  // 1 while a process is stepping.
  int busyFlag = 0;
  // The marked amount shown in the Marked pane.
  int markedFolders = 0;
  int markedFiles = 0;
  std::uint64_t markedBytes = 0;

  virtual int AddLogEntry(const char* activity, const char* text, const char* status, LogIcon icon) = 0;
  virtual void StartProgress(int maximum) = 0;
  virtual void StartProgressText(int maximum, const char* label) = 0;
  virtual void StepProgress(int n) = 0;
  // One step of the current bar without a new label (CProgressBar::StepIt), for loops with their own text.
  virtual void StepProgressBar() = 0;
  virtual void EndProgress() = 0;
  virtual void InsertRootItem() = 0;
  virtual void AddTreeEntry(const EntryNode& entry, const char* name) = 0;
  virtual void SetDrive(CLinuxDrive* drive) = 0;
  virtual void UpdateTotalsPane() = 0;
  virtual void UpdateMarkedPane(bool fromDrive, bool reset, const char* text, bool useText) = 0;
  // Dispatches waiting events; 0 when the program is quitting.
  virtual int PumpMessages() = 0;
  virtual void EnableToolbarButton(ToolbarCommand command, bool enable) = 0;
  virtual TreeViewPort* GetLeftPane() = 0;
  virtual ListViewPort* GetRightPane() = 0;
  virtual Prompts& GetPrompts() = 0;
};

}  // namespace ext2
