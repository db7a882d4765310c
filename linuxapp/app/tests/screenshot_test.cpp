// Pictures of the workbench for review: the main window after a scan, every dialog, and the log
// pane floating, written as PNGs into the screenshot folder of the build.
#include <gtest/gtest.h>
#include <wx/aui/aui.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/testing.h>
#include <wx/treectrl.h>

#include <filesystem>
#include <functional>
#include <string>

#include "controls/wx/notice_dialogs.h"
#include "controls/wx/pane_caption.h"
#include "criteria_dialogs.h"
#include "app_images.h"
#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "controls/wx/pane_caption.h"
#include "linux_gui_support.h"
#include "help_shown.h"
#include "linuxcore/command_states.h"
#include "main_frame.h"
#include "settings_dialog.h"
#include "window_shot.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace fs = std::filesystem;

namespace {

using namespace guitest;
using namespace ext2::testing;

const fs::path kShots = QV_SCREENSHOT_DIR;

template <class T>
T* FindChild(wxWindow* parent) {
  for (wxWindow* child : parent->GetChildren()) {
    if (auto* hit = dynamic_cast<T*>(child)) return hit;
    if (T* hit = FindChild<T>(child)) return hit;
  }
  return nullptr;
}

class Screenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(kShots);
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(PathListDiskSource({QV_SAMPLE_DISK}));
    frame = new CMainFrame();
    frame->Show();
    Pump();
  }
  void TearDown() override {
    frame->busyFlag = 0;
    App().scanSaved = 1;
    frame->Close(true);
    Pump();
    SetDiskSource(nullptr);
  }
  CMainFrame* frame = nullptr;
};

TEST_F(Screenshots, MainWindowDialogsAndFloatingLog) {
  // The road to a scanned drive, each dialog pictured on the way.
  wxTEST_DIALOG(frame->SelectPhysicalDisk(), ShootModal<CSelectPhysicalDiskDlg>(kShots, "select_physical_disk", wxID_OK),
                ShootModal<CChoiceOfTwoDlg>(kShots, "select_appropriate_action", wxID_OK),
                ShootModal<CSelectLogicalDriveDlg>(kShots, "select_logical_drive", wxID_OK,
                                                   [](CSelectLogicalDriveDlg* d) { d->SelectRow(1); }),
                ShootModal<>(kShots, "caution", wxID_OK));
  Pump();
  ASSERT_TRUE(App().currentDrive);

  // Deleted entries too, so that the tree shows its pseudo-folders.
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(), wxExpectDismissableModal<wxDialog>(wxID_OK));
  auto* tree = FindChild<wxTreeCtrl>(frame);
  ASSERT_NE(tree, nullptr);
  tree->ExpandAll();
  std::uint32_t folder = 0;
  std::size_t most = 0;
  for (const auto& f : frame->LeftView()->Entries()) {
    if (!f.IsFolder()) continue;
    std::size_t n = 0;
    for (const auto& e : frame->LeftView()->Entries()) n += e.parentInode == f.inode && !e.IsFolder();
    if (n > most) {
      most = n;
      folder = f.inode;
    }
  }
  ASSERT_TRUE(frame->LeftView()->SelectEntry(folder));
  Pump();
  EXPECT_GT(frame->ListView()->List().GetItemCount(), 0);
  EXPECT_GT(frame->Log()->List()->GetItemCount(), 4);
  EXPECT_TRUE(Shoot(frame, kShots, "main_window"));

  // The dialogs that no road of this disk opens.
  wxTEST_DIALOG(RunSelectSearchTypeDlg(frame), ShootModal<CChoiceOfTwoDlg>(kShots, "select_search_type", wxID_OK));
  wxTEST_DIALOG(RunConfirmDlg(frame, ConfirmKind::StopProcess), ShootModal<>(kShots, "confirm_stop", wxID_CANCEL));
  wxTEST_DIALOG(RunFileExistsDlg(frame, "/tmp/dest/#Root/docs", "notes.txt", 14),
                ShootModal<>(kShots, "file_already_exists", wxID_CANCEL));
  wxTEST_DIALOG(RunScanFileExistsDlg(frame, "/tmp/Quarvel Velnora Linux Scan.DAT", 0, 1),
                ShootModal<>(kShots, "scan_file_exists", wxID_CANCEL));
  wxTEST_DIALOG(RunAboutDlg(frame), ShootModal<>(kShots, "about", wxID_OK));
  wxTEST_DIALOG(
      {
        controls::CSplashDlg splash(nullptr, ProgramPicture(wxSize(326, 231)), controls::kVelnoraSplashTime);
        splash.ShowModal();
      },
      ShootModal<controls::CSplashDlg>(kShots, "splash", wxID_CANCEL));

  // The log pane torn off into a window of its own.
  wxAuiManager* aui = wxAuiManager::GetManager(frame);
  ASSERT_NE(aui, nullptr);
  wxAuiPaneInfo& log = aui->GetPane("log");
  log.FloatingPosition(40, 40).FloatingSize(700, 260);
  controls::CPaneCaption* caption = controls::CPaneCaption::Of(frame->Log());
  ASSERT_NE(caption, nullptr);
  caption->ToggleDocking();
  Pump(200);
  ASSERT_NE(log.frame, nullptr);
  EXPECT_TRUE(Shoot(log.frame, kShots, "log_floating"));
  EXPECT_TRUE(Shoot(frame, kShots, "main_window_log_floating"));
}

}  // namespace

namespace {

// The menu command ID of FRAME, as the menu sends it.
void Command(CMainFrame* frame, int id) {
  wxCommandEvent e(wxEVT_MENU, WxId(id));
  frame->ProcessWindowEvent(e);
}

TEST_F(Screenshots, CriteriaAndSettingsDialogsAndAMaskedTree) {
  wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), ExpectRow<CSelectLogicalDriveDlg>(0),
                wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  ASSERT_TRUE(App().currentDrive);

  wxTEST_DIALOG(Command(frame, kCmdAddFileFilter),
                ShootModal<CFileFilterDlg>(kShots, "add_file_filter", wxID_CANCEL, [](CFileFilterDlg* d) {
                  auto* edit = wxDynamicCast(d->FindWindow(kIdFilterText), wxTextCtrl);
                  for (const char* p : {"*.txt", "report*.*"}) {
                    edit->SetValue(p);
                    wxCommandEvent add(wxEVT_BUTTON, kIdAddToList);
                    d->FindWindow(kIdAddToList)->HandleWindowEvent(add);
                  }
                  edit->SetValue("*.c");
                }));
  wxTEST_DIALOG(Command(frame, kCmdFind), ShootModal<CFindDlg>(kShots, "find", wxID_CANCEL, [](CFindDlg* d) {
                  wxDynamicCast(d->FindWindow(kIdFindText), wxTextCtrl)->SetValue("todo.txt");
                }));
  wxTEST_DIALOG(RunAdvanceSettingsDlg(frame, (kShots / "Velnora.cfg").string()),
                ShootModal<CAdvanceSettingsDlg>(kShots, "advance_settings", wxID_CANCEL));
  // The mask dialog with "Date" and the days period chosen, then applied.
  wxTEST_DIALOG(Command(frame, kCmdFileMask),
                ShootModal<CFileMaskDlg>(kShots, "file_mask", wxID_OK,
                                         [](CFileMaskDlg* d) {
                                           wxDynamicCast(d->FindWindow(kIdMaskText), wxTextCtrl)->SetValue("*.txt;*.c");
                                           auto* date = wxDynamicCast(d->FindWindow(kIdDateCheck), wxCheckBox);
                                           date->SetValue(true);
                                           wxCommandEvent click(wxEVT_CHECKBOX, kIdDateCheck);
                                           click.SetInt(1);
                                           date->HandleWindowEvent(click);
                                         }),
                wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL));
  Pump();
  ASSERT_TRUE(frame->LeftView()->HasUnmaskedList());
  auto* tree = FindChild<wxTreeCtrl>(frame);
  ASSERT_NE(tree, nullptr);
  tree->ExpandAll();
  std::uint32_t src = 0;
  for (const auto& e : frame->LeftView()->Entries()) {
    if (e.IsFolder() && e.name == "src") src = e.inode;
  }
  ASSERT_TRUE(frame->LeftView()->SelectEntry(src));
  Pump();
  EXPECT_TRUE(Shoot(frame, kShots, "main_window_masked"));
}

}  // namespace

namespace {

TEST_F(Screenshots, TheListInEachStyle) {
  wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), ExpectRow<CSelectLogicalDriveDlg>(0),
                wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  ASSERT_GT(frame->ListView()->List().GetItemCount(), 2);
  const std::pair<int, const char*> styles[] = {{kIdList, "list_style_list"},
                                                {kIdSmallIcons, "list_style_small_icons"},
                                                {kIdLargeIcons, "list_style_large_icons"},
                                                {kIdDetails, "list_style_details_again"}};
  for (const auto& [id, name] : styles) {
    Command(frame, id);
    Pump();
    EXPECT_TRUE(Shoot(frame, kShots, name)) << name;
  }
}

}  // namespace

namespace {

TEST_F(Screenshots, HelpTopics) {
  frame->HelpTopics();
  Pump(300);
  wxHtmlHelpWindow* help = ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(Shoot(wxGetTopLevelParent(help), kShots, "help_topics"));
  CloseHelp();
}

}  // namespace

