// What CD's window tests share: a fresh main window over a drive list of fixture images, the
// message boxes answered through the test hook, and reading recovered trees back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/textctrl.h>
#include <wx/testing.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "cd_app_state.h"
#include "cd_main_frame.h"
#include "controls/wx/message_box.h"
#include "gui_test_support.h"

namespace cd::testing {

using namespace cd::app;

namespace cdtest {

namespace fs = std::filesystem;

inline const fs::path kFixtures = QV_CD_FIXTURES;

inline void Pump(int ms = 100) { guitest::Pump(std::chrono::milliseconds(ms)); }

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
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

// A message box whose text is TEXT, answered with ANSWER.
class ExpectMessage : public wxExpectModalBase<controls::CMessageBoxDlg, ExpectMessage> {
 public:
  ExpectMessage(std::string text, int answer = wxID_OK) : text_(std::move(text)), answer_(answer) {}

 protected:
  int OnInvoked(controls::CMessageBoxDlg* dlg) const override {
    EXPECT_EQ(dlg->GetMessage().utf8_string(), text_);
    return answer_;
  }

 private:
  std::string text_;
  int answer_;
};

// While it lives, any modal dialog fails the test and is cancelled at once.
class NoDialogs : public wxModalDialogHook {
 public:
  NoDialogs() { Register(); }
  ~NoDialogs() override { Unregister(); }

 protected:
  int Enter(wxDialog* dlg) override {
    ADD_FAILURE() << "unexpected dialog " << dlg->GetTitle().utf8_string();
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

// Runs ACT on a modal dialog of class T, which ends it (a click on OK, say); the dialog's result
// is the answer.
template <class T>
class Act : public wxExpectModalBase<T, Act<T>> {
 public:
  explicit Act(std::function<void(T*)> act) : act_(std::move(act)) {}

 protected:
  int OnInvoked(T* dlg) const override {
    act_(dlg);
    return dlg->GetReturnCode();
  }

 private:
  std::function<void(T*)> act_;
};

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
