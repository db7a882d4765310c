// The main window of Quarvel Velnora FAT: toolbar, three-pane status bar, the folder tree and the
// entry list side by side, and the dockable message log. It carries out the commands and offers the
// engine its services (log rows, progress, message pump, tree entries, panes, prompts).
#pragma once

#include <wx/frame.h>
#include <wx/html/helpctrl.h>

#include <memory>
#include <string>

#include "controls/wx/frame_commands.h"
#include "controls/wx/message_pump.h"
#include "controls/wx/progress_bar.h"
#include "controls/wx/workbench_layout.h"
#include "controls/wx/wx_list_control.h"
#include "controls/wx/wx_tree_control.h"
#include "ext2engine/ports.h"
#include "linuxcore/command_states.h"
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"
#include "message_log.h"

namespace ext2::app {

// The entry of the program's profile that remembers the last destination folder of a recovery.
inline constexpr const char* kDestinationEntry = "Quarvel Velnora Linux/Destination";

class CMainFrame : public wxFrame, public FrameServices, public Prompts {
 public:
  CMainFrame();
  ~CMainFrame() override;

  views::CLeftView* LeftView() { return leftView_.get(); }
  views::CQuarvelVelnoraView* ListView() { return listView_.get(); }
  CMessageLogDlg* Log() { return log_; }
  // The commands' states as the menus and the toolbar would show them now.
  core::CommandInputs Inputs() const;
  // The commands with their rules, checked whenever one is invoked.
  controls::FrameCommands& Commands() { return *commands_; }
  // The type of the last recovery command.
  std::uint8_t RecoverType() const { return recoverType_; }

  // FrameServices
  int AddLogEntry(const char* activity, const char* text, const char* status, ext2::LogIcon icon) override;
  void StartProgress(int maximum) override { StartProgressText(maximum, nullptr); }
  void StartProgressText(int maximum, const char* label) override;
  void StepProgress(int n) override;
  void StepProgressBar() override;
  void EndProgress() override;
  void InsertRootItem() override;
  void AddTreeEntry(const EntryNode& entry, const char* name) override;
  void SetDrive(CLinuxDrive* drive) override { drive_ = drive; }
  void UpdateTotalsPane() override;
  void UpdateMarkedPane(bool fromDrive, bool reset, const char* text, bool useText) override;
  int PumpMessages() override;
  void EnableToolbarButton(ToolbarCommand command, bool enable) override;
  TreeViewPort* GetLeftPane() override { return leftView_.get(); }
  ListViewPort* GetRightPane() override { return listView_.get(); }
  Prompts& GetPrompts() override { return *this; }

  // Prompts
  MessageAnswer MessageBox(const char* text, const char* caption, MessageButtons buttons) override;
  void ShowCaution(CautionKind kind) override;
  bool Confirm(ConfirmKind kind) override;
  bool FileExists(const std::string& directory, const std::string& name, std::uint32_t inode) override;
  bool ScanFileExists(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) override;
  bool BrowseForFolder(std::string& path) override;

  // Commands (also called by tests).
  void SelectPhysicalDisk();
  void OpenDrive();
  // Recover of TYPE into DESTINATION; with an empty destination the folder chooser asks for it
  // after the caution, opened at the last destination.
  void Recover(std::uint8_t type, std::string destination = {});
  void Stop();
  void SearchDeletedAndLostCommand();
  void SaveScanInformation(std::string path = {});
  void OpenUsingScanInformation(std::string path = {});
  void SelectAll();
  void UnselectAll();
  void GoUp();
  void ClearLog();
  void SaveLog(std::string path = {});
  // The help book's contents.
  void HelpTopics();

 private:
  void BuildMenus();
  void BuildToolbar();
  void OnMenuOpen(wxMenuEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnArrange(int column);
  void RunSelectLogicalDrive(std::uint8_t diskNumber);

  controls::CWorkbenchLayout layout_;
  controls::WxTreeControl* const tree_ = &layout_.Tree();
  controls::WxListControl* const list_ = &layout_.List();
  std::unique_ptr<views::CLeftView> leftView_;
  std::unique_ptr<views::CQuarvelVelnoraView> listView_;
  std::unique_ptr<views::SortArrow> sortArrow_;
  CMessageLogDlg* log_ = nullptr;
  std::unique_ptr<controls::CProgressBar> bar_;
  CLinuxDrive* drive_ = nullptr;
  int postStopSteps_ = 0;
  std::unique_ptr<controls::FrameCommands> commands_;
  controls::MessagePump pump_;
  bool treeFrozen_ = false;  // from a process's first tree entry to its EndProgress
  std::uint8_t recoverType_ = 0;
  std::unique_ptr<wxHtmlHelpController> help_;
};

}  // namespace ext2::app
