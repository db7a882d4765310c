// The main window of CD: toolbar, three-pane status bar, the folder tree and the entry list side
// by side, and the dockable process log. It offers the CD engine its services (progress, message
// pump, log rows, panes, prompts) and carries out the menu, toolbar and key commands.
#pragma once

#include <wx/frame.h>
#include <wx/html/helpctrl.h>

#include <chrono>
#include <memory>
#include <string>

#include "cdviews/file_mask.h"
#include "cdengine/cd_reader.h"
#include "cdengine/ports.h"
#include "cdcore/cd_command_states.h"
#include "cdviews/cd_list_view.h"
#include "cdviews/tree_view.h"
#include "cd_process_log.h"
#include "controls/wx/frame_commands.h"
#include "controls/wx/message_pump.h"
#include "controls/wx/progress_bar.h"
#include "controls/wx/workbench_layout.h"
#include "controls/wx/wx_list_control.h"
#include "controls/wx/wx_tree_control.h"

namespace cd::app {

// The entry of the program's profile that remembers the last destination folder of a recovery.
inline constexpr const char* kDestinationEntry = "Quarvel Velnora CD/Destination";

class CMainFrame : public wxFrame, public CdFrame, public CdPrompts, public views::CdSortArrow {
 public:
  CMainFrame();
  ~CMainFrame() override;

  CCDReader& Reader() { return *reader_; }
  views::CdTreeView& LeftView() { return *leftView_; }
  views::CCDView& ListView() { return *listView_; }
  controls::WxTreeControl& Tree() { return *tree_; }
  controls::WxListControl& List() { return *list_; }
  CProcessLogBar* Log() { return log_; }
  controls::CProgressBar* Bar() { return bar_.get(); }
  // The inputs of the enable rules as they are now.
  core::CdCommandInputs Inputs() const;
  // The commands with their rules, checked whenever one is invoked.
  controls::FrameCommands& Commands() { return *commands_; }

  // CdFrame
  void AddLogEntry(const char* activity, const char* text, const char* status, cd::CdLogIcon icon) override;
  void StartProgress() override { StartProgressRange(10000); }
  void StartProgressRange(std::uint32_t n) override;
  void StepProgress(std::uint32_t count, std::uint8_t type, const char* name, std::uint32_t parentKey,
                    std::size_t nameLength, std::uint32_t key) override;
  void EndProgress(std::uint32_t n) override;
  void AttachPanes() override;
  void UpdateTotalsPane(std::uint32_t folders, std::uint32_t files) override;
  void UpdateMarkedPane() override;
  void SetMarkedPaneText(const std::string& text) override;
  int PumpMessages() override;
  void EnableToolbarButton(int command, bool enable) override;
  CdTreeViewPort* GetLeftPane() override { return leftView_.get(); }
  CdListViewPort* GetRightPane() override { return listView_.get(); }
  CdPrompts& GetPrompts() override { return *this; }

  // CdPrompts
  CdAnswer MessageBox(const std::string& text, const std::string& caption, CdButtons buttons) override;
  void RunSelectDriveDialog(const std::vector<std::string>& drives) override;
  void RunOverwriteDialog() override;

  // CdSortArrow: the list header's arrow.
  void SetSortImage(int column, int ascending) override;

  // Commands (also called by tests). With an empty path the file or folder dialog asks for it.
  // The rule of the menus: the first menu opened chooses and opens the drive; then MENU's items.
  void OnInitMenuPopup(wxMenu* menu);
  // MENU's items by the enable rules as they are now.
  void ApplyMenuRules(wxMenu* menu);
  void OpenDriveCmd();
  void CreateImageCmd(std::string path = {});
  void OpenImageCmd(std::string path = {});
  // Recover Selected Files (0), Recover All (1), Recover Deleted Files (2) into DESTINATION/Root;
  // with an empty destination the folder chooser asks for it, opened at the last destination.
  void Recover(int mode, std::string destination = {});
  void AddFileFilterCmd();
  void RemoveFileFilterCmd();
  void FindCmd();
  void FindNextCmd();
  void FileMaskCmd();
  void SelectAllCmd();
  void UnselectAllCmd();
  void StopCmd();
  void GoUp();
  void Arrange(int column);
  void SetViewStyle(controls::ListViewStyle style);
  void ClearLog();
  void SaveLog(std::string path = {});
  void HelpTopics();
  void About();

 private:
  void BuildMenus();
  void BindCommands();
  void BuildToolbar();
  // Whether the next menu opened chooses and opens the drive.
  bool DriveToOpen() const;
  void OnMenuOpen(wxMenuEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnListContextMenu(wxContextMenuEvent& event);

  controls::CWorkbenchLayout layout_;
  controls::WxTreeControl* const tree_ = &layout_.Tree();
  controls::WxListControl* const list_ = &layout_.List();
  std::unique_ptr<views::CdTreeView> leftView_;
  std::unique_ptr<views::CCDView> listView_;
  std::unique_ptr<CCDReader> reader_;
  CProcessLogBar* log_ = nullptr;
  std::unique_ptr<controls::CProgressBar> bar_;
  std::unique_ptr<controls::FrameCommands> commands_;
  controls::MessagePump pump_;
  std::uint32_t entriesAdded_ = 0;
  // When StepProgress last wrote the bar's label and the totals pane; whether the totals counted
  // since then are still to be written.
  std::chrono::steady_clock::time_point textsShown_{};
  bool totalsUnshown_ = false;
  int logRows_ = 0;
  int recoverMode_ = 0;
  std::unique_ptr<wxHtmlHelpController> help_;
  views::CdFileMask mask_;
  // After Open Image the image is the device (recovery reads it) until Open Drive.
  bool imageIsDevice_ = false;
  std::string imagePath_;
  // A menu has opened; the drive choice runs once the toolkit has returned from opening it.
  bool driveChoicePending_ = false;
};

}  // namespace cd::app
