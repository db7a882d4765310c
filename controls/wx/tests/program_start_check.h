// A program's start as the user meets it, checked in the real window for each program's values:
// the profile read and written, the recent-file list loaded from it and saved back, the splash
// shown before any window (or left out), the main window on top under its title, maximised or
// centred.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/fileconf.h>
#include <wx/testing.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "controls/wx/notice_dialogs.h"
#include "controls/wx/program_start.h"
#include "gui_test_support.h"
#include "temporary_home.h"

namespace startcheck {

namespace fs = std::filesystem;

// What a program's start must show.
struct ExpectedStart {
  const char* profile;
  std::chrono::milliseconds splashTime;
  const char* title;
  controls::WindowPlacement placement;
};

// The profile is a file in the home folder.
using guitest::TemporaryHome;

// The splash: shown with the program's time before any other window has come, once the profile
// and the list are in place.
class ExpectSplash : public wxExpectModalBase<controls::CSplashDlg, ExpectSplash> {
 public:
  ExpectSplash(const ExpectedStart& expected, std::set<wxWindow*> before, const wxFileHistory& history)
      : expected_(expected), before_(std::move(before)), history_(history) {}

 protected:
  int OnInvoked(controls::CSplashDlg* dlg) const override {
    EXPECT_EQ(dlg->Time(), expected_.splashTime);
    for (wxWindow* w : wxTopLevelWindows)
      EXPECT_TRUE(w == dlg || before_.count(w) != 0) << "a window before the splash";
    EXPECT_EQ(wxConfigBase::Get()->GetAppName(), expected_.profile);
    EXPECT_EQ(history_.GetCount(), controls::kRecentFiles);
    return wxID_CANCEL;
  }

 private:
  ExpectedStart expected_;
  std::set<wxWindow*> before_;
  const wxFileHistory& history_;
};

// Starts HOW twice in a home of its own whose profile holds five recent files: once without the
// splash (QUARVEL_NO_SPLASH set), once with it. Each time the list takes the first four, the
// window is checked, the list less its first file is saved in the profile, and the window closes.
inline void ExpectProgramStart(const controls::ProgramStartUp& how, const ExpectedStart& expected) {
  const std::vector<std::string> recent = {"/media/one.img", "/media/two.img", "/media/three.img", "/media/four.img",
                                           "/media/five.img"};
  for (const bool splash : {false, true}) {
    SCOPED_TRACE(splash ? "with the splash" : "without the splash");
    TemporaryHome home;
    const fs::path profile = home.Path() / (std::string(".") + expected.profile);
    {
      std::ofstream out(profile);
      for (std::size_t i = 0; i < recent.size(); ++i) out << "file" << i + 1 << '=' << recent[i] << '\n';
    }
    controls::CProgramStart start(how);
    wxFrame* frame = nullptr;
    if (splash) {
      std::set<wxWindow*> before(wxTopLevelWindows.begin(), wxTopLevelWindows.end());
      wxTEST_DIALOG(frame = start.Start(), ExpectSplash(expected, before, start.History()));
    } else {
      // Counts the modal dialogs shown at start and cancels them at once.
      struct Count : wxModalDialogHook {
        int shown = 0;
        int Enter(wxDialog*) override { return ++shown, wxID_CANCEL; }
        void Exit(wxDialog*) override {}
      } dialogs;
      wxSetEnv("QUARVEL_NO_SPLASH", "1");
      dialogs.Register();
      frame = start.Start();
      dialogs.Unregister();
      wxUnsetEnv("QUARVEL_NO_SPLASH");
      EXPECT_EQ(dialogs.shown, 0);
    }
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(wxConfigBase::Get()->GetAppName(), expected.profile);
    ASSERT_EQ(start.History().GetCount(), controls::kRecentFiles);
    for (std::size_t i = 0; i < controls::kRecentFiles; ++i)
      EXPECT_EQ(start.History().GetHistoryFile(i).utf8_string(), recent[i]);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(wxTheApp->GetTopWindow(), frame);
    EXPECT_EQ(frame->GetTitle(), expected.title);
    guitest::Pump(300);
    if (expected.placement == controls::WindowPlacement::Maximised) {
      EXPECT_TRUE(frame->IsMaximized());
    } else {
      EXPECT_FALSE(frame->IsMaximized());
      const wxRect screen = wxDisplay(frame).GetClientArea();
      const wxRect window = frame->GetRect();
      EXPECT_NEAR(window.x + window.width / 2, screen.x + screen.width / 2, 2);
      EXPECT_NEAR(window.y + window.height / 2, screen.y + screen.height / 2, 2);
    }

    // The list as it is at the end goes into the profile. (Adding a file would also reach the
    // desktop's own recent files, outside this home.)
    start.History().RemoveFileFromHistory(0);
    start.End();
    delete wxConfigBase::Set(nullptr);  // the program-wide configuration is written when it goes
    wxFileConfig saved(wxEmptyString, wxEmptyString, profile.string(), wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
    for (std::size_t i = 0; i + 1 < controls::kRecentFiles; ++i)
      EXPECT_EQ(saved.Read(wxString::Format("file%zu", i + 1)).utf8_string(), recent[i + 1]);
    EXPECT_EQ(saved.Read(wxString::Format("file%zu", controls::kRecentFiles)).utf8_string(), "");
    frame->Close(true);
    guitest::Pump(100);
  }
}

}  // namespace startcheck
