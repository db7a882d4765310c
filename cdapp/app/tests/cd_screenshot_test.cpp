// Pictures of CD for review: the main window after a scan, the About box, the start-up picture and
// every dialog, written as PNGs into the build's screenshot folder.
#include <wx/aui/aui.h>
#include <wx/bmpcbox.h>
#include <wx/textctrl.h>

#include "cd_about_dlg.h"
#include "cd_dialogs.h"
#include "cd_gui_support.h"
#include "cd_images.h"
#include "controls/wx/notice_dialogs.h"
#include "help_shown.h"
#include "window_shot.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;
using guitest::ShootModal;

const fs::path kShots = QV_SCREENSHOT_DIR;

using Screenshots = CdWindow;

TEST_F(Screenshots, MainWindowAndDialogs) {
  fs::create_directories(kShots);
  SetDrives((kFixtures / "joliet.iso").string() + ":" + (kFixtures / "deep.iso").string());
  wxTEST_DIALOG(frame->OnInitMenuPopup(nullptr), ShootModal<CSelectDriveDlg>(kShots, "cd_select_drive", wxID_OK));
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process"));
  Pump();
  ASSERT_GT(frame->LeftView().NodeCount(), 1u);
  // The "docs" folder open, a file marked, and its row found.
  for (const auto& n : frame->LeftView().Nodes()) {
    if (n.name == "docs") frame->Tree().Select(n.treeItem);
  }
  frame->ListView().SetItemCheckState(CdCheckRows::Named, controls::kStateChecked, "readme.txt", 0);
  frame->Recover(1, work.string());
  Pump(200);
  EXPECT_GT(frame->List().GetItemCount(), 0);
  EXPECT_GT(frame->Log()->List()->GetItemCount(), 0);
  EXPECT_TRUE(guitest::Shoot(frame, kShots, "cd_main_window"));

  wxTEST_DIALOG(frame->About(), ShootModal<CAboutDlg>(kShots, "cd_about", wxID_OK));
  EXPECT_TRUE(CdSplashPicture().SaveFile(wxString((kShots / "cd_splash.png").string()), wxBITMAP_TYPE_PNG));
  wxTEST_DIALOG(frame->AddFileFilterCmd(), ShootModal<CFileFilterDlg>(kShots, "cd_add_file_filter", wxID_CANCEL));
  wxTEST_DIALOG(frame->FileMaskCmd(), ShootModal<CFileMaskDlg>(kShots, "cd_file_mask", wxID_CANCEL));
  wxTEST_DIALOG(frame->FindCmd(), ShootModal<CFindDlg>(kShots, "cd_find", wxID_CANCEL));
  wxTEST_DIALOG(frame->RunOverwriteDialog(), ShootModal<COverwriteDlg>(kShots, "cd_imp_note", wxID_CANCEL));
  frame->busy = 0;
}

}  // namespace

namespace {

TEST_F(Screenshots, HelpTopics) {
  fs::create_directories(kShots);
  frame->HelpTopics();
  Pump(300);
  wxHtmlHelpWindow* help = guitest::ShownHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(guitest::Shoot(wxGetTopLevelParent(help), kShots, "cd_help_topics"));
  guitest::CloseHelp();
}

}  // namespace


namespace {

TEST_F(Screenshots, TheListInEachStyle) {
  fs::create_directories(kShots);
  OpenDisc(kFixtures / "joliet.iso");
  for (const auto& n : frame->LeftView().Nodes()) {
    if (n.name == "docs") frame->Tree().Select(n.treeItem);
  }
  Pump();
  ASSERT_GT(frame->List().GetItemCount(), 1);
  const std::pair<controls::ListViewStyle, const char*> styles[] = {
      {controls::ListViewStyle::List, "cd_list_style_list"},
      {controls::ListViewStyle::SmallIcon, "cd_list_style_small_icons"},
      {controls::ListViewStyle::Icon, "cd_list_style_large_icons"},
      {controls::ListViewStyle::Report, "cd_list_style_details_again"}};
  for (const auto& [style, name] : styles) {
    frame->SetViewStyle(style);
    Pump();
    EXPECT_TRUE(guitest::Shoot(frame, kShots, name)) << name;
  }
}

}  // namespace
