// The small dialogs' texts, control ids and the decisions each button writes.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

#include "linux_gui_support.h"
#include "linuxcore/command_states.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

wxString LabelOf(wxDialog* dlg, int id) {
  wxWindow* w = dlg->FindWindow(id);
  EXPECT_NE(w, nullptr) << "no control " << id << " in " << dlg->GetTitle();
  return w != nullptr ? w->GetLabel() : wxString();
}

// Looks at the dialog, then ends it as the button ID would; a button id must name a control.
class Press : public wxExpectModalBase<wxDialog, Press> {
 public:
  explicit Press(int id, std::function<void(wxDialog*)> look = {}) : id_(id), look_(std::move(look)) {}

 protected:
  int OnInvoked(wxDialog* dlg) const override {
    if (look_) look_(dlg);
    if (id_ != wxID_CANCEL) {
      EXPECT_NE(dlg->FindWindow(id_), nullptr) << id_;
    }
    return id_;
  }

 private:
  int id_;
  std::function<void(wxDialog*)> look_;
};

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    App().Reset();
    dir = fs::temp_directory_path() / ("qv_dialogs_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(Dialogs, FileAlreadyExistsWritesOneDecisionPerButton) {
  WriteFile(dir / "a.txt", "x");
  WriteFile(dir / "Copy_12_a.txt", "x");
  // Button, its text, and the decision it sets in the order Skip All, Overwrite All, Rename All,
  // Skip, OverWrite, Rename.
  const struct {
    int id;
    const char* text;
    FileExistsDecision decision;
  } buttons[] = {{1017, "Skip All", FileExistsDecision::SkipAll},   {1010, "Overwrite All", FileExistsDecision::OverwriteAll},
                 {1019, "Rename All", FileExistsDecision::RenameAll}, {1009, "Skip", FileExistsDecision::Skip},
                 {1011, "OverWrite", FileExistsDecision::Overwrite}, {wxID_OK, "Rename", FileExistsDecision::Rename}};
  AppState& app = App();
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.text);
    wxTEST_DIALOG(RunFileExistsDlg(nullptr, dir.string(), "a.txt", 12), Press(b.id, [&](wxDialog* dlg) {
                    EXPECT_EQ(dlg->GetTitle(), "File Already Exists");
                    EXPECT_EQ(LabelOf(dlg, b.id), b.text);
                    EXPECT_EQ(LabelOf(dlg, 1015), "a.txt");
                    auto* edit = wxDynamicCast(dlg->FindWindow(1016), wxTextCtrl);
                    ASSERT_NE(edit, nullptr);
                    EXPECT_EQ(edit->GetValue(), "Copy1_12_a.txt");
                    edit->ChangeValue("b.txt");
                  }));
    EXPECT_EQ(app.fileExists, b.decision);
  }
  EXPECT_STREQ(app.newName, "b.txt");
  // Esc or the close box keeps the decision of the previous file.
  wxTEST_DIALOG(RunFileExistsDlg(nullptr, dir.string(), "a.txt", 12), Press(wxID_CANCEL));
  EXPECT_EQ(app.fileExists, FileExistsDecision::Rename);
}

TEST_F(Dialogs, ScanFileExistsRenameAddsTheExtension) {
  const std::string path = (dir / "x.DAT").string();
  WriteFile(path, "x");
  AppState& app = App();
  const struct {
    int id;
    const char* text;
    ScanFileExistsDecision decision;
  } buttons[] = {{1011, "Overwrite", ScanFileExistsDecision::Overwrite},
                 {1021, "Cancel", ScanFileExistsDecision::Cancel},
                 {wxID_OK, "Rename", ScanFileExistsDecision::Rename}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.text);
    wxTEST_DIALOG(RunScanFileExistsDlg(nullptr, path, 0, 0), Press(b.id, [&](wxDialog* dlg) {
                    EXPECT_EQ(dlg->GetTitle(), "File already exists");
                    EXPECT_EQ(LabelOf(dlg, b.id), b.text);
                    EXPECT_EQ(LabelOf(dlg, 1022), path);
                    auto* edit = wxDynamicCast(dlg->FindWindow(1020), wxTextCtrl);
                    ASSERT_NE(edit, nullptr);
                    EXPECT_EQ(edit->GetValue(), (dir / "HardDrv0_LogDrv0_Scan").string());
                  }));
    EXPECT_EQ(app.scanFileExists, b.decision);
  }
  EXPECT_EQ(std::string(app.newName), (dir / "HardDrv0_LogDrv0_Scan.DAT").string());
}

TEST_F(Dialogs, CautionAndConfirmationTexts) {
  const struct {
    CautionKind kind;
    const char* caption;
    const char* line1;
  } cautions[] = {{CautionKind::LostFilesHint, "Caution", "If you are unable to find the lost file(s) and folder(s) in the displayed tree"},
                  {CautionKind::SameDriveOverwrite, "Caution", "Saving files on to the same logical drive that contains your lost data"},
                  {CautionKind::CannotExit, "Quarvel Velnora Linux", "Can not exit"},
                  {CautionKind::LongProcess, "Caution", "This process may take long time that depends upon the disk size"}};
  for (const auto& c : cautions) {
    wxTEST_DIALOG(RunCautionDlg(nullptr, c.kind), Press(wxID_OK, [&](wxDialog* dlg) {
                    EXPECT_EQ(dlg->GetTitle(), c.caption);
                    EXPECT_EQ(LabelOf(dlg, kCautionLine1Id).utf8_string(), c.line1);
                    EXPECT_FALSE(LabelOf(dlg, kCautionLine2Id).empty());
                  }));
  }
  auto lines = [](const char* one, const char* two) {
    return [=](wxDialog* dlg) {
      EXPECT_EQ(dlg->GetTitle(), "Quarvel Velnora Linux");
      EXPECT_EQ(LabelOf(dlg, kConfirmLine1Id), one);
      EXPECT_EQ(LabelOf(dlg, kConfirmLine2Id), two);
      EXPECT_EQ(LabelOf(dlg, wxID_OK), "Yes");
      EXPECT_EQ(LabelOf(dlg, wxID_NO), "No");
    };
  };
  bool yes = false;
  wxTEST_DIALOG(
      yes = RunConfirmDlg(nullptr, ConfirmKind::SaveScanInformation),
      Press(wxID_OK, lines("Save Drive Scan Information ?",
                           "(Click YES if you wish to resume recovery of this logical drive at a later stage)")));
  EXPECT_TRUE(yes);
  // Esc and the close box answer No.
  wxTEST_DIALOG(
      yes = RunConfirmDlg(nullptr, ConfirmKind::StopProcess),
      Press(wxID_CANCEL, lines("Stop current process ?",
                               "(This process cannot be resumed from current state and has to be restarted)")));
  EXPECT_FALSE(yes);
}

}  // namespace

namespace {

// The About box, opened from the Help menu, has a caption with a close box that ends it.
class ExpectAboutWithCaption : public wxExpectModalBase<wxDialog, ExpectAboutWithCaption> {
 protected:
  int OnInvoked(wxDialog* dlg) const override {
    EXPECT_EQ(dlg->GetTitle(), "About Quarvel Velnora Linux");
    EXPECT_TRUE(dlg->HasFlag(wxCAPTION));
    EXPECT_TRUE(dlg->HasFlag(wxCLOSE_BOX));
    EXPECT_TRUE(gtk_window_get_decorated(GTK_WINDOW(dlg->GetHandle())));
    EXPECT_TRUE(gtk_window_get_deletable(GTK_WINDOW(dlg->GetHandle())));
    return wxID_OK;
  }
};

class AboutBox : public WorkbenchTest {};

TEST_F(AboutBox, HasACaptionAndACloseBox) {
  wxCommandEvent about(wxEVT_MENU, WxId(kIdAbout));
  wxTEST_DIALOG(frame->ProcessWindowEvent(about), ExpectAboutWithCaption());
}

}  // namespace
