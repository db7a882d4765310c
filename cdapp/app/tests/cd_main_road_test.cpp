// The main roads of CD in a real window (under Xvfb) on the ISO fixtures: the drive chosen when the
// first menu opens, scans, marks from the tree and the list, recovery, image files, damaged discs,
// Stop and closing while busy. Modal dialogs are answered through the test hook.
#include <wx/bmpcbox.h>
#include <wx/filedlg.h>
#include <wx/html/helpfrm.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "cd_dialogs.h"
#include "controls/wx/notice_dialogs.h"
#include "cd_gui_support.h"
#include "file_size_limit.h"
#include "cdengine/recovery.h"
#include "cdcore/cd_texts.h"
#include "real_input.h"

#include <ctime>

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;

// Picks drive ROW in Select Drive and presses OK.
class ExpectDrive : public wxExpectModalBase<CSelectDriveDlg, ExpectDrive> {
 public:
  explicit ExpectDrive(int row) : row_(row) {}

 protected:
  int OnInvoked(CSelectDriveDlg* dlg) const override {
    wxBitmapComboBox* combo = dlg->Combo();
    combo->SetSelection(row_);
    wxCommandEvent picked(wxEVT_COMBOBOX, combo->GetId());
    picked.SetInt(row_);
    picked.SetEventObject(combo);
    combo->HandleWindowEvent(picked);
    return wxID_OK;
  }

 private:
  int row_;
};

wxMenu* MenuNamed(wxFrame* frame, const char* title) {
  wxMenuBar* bar = frame->GetMenuBar();
  return bar->GetMenu(bar->FindMenu(title));
}

bool MenuEnabled(wxFrame* frame, int command) { return frame->GetMenuBar()->IsEnabled(CdWxId(command)); }

// A left click at P on WINDOW, as the control would receive it.
void Click(wxWindow* window, int x, int y) {
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.SetPosition({x, y});
  down.SetEventObject(window);
  window->GetEventHandler()->ProcessEvent(down);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.SetPosition({x, y});
  up.SetEventObject(window);
  window->GetEventHandler()->ProcessEvent(up);
  Pump(50);
}

// A file dialog: its title and proposed name are checked, then it is cancelled.
class ExpectFileCancelled : public wxExpectModalBase<wxFileDialog, ExpectFileCancelled> {
 public:
  ExpectFileCancelled(std::string title, std::string name) : title_(std::move(title)), name_(std::move(name)) {}

 protected:
  int OnInvoked(wxFileDialog* dlg) const override {
    EXPECT_EQ(dlg->GetMessage().utf8_string(), title_);
    EXPECT_EQ(dlg->GetFilename().utf8_string(), name_);
    return wxID_CANCEL;
  }

 private:
  std::string title_, name_;
};

using MainRoad = CdWindow;

TEST_F(MainRoad, FirstMenuChoosesAndOpensTheDriveOnce) {
  const fs::path joliet = kFixtures / "joliet.iso";
  SetDrives((kFixtures / "deep.iso").string() + ":" + joliet.string());
  wxTEST_DIALOG(frame->OnInitMenuPopup(MenuNamed(frame, "Drive")), ExpectDrive(1));
  EXPECT_EQ(CdApp().driveOpened, 1);
  EXPECT_EQ(CdApp().selectedDrive, 1);
  ASSERT_EQ(frame->Reader().drivePaths.size(), 2u);
  ASSERT_TRUE(frame->Reader().device);
  // The next menu asks nothing; the rules grey what needs a scanned disc.
  {
    NoDialogs none;
    frame->OnInitMenuPopup(MenuNamed(frame, "File"));
  }
  EXPECT_FALSE(MenuEnabled(frame, kCdCmdRecoverAll));
  EXPECT_FALSE(MenuEnabled(frame, kCdCmdRecoverSelected));
  EXPECT_TRUE(MenuEnabled(frame, kCdCmdOpenDrive));
  // Open Drive scans the chosen drive.
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process"));
  EXPECT_NE(Node("sector1.bin"), nullptr);
  {
    NoDialogs none;
    frame->OnInitMenuPopup(MenuNamed(frame, "File"));
  }
  EXPECT_TRUE(MenuEnabled(frame, kCdCmdRecoverAll));
  EXPECT_FALSE(MenuEnabled(frame, kCdCmdRecoverSelected));
}

TEST_F(MainRoad, OpenDriveScansTheDiscIntoTreeListAndPanes) {
  // A cancelled prompt scans nothing and leaves the drive unlocked.
  SetDrives((kFixtures / "joliet.iso").string());
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process", wxID_CANCEL));
  EXPECT_EQ(frame->LeftView().NodeCount(), 0u);
  EXPECT_EQ(frame->Reader().mediaLockTaken, 0u);

  OpenDisc(kFixtures / "joliet.iso");
  const CdAppState& app = CdApp();
  EXPECT_EQ(app.contentsShown, 1);
  EXPECT_EQ(app.scanUnderWay, 0);
  EXPECT_EQ(frame->busy, 0);
  EXPECT_EQ(frame->Bar(), nullptr);
  EXPECT_EQ(frame->Reader().mediaLockTaken, 1u);
  // 13 entries and Root.
  EXPECT_EQ(frame->LeftView().NodeCount(), 14u);
  EXPECT_EQ(frame->Tree().GetItemText(frame->Tree().GetSelection()), "Root");
  std::set<std::string> rows;
  for (int r = 0; r < frame->List().GetItemCount(); ++r) rows.insert(frame->List().GetItemText(r, 0));
  EXPECT_EQ(rows, (std::set<std::string>{"archive.tar.gz", "data", "docs", "empty", "one.bin", "sector.bin",
                                         "sector1.bin", "zero.bin"}));
  EXPECT_TRUE(frame->GetStatusBar()->GetStatusText(1).StartsWith("   Total 3 MB in 9 Files in 4 Folders"))
      << frame->GetStatusBar()->GetStatusText(1);
  // Go Up from a folder selects its parent.
  frame->Tree().Select(Node("notes")->treeItem);
  frame->GoUp();
  EXPECT_EQ(frame->Tree().GetSelection(), Node("docs")->treeItem);
  EXPECT_EQ(frame->List().GetItemCount(), 2);
  // The toolbar follows the update rules when the program is idle.
  frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  wxToolBar* bar = frame->GetToolBar();
  EXPECT_TRUE(bar->GetToolEnabled(CdWxId(kCdCmdGoUp)));
  EXPECT_TRUE(bar->GetToolEnabled(CdWxId(kCdCmdRecoverAll)));
  EXPECT_FALSE(bar->GetToolEnabled(CdWxId(kCdCmdRecoverSelected)));
  EXPECT_FALSE(bar->GetToolEnabled(CdWxId(kCdCmdStop)));
  frame->Tree().Select(frame->Tree().GetRoot());
  frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_FALSE(bar->GetToolEnabled(CdWxId(kCdCmdGoUp)));
}

TEST_F(MainRoad, MarksFromTreeAndListRecoverSelectedAndClear) {
  OpenDisc(kFixtures / "joliet.iso");
  controls::WxTreeControl& tree = frame->Tree();
  // The box of "docs" in the tree marks the folder and all below it.
  tree.Expand(tree.GetRoot());
  Pump(50);
  controls::TreeRect box;
  ASSERT_TRUE(tree.GetStateIconRect(Node("docs")->treeItem, box));
  Click(tree.Window(), box.x + box.width / 2, box.y + box.height / 2);
  EXPECT_EQ(tree.GetStateImage(Node("docs")->treeItem), controls::kStateChecked);
  EXPECT_EQ(Node("todo.doc")->mark, 1);
  EXPECT_EQ(tree.GetStateImage(tree.GetRoot()), controls::kStatePartly);
  // The box of "one.bin" in the list (Root shown).
  controls::WxListControl& list = frame->List();
  const int row = list.FindItem(controls::kNoRow, "one.bin");
  ASSERT_NE(row, controls::kNoRow);
  controls::ListRect rowBox;
  ASSERT_TRUE(list.GetStateIconRect(row, rowBox));
  Click(list.ItemWindow(), rowBox.x + rowBox.width / 2, rowBox.y + rowBox.height / 2);
  EXPECT_EQ(list.GetStateImage(row), controls::kListStateChecked);
  EXPECT_EQ(Node("one.bin")->mark, 1);
  EXPECT_EQ(CdApp().somethingMarked, 1);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2).ToStdString().rfind("   Marked ", 0), 0u);
  EXPECT_EQ(frame->markedFiles, 4u);  // one.bin, readme.txt, todo.doc, README

  frame->Recover(kRecoverMarked, work.string());
  const auto got = Files(work / "Root");
  const auto basic = Files(kFixtures / "basic");
  EXPECT_EQ(got.size(), 4u);
  for (const char* name : {"one.bin", "docs/readme.txt", "docs/notes/todo.doc", "docs/notes/README"}) {
    ASSERT_EQ(got.count(name), 1u) << name;
    EXPECT_EQ(got.at(name), basic.at(name)) << name;
  }
  // The marks are gone from the tree, the list and the nodes.
  EXPECT_EQ(tree.GetStateImage(Node("docs")->treeItem), controls::kStateUnchecked);
  EXPECT_EQ(Node("todo.doc")->mark, 0);
  EXPECT_EQ(list.GetStateImage(list.FindItem(controls::kNoRow, "one.bin")), controls::kListStateUnchecked);
  EXPECT_EQ(CdApp().recovering, 0);
}

// A click on the check box of ITEM in the tree window.
void ClickTreeBox(controls::WxTreeControl& tree, controls::TreeItem item) {
  controls::TreeRect box;
  ASSERT_TRUE(tree.GetStateIconRect(item, box));
  Click(tree.Window(), box.x + box.width / 2, box.y + box.height / 2);
}

TEST_F(MainRoad, FoldersNamedRootAreFolders) {
  // /Root/f, /Root/sub/g, /docs/a.txt, /docs/Root/a.txt
  OpenDisc(kFixtures / "rootnamed.iso");
  controls::WxTreeControl& tree = frame->Tree();
  const TreeItemNode* top = nullptr;
  const TreeItemNode* nested = nullptr;
  for (const auto& n : frame->LeftView().Nodes()) {
    if (n.name == "Root" && n.treeItem != tree.GetRoot()) (n.parentKey == 0 ? top : nested) = &n;
  }
  ASSERT_NE(top, nullptr);
  ASSERT_NE(nested, nullptr);
  tree.Expand(tree.GetRoot());
  tree.Expand(Node("docs")->treeItem);
  Pump(50);
  // The top-level Root: its subtree is marked, the tree's root becomes partly checked, and of the
  // list's rows (the root's) only its own changes.
  ClickTreeBox(tree, top->treeItem);
  EXPECT_EQ(tree.GetStateImage(Node("sub")->treeItem), controls::kStateChecked);
  EXPECT_EQ(Node("g")->mark, 1);
  EXPECT_EQ(tree.GetStateImage(tree.GetRoot()), controls::kStatePartly);
  controls::WxListControl& list = frame->List();
  EXPECT_EQ(list.GetStateImage(list.FindItem(controls::kNoRow, "docs")), controls::kListStateUnchecked);
  // The nested Root makes docs partly checked.
  ClickTreeBox(tree, nested->treeItem);
  EXPECT_EQ(tree.GetStateImage(Node("docs")->treeItem), controls::kStatePartly);
  EXPECT_EQ(frame->markedFiles, 3u);
  // Go Up works from a folder named Root.
  tree.Select(nested->treeItem);
  frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
  EXPECT_TRUE(frame->GetToolBar()->GetToolEnabled(CdWxId(kCdCmdGoUp)));

  // Paths with a digest of their bytes.
  auto digests = [](const fs::path& root) {
    std::map<std::string, std::size_t> out;
    for (const auto& [path, bytes] : Files(root)) out[path] = std::hash<std::string>{}(bytes);
    return out;
  };
  const auto source = digests(kFixtures / "rootnamed");
  auto want = source;
  want.erase("docs/a.txt");
  fs::create_directories(work / "selected");
  fs::create_directories(work / "all");
  frame->Recover(kRecoverMarked, (work / "selected").string());
  EXPECT_EQ(digests(work / "selected" / "Root"), want);
  frame->Recover(kRecoverAll, (work / "all").string());
  EXPECT_EQ(digests(work / "all" / "Root"), source);
  EXPECT_EQ(frame->Reader().filesSaved, 4u);
}

// links.iso: a/x.txt and b/x.txt are one file (hard links), a/e and b/e empty files; each pair
// shares an extent. Real clicks on b's boxes mark b's entries, and Recover Selected writes them.
TEST_F(MainRoad, EntriesSharingAnExtentAreMarkedAndRecoveredWhereTicked) {
  OpenDisc(kFixtures / "links.iso");
  const TreeItemNode* a = Node("a");
  const TreeItemNode* b = Node("b");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  auto entry = [&](const TreeItemNode* folder, const std::string& name) -> const TreeItemNode* {
    for (const auto& n : frame->LeftView().Nodes()) {
      if (n.parentKey == folder->key && n.name == name) return &n;
    }
    return nullptr;
  };
  ASSERT_NE(entry(a, "x.txt"), nullptr);
  ASSERT_EQ(entry(a, "x.txt")->key, entry(b, "x.txt")->key);
  ASSERT_EQ(entry(a, "e")->key, entry(b, "e")->key);

  frame->Tree().Select(b->treeItem);
  Pump(50);
  controls::WxListControl& list = frame->List();
  for (const char* name : {"x.txt", "e"}) {
    const int row = list.FindItem(controls::kNoRow, name);
    ASSERT_NE(row, controls::kNoRow) << name;
    controls::ListRect box;
    ASSERT_TRUE(list.GetStateIconRect(row, box));
    guitest::ClickAt(list.ItemWindow(), false, {box.x + box.width / 2, box.y + box.height / 2});
    EXPECT_EQ(list.GetStateImage(row), controls::kListStateChecked) << name;
  }
  for (const char* name : {"x.txt", "e"}) {
    EXPECT_EQ(entry(b, name)->mark, 1) << name;
    EXPECT_EQ(entry(a, name)->mark, 0) << name;
  }
  EXPECT_EQ(frame->Tree().GetStateImage(b->treeItem), controls::kStateChecked);
  EXPECT_EQ(frame->Tree().GetStateImage(a->treeItem), controls::kStateUnchecked);
  EXPECT_EQ(frame->markedFiles, 2u);

  frame->Recover(kRecoverMarked, work.string());
  std::set<std::string> written;
  for (const auto& [path, bytes] : Files(work / "Root")) written.insert(path);
  EXPECT_EQ(written, (std::set<std::string>{"b/e", "b/x.txt"}));
  EXPECT_TRUE(ReadFile(work / "Root/b/x.txt") == ReadFile(kFixtures / "links/b/x.txt"));
  EXPECT_EQ(entry(b, "x.txt")->mark, 0);
  EXPECT_EQ(frame->Log()->Rows().back().text, "Saved 2 Files in 2 Dirs");
}

TEST_F(MainRoad, RecoverAllGivesTheWholeDiscAndSelectAllShowsTheTotal) {
  OpenDisc(kFixtures / "joliet.iso");
  frame->SelectAllCmd();
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2), "   Marked 3 MB in 9 Files in 4 Folders");
  for (int r = 0; r < frame->List().GetItemCount(); ++r) {
    EXPECT_EQ(frame->List().GetStateImage(r), controls::kListStateChecked);
  }
  frame->UnselectAllCmd();
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2), "   Marked 0 Bytes in 0 Files in 0 Folders");
  frame->Recover(kRecoverAll, (work / "").string());  // a trailing '/' still gives one Root
  EXPECT_EQ(Files(work / "Root"), Files(kFixtures / "basic"));
  EXPECT_TRUE(fs::is_directory(work / "Root" / "empty"));
  EXPECT_EQ(CdApp().logHasRows, 1);
}

TEST_F(MainRoad, CreateImageThenOpenImageAndRecoverFromIt) {
  // The drive is a copy of the disc, spoilt once the image is made, so that recovery can only have
  // read the image.
  const fs::path drive = work / "drive.iso";
  fs::copy_file(kFixtures / "joliet.iso", drive);
  OpenDisc(drive);
  frame->CreateImageCmd((work / "disc").string());
  ASSERT_TRUE(fs::exists(work / "disc.cd"));
  EXPECT_EQ(fs::file_size(work / "disc.cd"), fs::file_size(drive) + 2048);
  EXPECT_EQ(frame->imaging, 0);
  EXPECT_EQ(CdApp().processRunning, 0);
  EXPECT_EQ(frame->imageCreated, 1);
  {
    std::ofstream spoil(drive, std::ios::binary | std::ios::trunc);
  }
  // A file that is no image is refused.
  wxTEST_DIALOG(frame->OpenImageCmd(drive.string()), ExpectMessage("Invalid Image File Selected"));
  wxTEST_DIALOG(frame->OpenImageCmd((work / "disc.cd").string()), ExpectMessage("Insert CDROM To Start Process"));
  EXPECT_EQ(frame->LeftView().NodeCount(), 14u);
  EXPECT_EQ(CdApp().imageOpening, 0);
  fs::create_directories(work / "out");
  frame->Recover(kRecoverAll, (work / "out").string());
  const auto got = Files(work / "out" / "Root");
  const auto basic = Files(kFixtures / "basic");
  for (const auto& [name, bytes] : basic) {
    ASSERT_EQ(got.count(name), 1u) << name;
    EXPECT_TRUE(got.at(name) == bytes) << name;
  }
  EXPECT_EQ(got.size(), basic.size());
  // A menu leaves the image the device; Open Drive goes back to the (now empty) drive.
  {
    NoDialogs none;
    frame->OnInitMenuPopup(MenuNamed(frame, "File"));
  }
  EXPECT_EQ(frame->Reader().device->Path(), (work / "disc.cd").string());
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process", wxID_CANCEL));
  EXPECT_EQ(frame->Reader().device->Path(), (work / "disc.cd").string());
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process"),
                ExpectMessage("No files or folders found on the CDROM"));
  EXPECT_EQ(frame->Reader().device->Path(), drive.string());
  EXPECT_EQ(frame->LeftView().NodeCount(), 0u);
}

TEST_F(MainRoad, ARefusedImageLeavesNoTreeWithoutEntries) {
  const fs::path plain = work / "plain.cd";
  fs::copy_file(kFixtures / "joliet.iso", plain);  // an ISO image without the image file's trailer
  const auto basic = Files(kFixtures / "basic");
  // Scanned from the drive: the scan stays whole, marks and all, and still recovers the disc.
  OpenDisc(kFixtures / "joliet.iso");
  frame->SelectAllCmd();
  const wxString total = frame->GetStatusBar()->GetStatusText(1);
  wxTEST_DIALOG(frame->OpenImageCmd(plain.string()), ExpectMessage("Invalid Image File Selected"));
  EXPECT_EQ(frame->LeftView().NodeCount(), 14u);
  ASSERT_NE(Node("todo.doc"), nullptr);
  EXPECT_EQ(Node("todo.doc")->mark, 1);
  EXPECT_EQ(frame->Tree().GetStateImage(Node("notes")->treeItem), controls::kStateChecked);
  EXPECT_EQ(frame->List().GetItemCount(), 8);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), total);
  fs::create_directories(work / "drive");
  frame->Recover(kRecoverMarked, (work / "drive").string());
  EXPECT_EQ(Files(work / "drive" / "Root"), basic);

  // Scanned from an image: a refused file sends the device back to the drive, and that scan goes
  // with its tree, list, marks and panes; nothing is left to mark or recover.
  frame->CreateImageCmd((work / "disc").string());
  wxTEST_DIALOG(frame->OpenImageCmd((work / "disc.cd").string()), ExpectMessage("Insert CDROM To Start Process"));
  ASSERT_EQ(frame->LeftView().NodeCount(), 14u);
  frame->SelectAllCmd();
  wxTEST_DIALOG(frame->OpenImageCmd(plain.string()), ExpectMessage("Invalid Image File Selected"));
  EXPECT_EQ(frame->Reader().device->Path(), (kFixtures / "joliet.iso").string());
  EXPECT_EQ(frame->LeftView().NodeCount(), 0u);
  EXPECT_EQ(frame->Tree().GetRoot(), controls::kNoItem);
  EXPECT_EQ(frame->List().GetItemCount(), 0);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), "   Total 0 Bytes in 0 Files in 0 Folders");
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(2), "   Marked 0 Bytes in 0 Files in 0 Folders");
  EXPECT_EQ(CdApp().somethingMarked, 0);
  EXPECT_EQ(CdApp().contentsShown, 0);
  {
    NoDialogs none;
    frame->OnInitMenuPopup(MenuNamed(frame, "File"));
  }
  EXPECT_FALSE(MenuEnabled(frame, kCdCmdRecoverAll));
  EXPECT_FALSE(MenuEnabled(frame, kCdCmdRecoverSelected));
}

TEST_F(MainRoad, DamagedDiscsAreReadThroughThePathTables) {
  // The Joliet root zeroed: the folders come from the path tables, the root's own files are lost.
  for (const char* image : {"rootzero.iso", "monly.iso"}) {
    SCOPED_TRACE(image);
    OpenDisc(kFixtures / image);
    for (const char* folder : {"docs", "notes", "data", "empty"}) EXPECT_NE(Node(folder), nullptr) << folder;
    const fs::path out = work / image;
    fs::create_directories(out);
    frame->Recover(kRecoverAll, out.string());
    const auto got = Files(out / "Root");
    const auto basic = Files(kFixtures / "basic");
    for (const char* name : {"docs/readme.txt", "docs/notes/todo.doc", "data/big.dat"}) {
      ASSERT_EQ(got.count(name), 1u) << name;
      EXPECT_EQ(got.at(name), basic.at(name)) << name;
    }
  }
}

TEST_F(MainRoad, StopEndsAScanAtItsNextStep) {
  frame->CallAfter([this] { frame->StopCmd(); });
  OpenDisc(kFixtures / "many.iso");
  EXPECT_LT(frame->LeftView().NodeCount(), 10000u);
  EXPECT_EQ(frame->Bar(), nullptr);
  EXPECT_EQ(frame->busy, 0);
  EXPECT_EQ(CdApp().processRunning, 0);
  EXPECT_EQ(CdApp().scanUnderWay, 0);
  EXPECT_EQ(CdApp().contentsShown, 1);
  // What was listed stays usable.
  {
    NoDialogs none;
    frame->OnInitMenuPopup(MenuNamed(frame, "File"));
  }
  EXPECT_TRUE(MenuEnabled(frame, kCdCmdRecoverAll));
  EXPECT_TRUE(MenuEnabled(frame, kCdCmdOpenDrive));
}

TEST_F(MainRoad, ClosingIsRefusedWhileAScanRuns) {
  bool closed = true;
  frame->CallAfter([&] {
    closed = frame->Close();
    frame->StopCmd();
  });
  SetDrives((kFixtures / "many.iso").string());
  wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process"),
                ExpectMessage("Stop Current Process before closing"));
  EXPECT_FALSE(closed);
  EXPECT_TRUE(frame->IsShown());
  EXPECT_GT(frame->LeftView().NodeCount(), 1u);
}

TEST_F(MainRoad, ProcessLogSavesItsReportAndClears) {
  OpenDisc(kFixtures / "joliet.iso");
  frame->Recover(kRecoverAll, work.string());
  ASSERT_GT(frame->Log()->List()->GetItemCount(), 0);
  frame->SaveLog((work / "report").string());
  const std::string report = ReadFile(work / "report.Txt");
  EXPECT_EQ(report.rfind("---------------Message Log Report of Quarvel Velnora CD---------------\r\n\r\n", 0), 0u);
  EXPECT_NE(report.find("Process Completed"), std::string::npos);
  frame->SaveLog((work / "run.log").string());
  EXPECT_EQ(ReadFile(work / "run.log"), report);
  // A report that cannot be written whole (the disk fills) is reported, and no part of it is left.
  {
    guitest::FileSizeLimit full(64);
    wxTEST_DIALOG(frame->SaveLog((work / "full").string()), ExpectMessage("File Write Error"));
  }
  EXPECT_FALSE(fs::exists(work / "full.Txt"));
  frame->ClearLog();
  EXPECT_EQ(frame->Log()->List()->GetItemCount(), 0);
  EXPECT_EQ(CdApp().logHasRows, 0);
}

TEST_F(MainRoad, FileMaskNarrowsTheTreeAndFindNextGoesOn) {
  OpenDisc(kFixtures / "joliet.iso");
  // Find: the first README (case ignored) is shown; Find Next finds no other and says so.
  wxTEST_DIALOG(frame->FindCmd(), Act<CFindDlg>([](CFindDlg* dlg) { TypeAndOk(dlg, 1003, "readme"); }));
  EXPECT_EQ(CdApp().findNext, 1);
  EXPECT_EQ(frame->Tree().GetSelection(), Node("notes")->treeItem);
  EXPECT_EQ(frame->List().GetItemText(frame->List().GetHotItem(), 0), "README");
  wxTEST_DIALOG(frame->FindNextCmd(), ExpectMessage("No More Entries Are Available"));
  EXPECT_EQ(CdApp().findNext, 0);

  // File Mask "*.txt": only the .txt files and the folders on their way remain, and Recover All
  // writes just those.
  wxTEST_DIALOG(frame->FileMaskCmd(), Act<CFileMaskDlg>([](CFileMaskDlg* dlg) { TypeAndOk(dlg, 1011, "*.txt;"); }),
                wxExpectDismissableModal<controls::CWaitDlg>(wxID_CANCEL).Describe("the wait notice"));
  EXPECT_EQ(CdApp().fileMaskApplied, 1);
  EXPECT_NE(Node("readme.txt"), nullptr);
  EXPECT_EQ(Node("todo.doc"), nullptr);
  EXPECT_EQ(Node("data"), nullptr);
  frame->Recover(kRecoverAll, work.string());
  EXPECT_EQ(Files(work / "Root"),
            (std::map<std::string, std::string>{{"docs/readme.txt", ReadFile(kFixtures / "basic/docs/readme.txt")}}));
  // A new scan drops the mask.
  OpenDisc(kFixtures / "joliet.iso");
  EXPECT_EQ(CdApp().fileMaskApplied, 0);
  EXPECT_NE(Node("todo.doc"), nullptr);
}

TEST_F(MainRoad, CancelledFileDialogsOfTheImageAndLogCommands) {
  OpenDisc(kFixtures / "joliet.iso");
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  const std::string name = CdDefaultImageName(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
  wxTEST_DIALOG(frame->CreateImageCmd(), ExpectFileCancelled("Save Image to File", name),
                ExpectMessage("No selection made"));
  wxTEST_DIALOG(frame->OpenImageCmd(), ExpectFileCancelled("Open CDROM Image from", ""),
                ExpectMessage("Improper Selection Made"));
  // Save Process Log cancelled writes nothing and says nothing.
  wxTEST_DIALOG(frame->SaveLog(), ExpectFileCancelled("Save Log To File", "Quarvel Velnora CD.txt"));
  EXPECT_TRUE(fs::is_empty(work));
  frame->SaveLog((work / "Quarvel Velnora CD.txt").string());
  EXPECT_TRUE(fs::exists(work / "Quarvel Velnora CD.txt.Txt"));
}

TEST_F(MainRoad, HelpTopicsOpensTheBook) {
  frame->HelpTopics();
  Pump();
  bool shown = false;
  for (wxWindow* w : wxTopLevelWindows) {
    if (auto* help = dynamic_cast<wxHtmlHelpFrame*>(w)) shown |= help->IsShown();
  }
  EXPECT_TRUE(shown);
}

TEST_F(MainRoad, KeysTheFrameDiscardsAndEnterInTheList) {
  OpenDisc(kFixtures / "joliet.iso");
  controls::WxListControl& list = frame->List();
  list.Window()->SetFocus();
  Pump(50);
  if (wxWindow::FindFocus() != list.Window() && wxWindow::FindFocus() != list.ItemWindow()) {
    GTEST_SKIP() << "the list did not get the focus";
  }
  auto press = [&](int key) {
    wxKeyEvent hook(wxEVT_CHAR_HOOK);
    hook.m_keyCode = key;
    hook.SetEventObject(wxWindow::FindFocus());
    const bool handled = frame->GetEventHandler()->ProcessEvent(hook);
    return handled && !hook.GetSkipped();
  };
  EXPECT_TRUE(press(WXK_ESCAPE));
  EXPECT_TRUE(press(WXK_F3));  // no Find has matched yet
  EXPECT_FALSE(press('A'));
  // Enter opens the selected folder row although the frame discards the key.
  list.SetSelected(list.FindItem(controls::kNoRow, "docs"), true);
  EXPECT_TRUE(press(WXK_RETURN));
  EXPECT_EQ(frame->Tree().GetSelection(), Node("docs")->treeItem);
  CdApp().findNext = 1;
  EXPECT_FALSE(press(WXK_F3));
}

TEST_F(MainRoad, ArrangeAlternatesTheDirection) {
  OpenDisc(kFixtures / "joliet.iso");
  frame->Arrange(2);  // by size, ascending
  controls::WxListControl& list = frame->List();
  EXPECT_EQ(list.GetItemText(list.GetItemCount() - 1, 0), "sector1.bin");
  frame->Arrange(0);  // by name, now descending
  EXPECT_EQ(list.GetItemText(0, 0), "zero.bin");
  EXPECT_EQ(list.Header().GetSortColumn(), 0);
  frame->SetViewStyle(controls::ListViewStyle::List);
  EXPECT_EQ(list.GetViewStyle(), controls::ListViewStyle::List);
  EXPECT_EQ(list.GetItemText(0, 0), "zero.bin");
}

}  // namespace
