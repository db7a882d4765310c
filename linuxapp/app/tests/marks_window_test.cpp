// The marks, the Total and Marked panes and Recover Selected in the real window (under Xvfb), with
// Select All and the menus' rules through the real menus and real keys.
#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/testing.h>
#include <wx/uiaction.h>

#include <stdexcept>
#include <string>

#include "controls/wx/message_box.h"
#include "criteria_dialogs.h"
#include "controls/wx/notice_dialogs.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/recovery.h"
#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "linuxcore/size_text.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

// Types TEXT as the File Mask and presses OK.
class TypeMask : public wxExpectModalBase<CFileMaskDlg, TypeMask> {
 public:
  explicit TypeMask(std::string text) : text_(std::move(text)) {}

 protected:
  int OnInvoked(CFileMaskDlg* dlg) const override {
    dynamic_cast<wxTextCtrl*>(dlg->FindWindow(kIdMaskText))->SetValue(text_);
    PressButton(dlg, wxID_OK);
    return dlg->GetReturnCode();
  }

 private:
  std::string text_;
};

// Adds the include pattern PATTERN in Add FileFilter.
class AddInclude : public wxExpectModalBase<CFileFilterDlg, AddInclude> {
 public:
  explicit AddInclude(std::string pattern) : pattern_(std::move(pattern)) {}

 protected:
  int OnInvoked(CFileFilterDlg* dlg) const override {
    dynamic_cast<wxTextCtrl*>(dlg->FindWindow(kIdFilterText))->SetValue(pattern_);
    PressButton(dlg, kIdAddToList);
    PressButton(dlg, kIdInclude);
    return dlg->GetReturnCode();
  }

 private:
  std::string pattern_;
};

class MarksInTheWindow : public WorkbenchTest {
 protected:
  // The menu command ID, as the menu sends it.
  void Command(int id) {
    wxCommandEvent e(wxEVT_MENU, WxId(id));
    frame->ProcessWindowEvent(e);
  }

  wxWindow* TreeWindow() { return dynamic_cast<controls::WxTreeControl&>(frame->LeftView()->Tree()).Window(); }

  // Alt+MENU opens a menu of the menu bar, as a user would.
  void OpenMenu(int menu) { PressKey(TreeWindow(), menu, wxMOD_ALT); }

  // Alt+MENU, then the item's mnemonic ITEM: the command runs from the open menu.
  void MenuCommand(int menu, int item) {
    OpenMenu(menu);
    wxUIActionSimulator sim;
    sim.Char(item);
    Settle(300);
  }

  // Whether the item COMMAND shows enabled in its open menu (mnemonic MENU); Esc closes it again.
  bool ShownEnabled(int menu, int command) {
    OpenMenu(menu);
    const bool enabled = frame->GetMenuBar()->IsEnabled(WxId(command));
    wxUIActionSimulator sim;
    sim.Char(WXK_ESCAPE);
    Settle(150);
    return enabled;
  }

  std::string Pane(int pane) { return frame->GetStatusBar()->GetStatusText(pane).utf8_string(); }

  // The files of the tree's list: their bytes and count.
  std::pair<std::uint64_t, long> ListedFiles() {
    std::uint64_t bytes = 0;
    long files = 0;
    for (const ListedEntry& e : frame->LeftView()->Entries()) {
      if (e.IsFolder()) continue;
      bytes += e.size;
      ++files;
    }
    return {bytes, files};
  }
  long ListedFolders() {
    long folders = 0;
    for (const ListedEntry& e : frame->LeftView()->Entries()) folders += e.IsFolder() ? 1 : 0;
    return folders;
  }

  // A real click on the check box of the tree item of the folder NAME directly in Root.
  void ClickFolderBox(const std::string& name) {
    CLeftView& view = *frame->LeftView();
    controls::TreeItem item = controls::kNoItem;
    for (const ListedEntry& e : view.Entries()) {
      if (e.IsFolder() && e.name == name && e.parentInode == kRootInode) item = e.treeItem;
    }
    ASSERT_NE(item, controls::kNoItem) << name;
    controls::TreeRect box;
    ASSERT_TRUE(view.Tree().GetStateIconRect(item, box)) << name;
    ClickAt(TreeWindow(), false, wxPoint(box.x + box.width / 2, box.y + box.height / 2));
  }
};

TEST_F(MarksInTheWindow, TotalAndMarkedCountTheDeletedFilesBytesAfterTheSearchAndAfterAScanFile) {
  OpenDrive(1);
  {
    ModalAnswers answers({[](wxDialog* dlg) { PressButton(dlg, wxID_OK); }});  // caution 3
    MenuCommand('t', 's');  // Search Deleted and Lost Files and Folders
    Settle(500);
    ASSERT_EQ(answers.Done(), 1u);
  }
  ASSERT_EQ(App().deletedAndLostSearched, 1);
  auto expectBothPanesCountEveryFile = [&](const char* when) {
    MenuCommand('t', 'a');  // Select All
    const auto [bytes, files] = ListedFiles();
    const CLinuxDrive& drive = *App().currentDrive;
    EXPECT_EQ(drive.files, static_cast<std::uint32_t>(files)) << when;
    EXPECT_EQ(Pane(1), FormatSizeText(bytes, files, drive.folders, false)) << when;
    EXPECT_EQ(Pane(2), FormatSizeText(bytes, files, ListedFolders(), true)) << when;
    std::uint64_t deletedBytes = 0;
    for (const ListedEntry& e : frame->LeftView()->Entries()) deletedBytes += e.deleted != 0 ? e.size : 0;
    EXPECT_GT(deletedBytes, 0u) << when;
  };
  expectBothPanesCountEveryFile("after the search");

  const fs::path scan = dest / "drive2";
  frame->SaveScanInformation(scan.string());
  ASSERT_TRUE(fs::exists(scan.string() + ".DAT"));
  frame->OpenUsingScanInformation(scan.string() + ".DAT");
  Pump();
  ASSERT_EQ(App().scanned, 1);
  expectBothPanesCountEveryFile("after Open Using Scan Information");
}

TEST_F(MarksInTheWindow, SelectAllUnderAMaskMarksWhatRecoverSelectedWritesAndTheRulesFollowTheMarks) {
  OpenDrive(0);
  ClickFolderBox("docs");  // marked before the mask
  wxTEST_DIALOG(Command(kCmdFileMask), TypeMask("*.txt"),
                wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
  Pump();
  CLeftView& tree = *frame->LeftView();
  ASSERT_TRUE(tree.HasUnmaskedList());

  // Root shows what the masked tree holds: docs checked, some other folder not.
  bool allChecked = true;
  for (const ListedEntry& e : tree.Entries()) {
    if (e.IsFolder()) continue;
    allChecked &= e.check == 1;
  }
  EXPECT_EQ(tree.Tree().GetStateImage(tree.RootItem()), allChecked ? controls::kStateChecked : controls::kStatePartly);

  MenuCommand('t', 'a');  // Select All
  const auto [bytes, files] = ListedFiles();
  ASSERT_GT(files, 1);
  EXPECT_EQ(Pane(2), FormatSizeText(bytes, files, ListedFolders(), true));
  EXPECT_EQ(App().currentDrive->BytesToRecover(kRecoverMarked), bytes);
  EXPECT_FALSE(ShownEnabled('t', kIdSelectAll));
  EXPECT_TRUE(ShownEnabled('t', kIdUnselectAll));

  wxTEST_DIALOG(frame->Recover(kRecoverMarked, dest.string()), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution"));
  Pump();
  std::uint64_t written = 0;
  const auto recovered = Files(dest / "#Root");
  for (const auto& [path, content] : recovered) {
    EXPECT_EQ(fs::path(path).extension(), ".txt") << path;
    written += content.size();
  }
  EXPECT_EQ(static_cast<long>(recovered.size()), files);
  EXPECT_EQ(written, bytes);

  // Nothing is marked now: Select All has work again, Unselect All has none.
  EXPECT_EQ(Pane(2), FormatSizeText(0, 0, 0, true));
  EXPECT_TRUE(ShownEnabled('t', kIdSelectAll));
  EXPECT_FALSE(ShownEnabled('t', kIdUnselectAll));
  EXPECT_FALSE(ShownEnabled('f', kCmdRecoverSelected));

  // Everything marked, then another drive opened: its tree has no mark.
  MenuCommand('t', 'a');
  ASSERT_FALSE(ShownEnabled('t', kIdSelectAll));
  App().scanSaved = 1;
  OpenDrive(1);
  EXPECT_EQ(Pane(2), FormatSizeText(0, 0, 0, true));
  EXPECT_TRUE(ShownEnabled('t', kIdSelectAll));
  EXPECT_FALSE(ShownEnabled('t', kIdUnselectAll));
  EXPECT_FALSE(ShownEnabled('f', kCmdRecoverSelected));
}

TEST_F(MarksInTheWindow, RecoverSelectedKeepsTheMarksOfFilesTheFiltersLeaveOutForTheNextRecovery) {
  OpenDrive(0);
  ClickFolderBox("docs");
  ClickFolderBox("photos");
  wxTEST_DIALOG(Command(kCmdAddFileFilter), AddInclude("*.txt"));
  CLeftView& tree = *frame->LeftView();
  auto folder = [&](const std::string& name) -> const ListedEntry& {
    for (const ListedEntry& e : tree.Entries()) {
      if (e.IsFolder() && e.name == name && e.parentInode == kRootInode) return e;
    }
    throw std::runtime_error("no folder " + name);
  };
  long leftOut = 0;
  for (const ListedEntry& e : tree.Entries()) {
    leftOut += !e.IsFolder() && e.check == 1 && fs::path(e.name).extension() != ".txt" ? 1 : 0;
  }
  ASSERT_GT(leftOut, 0);

  const fs::path first = dest / "first";
  fs::create_directories(first);
  wxTEST_DIALOG(frame->Recover(kRecoverMarked, first.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  const auto written = Files(first / "#Root");
  ASSERT_FALSE(written.empty());
  for (const auto& [path, bytes] : written) EXPECT_EQ(path.rfind("docs/", 0), 0u) << path;
  EXPECT_FALSE(fs::exists(first / "#Root/photos")) << "a folder the filter left empty";
  // The files left out are still marked, and the screen says so.
  long stillMarked = 0;
  for (const ListedEntry& e : tree.Entries()) {
    if (e.IsFolder()) continue;
    stillMarked += e.check == 1 ? 1 : 0;
    if (e.check == 1) {
      EXPECT_NE(fs::path(e.name).extension(), ".txt") << e.name;
    }
  }
  EXPECT_EQ(stillMarked, leftOut);
  EXPECT_NE(tree.Tree().GetStateImage(folder("photos").treeItem), controls::kStateUnchecked);
  EXPECT_EQ(tree.Tree().GetStateImage(tree.RootItem()), controls::kStatePartly);
  int folders = 0, files = 0;
  const std::uint64_t bytes = tree.CountMarked(&folders, &files);
  EXPECT_EQ(Pane(2), FormatSizeText(bytes, files, folders, true));
  int rows = 0;
  const std::string row = std::to_string(leftOut) + " marked file(s) left out by the file filters, still marked";
  for (const auto& r : frame->Log()->Rows()) rows += r.text == row;
  EXPECT_EQ(rows, 1);
  EXPECT_TRUE(ShownEnabled('f', kCmdRecoverSelected));

  // Without the filter the same marks bring the rest back.
  Command(kIdRemoveFileFilter);
  const fs::path retry = dest / "retry";
  fs::create_directories(retry);
  wxTEST_DIALOG(frame->Recover(kRecoverMarked, retry.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  EXPECT_EQ(static_cast<long>(Files(retry / "#Root").size()), leftOut);
  EXPECT_TRUE(fs::exists(retry / "#Root/photos"));
  for (const ListedEntry& e : tree.Entries()) EXPECT_EQ(e.check, 0) << e.name;
}

// Replaces the text of the edit ID of DLG by TEXT with real keys: a click into it, Ctrl+A, then
// the characters (or Backspace for an empty text).
void TypeInto(wxDialog* dlg, int id, const std::string& text) {
  wxWindow* edit = dlg->FindWindow(id);
  ClickAt(edit);
  wxUIActionSimulator keys;
  keys.Char('a', wxMOD_CONTROL);
  Settle(60);
  if (text.empty()) {
    keys.Char(WXK_BACK);
  } else {
    keys.Text(text.c_str());
  }
  Settle();
}

TEST_F(MarksInTheWindow, FileMaskAppliesExactlyTheWholeMegabytesTheSizeBoxesShowOrKeepsTheDialogOpen) {
  OpenDrive(0);
  const std::string fromRefused = "\"Size from\" needs a whole number of MB";
  const std::string uptoRefused = "\"upto\" needs a whole number of MB";
  bool stayedOpen = true;
  ModalAnswers answers({[&](wxDialog* dlg) {
    auto okRefused = [&](const std::string& text) {
      wxTEST_DIALOG(ClickAt(dlg->FindWindow(wxID_OK)), ExpectMessage(text));
      stayedOpen &= dlg->IsModal();
    };
    ClickAt(dlg->FindWindow(kIdSizeFromCheck));
    TypeInto(dlg, kIdSizeFromEdit, "1.5");
    okRefused(fromRefused);
    TypeInto(dlg, kIdSizeFromEdit, "3");
    TypeInto(dlg, kIdSizeFromEdit, "");  // emptied: its last value is not what it shows
    okRefused(fromRefused);
    TypeInto(dlg, kIdSizeFromEdit, "2");
    ClickAt(dlg->FindWindow(kIdSizeUptoCheck));
    TypeInto(dlg, kIdSizeUptoEdit, "");
    okRefused(uptoRefused);
    TypeInto(dlg, kIdSizeUptoEdit, "40");
    ClickAt(dlg->FindWindow(wxID_OK));
  }});
  Command(kCmdFileMask);
  Settle(800);  // the wait notice closes itself
  ASSERT_EQ(answers.Done(), 1u);
  EXPECT_TRUE(stayedOpen);
  const FileMaskCriteria& c = App().mask;
  EXPECT_EQ(c.bySizeFrom, 1);
  EXPECT_EQ(c.sizeFrom, 2);
  EXPECT_EQ(c.bySizeUpto, 1);
  EXPECT_EQ(c.sizeUpto, 40);
  ASSERT_TRUE(frame->LeftView()->HasUnmaskedList());
  for (const ListedEntry& e : frame->LeftView()->Entries()) {
    if (!e.IsFolder()) {
      EXPECT_GE(e.size, 2 * kMegabyte) << e.name;
      EXPECT_LE(e.size, 40 * kMegabyte) << e.name;
    }
  }
}

}  // namespace
