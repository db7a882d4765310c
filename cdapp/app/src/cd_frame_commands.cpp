// The CD main window's menus, toolbar, enable rules, key filter and commands.
#include <unistd.h>
#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include <ctime>

#include "cd_about_dlg.h"
#include "cd_app_state.h"
#include "cd_images.h"
#include "cd_main_frame.h"
#include "cdengine/commands.h"
#include "cdengine/drive_access.h"
#include "cdengine/recovery.h"
#include "cdcore/cd_texts.h"
#include "controls/wx/destination_chooser.h"
#include "controls/wx/help_book.h"
#include "controls/wx/menu_table.h"
#include "controls/wx/message_box.h"
#include "controls/wx/save_log.h"
#include "controls/wx/toolbar_buttons.h"

namespace cd::app {

using namespace cd::core;
using namespace cd::views;

namespace {

constexpr const char* kCaption = "Quarvel Velnora CDROM";

void Warn(const char* text) {
  controls::CMessageBoxDlg box(nullptr, text, kCaption, wxOK | wxICON_WARNING);
  box.ShowModal();
}

const std::pair<int, controls::ListViewStyle> kStyles[] = {{kCdIdLargeIcons, controls::ListViewStyle::Icon},
                                                           {kCdIdSmallIcons, controls::ListViewStyle::SmallIcon},
                                                           {kCdIdList, controls::ListViewStyle::List},
                                                           {kCdIdDetails, controls::ListViewStyle::Report}};

}  // namespace

void CMainFrame::BuildMenus() {
  using controls::MenuItem;
  wxMenuBar* bar = controls::BuildMenuBar(
      {{"&Drive",
        {{kCdCmdOpenDrive, "&Open Drive", "Open drive"},
         {kCdIdCreateImage, "&Create Image", "Create cdrom image"},
         {kCdIdOpenImage, "Open &Image", "Open cdrom image"},
         {0, "", ""},
         {kCdIdExit, "E&xit Quarvel Velnora CDROM ", "Quit the application; prompts to save documents"}}},
       {"&File",
        {{kCdCmdRecoverSelected, "Recover &Selected Files\tCtrl+S", "Recover selected files"},
         {kCdCmdRecoverAll, "&Recover All", "Recover all"},
         {0, "", ""},
         {kCdCmdAddFileFilter, "&Add File Filter", "Add file filter"},
         {kCdIdRemoveFileFilter, "Remove &File Filter", "Remove file filter"}}},
       {"&Tools",
        {{kCdCmdFind, "&Find\tCtrl+F", "Find item"},
         {kCdIdFindNext, "Find Next Item\tF3", "Find next item"},
         {kCdCmdFileMask, "File &Mask\tCtrl+M", "File mask"},
         {0, "", ""},
         {kCdIdSelectAll, "Select &All", "Mark all items"},
         {kCdIdUnselectAll, "&Unselect All", "Unmark all items"},
         {0, "", ""},
         {kCdIdClearLog, "&Clear Process Log", "Clear process log"},
         {kCdIdSaveLog, "&Save Process Log to File", "Save process log to file"}}},
       {"&View",
        {{kCdIdViewToolBar, "&Toolbar", "Show or hide toolbar", wxITEM_CHECK},
         {kCdIdViewStatusBar, "&Status Bar", "Show or hide statusbar", wxITEM_CHECK},
         {kCdIdViewProcessLog, "&Process Log", "Show or hide process log", wxITEM_CHECK},
         {0, "", ""},
         {kCdCmdStop, "Stop &Current Process", "Stop current process"},
         {kCdCmdGoUp, "&Go Up", "Up"},
         {0, "", ""},
         {kCdIdLargeIcons, "Large Icons", "Display items by using large icons.", wxITEM_RADIO},
         {kCdIdSmallIcons, "Small Icons", "Display items by using small icons.", wxITEM_RADIO},
         {kCdIdList, "List", "Displays items in a list.", wxITEM_RADIO},
         {kCdIdDetails, "Details", "Displays detailed information about each item in the window.", wxITEM_RADIO},
         {0,
          "Arrange",
          "",
          wxITEM_NORMAL,
          {{kCdIdArrangeByName, "By &Name", "Sort items by name"},
           {kCdIdArrangeByType, "By &Type", "Sort items by type"},
           {kCdIdArrangeBySize, "By &Size", "Sort items by size"},
           {kCdIdArrangeByDate, "By &Date", "Sort items by date"}}}}},
       {"&Help",
        {{kCdCmdHelpTopics, "&Help Topics", "List help topics"},
         {kCdIdAbout, "&About Quarvel Velnora CDROM ", "Display program information, version number and copyright"}}}},
      [](int id) { return CdWxId(id); }, {kCdIdViewToolBar, kCdIdViewStatusBar, kCdIdViewProcessLog, kCdIdDetails});
  SetMenuBar(bar);
}

void CMainFrame::BuildToolbar() {
  wxToolBar* bar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL | wxTB_DOCKABLE);
  bar->SetToolBitmapSize(wxSize(30, 30));
  controls::AddToolbarButtons(*bar,
                              {{kCdCmdOpenDrive, "Open Drive", "Open drive"},
                               {0, nullptr, nullptr},
                               {kCdCmdAddFileFilter, "Add File Filter", "Add file filter"},
                               {kCdCmdFind, "Find Item", "Find item"},
                               {kCdIdFindNext, "Find Next Item", "Find next item"},
                               {0, nullptr, nullptr},
                               {kCdCmdRecoverAll, "Recover All", "Recover all"},
                               {kCdCmdRecoverSelected, "Recover Selected Files", "Recover selected files"},
                               {kCdCmdFileMask, " FileMask", "File mask"},
                               {kCdCmdGoUp, "Up", "Up"},
                               {0, nullptr, nullptr},
                               {kCdCmdStop, "Stop Current Process", "Stop current process"},
                               {0, nullptr, nullptr},
                               {kCdCmdHelpTopics, "Help Topics", "List help topics"}},
                              CdWxId, CdToolbarPicture);
}

void CMainFrame::BindCommands() {
  controls::CommandRules rules;
  rules.menu = [this] { return CdMenuStates(Inputs()); };
  rules.toolbar = [this] { return CdUpdateStates(Inputs()); };
  rules.processRunning = [this] {
    const CdAppState& app = CdApp();
    return busy || imaging || app.processRunning || app.recovering || app.scanUnderWay;
  };
  rules.wxIdOf = CdWxId;
  rules.commandOf = CdCommandOfWxId;
  commands_ = std::make_unique<controls::FrameCommands>(*this, std::move(rules));
  controls::FrameCommands& on = *commands_;
  on.On(kCdCmdOpenDrive, [this] { OpenDriveCmd(); });
  on.On(kCdIdCreateImage, [this] { CreateImageCmd(); });
  on.On(kCdIdOpenImage, [this] { OpenImageCmd(); });
  on.On(kCdIdExit, [this] { Close(); });
  on.On(kCdCmdRecoverSelected, [this] { Recover(kRecoverMarked); });
  on.On(kCdCmdRecoverAll, [this] { Recover(kRecoverAll); });
  on.On(kCdCmdRecoverDeleted, [this] { Recover(kRecoverDeleted); });
  on.On(kCdCmdAddFileFilter, [this] { AddFileFilterCmd(); });
  on.On(kCdIdRemoveFileFilter, [this] { RemoveFileFilterCmd(); });
  on.On(kCdCmdFind, [this] { FindCmd(); });
  on.On(kCdIdFindNext, [this] { FindNextCmd(); });
  on.On(kCdCmdFileMask, [this] { FileMaskCmd(); });
  on.On(kCdIdSelectAll, [this] { SelectAllCmd(); });
  on.On(kCdIdUnselectAll, [this] { UnselectAllCmd(); });
  on.On(kCdIdClearLog, [this] { ClearLog(); });
  on.On(kCdIdSaveLog, [this] { SaveLog(); });
  on.On(kCdCmdStop, [this] { StopCmd(); });
  on.On(kCdCmdGoUp, [this] { GoUp(); });
  on.On(kCdCmdHelpTopics, [this] { HelpTopics(); });
  on.On(kCdIdAbout, [this] { About(); });
  for (int c = 0; c < 4; ++c) on.On(kCdIdArrangeByName + c, [this, c] { Arrange(c); });
  for (const auto& [id, style] : kStyles) on.On(id, [this, style = style] { SetViewStyle(style); });
  Bind(wxEVT_HELP, [this](wxHelpEvent&) { HelpTopics(); });
  // F1 and Shift+F1 ask for help (once the key filter lets function keys through).
  SetAcceleratorTable(controls::HelpKeys(CdWxId(kCdCmdHelpTopics)));
  layout_.BindViewCommands(on,
                           {kCdIdViewToolBar, kCdIdViewStatusBar, kCdIdViewProcessLog, CdWxId(kCdIdViewProcessLog)});
}

// --- Enable rules and keys ---

bool CMainFrame::DriveToOpen() const {
  // Not while a process reads the device it would replace.
  return !CdApp().driveOpened && !commands_->Running();
}

void CMainFrame::OnInitMenuPopup(wxMenu* menu) {
  if (DriveToOpen()) {
    OpenDrive(*reader_);
    CdApp().driveOpened = 1;
  }
  ApplyMenuRules(menu);
}

void CMainFrame::ApplyMenuRules(wxMenu* menu) {
  if (menu == nullptr) return;
  commands_->ApplyMenuRule(menu);
  // The radio mark of the list's style.
  for (const auto& [id, style] : kStyles) {
    wxMenuItem* item = menu->FindChildItem(CdWxId(id));
    if (item != nullptr && list_->Window() != nullptr) item->Check(list_->GetViewStyle() == style);
  }
}

void CMainFrame::OnMenuOpen(wxMenuEvent& event) {
  ApplyMenuRules(event.GetMenu());
  // The drive choice is a modal dialog: it runs once the toolkit has finished opening the menu,
  // never inside its menu handling. Then the rules again, as they stand with the drive opened.
  if (!DriveToOpen() || driveChoicePending_) return;
  driveChoicePending_ = true;
  CallAfter([this] {
    driveChoicePending_ = false;
    OnInitMenuPopup(nullptr);
    wxMenuBar* bar = GetMenuBar();
    for (std::size_t i = 0; bar != nullptr && i < bar->GetMenuCount(); ++i) ApplyMenuRules(bar->GetMenu(i));
  });
}

void CMainFrame::OnCharHook(wxKeyEvent& event) {
  if (wxGetTopLevelParent(wxWindow::FindFocus()) != this && wxGetActiveWindow() != this) {
    event.Skip();
    return;
  }
  const int key = event.GetKeyCode();
  // The list opens the selected folder on Enter although the frame discards the key.
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && list_->Window() != nullptr &&
      wxWindow::FindFocus() != nullptr &&
      (wxWindow::FindFocus() == list_->Window() || wxWindow::FindFocus()->GetParent() == list_->Window())) {
    listView_->OnEnterKey();
  }
  if (CdFrameSwallowsKey(key, CdApp().findNext != 0)) return;
  event.Skip();
}

void CMainFrame::OnListContextMenu(wxContextMenuEvent& event) {
  wxPoint at = event.GetPosition();
  if (at == wxDefaultPosition) return;
  wxWindow* window = list_->Window();
  at = window->ScreenToClient(at);
  if (!wxRect(window->GetClientSize()).Contains(at)) return;
  wxMenu menu;
  menu.Append(CdWxId(kCdCmdRecoverSelected), "&Recover Selected");
  menu.Append(CdWxId(kCdCmdRecoverAll), "&Recover All");
  menu.Append(CdWxId(kCdCmdRecoverDeleted), "&Recover Deleted Files");
  menu.AppendSeparator();
  menu.Append(CdWxId(kCdIdLargeIcons), "&View Large Icons");
  menu.Append(CdWxId(kCdIdSmallIcons), "&View Small Icons");
  menu.Append(CdWxId(kCdIdList), "&List");
  menu.Append(CdWxId(kCdIdDetails), "&Details");
  PopupMenu(&menu, ScreenToClient(window->ClientToScreen(at)));
}

// --- Commands ---

void CMainFrame::OpenDriveCmd() {
  CdAppState& app = CdApp();
  // An opened image stays the device until Open Drive goes back to the drive.
  if (imageIsDevice_) app.driveOpened = 0;
  OpenDriveCommand(*reader_);
  if (imageIsDevice_) {
    imageIsDevice_ = reader_->device && reader_->device->Path() == imagePath_;
    if (imageIsDevice_) app.driveOpened = 1;  // the prompt was cancelled
  }
  // A new scan replaces the list a mask had set aside.
  if (!app.fileMaskApplied) mask_ = CdFileMask();
}

void CMainFrame::CreateImageCmd(std::string path) {
  if (path.empty()) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    const std::string name = CdDefaultImageName(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    wxFileDialog save(this, "Save Image to File", wxEmptyString, wxString::FromUTF8(name), "Image File(*.cd)|*",
                      wxFD_SAVE);
    if (save.ShowModal() != wxID_OK || save.GetPath().empty()) {
      Warn("No selection made");
      return;
    }
    path = save.GetPath().utf8_string();
  }
  CreateImageCommand(*reader_, path);
}

void CMainFrame::OpenImageCmd(std::string path) {
  if (path.empty()) {
    wxFileDialog open(this, "Open CDROM Image from", wxEmptyString, wxEmptyString, "Image File(*.cd)|*.cd", wxFD_OPEN);
    if (open.ShowModal() != wxID_OK || open.GetPath().empty()) {
      Warn("Improper Selection Made");
      return;
    }
    path = open.GetPath().utf8_string();
  }
  OpenImageCommand(*reader_, path);
  imagePath_ = path;
  imageIsDevice_ = reader_->device && reader_->device->Path() == path;
  if (!CdApp().fileMaskApplied) mask_ = CdFileMask();
}

void CMainFrame::Recover(int mode, std::string destination) {
  recoverMode_ = mode;
  if (destination.empty()) {
    destination = controls::ChooseDestination(this,
                                              imaging ? "Select the Destination folder for Saving Image File"
                                                      : "Select the Destination folder for Saving Files",
                                              kDestinationEntry);
    if (destination.empty()) return;
  }
  const wxString saved = wxGetCwd();
  RecoverFiles(*reader_, destination, mode);
  wxSetWorkingDirectory(saved);
}

void CMainFrame::RemoveFileFilterCmd() { RemoveFileFilter(*reader_); }

void CMainFrame::SelectAllCmd() { SelectAll(*reader_); }

void CMainFrame::UnselectAllCmd() { UnselectAll(*reader_); }

void CMainFrame::StopCmd() { StopCommand(*reader_); }

void CMainFrame::FindNextCmd() { leftView_->FindNextItem(); }

void CMainFrame::GoUp() {
  const controls::TreeItem caret = tree_->GetSelection();
  if (caret == controls::kNoItem) return;
  const controls::TreeItem parent = tree_->GetParent(caret);
  if (parent == controls::kNoItem) return;
  tree_->Expand(parent);
  tree_->Select(parent);
}

void CMainFrame::Arrange(int column) {
  CdAppState& app = CdApp();
  list_->SetHotItem(controls::kNoRow);
  app.sortToggle = app.sortToggle ? 0 : 1;
  app.sortAscending = app.sortToggle;
  app.userSorted = 1;
  app.sortColumn = column;
  if (app.contentsShown) SetSortImage(column, app.sortAscending);
  if (column < 2) {
    listView_->SortTextItems(column, app.sortAscending != 0);
  } else {
    listView_->SortNumericItems(column, app.sortAscending != 0);
  }
}

void CMainFrame::SetViewStyle(controls::ListViewStyle style) {
  if (list_->Window() != nullptr) list_->SetViewStyle(style);
}

void CMainFrame::ClearLog() {
  log_->Clear();
  CdApp().logHasRows = 0;
  logRows_ = 0;
}

void CMainFrame::SaveLog(std::string path) {
  if (path.empty()) {
    path = controls::ChooseLogPath(this, "Quarvel Velnora CD.txt");
    if (path.empty()) return;
  }
  controls::SaveLogReport(path, CdLogReport(log_->Rows()), {"File Creation Error", "File Write Error", "Quarvel Velnora CD"});
}

void CMainFrame::HelpTopics() {
  controls::ShowHelpContents(help_, this, "Quarvel Velnora CDROM", QV_CD_HELP_DIR, "Quarvel Velnora CD.hhp");
}

void CMainFrame::About() {
  CAboutDlg about(this);
  about.ShowModal();
}

}  // namespace cd::app
