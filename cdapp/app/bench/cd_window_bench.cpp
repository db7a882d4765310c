// Times a scan (Open Drive, the prompt answered OK) and Recover All of a disc image in the CD main
// window. Run it under Xvfb.
//   cd-window-bench IMAGE DEST           prints the seconds of the scan and of Recover All into
//                                        DEST, the entries of the tree, the log rows and the
//                                        repaints of the status bar during each
//   cd-window-bench IMAGE DEST stop MS   chooses Stop MS milliseconds into the scan and prints the
//                                        seconds from Stop to the end of the scan (-1: the scan
//                                        had ended before)
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
#include <thread>

#include "cd_app_state.h"
#include "cd_main_frame.h"
#include "cd_process_log.h"
#include "cdengine/recovery.h"
#include "controls/wx/message_box.h"

using namespace cd;
using namespace cd::app;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// The window is left to paint what it shows before each command, as a user sees it before the
// next click: the paints that follow showing the window or a scan are no part of the next figure.
void Settle() {
  const auto end = Clock::now() + std::chrono::milliseconds(300);
  while (Clock::now() < end) {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

void Fail(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  std::fprintf(stderr, "cd-window-bench: %s:%d %s: %s %s\n", file.utf8_str().data(), line, func.utf8_str().data(),
               cond.utf8_str().data(), msg.utf8_str().data());
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "stop")) {
    std::fprintf(stderr, "usage: cd-window-bench IMAGE DEST [stop MS]\n");
    return 2;
  }
  const std::string image = argv[1];
  const std::string dest = argv[2];
  const int stopAfter = argc == 5 ? std::atoi(argv[4]) : -1;
  ::setenv("QUARVEL_CDROMS", image.c_str(), 1);
  wxApp::SetInstance(new BenchApp);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv) || !wxTheApp->CallOnInit()) return 2;
  wxSetAssertHandler(Fail);  // an unexpected dialog ends the run instead of waiting for a click

  auto* frame = new CMainFrame();
  frame->Show();
  wxTheApp->SetTopWindow(frame);
  Settle();

  int paints = 0;
  frame->GetStatusBar()->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& e) {
    ++paints;
    e.Skip();
  });
  Clock::time_point stoppedAt{};
  wxTimer timer;
  timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    stoppedAt = Clock::now();
    frame->StopCmd();
  });

  // The commands run inside a running event loop, as the program's commands run inside its main
  // loop, so that the process's message pump dispatches the timer, paints and Stop.
  wxGUIEventLoop loop;
  frame->CallAfter([&] {
    if (stopAfter >= 0) timer.StartOnce(stopAfter);
    const auto start = Clock::now();
    wxTEST_DIALOG(frame->OpenDriveCmd(), wxExpectDismissableModal<controls::CMessageBoxDlg>(wxID_OK).Describe("Insert CDROM"));
    const auto scanned = Clock::now();
    if (stopAfter >= 0) {
      // -1: the scan had ended before Stop came.
      const double stopSeconds = stoppedAt == Clock::time_point{} ? -1.0 : Seconds(stoppedAt, scanned);
      std::printf("stop_seconds %.3f entries %zu\n", stopSeconds, frame->LeftView().NodeCount());
    } else {
      std::printf("scan_seconds %.3f entries %zu status_paints %d\n", Seconds(start, scanned),
                  frame->LeftView().NodeCount(), paints);
      Settle();
      paints = 0;
      const auto from = Clock::now();
      frame->Recover(kRecoverAll, dest);
      std::printf("recover_seconds %.3f log_rows %d status_paints %d\n", Seconds(from, Clock::now()),
                  frame->Log()->List()->GetItemCount(), paints);
    }
    std::fflush(stdout);
    loop.ScheduleExit();
  });
  loop.Run();
  frame->busy = 0;
  frame->Close(true);
  wxTheApp->Yield(true);
  wxEntryCleanup();
  return 0;
}
