// Helpers shared by the window tests: pumping events, answering list dialogs, reading files back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/testing.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/logical_drives.h"
#include "main_frame.h"

namespace guitest {

namespace fs = std::filesystem;

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

// Handles the events that arrive within about MS milliseconds.
inline void PumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

inline void Pump() { PumpFor(100); }

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The files below ROOT by relative path with their bytes.
inline std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> out;
  if (!fs::exists(root)) return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file()) out[fs::relative(e.path(), root).string()] = ReadFile(e.path());
  }
  return out;
}

// A main window over the sample disk, with an empty destination folder; closed without questions.
class WorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ext2::App().Reset();
    ext2::LogicalDrives().Clear();
    ext2::SetDiskSource(ext2::PathListDiskSource({QV_SAMPLE_DISK}));
    frame = new ext2::app::CMainFrame();
    frame->Show();
    Pump();
    dest = fs::temp_directory_path() / ("qv_gui_" + std::to_string(::getpid()));
    fs::remove_all(dest);
    fs::create_directories(dest);
  }
  void TearDown() override {
    if (frame != nullptr) {
      frame->busyFlag = 0;
      ext2::App().scanSaved = 1;  // no question on closing
      frame->Close(true);
      Pump();
    }
    ext2::SetDiskSource(nullptr);
    fs::remove_all(dest);
  }

  // Select Physical Disk -> Use Partition Table Information -> Select Logical Drive ROW.
  void OpenDrive(int row) {
    wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<ext2::app::CSelectPhysicalDiskDlg>(wxID_OK),
                  wxExpectDismissableModal<ext2::app::CChoiceOfTwoDlg>(wxID_OK), ExpectRow<ext2::app::CSelectLogicalDriveDlg>(row),
                  wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree is built"));
    Pump();
  }

  ext2::app::CMainFrame* frame = nullptr;
  fs::path dest;
};

}  // namespace guitest
