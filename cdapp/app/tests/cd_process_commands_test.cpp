// Commands invoked while a process runs, in the real window under Xvfb: keys typed through the X
// server before a scan, during a scan, a recovery and an image copy act only when their rule
// allows it at that moment; Stop and Close in one pass of the message pump close the window only
// after the process has returned.
#include <wx/app.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <memory>

#include "cd_dialogs.h"
#include "cd_gui_support.h"
#include "cdengine/recovery.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;
using controls::CommandRoad;

// The disc of 10,000 files in 21 folders: long enough a process for keys to arrive while it runs.
const fs::path kMany = kFixtures / "many.iso";
constexpr std::size_t kManyFiles = 10000;

class ProcessCommands : public CdWindow {
 protected:
  void SetUp() override {
    CdWindow::SetUp();
    Focus();
    // Keys with Ctrl that reach the window while a process is busy.
    frame->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
      if (e.ControlDown() && e.GetKeyCode() != WXK_CONTROL && frame->busy) ++keysWhileBusy;
      e.Skip();
    });
  }

  // The window gets the keyboard: it is the top window, raised, its tree focused.
  void Focus() {
    wxTheApp->SetTopWindow(frame);
    frame->Raise();
    frame->Tree().Window()->SetFocus();
    Pump(100);
  }

  // Ctrl+M (File Mask), Ctrl+F (Find) and Ctrl+S (Recover Selected Files), typed as the user types.
  static void TypeShortcuts(wxUIActionSimulator& sim) {
    for (int key : {'m', 'f', 's'}) sim.Char(key, wxMOD_CONTROL);
  }
  // Ctrl+KEY, and the time for it to come back from the X server.
  void TypeNow(int key) {
    sim_.Char(key, wxMOD_CONTROL);
    Pump(300);
  }

  // Types the shortcuts at the first message pump of the process that starts next. Until it ends,
  // any dialog fails the test.
  void TypeShortcutsDuringNextProcess() {
    keysWhileBusy = 0;
    frame->CallAfter([this] {
      none_ = std::make_unique<NoDialogs>();
      TypeShortcuts(sim_);
      // The process waits in this pump until the keys are back from the X server, however fast
      // it would run on: they arrive while it is busy, as a user's keys do during a long one.
      for (int waited = 0; keysWhileBusy < 3 && waited < 3000; waited += 10) Pump(10);
    });
  }
  void ProcessEnded() { none_.reset(); }

  // The number of file entries in the tree view.
  std::size_t FileNodes() {
    std::size_t n = 0;
    for (const auto& node : frame->LeftView().Nodes()) n += node.type == 1;
    return n;
  }

  wxUIActionSimulator sim_;
  int keysWhileBusy = 0;

 private:
  std::unique_ptr<NoDialogs> none_;
};

TEST_F(ProcessCommands, ShortcutsActOnlyWhenTheirRuleAllowsThem) {
  SetDrives(kMany.string());
  {
    SCOPED_TRACE("before a scan");
    NoDialogs none;
    TypeShortcuts(sim_);
    Pump(300);
    EXPECT_EQ(frame->LeftView().NodeCount(), 0u);
  }
  {
    SCOPED_TRACE("during a scan");
    TypeShortcutsDuringNextProcess();
    OpenDisc(kMany);
    ProcessEnded();
    EXPECT_EQ(keysWhileBusy, 3);
    EXPECT_EQ(FileNodes(), kManyFiles);
    EXPECT_EQ(CdApp().fileMaskApplied, 0);
  }
  {
    SCOPED_TRACE("after the scan the keys act");
    Focus();
    wxTEST_DIALOG(TypeNow('f'), wxExpectDismissableModal<CFindDlg>(wxID_CANCEL));
  }
  {
    SCOPED_TRACE("during Recover All");
    TypeShortcutsDuringNextProcess();
    frame->Recover(kRecoverAll, work.string());
    ProcessEnded();
    EXPECT_EQ(keysWhileBusy, 3);
    EXPECT_EQ(Files(work / "Root").size(), kManyFiles);
    EXPECT_EQ(FileNodes(), kManyFiles);
    const auto rows = frame->Log()->Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().status, "Process Completed");
  }
  {
    SCOPED_TRACE("during an image copy");
    TypeShortcutsDuringNextProcess();
    frame->CreateImageCmd((work / "copy").string());
    ProcessEnded();
    EXPECT_EQ(keysWhileBusy, 3);
    EXPECT_EQ(fs::file_size(work / "copy.cd"), fs::file_size(kMany) + 2048);
    EXPECT_EQ(FileNodes(), kManyFiles);
  }
}

// Stop and then Close arrive in one pass of a process's message pump. Stop clears busy at once,
// but the process ends only at its next step: the window must stay until it has returned.
TEST_F(ProcessCommands, StopAndCloseInOnePassCloseTheWindowAfterTheProcess) {
  struct Road {
    const char* name;
    std::function<void(CMainFrame&, const fs::path&)> start;
  };
  const Road roads[] = {
      {"scan",
       [](CMainFrame& f, const fs::path&) {
         wxTEST_DIALOG(f.Commands().Run(kCdCmdOpenDrive, CommandRoad::Menu, [&] { f.OpenDriveCmd(); }),
                       ExpectMessage("Insert CDROM To Start Process"));
       }},
      {"recovery",
       [](CMainFrame& f, const fs::path& out) {
         f.Commands().Run(kCdCmdRecoverAll, CommandRoad::Menu, [&] { f.Recover(kRecoverAll, out.string()); });
       }},
      {"image copy",
       [](CMainFrame& f, const fs::path& out) {
         f.Commands().Run(kCdIdCreateImage, CommandRoad::Menu, [&] { f.CreateImageCmd((out / "copy").string()); });
       }},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.name);
    if (frame == nullptr) {
      frame = new CMainFrame();
      frame->Show();
      Pump();
    }
    OpenDisc(kMany);
    ASSERT_EQ(FileNodes(), kManyFiles);
    const fs::path out = work / road.name;
    fs::create_directories(out);

    bool openInPass = false, deviceInPass = false;
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, CdWxId(kCdCmdStop)));
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, CdWxId(kCdIdExit)));
    frame->CallAfter([&] {
      openInPass = !wxTheApp->IsScheduledForDestruction(frame);
      deviceInPass = frame->Reader().device != nullptr;
    });
    road.start(*frame, out);
    EXPECT_TRUE(openInPass);
    EXPECT_TRUE(deviceInPass);
    // The process has returned, stopped, and only then the window closed.
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
    EXPECT_EQ(frame->Reader().device, nullptr);
    EXPECT_EQ(frame->busy, 0);
    wxWeakRef<CMainFrame> gone(frame);
    Pump();
    EXPECT_FALSE(gone);
    frame = nullptr;
  }
}

}  // namespace
