// The services that CD's engine reports through, on the real main window: the progress bar in
// pane 0 and its labels, Stop and EndProgress, the size texts of the amount panes, the log rows.
#include <wx/gauge.h>

#include <memory>
#include <thread>
#include <vector>

#include "cd_gui_support.h"
#include "cdcore/cd_command_states.h"
#include "command_loop.h"
#include "log_row_check.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;
using guitest::RunAsCommand;

class CdFrameServices : public CdWindow {
 protected:
  std::string Pane(int pane) const { return frame->GetStatusBar()->GetStatusText(pane).utf8_string(); }

  int Bars() const {
    int n = 0;
    for (wxWindow* child : frame->GetStatusBar()->GetChildren()) n += dynamic_cast<wxGauge*>(child) != nullptr;
    return n;
  }

  // One step of a process, after the pump's interval so that it looks at the queue; true when the
  // step pumped.
  bool Step(std::uint32_t count) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto pumped = std::make_shared<bool>(false);
    frame->CallAfter([pumped] { *pumped = true; });
    frame->StepProgress(count, 1, "A.TXT", 0, 5, 100 + count);
    const bool result = *pumped;
    Pump(20);
    return result;
  }

  void StartProcess() {
    frame->stopFlag = 0;
    frame->busy = 1;
    CdApp().processRunning = 1;
    CdApp().scanUnderWay = 1;
    frame->StartProgress();
  }
};

TEST_F(CdFrameServices, StepsLabelTheBarForRecoveryImagingAndScans) {
  RunAsCommand(frame, [&] {
    const struct {
      int recovering, imaging;
      std::uint32_t count;
      const char* label;
    } cases[] = {{1, 0, 0, " 1 Files Recovered"},
                 {1, 0, 41, " 42 Files Recovered"},
                 {0, 1, 5, "Reading Sector No 5 "},
                 {0, 0, 7, " 7 Entries Found"}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.label);
      StartProcess();
      CdApp().recovering = c.recovering;
      frame->imaging = c.imaging;
      EXPECT_TRUE(Step(c.count));
      EXPECT_EQ(Pane(0), c.label);
      ASSERT_NE(frame->Bar(), nullptr);
      EXPECT_TRUE(frame->Bar()->Gauge()->IsShown());
      EXPECT_EQ(Bars(), 1);
      EXPECT_EQ(frame->busy, 1);
      frame->EndProgress(10000);
    }
    frame->imaging = 0;
    CdApp().recovering = 0;
  });
}

TEST_F(CdFrameServices, EndProgressFillsTheBarThenEndsTheProcess) {
  RunAsCommand(frame, [&] {
    for (std::uint32_t n : {9990u, 10000u, 12000u}) {
      SCOPED_TRACE(n);
      StartProcess();
      EXPECT_TRUE(Step(3));
      frame->EndProgress(n);
      EXPECT_EQ(frame->Bar(), nullptr);
      EXPECT_EQ(Bars(), 0);
      EXPECT_EQ(Pane(0), "For Help, press F1");
      EXPECT_EQ(frame->busy, 0);
      EXPECT_EQ(CdApp().processRunning, 0);
      EXPECT_EQ(CdApp().scanUnderWay, 0);
      EXPECT_EQ(CdApp().contentsShown, 1);
    }
  });
}

TEST_F(CdFrameServices, StopChosenDuringAStepDeletesTheBarInThatStep) {
  RunAsCommand(frame, [&] {
    StartProcess();
    EXPECT_TRUE(Step(1));
    ASSERT_EQ(Bars(), 1);
    // Stop from the menu while the next step pumps.
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, CdWxId(kCdCmdStop)));
    EXPECT_TRUE(Step(2));
    EXPECT_EQ(frame->Bar(), nullptr);
    EXPECT_EQ(Bars(), 0);
    EXPECT_EQ(Pane(0), "For Help, press F1");
    EXPECT_EQ(frame->stopFlag, 1);
    EXPECT_EQ(frame->busy, 0);
    EXPECT_EQ(frame->stepsAfterStop, 1);
    // Later steps show nothing and only count; EndProgress leaves the bar alone and ends the process.
    EXPECT_FALSE(Step(3));
    EXPECT_EQ(Bars(), 0);
    EXPECT_EQ(frame->stepsAfterStop, 2);
    frame->EndProgress(3);
    EXPECT_EQ(Bars(), 0);
    EXPECT_EQ(frame->busy, 0);
    EXPECT_EQ(CdApp().contentsShown, 1);
  });
}

TEST_F(CdFrameServices, SizeTextsOfTheAmountPanes) {
  RunAsCommand(frame, [&] {
    const struct {
      std::uint32_t bytes;
      const char* amount;
    } cases[] = {{0, "0 Bytes"},  {999, "999 Bytes"}, {1000, "1 KB"},        {999999, "999 KB"},
                 {1000000, "1 MB"}, {1999999, "1 MB"}, {4294967295u, "4294 MB"}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.bytes);
      frame->Reader().totalBytes = c.bytes;
      frame->UpdateTotalsPane(2, 3);
      EXPECT_EQ(Pane(1), std::string("   Total ") + c.amount + " in 3 Files in 2 Folders");
      frame->markedBytes = c.bytes;
      frame->markedFiles = 5;
      frame->markedFolders = 4;
      frame->UpdateMarkedPane();
      EXPECT_EQ(Pane(2), std::string("   Marked ") + c.amount + " in 5 Files in 4 Folders");
    }
    EXPECT_EQ(frame->totalFolders, 2u);
    EXPECT_EQ(frame->totalFiles, 3u);
  });
}

TEST_F(CdFrameServices, LogRowsShowEveryTextAndTheListFollowsItsLastRow) {
  RunAsCommand(frame, [&] {
    frame->AddLogEntry("Recovering Files", nullptr, "Started", kCdIconOk);
    // A name that is not valid UTF-8 between null texts, with an icon the log does not have.
    frame->AddLogEntry(nullptr, "/Root/caf\xe9.txt", nullptr, static_cast<CdLogIcon>(7));
    for (int i = 2; i < 60; ++i) frame->AddLogEntry(nullptr, ("row " + std::to_string(i)).c_str(), "Done", kCdIconInfo);
    Pump();
    const auto rows = frame->Log()->Rows();
    ASSERT_EQ(rows.size(), 60u);
    EXPECT_EQ(rows[0].activity, "Recovering Files");
    EXPECT_EQ(rows[0].text, "");
    EXPECT_EQ(rows[0].status, "Started");
    EXPECT_EQ(rows[1].activity, "");
    EXPECT_EQ(rows[1].text, "/Root/caf\xc3\xa9.txt");
    EXPECT_EQ(rows[1].status, "");

    wxListCtrl* list = frame->Log()->List();
    ASSERT_LT(list->GetCountPerPage(), 59) << "the log pane shows every row; the test cannot see scrolling";
    EXPECT_GE(list->GetTopItem() + list->GetCountPerPage(), 60) << "the last row is out of view";

    const fs::path report = work / "log.log";
    frame->SaveLog(report.string());
    EXPECT_NE(ReadFile(report).find("\r\n" + std::string(20, ' ') + "/Root/caf\xc3\xa9.txt\r\n"), std::string::npos);
  });
}

TEST_F(CdFrameServices, LongRowsAreShownWholeInsideThePane) {
  RunAsCommand(frame, [&] {
    Pump(200);
    // The recovery's end row with files not recovered whole, and a recovered file's row; the
    // look's three columns are wider together than the window.
    const std::vector<std::vector<std::string>> rows = {
        {"Recovery Status", "Saved 0 Files in 1 Dirs", "Process Completed, 1 Files Not Recovered Whole"},
        {"Recovering file", "/tmp/recovered/Root/DOCUMENTS/REPORTS_2026/QUARTERLY/SUMMARY.TXT",
         "File Recovered Partially"},
    };
    for (const auto& row : rows) {
      frame->AddLogEntry(row[0].c_str(), row[1].c_str(), row[2].c_str(), kCdIconError);
      guitest::ExpectLastRowShownWhole(frame->Log(), row, true);
    }
  });
}

}  // namespace
