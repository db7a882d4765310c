// The main roads of the workbench in a real window (under Xvfb): disk, partition table, logical
// drive, tree, marks, recovery; the modal dialogs answered through the test hook.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/testing.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "ext2engine/logical_drives.h"
#include "ext2engine/recovery.h"
#include "main_frame.h"

namespace fs = std::filesystem;

namespace {

// Chooses ROW in a list dialog and presses OK.
template <class T>
class ExpectRow : public wxExpectModalBase<T, ExpectRow<T>> {
 public:
  explicit ExpectRow(int row) : row_(row) {}

 protected:
  int OnInvoked(T* dlg) const override {
    dlg->SelectRow(row_);
    return wxID_OK;
  }

 private:
  int row_;
};

void Pump() {
  for (int i = 0; i < 20; ++i) {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The files below ROOT by relative path with their bytes.
std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  }
  return out;
}

class MainRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    App().Reset();
    LogicalDrives().Clear();
    SetDiskSource(PathListDiskSource({QV_SAMPLE_DISK}));
    frame = new CMainFrame();
    frame->Show();
    Pump();
    dest = fs::temp_directory_path() / ("qv_gui_" + std::to_string(::getpid()));
    fs::remove_all(dest);
    fs::create_directories(dest);
  }
  void TearDown() override {
    frame->busyFlag = 0;
    App().scanSaved = 1;  // no question on closing
    frame->Close(true);
    Pump();
    SetDiskSource(nullptr);
    fs::remove_all(dest);
  }

  // Select Physical Disk -> Use Partition Table Information -> Select Logical Drive ROW.
  void OpenDrive(int row) {
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                  wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), ExpectRow<CSelectLogicalDriveDlg>(row),
                  wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
    Pump();
  }

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

  CMainFrame* frame = nullptr;
  fs::path dest;
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

  wxTEST_DIALOG(frame->Recover(kRecoverMarked, dest.string()), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution"));
  Pump();
  const auto recovered = Files(dest / "#Root/docs");
  const auto oracle = Files(Dump("/docs", 0) / "docs");
  ASSERT_FALSE(recovered.empty());
  for (const auto& [path, bytes] : recovered) EXPECT_EQ(bytes, oracle.at(path)) << path;
  EXPECT_FALSE(fs::exists(dest / "#Root/projects"));
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

TEST_F(MainRoad, ClosingIsRefusedWhileBusy) {
  frame->busyFlag = 1;
  wxTEST_DIALOG(frame->Close(false), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("cannot exit"));
  EXPECT_TRUE(frame->IsShown());
  frame->busyFlag = 0;
}

}  // namespace

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 2;
  const int rc = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}
