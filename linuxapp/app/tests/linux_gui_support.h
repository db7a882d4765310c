// What the workbench's window tests share: a fresh main window over the sample disk and the list
// dialogs answered by row; the pump, the message boxes and the files come from the shared kit.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/testing.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialog_expectations.h"
#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/logical_drives.h"
#include "gui_test_support.h"
#include "main_frame.h"
#include "test_files.h"

namespace ext2::testing {

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

// A list dialog whose first column shows NAMES; ROW is chosen with OK, or with a negative ROW the
// dialog is cancelled.
template <class T>
class ExpectRowNames : public wxExpectModalBase<T, ExpectRowNames<T>> {
 public:
  ExpectRowNames(std::vector<std::string> names, int row) : names_(std::move(names)), row_(row) {}

 protected:
  int OnInvoked(T* dlg) const override {
    std::vector<std::string> shown;
    for (long r = 0; r < dlg->List()->GetItemCount(); ++r) shown.push_back(dlg->List()->GetItemText(r, 0).utf8_string());
    EXPECT_EQ(shown, names_);
    if (row_ < 0) return wxID_CANCEL;
    dlg->SelectRow(row_);
    return wxID_OK;
  }

 private:
  std::vector<std::string> names_;
  int row_;
};

// A main window over the sample disk, with an empty destination folder; closed without questions.
class WorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ext2::App().Reset();
    ext2::LogicalDrives().Clear();
    ext2::SetDiskSource(ext2::PathListDiskSource({QV_SAMPLE_DISK}));
    frame = new ext2::app::CMainFrame();
    frame->Show();
    guitest::Pump();
    dest = std::filesystem::temp_directory_path() / ("qv_gui_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dest);
    std::filesystem::create_directories(dest);
  }
  void TearDown() override {
    if (frame != nullptr) {
      frame->busyFlag = 0;
      ext2::App().scanSaved = 1;  // no question on closing
      frame->Close(true);
      guitest::Pump();
    }
    ext2::SetDiskSource(nullptr);
    std::filesystem::remove_all(dest);
  }

  // Select Physical Disk -> Use Partition Table Information -> Select Logical Drive ROW.
  void OpenDrive(int row) {
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<ext2::app::CSelectPhysicalDiskDlg>(wxID_OK),
                  wxExpectDismissableModal<ext2::app::CChoiceOfTwoDlg>(wxID_OK), ExpectRow<ext2::app::CSelectLogicalDriveDlg>(row),
                  wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
    guitest::Pump();
  }

  ext2::app::CMainFrame* frame = nullptr;
  std::filesystem::path dest;
};

}  // namespace ext2::testing
