// Times the directory-tree build of a disk image in the main window, on the road Select Physical
// Disk -> Use Partition Table Information -> the first logical drive, the dialogs answered by the
// test hook. Run it under Xvfb.
//   qv-window-bench IMAGE           prints the seconds of the road, the entries of the tree and the
//                                   repaints of the status bar meanwhile
//   qv-window-bench IMAGE stop MS   chooses Stop (answered Yes) MS milliseconds into the road and
//                                   prints the seconds from Stop to the end of the process (the
//                                   caution that ends every tree build)
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
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "stop")) {
    std::fprintf(stderr, "usage: qv-window-bench IMAGE [stop MS]\n");
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
