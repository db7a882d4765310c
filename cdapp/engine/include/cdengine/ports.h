// What the CD engine needs of the workbench: the frame's services, the list view and the prompts.
// The wx frame implements these in the program; a headless host implements them in tests and probes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cd {

class CdTreeView;

// Log-row icons (index into the process log's three icons).
enum CdLogIcon : int { kCdIconOk = 0, kCdIconError = 1, kCdIconInfo = 2, kCdIconDone = 3 };

// Toolbar command ids.
enum CdCommand : int {
  kCdCmdOpenDrive = 32775,
  kCdCmdRecoverSelected = 32776,
  kCdCmdRecoverAll = 32777,
  kCdCmdRecoverDeleted = 32778,
  kCdCmdAddFileFilter = 32779,
  kCdCmdFind = 32791,
  kCdCmdStop = 32795,
  kCdCmdGoUp = 32797,
  kCdCmdFileMask = 32811,
  kCdCmdHelpTopics = 57667,
};

enum class CdButtons { Ok, OkCancel };
enum CdAnswer : int { kCdAnswerOk = 1, kCdAnswerCancel = 2 };

// The right pane: rows of the selected folder's entries.
class CdListViewPort {
 public:
  virtual ~CdListViewPort() = default;
  virtual void ClearListView() = 0;
  // Shows the nodes whose parent key is KEY.
  virtual void FillFromTreeNodes(std::uint32_t key) = 0;
  // Mode 1: every row; mode 0: the row named NAME. STATE is a tree state image (1, 2, 3).
  virtual void SetItemCheckState(int mode, int state, const std::string& name, std::uint32_t key) = 0;
  // The checked or partly checked row NAME with data KEY becomes unchecked.
  virtual void UncheckListItem(const std::string& name, std::uint32_t key) = 0;
  // The row NAME with data KEY becomes partly checked when FLAG is 1.
  virtual void GreyListItem(const std::string& name, std::uint32_t key, int flag) = 0;
  // Scrolls to and highlights the row NAME with data KEY.
  virtual void FindListItem(const std::string& name, std::uint32_t key) = 0;
};

// Message boxes and the modal dialogs the engine opens.
class CdPrompts {
 public:
  virtual ~CdPrompts() = default;
  virtual CdAnswer MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) = 0;
  // The Select Drive dialog over the drive paths; stores its choice in the state's selected drive.
  virtual void RunSelectDriveDialog(const std::vector<std::string>& drives) = 0;
  // The "Imp Note" overwrite question; stores 1 (Overwrite) or 0 (Cancel) in the overwrite answer.
  virtual void RunOverwriteDialog() = 0;
};

// The main frame's services and the flags the engine shares with it.
class CdFrame {
 public:
  virtual ~CdFrame() = default;

  int busy = 0;
  int stopFlag = 0;
  int stepsAfterStop = 0;
  int imaging = 0;
  int imageCreated = 0;
  int filterMode = 0;  // 1 include, 0 exclude
  std::uint32_t markedFolders = 0, markedFiles = 0;
  std::uint64_t markedBytes = 0;
  std::uint32_t totalFolders = 0, totalFiles = 0;  // the last counts given to UpdateTotalsPane

  virtual void AddLogEntry(const char* activity, const char* text, const char* status, CdLogIcon icon) = 0;
  virtual void StartProgress() = 0;
  virtual void StartProgressRange(std::uint32_t n) = 0;
  // One step for one entry, sector or file; while scanning it puts the entry into the tree view.
  virtual void StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                            std::size_t nameLength, std::uint32_t key) = 0;
  virtual void EndProgress(std::uint32_t n) = 0;
  // Caches the panes and has the tree insert its Root item.
  virtual void AttachPanes() = 0;
  virtual void UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) = 0;
  virtual void UpdateMarkedPane() = 0;
  virtual void SetMarkedPaneText(const std::string& text) = 0;
  // Dispatches waiting events; 0 when the program is quitting.
  virtual int PumpMessages() = 0;
  virtual void EnableToolbarButton(int command, bool enable) = 0;
  virtual CdTreeView* GetLeftPane() = 0;
  virtual CdListViewPort* GetRightPane() = 0;
  virtual CdPrompts& GetPrompts() = 0;
};

}  // namespace cd
