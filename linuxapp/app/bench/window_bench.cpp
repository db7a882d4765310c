// Times the directory-tree build of a disk image in the main window, on the road Select Physical
// Disk -> Use Partition Table Information -> the first logical drive, the dialogs answered by the
// test hook. Run it under Xvfb.
//   qv-window-bench IMAGE           prints the seconds of the road, the entries of the tree and the
//                                   repaints of the status bar meanwhile
//   qv-window-bench IMAGE stop MS   chooses Stop (answered Yes) MS milliseconds into the road and
//                                   prints the seconds from Stop to the end of the process (the
//                                   caution that ends every tree build)
//   qv-window-bench IMAGE stop-dialogs MS
//                                   the same with the dialogs shown for real, each answered from a
//                                   timer of its own modal loop as a user's click would, so that
//                                   the process runs after their modal loops have ended
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialogs.h"
#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/logical_drives.h"
#include "main_frame.h"
#include "real_input.h"

using namespace ext2;
using namespace ext2::app;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

class FirstRow : public wxExpectModalBase<CSelectLogicalDriveDlg, FirstRow> {
 protected:
  int OnInvoked(CSelectLogicalDriveDlg* dlg) const override {
    dlg->SelectRow(0);
    return wxID_OK;
  }
};

// The caution that ends the tree build: notes when the process got there.
class Ended : public wxExpectModalBase<wxDialog, Ended> {
 public:
  explicit Ended(Clock::time_point* at) : at_(at) {}

 protected:
  int OnInvoked(wxDialog*) const override {
    *at_ = Clock::now();
    return wxID_OK;
  }

 private:
  Clock::time_point* at_;
};

// Answers the dialogs of the road as they come on the screen: OK in the disk list and the choice
// of action, the first row of the logical drives, Yes to Stop; the caution that ends the build is
// noted and closed.
class RealAnswers : public wxTimer {
 public:
  explicit RealAnswers(Clock::time_point* ended) : ended_(ended) { Start(10); }

  void Notify() override {
    for (wxWindow* w : wxTopLevelWindows) {
      auto* dlg = dynamic_cast<wxDialog*>(w);
      if (dlg == nullptr || !dlg->IsModal() || !dlg->IsShownOnScreen() || dlg == last_) continue;
      last_ = dlg;
      if (auto* drives = dynamic_cast<CSelectLogicalDriveDlg*>(dlg)) drives->SelectRow(0);
      const bool stop = dlg->FindWindow(kConfirmLine1Id) != nullptr;
      const bool listOrChoice = dynamic_cast<CListChoiceDlg*>(dlg) != nullptr || dynamic_cast<CChoiceOfTwoDlg*>(dlg) != nullptr;
      if (!stop && !listOrChoice) *ended_ = Clock::now();
      guitest::PressButton(dlg, wxID_OK);
      return;
    }
  }

 private:
  Clock::time_point* ended_;
  wxDialog* last_ = nullptr;
};

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

void Fail(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  std::fprintf(stderr, "qv-window-bench: %s:%d %s: %s %s\n", file.utf8_str().data(), line, func.utf8_str().data(),
               cond.utf8_str().data(), msg.utf8_str().data());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[2] : "";
  if (argc != 2 && !(argc == 4 && (mode == "stop" || mode == "stop-dialogs"))) {
    std::fprintf(stderr, "usage: qv-window-bench IMAGE [stop MS | stop-dialogs MS]\n");
    return 2;
  }
  const std::string image = argv[1];
  const int stopAfter = argc == 4 ? std::atoi(argv[3]) : -1;
  wxApp::SetInstance(new BenchApp);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) return 2;
  wxSetAssertHandler(Fail);  // an unexpected dialog ends the run instead of waiting for a click

  SetDiskSource(PathListDiskSource({image}));
  auto* frame = new CMainFrame();
  frame->Show();
  wxTheApp->SetTopWindow(frame);
  for (int i = 0; i < 20; ++i) wxTheApp->Yield(true);

  int paints = 0;
  frame->GetStatusBar()->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& e) {
    ++paints;
    e.Skip();
  });
  Clock::time_point stoppedAt{};
  Clock::time_point endedAt{};
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (endedAt != Clock::time_point{}) return;  // the process ended before Stop could be chosen
    stoppedAt = Clock::now();
    frame->Stop();
  });

  // The command runs inside a running event loop, as the program's commands run inside its main
  // loop, so that the process's message pump dispatches the timer, paints and Stop.
  wxGUIEventLoop loop;
  frame->CallAfter([&] {
    const auto start = Clock::now();
    if (stopAfter < 0) {
      wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                    wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), FirstRow(),
                    wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("the caution after the tree"));
      std::printf("seconds %.3f entries %zu status_paints %d\n", Seconds(start, Clock::now()),
                  frame->LeftView()->Entries().size(), paints);
    } else if (mode == "stop-dialogs") {
      // Seconds from the moment Stop is due, whether or not the window could take it then.
      RealAnswers answers(&endedAt);
      timer.StartOnce(stopAfter);
      frame->SelectPhysicalDisk();
      std::printf("stop_seconds %.3f entries %zu stop_taken %d\n",
                  Seconds(start + std::chrono::milliseconds(stopAfter), endedAt), frame->LeftView()->Entries().size(),
                  stoppedAt != Clock::time_point{} ? 1 : 0);
    } else {
      timer.StartOnce(stopAfter);
      wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                    wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), FirstRow(),
                    wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("Stop current process ?"),
                    Ended(&endedAt).Describe("the caution after the tree, stopped or not"));
      std::printf("stop_seconds %.3f entries %zu\n", Seconds(stoppedAt, endedAt), frame->LeftView()->Entries().size());
    }
    std::fflush(stdout);
    loop.ScheduleExit();
  });
  loop.Run();
  App().scanSaved = 1;
  frame->busyFlag = 0;
  frame->Close(true);
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}
