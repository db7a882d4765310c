// What CD's window tests share: a fresh main window over a drive list of fixture images and a
// disc opened in it; the pump, the dialog answers and the files come from the shared kit.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/textctrl.h>
#include <wx/testing.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cd_app_state.h"
#include "cd_main_frame.h"
#include "dialog_expectations.h"
#include "gui_test_support.h"
#include "test_files.h"

namespace cd::testing {

using namespace cd::app;

namespace cdtest {

namespace fs = std::filesystem;

using guitest::Act;
using guitest::ExpectMessage;
using guitest::Files;
using guitest::NoDialogs;
using guitest::Pump;
using guitest::ReadFile;

inline const fs::path kFixtures = QV_CD_FIXTURES;

// Types TEXT into the text control ID of DLG and clicks OK.
inline void TypeAndOk(wxWindow* dlg, int id, const wxString& text) {
  auto* edit = wxDynamicCast(dlg->FindWindow(id), wxTextCtrl);
  ASSERT_NE(edit, nullptr);
  edit->ChangeValue(text);
  wxCommandEvent typed(wxEVT_TEXT, id);
  typed.SetString(text);
  typed.SetEventObject(edit);
  edit->HandleWindowEvent(typed);
  wxWindow* ok = dlg->FindWindow(wxID_OK);
  ASSERT_NE(ok, nullptr);
  wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
  click.SetEventObject(ok);
  ok->HandleWindowEvent(click);
}

inline void SetDrives(const std::string& paths) { ::setenv("QUARVEL_CDROMS", paths.c_str(), 1); }

// A new main window with the program's state as at start, and an empty work folder.
class CdWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    CdApp() = CdAppState();
    SetDrives((kFixtures / "joliet.iso").string());
    frame = new CMainFrame();
    frame->Show();
    Pump();
    work = fs::temp_directory_path() / ("cd_gui_" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
  }
  void TearDown() override {
    if (frame != nullptr) {  // a test that closed the window has set it to null
      frame->busy = 0;
      frame->Close(true);
      Pump();
    }
    ::unsetenv("QUARVEL_CDROMS");
    fs::remove_all(work);
  }

  // Open Drive on IMAGE as the one CD drive, the prompt answered with OK.
  void OpenDisc(const fs::path& image) {
    SetDrives(image.string());
    CdApp().driveOpened = 0;
    wxTEST_DIALOG(frame->OpenDriveCmd(), ExpectMessage("Insert CDROM To Start Process"));
    Pump();
  }

  const TreeItemNode* Node(const std::string& name) {
    for (const auto& n : frame->LeftView().Nodes()) {
      if (n.name == name) return &n;
    }
    return nullptr;
  }

  CMainFrame* frame = nullptr;
  fs::path work;
};

}  // namespace cdtest

}  // namespace cd::testing
