// The main roads of the workbench in a real window (under Xvfb): disk, partition table, logical
// drive, tree, marks, recovery; the modal dialogs answered through the test hook.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/evtloop.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/testing.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "controls/wx/message_box.h"
#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/drive_search.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "file_size_limit.h"
#include "linux_gui_support.h"
#include "controls/list_sort.h"
#include "linuxcore/command_states.h"
#include "linuxcore/log_report.h"
#include "main_frame.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace fs = std::filesystem;

namespace {

using namespace guitest;
using namespace ext2::testing;


// Picks the first (1) or second (0) radio button of a two-way choice and presses OK.
class ExpectChoice : public wxExpectModalBase<CChoiceOfTwoDlg, ExpectChoice> {
 public:
  explicit ExpectChoice(int answer) : answer_(answer) {}

 protected:
  int OnInvoked(CChoiceOfTwoDlg* dlg) const override {
    auto* button = wxDynamicCast(dlg->FindWindow(answer_ == 1 ? 1001 : 1002), wxRadioButton);
    EXPECT_NE(button, nullptr);
    if (button != nullptr) {
      button->SetValue(true);
      wxCommandEvent click(wxEVT_RADIOBUTTON, button->GetId());
      click.SetEventObject(button);
      button->HandleWindowEvent(click);
    }
    EXPECT_EQ(dlg->Answer(), answer_);
    return wxID_OK;
  }

 private:
  int answer_;
};

// A dialog of ours that shows the line TEXT, answered with ANSWER.
class ExpectLine : public wxExpectModalBase<wxDialog, ExpectLine> {
 public:
  ExpectLine(std::string text, int answer) : text_(std::move(text)), answer_(answer) {}

 protected:
  int OnInvoked(wxDialog* dlg) const override {
    bool found = false;
    for (wxWindow* child : dlg->GetChildren()) {
      if (auto* line = dynamic_cast<wxStaticText*>(child)) found |= line->GetLabel().utf8_string() == text_;
    }
    EXPECT_TRUE(found) << dlg->GetTitle() << " lacks \"" << text_ << "\"";
    return answer_;
  }

 private:
  std::string text_;
  int answer_;
};

// Cancels the folder dialog after checking its title.
class CancelFolder : public wxExpectModalBase<wxDirDialog, CancelFolder> {
 protected:
  int OnInvoked(wxDirDialog* dlg) const override {
    EXPECT_EQ(dlg->GetMessage(), "Select the Destination folder for Saving Files");
    return wxID_CANCEL;
  }
};

// The first sector and the sector count of partition entry INDEX of the MBR in BYTES.
std::pair<std::uint32_t, std::uint32_t> PartitionEntry(const std::string& bytes, int index) {
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
  };
  const std::size_t entry = 446 + 16 * index;
  return {u32(entry + 8), u32(entry + 12)};
}

class MainRoad : public WorkbenchTest {
 protected:
  // The same partition dumped by debugfs, the independent reader.
  fs::path Dump(const std::string& inside, int partition) {
    const fs::path out = dest / ("oracle" + std::to_string(partition));
    fs::create_directories(out);
    const std::uint32_t start = LogicalDrives().Drives()[partition].firstSector;
    const std::string cmd = "debugfs -R 'rdump \"" + inside + "\" " + out.string() + "' '" + QV_SAMPLE_DISK +
                            "?offset=" + std::to_string(std::uint64_t{start} * 512) + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return out;
  }

  // How many log rows have TEXT in its activity, text or status.
  int Logged(const std::string& text) const {
    int n = 0;
    for (const auto& r : frame->Log()->Rows()) n += r.activity == text || r.text == text || r.status == text;
    return n;
  }

  // A process has ended and left the window ready for the next command.
  void ExpectIdle() const {
    EXPECT_EQ(App().processRunning, 0);
    EXPECT_EQ(App().recovering, 0);
    EXPECT_EQ(frame->busyFlag, 0);
  }
};

TEST_F(MainRoad, PartitionTableToTreeThenMarksAndRecoverSelected) {
  OpenDrive(0);
  AppState& app = App();
  ASSERT_TRUE(app.currentDrive);
  EXPECT_EQ(app.scanned, 1);
  CLeftView& tree = *frame->LeftView();
  ASSERT_GT(tree.Entries().size(), 5u);
  EXPECT_EQ(tree.Entries()[0].name, "Root");
  EXPECT_GT(frame->Log()->List()->GetItemCount(), 4);
  EXPECT_EQ(Logged("Physical disk #1 selected"), 1);
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1).rfind("   Total ", 0), 0u);

  // A folder's check box in the tree, then one file's in the list.
  std::uint32_t docs = 0;
  for (const auto& e : tree.Entries()) {
    if (e.IsFolder() && e.name == "docs" && e.parentInode == kRootInode) docs = e.inode;
  }
  ASSERT_NE(docs, 0u);
  ASSERT_TRUE(tree.SelectEntry(kRootInode));
  controls::TreeItem docsItem = controls::kNoItem;
  for (const auto& e : tree.Entries()) {
    if (e.inode == docs) docsItem = e.treeItem;
  }
  tree.ClickStateIcon(docsItem);
  Pump();
  EXPECT_EQ(app.marked, 1);
  EXPECT_GT(frame->markedFiles, 0);

  // One file of another folder from the list's check box.
  std::uint32_t projects = 0;
  for (const auto& e : tree.Entries()) {
    if (e.IsFolder() && e.name == "projects" && e.parentInode == kRootInode) projects = e.inode;
  }
  ASSERT_TRUE(tree.SelectEntry(projects));
  Pump();
  controls::ListControl& list = frame->ListView()->List();
  int row = -1;
  for (int r = 0; r < list.GetItemCount() && row < 0; ++r) {
    if (list.GetItemText(r, 1) == "File") row = r;
  }
  ASSERT_GE(row, 0);
  const std::string listed = list.GetItemText(row, 0);
  frame->ListView()->ClickStateIcon(row);
  Pump();

  wxTEST_DIALOG(frame->Recover(kRecoverMarked, dest.string()), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution"));
  Pump();
  const fs::path oracleRoot = Dump("/", 0);
  const auto recovered = Files(dest / "#Root");
  const auto oracle = Files(oracleRoot);
  ASSERT_FALSE(recovered.empty());
  for (const auto& [path, bytes] : recovered) {
    ASSERT_TRUE(oracle.count(path)) << path;
    EXPECT_EQ(bytes, oracle.at(path)) << path;
    // debugfs rdump sets the times as stored too.
    EXPECT_EQ(fs::last_write_time(dest / "#Root" / path), fs::last_write_time(oracleRoot / path)) << path;
    EXPECT_TRUE(path.rfind("docs/", 0) == 0 || path == "projects/" + listed) << path;
  }
  EXPECT_TRUE(recovered.count("projects/" + listed));
  EXPECT_EQ(Files(dest / "#Root/docs").size(), Files(oracleRoot / "docs").size());
  // Marks cleared as recovered.
  for (const auto& e : tree.Entries()) {
    if (e.parentInode == docs && !e.IsFolder()) {
      EXPECT_EQ(e.check, 0) << e.name;
    }
  }
  EXPECT_EQ(app.processRunning, 0);
  EXPECT_EQ(frame->busyFlag, 0);
}

TEST_F(MainRoad, RecoverAllAndDeletedFromTheSecondDrive) {
  OpenDrive(1);
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution 3"));
  Pump();
  bool deletedFolder = false;
  for (const auto& e : frame->LeftView()->Entries()) deletedFolder |= e.inode == kDeletedFilesInode;
  EXPECT_TRUE(deletedFolder);

  const fs::path all = dest / "all";
  const fs::path deleted = dest / "deleted";
  fs::create_directories(all);
  fs::create_directories(deleted);
  wxTEST_DIALOG(frame->Recover(kRecoverExisting, all.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  wxTEST_DIALOG(frame->Recover(kRecoverDeleted, deleted.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  const auto existing = Files(all / "#Root");
  const auto oracle = Files(Dump("/", 1));
  ASSERT_FALSE(existing.empty());
  for (const auto& [path, bytes] : existing) {
    if (path.rfind("Lost Folder", 0) == 0) continue;
    ASSERT_TRUE(oracle.count(path)) << path;
    EXPECT_EQ(bytes, oracle.at(path)) << path;
  }
  // The four deleted files come back under "Deleted Files" with their bytes.
  EXPECT_EQ(Files(deleted / "#Root/Deleted Files").size(), 4u);
}

// The tree as (parent, inode, name) rows, for comparing two roads to the same drive.
std::set<std::tuple<std::uint32_t, std::uint32_t, std::string>> TreeRows(CLeftView& tree) {
  std::set<std::tuple<std::uint32_t, std::uint32_t, std::string>> rows;
  for (const auto& e : tree.Entries()) rows.emplace(e.parentInode, e.inode, e.name);
  return rows;
}

TEST_F(MainRoad, SearchForLogicalDrivesOnADiskWithoutPartitionTable) {
  OpenDrive(1);
  const auto expected = TreeRows(*frame->LeftView());

  // The second partition's file system alone, at sector 63 of a disk with no MBR.
  const std::string sample = ReadFile(QV_SAMPLE_DISK);
  const auto [first, count] = PartitionEntry(sample, 1);
  std::string bare(63 * 512, '\0');
  bare += sample.substr(std::size_t{first} * 512, std::size_t{count} * 512);
  bare.append(1024 * 512, '\0');
  const fs::path disk = dest / "bare.img";
  WriteFile(disk, bare);
  SetDiskSource(PathListDiskSource({disk.string()}));

  for (int type : {1, 0}) {
    SCOPED_TRACE(type == 1 ? "standard search" : "advanced search");
    App().scanSaved = 1;
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                  ExpectChoice(0), ExpectChoice(type), ExpectRow<CSelectLogicalDriveDlg>(0),
                  wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
    Pump();
    ASSERT_FALSE(LogicalDrives().Drives().empty());
    EXPECT_EQ(LogicalDrives().Drives()[0].firstSector, 63u);
    ASSERT_TRUE(App().currentDrive);
    EXPECT_EQ(App().currentDrive->firstSector, 63u);
    EXPECT_EQ(TreeRows(*frame->LeftView()), expected);
    EXPECT_EQ(Logged("Physical disk #1 selected"), type == 1 ? 2 : 3);
    ExpectIdle();
  }
}

TEST_F(MainRoad, SaveScanInformationThenOpenItInANewSessionAndRecover) {
  OpenDrive(1);
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution 3"));
  Pump();
  const auto expected = TreeRows(*frame->LeftView());
  const wxString total = frame->GetStatusBar()->GetStatusText(1);
  const fs::path scan = dest / "drive2";
  frame->SaveScanInformation(scan.string());
  ASSERT_TRUE(fs::exists(scan.string() + ".DAT"));
  EXPECT_EQ(App().scanSaved, 1);

  frame->Close(true);
  Pump();
  App().Reset();
  LogicalDrives().Clear();
  frame = new CMainFrame();
  frame->Show();
  Pump();
  frame->OpenUsingScanInformation(scan.string() + ".DAT");
  Pump();
  ASSERT_TRUE(App().currentDrive);
  EXPECT_EQ(App().scanned, 1);
  EXPECT_EQ(TreeRows(*frame->LeftView()), expected);
  // The Total after loading is the Total after the scan, the deleted files' bytes in both.
  EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), total);

  const fs::path out = dest / "out";
  fs::create_directories(out);
  wxTEST_DIALOG(frame->Recover(kRecoverExisting, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  const auto recovered = Files(out / "#Root");
  const auto oracle = Files(Dump("/", 1));
  ASSERT_FALSE(recovered.empty());
  for (const auto& [path, bytes] : oracle) {
    if (path.rfind("lost+found", 0) == 0) continue;
    ASSERT_TRUE(recovered.count(path)) << path;
    EXPECT_EQ(recovered.at(path), bytes) << path;
  }
  ExpectIdle();
}

TEST_F(MainRoad, StopAnsweredYesDuringSearchDeletedAndLost) {
  OpenDrive(1);
  // Stop is chosen from inside the process, at its first message pump; the process pumps only
  // the active event loop, as the program's main loop would be.
  wxGUIEventLoop loop;
  wxEventLoopActivator active(&loop);
  frame->CallAfter([this] { frame->Stop(); });
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(),
                wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution before the search"),
                ExpectLine("Stop current process ?", wxID_OK));
  Pump();
  EXPECT_TRUE(Logged("Process aborted, user intervention "));
  ExpectIdle();
  EXPECT_EQ(frame->abortFlag, 1);
}

TEST_F(MainRoad, ClosingWithAnUnsavedScanAsksToSave) {
  OpenDrive(0);
  ASSERT_EQ(App().scanSaved, 0);
  wxTEST_DIALOG(frame->Close(false), ExpectLine("Save Drive Scan Information ?", wxID_NO));
  EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
  EXPECT_FALSE(App().currentDrive);
  frame = nullptr;
  Pump();
}

// The rows of a disk dialog, every column, before ROW is chosen with OK.
class ExpectDiskRows : public wxExpectModalBase<CSelectPhysicalDiskDlg, ExpectDiskRows> {
 public:
  ExpectDiskRows(std::vector<std::vector<std::string>> rows, int row) : rows_(std::move(rows)), row_(row) {}

 protected:
  int OnInvoked(CSelectPhysicalDiskDlg* dlg) const override {
    std::vector<std::vector<std::string>> shown;
    for (long r = 0; r < dlg->List()->GetItemCount(); ++r) {
      shown.push_back({});
      for (int c = 0; c < 3; ++c) shown.back().push_back(dlg->List()->GetItemText(r, c).utf8_string());
    }
    EXPECT_EQ(shown, rows_);
    dlg->SelectRow(row_);
    return wxID_OK;
  }

 private:
  std::vector<std::vector<std::string>> rows_;
  int row_;
};

// A message box whose text holds each of PARTS, answered with OK.
class ExpectMessageHolding : public wxExpectModalBase<controls::CMessageBoxDlg, ExpectMessageHolding> {
 public:
  explicit ExpectMessageHolding(std::vector<std::string> parts) : parts_(std::move(parts)) {}

 protected:
  int OnInvoked(controls::CMessageBoxDlg* dlg) const override {
    const std::string text = dlg->GetMessage().utf8_string();
    for (const std::string& part : parts_) EXPECT_NE(text.find(part), std::string::npos) << text;
    return wxID_OK;
  }

 private:
  std::vector<std::string> parts_;
};

// The sample disk and a device that refuses to open, as /dev/nvme0n1 does for a user outside the
// disk group.
class RefusingDiskSource : public DiskSource {
 public:
  explicit RefusingDiskSource(std::vector<std::string> paths) : paths_(PathListDiskSource(std::move(paths))) {}
  std::unique_ptr<platform::SectorDevice> Open(unsigned index) override {
    if (index != 1) return paths_->Open(index);
    errno = EACCES;
    return nullptr;
  }
  std::string PathOf(unsigned index) override { return paths_->PathOf(index); }

 private:
  std::shared_ptr<DiskSource> paths_;
};

// Every disk is told apart in the window: an image by its file name, a device without permission by
// its model from sysfs and the reason; choosing that one says what to do, and nothing is walked.
TEST_F(MainRoad, SelectPhysicalDiskNamesEveryDiskAndSaysWhyOneDoesNotOpen) {
  const fs::path sys = dest / "sys";
  fs::create_directories(sys / "block/nvme0n1/device");
  WriteFile(sys / "block/nvme0n1/device/model", "Samsung SSD 980 1TB\n");
  WriteFile(sys / "block/nvme0n1/device/serial", "S64ANS0T123456X\n");
  ::setenv("QUARVEL_SYSFS", sys.c_str(), 1);
  SetDiskSource(std::make_shared<RefusingDiskSource>(std::vector<std::string>{QV_SAMPLE_DISK, "/dev/nvme0n1"}));
  const std::string image = fs::path(QV_SAMPLE_DISK).filename().string();

  wxTEST_DIALOG(frame->SelectPhysicalDisk(),
                ExpectDiskRows({{"HardDisk 1", image, "UNKNOWN"},
                                {"HardDisk 2", "Samsung SSD 980 1TB (Permission denied)", "S64ANS0T123456X"}},
                               1),
                ExpectMessageHolding({"HardDisk 2 (/dev/nvme0n1) cannot be opened: Permission denied.", "as root",
                                      "usermod -aG disk"}));
  Pump();
  EXPECT_EQ(Logged("Physical disk #2 selected"), 0);
  EXPECT_TRUE(LogicalDrives().Drives().empty());
  ::unsetenv("QUARVEL_SYSFS");
}

// The disk list is read each time Select Physical Disk opens, and every disk that opens is listed
// under the number of its place in the list: a path that does not open hides no disk after it, and
// the row chosen is the disk opened.
TEST_F(MainRoad, SelectPhysicalDiskListsEveryDiskThatOpensUnderItsPlace) {
  const std::string a = (dest / "a.img").string();
  WriteFile(a, std::string(1 << 20, '\0'));
  const char* before = std::getenv("QUARVEL_DISKS");
  const std::string kept = before != nullptr ? before : "";
  ::setenv("QUARVEL_DISKS", (a + ":/nonexistent:" + QV_SAMPLE_DISK).c_str(), 1);
  SetDiskSource(nullptr);  // the machine's list, from QUARVEL_DISKS

  wxTEST_DIALOG(frame->SelectPhysicalDisk(), ExpectRowNames<CSelectPhysicalDiskDlg>({"HardDisk 1", "HardDisk 3"}, 1), ExpectChoice(1),
                ExpectRow<CSelectLogicalDriveDlg>(1),
                wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
  Pump();
  EXPECT_EQ(Logged("Physical disk #3 selected"), 1);
  EXPECT_EQ(LogicalDrives().Drives().size(), 2u);
  ASSERT_TRUE(App().currentDrive);
  EXPECT_EQ(App().currentDrive->disk, kFirstPhysicalDisk + 2);
  EXPECT_GT(frame->LeftView()->Entries().size(), 5u);

  // A disk attached since is listed the next time the dialog opens.
  const std::string c = (dest / "c.img").string();
  WriteFile(c, std::string(1 << 20, '\0'));
  ::setenv("QUARVEL_DISKS", (a + ":/nonexistent:" + QV_SAMPLE_DISK + ":" + c).c_str(), 1);
  App().scanSaved = 1;
  wxTEST_DIALOG(frame->SelectPhysicalDisk(), ExpectRowNames<CSelectPhysicalDiskDlg>({"HardDisk 1", "HardDisk 3", "HardDisk 4"}, -1));

  if (before != nullptr) {
    ::setenv("QUARVEL_DISKS", kept.c_str(), 1);
  } else {
    ::unsetenv("QUARVEL_DISKS");
  }
}

// Select Logical Drive shows every row of a list of more than 255 drives, and a row past 255 opens.
TEST_F(MainRoad, SelectLogicalDriveListsAndOpensRowsPast255) {
  const auto [first, count] = PartitionEntry(ReadFile(QV_SAMPLE_DISK), 0);
  std::vector<LogicalDriveNode> drives(300, LogicalDriveNode{1, 0, 2, kLinuxPartition, 0, 0});
  drives.back() = {first, 0, first + count, kLinuxPartition, 44, 0};
  LogicalDrives().Drives() = drives;
  App().selectedDiskIndex = 0;

  std::vector<std::string> names;
  for (int row = 1; row <= 300; ++row) names.push_back("Logical Drive " + std::to_string(row));
  wxTEST_DIALOG(frame->OpenDrive(), ExpectRowNames<CSelectLogicalDriveDlg>(names, 299),
                wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
  Pump();
  EXPECT_EQ(Logged("Logical drive #300 selected"), 1);
  ASSERT_TRUE(App().currentDrive);
  EXPECT_EQ(App().currentDrive->firstSector, first);
  EXPECT_EQ(App().currentDrive->driveIndex, 299u);
  EXPECT_GT(frame->LeftView()->Entries().size(), 5u);
}

// The scan counts as saved only once a save wrote it: a file that cannot be created, or Cancel in
// the question about an existing file, leaves it unsaved, so closing still offers to save it.
TEST_F(MainRoad, ScanIsSavedOnlyWhenTheSaveWroteIt) {
  OpenDrive(0);
  ASSERT_EQ(App().scanSaved, 0);
  const std::string missing = (dest / "no-such-folder" / "scan").string();
  wxTEST_DIALOG(frame->SaveScanInformation(missing), ExpectMessage("Error creating file " + missing + ".DAT", wxID_OK));
  EXPECT_EQ(App().scanSaved, 0);
  EXPECT_EQ(Logged("Unable to save scan information"), 1);

  const std::string taken = (dest / "taken").string();
  WriteFile(taken + ".DAT", "in use");
  wxTEST_DIALOG(frame->SaveScanInformation(taken),
                wxExpectDismissableModal<wxDialog>(1021).Describe("File already exists: Cancel"));
  EXPECT_EQ(App().scanSaved, 0);
  EXPECT_EQ(ReadFile(taken + ".DAT"), "in use");

  wxTEST_DIALOG(frame->Close(false), ExpectLine("Save Drive Scan Information ?", wxID_NO));
  EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
  frame = nullptr;
  Pump();
}

TEST_F(MainRoad, BadInputIsReportedAndTheProgramGoesOn) {
  std::mt19937 random(5);
  std::string noise(2 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const fs::path noiseFile = dest / "noise.img";
  WriteFile(noiseFile, noise);

  {
    SCOPED_TRACE("an image that is not a disk");
    SetDiskSource(PathListDiskSource({noiseFile.string()}));
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                  ExpectChoice(1),
                  ExpectMessage("No valid Linux drives in partition table, search for logical drives", wxID_YES),
                  ExpectChoice(1), ExpectMessage(kSwitchToAdvancedSearchText, wxID_NO));
    Pump();
    EXPECT_TRUE(Logged("No valid Linux drives found"));
    EXPECT_EQ(App().scanned, 0);
    ExpectIdle();
  }
  {
    SCOPED_TRACE("a drive that is not ext2");
    std::string disk = ReadFile(QV_SAMPLE_DISK);
    const std::size_t super = std::size_t{PartitionEntry(disk, 0).first} * 512 + 1024;
    std::fill_n(disk.begin() + static_cast<std::ptrdiff_t>(super), 1024, '\0');
    const fs::path broken = dest / "broken.img";
    WriteFile(broken, disk);
    SetDiskSource(PathListDiskSource({broken.string()}));
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                  ExpectChoice(1), ExpectRow<CSelectLogicalDriveDlg>(0),
                  ExpectMessage(" Not A Legal Linux Logical Drive", wxID_OK));
    Pump();
    EXPECT_EQ(App().scanned, 0);
    ExpectIdle();
  }
  {
    SCOPED_TRACE("a scan file that is not one");
    frame->abortFlag = 0;
    wxTEST_DIALOG(frame->OpenUsingScanInformation(noiseFile.string()), ExpectMessage("Not a valid scan file", wxID_OK));
    EXPECT_TRUE(Logged("Not a valid file"));
    const std::string missing = (dest / "missing.DAT").string();
    wxTEST_DIALOG(frame->OpenUsingScanInformation(missing), ExpectMessage("Error opening file " + missing, wxID_OK));
    EXPECT_EQ(App().scanned, 0);
    ExpectIdle();
  }

  // The sample disk still opens, and a destination that cannot be written takes nothing.
  SetDiskSource(PathListDiskSource({QV_SAMPLE_DISK}));
  OpenDrive(0);
  ASSERT_TRUE(App().currentDrive);
  const fs::path plain = dest / "plain";
  WriteFile(plain, "a file, not a folder");
  wxTEST_DIALOG(frame->Recover(kRecoverExisting, (plain / "sub").string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  Pump();
  EXPECT_EQ(ReadFile(plain), "a file, not a folder");
  ExpectIdle();
  const fs::path out = dest / "out";
  fs::create_directories(out);
  wxTEST_DIALOG(frame->Recover(kRecoverExisting, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
  EXPECT_FALSE(Files(out / "#Root").empty());
  ExpectIdle();
}

TEST_F(MainRoad, RecoverAllWithAndWithoutDeletedEntries) {
  OpenDrive(1);
  wxTEST_DIALOG(frame->SearchDeletedAndLostCommand(),
                wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution 3"));
  Pump();
  // The menu command asks about deleted entries, then shows the caution, then asks for the folder;
  // Cancel there ends the process with nothing written.
  for (const bool withDeleted : {true, false}) {
    wxCommandEvent command(wxEVT_MENU, WxId(kCmdRecoverAll));
    wxTEST_DIALOG(
        frame->ProcessWindowEvent(command),
        ExpectMessage("Do you wish to recover deleted file(s) and folder(s) too ?", withDeleted ? wxID_YES : wxID_NO),
        wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution before the folder"), CancelFolder());
    EXPECT_EQ(frame->RecoverType(), withDeleted ? kRecoverAll : kRecoverExisting);
    ExpectIdle();
  }
  for (const std::uint8_t type : {kRecoverAll, kRecoverExisting}) {
    SCOPED_TRACE(type == kRecoverAll ? "Yes" : "No");
    const fs::path out = dest / std::to_string(type);
    fs::create_directories(out);
    wxTEST_DIALOG(frame->Recover(type, out.string()), wxExpectDismissableModal<wxDialog>(wxID_OK));
    Pump();
    ExpectIdle();
    const auto files = Files(out / "#Root");
    std::size_t deleted = 0;
    for (const auto& f : files) deleted += f.first.rfind("Deleted Files/", 0) == 0;
    EXPECT_EQ(deleted, type == kRecoverAll ? 4u : 0u);
    EXPECT_EQ(files.count("docs/notes/todo.txt"), 1u);
  }
}

TEST_F(MainRoad, SaveLogWritesTheReportAndClearLogEmptiesIt) {
  OpenDrive(0);
  ASSERT_EQ(App().logHasRows, 1);
  const auto rows = frame->Log()->Rows();
  ASSERT_GT(rows.size(), 4u);
  frame->SaveLog((dest / "report").string());
  EXPECT_EQ(ReadFile(dest / "report.Txt"), FormatLogReport(rows));
  EXPECT_EQ(ReadFile(dest / "report.Txt").rfind("-----------------Message Log Report of Quarvel Velnora Linux", 0), 0u);
  // A file that cannot be made is reported, and nothing else happens.
  wxTEST_DIALOG(frame->SaveLog((dest / "no-such-folder" / "report").string()),
                ExpectMessage("File creation error", wxID_OK));
  // A report that cannot be written whole (the disk fills) is reported, and no part of it is left.
  {
    FileSizeLimit full(64);
    wxTEST_DIALOG(frame->SaveLog((dest / "full").string()), ExpectMessage("File write error", wxID_OK));
  }
  EXPECT_FALSE(fs::exists(dest / "full.Txt"));
  frame->ClearLog();
  EXPECT_EQ(frame->Log()->List()->GetItemCount(), 0);
  EXPECT_EQ(App().logHasRows, 0);
  // The next row starts at the top again.
  EXPECT_EQ(frame->AddLogEntry("a", "b", "c", kIconEvent), 1);
}

TEST_F(MainRoad, KeyFilterSwallowsEscEnterAndFunctionKeysUntilAScan) {
  // Whether a key typed in the frame's own windows goes on after the frame's filter.
  auto passes = [this](int key) {
    wxKeyEvent typed(wxEVT_CHAR_HOOK);
    typed.m_keyCode = key;
    typed.SetEventObject(frame->Log()->List());
    frame->ProcessWindowEvent(typed);
    return typed.GetSkipped();
  };
  for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_NUMPAD_ENTER, WXK_F1, WXK_F3, WXK_F12}) EXPECT_FALSE(passes(key)) << key;
  EXPECT_TRUE(passes('A'));
  OpenDrive(0);
  for (int key : {int{WXK_F1}, int{WXK_F3}, int{WXK_F12}, int{'A'}}) EXPECT_TRUE(passes(key)) << key;
  for (int key : {WXK_ESCAPE, WXK_RETURN}) EXPECT_FALSE(passes(key)) << key;
}

TEST_F(MainRoad, HeaderClicksAndArrangeByShowTheSortArrow) {
  OpenDrive(0);
  auto& list = dynamic_cast<controls::WxListControl&>(frame->ListView()->List());
  EXPECT_EQ(list.Header().GetSortColumn(), -1);
  wxListEvent click(wxEVT_LIST_COL_CLICK, list.Window()->GetId());
  click.m_col = 2;
  click.SetEventObject(list.Window());
  list.Window()->ProcessWindowEvent(click);
  EXPECT_EQ(list.Header().GetSortColumn(), 2);
  EXPECT_TRUE(list.Header().IsOwnerDrawn(2));
  wxCommandEvent arrange(wxEVT_MENU, WxId(kIdArrangeByName));
  frame->ProcessWindowEvent(arrange);
  EXPECT_EQ(list.Header().GetSortColumn(), 0);

  // Arrange By Date orders the rows by the times they show, not by the day of the month.
  ASSERT_TRUE(frame->LeftView()->SelectEntry(kRootInode));
  wxCommandEvent byDate(wxEVT_MENU, WxId(kIdArrangeByDate));
  frame->ProcessWindowEvent(byDate);
  EXPECT_EQ(list.Header().GetSortColumn(), 3);
  std::vector<std::int64_t> times;
  for (int r = 0; r < list.GetItemCount(); ++r) times.push_back(controls::DateTimeKey(list.GetItemText(r, 3)));
  ASSERT_GT(times.size(), 2u);
  const bool ascending = std::is_sorted(times.begin(), times.end());
  const bool descending = std::is_sorted(times.rbegin(), times.rend());
  EXPECT_TRUE(ascending || descending);
}

TEST_F(MainRoad, ClosingIsRefusedWhileBusy) {
  frame->busyFlag = 1;
  wxTEST_DIALOG(frame->Close(false), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("cannot exit"));
  EXPECT_TRUE(frame->IsShown());
  frame->busyFlag = 0;
}

}  // namespace
