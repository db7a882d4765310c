// The main window and its commands.
#include "main_frame.h"
#include "controls/wx/message_box.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <cstdio>
#include <tuple>

#include "app_images.h"
#include "controls/wx/destination_chooser.h"
#include "controls/wx/display_string.h"
#include "controls/wx/help_book.h"
#include "controls/wx/menu_table.h"
#include "controls/wx/save_log.h"
#include "controls/wx/state_images.h"
#include "controls/wx/status_bar.h"
#include "controls/wx/toolbar_buttons.h"
#include "criteria_dialogs.h"
#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/deleted_and_lost.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/drive_search.h"
#include "ext2engine/drive_selection.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "ext2engine/scan_file.h"
#include "ext2engine/settings_file.h"
#include "linuxcore/log_report.h"
#include "linuxcore/size_text.h"
#include "settings_dialog.h"

namespace ext2::app {

using namespace ext2::core;
using namespace ext2::views;

namespace {

wxString U(const char* s) { return controls::DisplayString(s); }

// An ASCII text as a wxString, copied without the conversion that the other constructors run: the
// progress texts change at every entry of a process, and the conversion cost more than the rest.
wxString Ascii(const char* text) {
  wchar_t wide[256];
  std::size_t n = 0;
  for (; n < std::size(wide) && text[n] != '\0'; ++n) wide[n] = static_cast<unsigned char>(text[n]);
  return wxString(wide, n);
}

// The list view's sort arrow is the list header's triangle.
class HeaderSortArrow : public SortArrow {
 public:
  explicit HeaderSortArrow(controls::WxListControl& list) : list_(list) {}
  void SetSortImage(int column, int direction) override { list_.Header().SetSortImage(column, direction); }

 private:
  controls::WxListControl& list_;
};

}  // namespace

CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, "Quarvel Velnora Linux 2.1", wxDefaultPosition, wxSize(1100, 760)),
      layout_(this, 210) {
  // The window starts maximised; restored, it must not shrink to its toolbar and status bar.
  SetMinSize(wxSize(640, 480));
  BuildMenus();
  BuildToolbar();
  SetStatusBar(new controls::CStatusBar(this));
  GetStatusBar()->SetFieldsCount(3);
  // Pane 1 is 250 pixels, or wider where the font needs more for a long Total text.
  const int total = GetStatusBar()->GetTextExtent("   Total 1023.999 MB in 99999 Files in 9999 Folders").x + 12;
  const int widths[] = {265, std::max(250, total), -1};
  GetStatusBar()->SetStatusWidths(3, widths);
  SetStatusText("Total 0 Bytes in 0 Files in 0 Folders", 1);
  SetStatusText("Marked 0 Bytes in 0 Files in 0 Folders", 2);

  sortArrow_ = std::make_unique<HeaderSortArrow>(*list_);
  tree_->SetImageList(TreeImages());
  list_->SetIcons(EntryIcons(16), EntryIcons(32));

  AppState& app = App();
  leftView_ = std::make_unique<CLeftView>(*tree_, app);
  listView_ = std::make_unique<CQuarvelVelnoraView>(*list_, app);
  leftView_->SetListView(listView_.get());
  leftView_->SetFrame(this);
  listView_->SetTreeView(leftView_.get());
  listView_->SetFrame(this);
  listView_->InsertColumns();
  // Room for lost+found and for the search's "Inode #N" names up to the largest inode number.
  list_->FitColumnToText(kColumnName, "Inode #4294967295");

  // The tree: a click on a state icon is the view's; other clicks go on to the control.
  tree_->Window()->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
    if (leftView_->OnLButtonDown({e.GetX(), e.GetY()})) e.Skip();
  });
  controls::RouteListClicks(*this, *list_, *listView_);
  listView_->SetSortArrow(sortArrow_.get());
  // The list's context menu offers the four styles; the frame's commands carry them out.
  list_->Window()->Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& e) {
    wxWindow* list = list_->Window();
    const wxPoint at = list->ScreenToClient(e.GetPosition());
    if (!wxRect(list->GetClientSize()).Contains(at)) return;
    wxMenu menu;
    for (const auto& style : kListStyleCommands) menu.Append(WxId(style.command), wxString::FromUTF8(style.text));
    list->PopupMenu(&menu, at);
  });

  log_ = new CMessageLogDlg(this, MessageLogLook());
  layout_.DockLog(log_, {"Quarvel Velnora Linux Log", 200, false});

  Bind(wxEVT_MENU_OPEN, &CMainFrame::OnMenuOpen, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
  abortFlag = 0;
}

CMainFrame::~CMainFrame() { bar_.reset(); }

void CMainFrame::BuildMenus() {
  using controls::MenuItem;
  wxMenuBar* bar = controls::BuildMenuBar(
      {{"&Drive",
        {{kCmdOpenDrive, "&Open Drive", "Open Drive"},
         {kCmdSelectPhysicalDisk, "&Select Physical Disk\tCtrl+O", "Select Physical Disk Drive"},
         {kCmdOpenScanInfo, "Open &Using Scan Information", "Open Drive Using Scan Information"},
         {0, "", ""},
         {kIdExit, "E&xit Quarvel Velnora", "Quit the application; prompts to save documents"}}},
       {"&File",
        {{kCmdRecoverSelected, "Recover &Selected Files\tCtrl+S", "Recover Selected Files"},
         {kCmdRecoverAll, "Recover &All", "Recover All"},
         {kCmdRecoverDeleted, "Recover &Deleted Files", "Recover Deleted Files"},
         {0, "", ""},
         {kCmdAddFileFilter, "Add &File Filter", "Add File Filter"},
         {kIdRemoveFileFilter, "&Remove File Filter", ""}}},
       {"&Tools",
        {{kIdSearchDeletedAndLost, "&Search Deleted and Lost Files and Folders", ""},
         {kCmdStop, "S&top Current Process", "Stop Current Process"},
         {0, "", ""},
         {kCmdFind, "&Find\tCtrl+F", "Find"},
         {kIdFindNext, "Find &Next Item\tF3", "Find Next"},
         {kCmdFileMask, "File &Mask\tCtrl+M", "File Mask"},
         {kIdUnMask, "UnMas&k", ""},
         {0, "", ""},
         {kIdSelectAll, "Select &All", "Mark All Items"},
         {kIdUnselectAll, "&Unselect All", "UnMark All Items"},
         {0, "", ""},
         {kIdSaveScanInfo, "Save Scan &Information", "Save Scan Information"},
         {kIdClearLog, "&Clear Log", "Clear Log"},
         {kIdSaveLog, "Save &Log", "Save Log To File"},
         {0, "", ""},
         {kIdAdvanceSettings, "A&dvance Settings", "Set Advance Configuration"}}},
       {"&View",
        {{kIdViewToolBar, "&Tool Bar", "Show or hide the toolbar", wxITEM_CHECK},
         {kIdViewStatusBar, "&Status Bar", "Show or hide the status bar", wxITEM_CHECK},
         {kIdViewMessageLog, "&Message Log", "", wxITEM_CHECK},
         {0, "", ""},
         {kCmdGoUp, "&Go Up", "Up"},
         {0, "", ""},
         {kIdLargeIcons, "&Large Icons", "Display items by using large icons.", wxITEM_RADIO},
         {kIdSmallIcons, "Small Ic&ons", "Display items by using small icons.", wxITEM_RADIO},
         {kIdList, "L&ist", "Displays items in a list.", wxITEM_RADIO},
         {kIdDetails, "&Details", "Displays detailed information about each item in the window.", wxITEM_RADIO},
         {0,
          "&Arrange",
          "",
          wxITEM_NORMAL,
          {{kIdArrangeByName, "By &Name", "Arrange File By Name"},
           {kIdArrangeByType, "By &Type", "Arrange Files By Type"},
           {kIdArrangeBySize, "By &Size", "Arrange Files By Size"},
           {kIdArrangeByDate, "By &Date", "Arrange Files By Date"}}}}},
       {"&Help", {{kIdHelpTopics, "&Help Topics", ""}, {kIdAbout, "&About Quarvel Velnora Linux", ""}}}},
      [](int id) { return WxId(id); }, {kIdViewToolBar, kIdViewStatusBar, kIdViewMessageLog, kIdDetails});
  SetMenuBar(bar);

  // Menu items follow the menu rule; toolbar buttons the toolbar rule while no process runs (a
  // process sets them at its start, and its message pump must not give a second process a button
  // to start from). Each command checks its rule again when it is invoked.
  controls::CommandRules rules;
  rules.menu = [this] { return MenuStates(Inputs()); };
  rules.toolbar = [this] { return ToolbarStates(Inputs()); };
  rules.processRunning = [this] {
    const CommandInputs in = Inputs();
    return in.processRunning || in.recovering || in.busy;
  };
  rules.wxIdOf = WxId;
  rules.commandOf = CommandOfWxId;
  commands_ = std::make_unique<controls::FrameCommands>(*this, std::move(rules));
  controls::FrameCommands& on = *commands_;
  on.On(kCmdSelectPhysicalDisk, [this] { SelectPhysicalDisk(); });
  on.On(kCmdOpenDrive, [this] { OpenDrive(); });
  on.On(kCmdOpenScanInfo, [this] { OpenUsingScanInformation(); });
  on.On(kIdExit, [this] { Close(); });
  on.On(kCmdRecoverSelected, [this] { Recover(kRecoverMarked); });
  on.On(kCmdRecoverAll, [this] {
    controls::CMessageBoxDlg ask(nullptr, "Do you wish to recover deleted file(s) and folder(s) too ?", "Recover All",
                        wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    Recover(ask.ShowModal() == wxID_YES ? kRecoverAll : kRecoverExisting);
  });
  on.On(kCmdRecoverDeleted, [this] { Recover(kRecoverDeleted); });
  on.On(kIdRemoveFileFilter, [this] {
    if (App().currentDrive) App().currentDrive->filters.clear();
  });
  on.On(kIdSearchDeletedAndLost, [this] { SearchDeletedAndLostCommand(); });
  on.On(kCmdStop, [this] { Stop(); });
  on.On(kIdFindNext, [this] { leftView_->FindNext(); });
  // The criteria and settings dialogs.
  on.On(kCmdAddFileFilter, [this] { RunFileFilterDlg(this, App().currentDrive.get()); });
  on.On(kCmdFind, [this] { RunFindDlg(this, *leftView_); });
  on.On(kCmdFileMask, [this] { RunFileMaskDlg(this, App().currentDrive.get(), *leftView_); });
  on.On(kIdUnMask, [this] { leftView_->UnMask(drive_); });
  on.On(kIdAdvanceSettings, [this] { RunAdvanceSettingsDlg(this, SettingsPath()); });
  on.On(kIdSelectAll, [this] { SelectAll(); });
  on.On(kIdUnselectAll, [this] { UnselectAll(); });
  on.On(kIdSaveScanInfo, [this] { SaveScanInformation(); });
  on.On(kIdClearLog, [this] { ClearLog(); });
  on.On(kIdSaveLog, [this] { SaveLog(); });
  on.On(kCmdGoUp, [this] { GoUp(); });
  on.On(kIdAbout, [this] { RunAboutDlg(this); });
  on.On(kIdHelpTopics, [this] { HelpTopics(); });
  Bind(wxEVT_HELP, [this](wxHelpEvent&) { HelpTopics(); });
  // F1 and Shift+F1 ask for help (once the key filter lets function keys through).
  SetAcceleratorTable(controls::HelpKeys(WxId(kIdHelpTopics)));
  layout_.BindViewCommands(on, {kIdViewToolBar, kIdViewStatusBar, kIdViewMessageLog, WxId(kIdViewMessageLog)});
  const std::pair<int, controls::ListViewStyle> styles[] = {{kIdLargeIcons, controls::ListViewStyle::Icon},
                                                            {kIdSmallIcons, controls::ListViewStyle::SmallIcon},
                                                            {kIdList, controls::ListViewStyle::List},
                                                            {kIdDetails, controls::ListViewStyle::Report}};
  for (const auto& [id, style] : styles) {
    on.On(id, [this, style = style] { list_->SetViewStyle(style); });
  }
  for (int c = 0; c < 4; ++c) {
    on.On(kIdArrangeByName + c, [this, c] { OnArrange(c); });
  }
}

void CMainFrame::BuildToolbar() {
  wxToolBar* bar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL | wxTB_DOCKABLE);
  bar->SetToolBitmapSize(wxSize(32, 32));
  // Each button: its tool tip and the prompt that pane 0 shows while the pointer is over it.
  controls::AddToolbarButtons(*bar,
                              {{kCmdSelectPhysicalDisk, "Select Physical Disk Drive", "Select Physical Disk Drive"},
                               {kCmdOpenDrive, "Open Drive", "Open Drive"},
                               {0, nullptr, nullptr},
                               {kCmdAddFileFilter, "Add File Filter", "Add File Filter"},
                               {0, nullptr, nullptr},
                               {kCmdFind, "Find", "Find"},
                               {kIdFindNext, "Find Next Item", "Find Next"},
                               {0, nullptr, nullptr},
                               {kCmdRecoverAll, "Recover All", "Recover All"},
                               {kCmdRecoverSelected, "Recover Selected Files", "Recover Selected Files"},
                               {kCmdRecoverDeleted, "Recover Deleted Files", "Recover Deleted Files"},
                               {0, nullptr, nullptr},
                               {kCmdFileMask, " File Mask", "File Mask"},
                               {0, nullptr, nullptr},
                               {kCmdGoUp, "Up", "Up"},
                               {0, nullptr, nullptr},
                               {kCmdStop, "Stop Current Process", "Stop Current Process"},
                               {0, nullptr, nullptr},
                               {kIdHelpTopics, "Help", ""}},
                              WxId, ToolbarPicture);
}

CommandInputs CMainFrame::Inputs() const {
  const AppState& app = App();
  CommandInputs in;
  in.scanned = app.scanned != 0;
  in.maskApplied = app.maskApplied != 0;
  in.recovering = app.recovering != 0;
  in.processRunning = app.processRunning != 0;
  in.busy = busyFlag != 0;
  in.abort = abortFlag != 0;
  in.driveOpen = app.currentDrive != nullptr;
  in.driveListNotEmpty = !LogicalDrives().Drives().empty();
  in.recoverSelected = app.recoverSelected != 0;
  in.allMarked = app.allMarked != 0;
  in.marked = app.marked != 0;
  in.findNext = app.findNext != 0;
  in.filterPresent = app.currentDrive && !app.currentDrive->filters.empty();
  in.deletedAndLostSearched = app.deletedAndLostSearched != 0;
  in.goUp = app.goUp != 0;
  const controls::TreeItem selected = tree_->GetSelection();
  in.selectedIsRoot = selected == controls::kNoItem || tree_->GetItemText(selected) == "Root";
  in.logHasRows = app.logHasRows != 0;
  in.unmaskedListSaved = leftView_->HasUnmaskedList();
  in.rightPane = true;
  return in;
}

void CMainFrame::OnMenuOpen(wxMenuEvent& event) {
  commands_->ApplyMenuRule(event.GetMenu());
  event.Skip();
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
  // Keys typed in the frame's own windows only; dialogs and floating panes keep theirs.
  auto* from = dynamic_cast<wxWindow*>(event.GetEventObject());
  if (from != nullptr && wxGetTopLevelParent(from) == this &&
      FrameSwallowsKey(event.GetKeyCode(), App().scanned != 0)) {
    // Enter in the list is the list's own key: it opens the selected folder row.
    const int key = event.GetKeyCode();
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && (from == list_->Window() || from == list_->ItemWindow())) {
      listView_->OnKeyDown(true);
    }
    return;
  }
  event.Skip();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  AppState& app = App();
  if (busyFlag && event.CanVeto()) {
    RunCautionDlg(this, CautionKind::CannotExit);
    event.Veto();
    return;
  }
  // After Stop a process is still on its way out: the window closes once it has returned.
  if (commands_->DeferClose(event)) return;
  if (app.scanned && !app.scanSaved) {
    // Only No lets the scan go; Esc or the close box of the question keeps the window.
    const ConfirmAnswer answer = RunConfirmDlgAnswer(this, ConfirmKind::SaveScanInformation);
    if (answer == ConfirmAnswer::Closed && event.CanVeto()) {
      event.Veto();
      return;
    }
    if (answer == ConfirmAnswer::Yes) SaveScanInformation();
  }
  if (app.currentDrive) {
    app.currentDrive->ClearLists();
    drive_ = nullptr;
    app.currentDrive.reset();
  }
  LogicalDrives().Clear();
  Destroy();
}

// --- Frame services ---

int CMainFrame::AddLogEntry(const char* activity, const char* text, const char* status, ext2::LogIcon icon) {
  return log_->AddRow(activity, text, status, icon);
}

void CMainFrame::StartProgressText(int maximum, const char* label) {
  bar_.reset();
  bar_ = std::make_unique<controls::CProgressBar>(label != nullptr ? U(label) : wxString("Reading.."), 100, maximum,
                                                  true, 0);
}

void CMainFrame::StepProgress(int n) {
  if (!abortFlag) {
    busyFlag = 1;
    if (bar_) {
      char label[48];
      if (App().recovering) {
        std::snprintf(label, sizeof label, " %d Files Recovered", n + 1);
      } else {
        std::snprintf(label, sizeof label, " %d Entries Found", n);
      }
      bar_->SetText(Ascii(label));
      bar_->StepIt();
    }
    PumpMessages();
  }
  if (abortFlag) {
    if (postStopSteps_ == 0) bar_.reset();
    ++postStopSteps_;
  }
}

void CMainFrame::StepProgressBar() {
  if (bar_) bar_->StepIt();
}

void CMainFrame::EndProgress() {
  if (treeFrozen_) {
    // Thawed at the next pump, after the process has collapsed what it leaves collapsed: the
    // folders that are never shown are never measured.
    treeFrozen_ = false;
    CallAfter([this] {
      if (!treeFrozen_) tree_->Thaw();
    });
  }
  busyFlag = 0;
  bar_.reset();
  App().processRunning = 0;
  App().recovering = 0;
  abortFlag = 1;
}

void CMainFrame::InsertRootItem() { leftView_->InsertRootItem(); }

void CMainFrame::AddTreeEntry(const EntryNode& entry, const char* name) {
  // The tree is laid out and painted once when the process ends, not again for each folder.
  if (!treeFrozen_ && busyFlag) {
    tree_->Freeze();
    treeFrozen_ = true;
  }
  leftView_->AddEntry(entry, name);
  UpdateTotalsPane();
}

void CMainFrame::UpdateTotalsPane() {
  if (drive_ == nullptr) {
    SetStatusText(Ascii(FormatSizeText(0, 0, 0, false).c_str()), 1);
    return;
  }
  SetStatusText(Ascii(FormatSizeText(drive_->totalBytes, drive_->files, drive_->folders, false).c_str()), 1);
}

void CMainFrame::UpdateMarkedPane(bool fromDrive, bool reset, const char* text, bool useText) {
  if (useText) {
    SetStatusText(controls::DisplayString(std::string(text != nullptr ? text : "").substr(0, 255)), 2);
    return;
  }
  if (fromDrive && drive_ != nullptr) {
    markedBytes = drive_->totalBytes;
    markedFiles = static_cast<int>(drive_->files);
    markedFolders = static_cast<int>(drive_->folders);
  }
  if (reset) {
    markedBytes = 0;
    markedFiles = markedFolders = 0;
  }
  SetStatusText(Ascii(FormatSizeText(markedBytes, markedFiles, markedFolders, true).c_str()), 2);
}

int CMainFrame::PumpMessages() { return pump_.Pump(); }

void CMainFrame::EnableToolbarButton(ToolbarCommand command, bool enable) {
  if (GetToolBar() != nullptr) GetToolBar()->EnableTool(WxId(command), enable);
}

// --- Prompts ---

MessageAnswer CMainFrame::MessageBox(const char* text, const char* caption, MessageButtons buttons) {
  const bool yesNo = buttons == MessageButtons::YesNo;
  controls::CMessageBoxDlg box(nullptr, U(text), U(caption), yesNo ? (wxYES_NO | wxICON_QUESTION) : wxOK);
  const int answer = box.ShowModal();
  if (!yesNo) return kAnswerOk;
  return answer == wxID_YES ? kAnswerYes : kAnswerNo;
}

void CMainFrame::ShowCaution(CautionKind kind) { RunCautionDlg(this, kind); }
bool CMainFrame::Confirm(ConfirmKind kind) { return RunConfirmDlg(this, kind); }

bool CMainFrame::FileExists(const std::string& directory, const std::string& name, std::uint32_t inode) {
  return RunFileExistsDlg(this, directory, name, inode);
}

bool CMainFrame::ScanFileExists(const std::string& path, std::uint8_t diskIndex, std::uint32_t driveIndex) {
  return RunScanFileExistsDlg(this, path, diskIndex, driveIndex);
}

bool CMainFrame::BrowseForFolder(std::string& path) {
  std::string chosen = controls::ChooseDestination(this, "Select the Destination folder for Saving Files",
                                                   kDestinationEntry);
  if (chosen.empty()) return false;
  path = std::move(chosen);
  return true;
}

// --- Commands ---

void CMainFrame::SelectPhysicalDisk() {
  AppState& app = App();
  int diskIndex = 0;
  std::string model, serial;
  {
    CSelectPhysicalDiskDlg disks(this);
    if (disks.ShowModal() != wxID_OK || disks.SelectedRow() < 0) return;
    // The row's disk: the rows skip disks that do not open, the numbers do not.
    const int row = disks.SelectedRow();
    diskIndex = disks.DiskIndexOfRow(row);
    if (diskIndex < 0) return;
    if (const int error = disks.OpenErrorOfRow(row); error != 0) {
      MessageBox(UnopenedDiskAdvice(static_cast<std::uint8_t>(diskIndex), error).c_str(),
                           "Quarvel Velnora Linux", MessageButtons::Ok);
      return;
    }
    model = disks.List()->GetItemText(row, 1).utf8_string();
    serial = disks.List()->GetItemText(row, 2).utf8_string();
  }
  app.driveListAction = RunSelectActionDlg(this);
  if (app.driveListAction < 0) return;
  // The partition-table walk logs the chosen disk itself.
  if (app.driveListAction == 0) LogSelectedDisk(*this, static_cast<std::uint8_t>(diskIndex), model, serial);
  const std::uint8_t disk = static_cast<std::uint8_t>(kFirstPhysicalDisk + diskIndex);
  if (app.driveListAction == 1) {
    MessageAnswer answer = kAnswerNo;
    if (WalkPartitionTables(*this, static_cast<std::uint8_t>(diskIndex), model, serial, &answer) > 0) {
      RunSelectLogicalDrive(disk);
      return;
    }
    if (answer != kAnswerYes) return;
  }
  app.searchType = RunSelectSearchTypeDlg(this);
  if (app.searchType < 0) return;
  if (SearchForLogicalDrives(*this, static_cast<std::uint8_t>(diskIndex)) > 0) RunSelectLogicalDrive(disk);
}

void CMainFrame::RunSelectLogicalDrive(std::uint8_t diskNumber) {
  int row = -1;
  {
    CSelectLogicalDriveDlg drives(this, LogicalDrives().Drives());
    if (drives.ShowModal() == wxID_OK) row = drives.SelectedRow();
  }
  if (row < 0) {
    LogicalDrives().AbandonChoice();
    return;
  }
  AppState& app = App();
  if (app.scanned && !app.scanSaved && Confirm(ConfirmKind::SaveScanInformation)) SaveScanInformation();
  OpenLogicalDrive(*this, diskNumber, row);
}

void CMainFrame::OpenDrive() {
  if (LogicalDrives().Drives().empty()) return;
  AppState& app = App();
  const std::uint8_t disk =
      app.currentDrive ? app.currentDrive->disk : static_cast<std::uint8_t>(kFirstPhysicalDisk + app.selectedDiskIndex);
  RunSelectLogicalDrive(disk);
}

void CMainFrame::Recover(std::uint8_t type, std::string destination) {
  AppState& app = App();
  if (!app.currentDrive) return;
  recoverType_ = type;
  RecoverFiles(*this, *app.currentDrive, type, destination);
  // What the recovery unmarked, and what it left marked, decide the Marked pane and the rules.
  leftView_->RecountMarks();
}

void CMainFrame::Stop() {
  if (!Confirm(ConfirmKind::StopProcess)) return;
  AppState& app = App();
  app.stopRequested = 1;
  abortFlag = 1;
  busyFlag = 0;
  app.processRunning = 0;
  leftView_->CollapseChildren();
}

void CMainFrame::SearchDeletedAndLostCommand() { SearchDeletedAndLost(*this); }

void CMainFrame::SaveScanInformation(std::string path) {
  AppState& app = App();
  if (!app.currentDrive) return;
  if (path.empty()) {
    RunCautionDlg(this, CautionKind::SameDriveOverwrite);
    wxFileDialog save(this, "Save Scan Information to File", wxEmptyString, "Quarvel Velnora Linux Scan", "(*.DAT)|*",
                      wxFD_SAVE);
    if (save.ShowModal() != wxID_OK) return;
    path = save.GetPath().utf8_string();
  }
  path += ".DAT";
  // Saved only when it was: a cancelled or failed save leaves the offer to save on closing.
  if (app.currentDrive->SaveScanInfo(path)) app.scanSaved = 1;
}

void CMainFrame::OpenUsingScanInformation(std::string path) {
  if (path.empty()) {
    wxFileDialog open(this, "Open Scan File", wxEmptyString, wxEmptyString, "Scan File(*.DAT)|*.DAT",
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (open.ShowModal() != wxID_OK) {
      abortFlag = 1;
      return;
    }
    path = open.GetPath().utf8_string();
  }
  OpenUsingScanInfo(*this, path);
  abortFlag = 1;
}

// The Marked pane counts the records marked now, those of the masked list under a mask, as
// Recover Selected will read them.
void CMainFrame::SelectAll() {
  leftView_->CollectCheckedItems(1, 0, leftView_->RootItem(), 0);
  listView_->SetItemCheckState(CheckRows::All, controls::kStateChecked, "");
  leftView_->RecountMarks();
}

void CMainFrame::UnselectAll() {
  leftView_->CollectCheckedItems(0, 0, leftView_->RootItem(), 0);
  listView_->SetItemCheckState(CheckRows::All, controls::kStateUnchecked, "");
  leftView_->RecountMarks();
}

void CMainFrame::GoUp() { leftView_->GoUp(); }

void CMainFrame::HelpTopics() {
  controls::ShowHelpContents(help_, this, "Quarvel Velnora Linux", QV_HELP_DIR, "Quarvel Velnora Linux.hhp");
}

void CMainFrame::ClearLog() {
  log_->Clear();
  App().logHasRows = 0;
}

void CMainFrame::SaveLog(std::string path) {
  if (path.empty()) {
    RunCautionDlg(this, CautionKind::SameDriveOverwrite);
    path = controls::ChooseLogPath(this, "Quarvel Velnora Linux Log");
    if (path.empty()) return;
  }
  controls::SaveLogReport(path, FormatLogReport(log_->Rows()),
                          {"File creation error", "File write error", "Quarvel Velnora Linux"});
}

void CMainFrame::OnArrange(int column) {
  AppState& app = App();
  app.sortToggle = app.sortToggle ? 0 : 1;
  app.userSorted = 1;
  app.sortColumn = column;
  app.sortDirection = app.sortToggle;
  if (app.scanned) list_->Header().SetSortImage(column, app.sortDirection);
  listView_->SortByColumn(column, app.sortDirection != 0);
}

}  // namespace ext2::app
