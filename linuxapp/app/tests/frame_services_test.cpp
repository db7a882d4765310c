// The services that the engine's long processes report through, on the real main window: the
// progress bar in pane 0 and its labels, Stop and EndProgress, the log rows, the Marked pane.
#include <gtest/gtest.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/testing.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "command_loop.h"
#include "ext2engine/app_state.h"
#include "ext2engine/linux_drive.h"
#include "linux_gui_support.h"
#include "linuxcore/command_states.h"
#include "log_row_check.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

class FrameServicesTest : public WorkbenchTest {
 protected:
  std::string Pane(int pane) const { return frame->GetStatusBar()->GetStatusText(pane).utf8_string(); }

  // The progress bars in the status bar: all of them, and those shown.
  std::vector<wxGauge*> Bars() const {
    std::vector<wxGauge*> bars;
    for (wxWindow* child : frame->GetStatusBar()->GetChildren()) {
      if (auto* gauge = dynamic_cast<wxGauge*>(child)) bars.push_back(gauge);
    }
    return bars;
  }
  int ShownBars() const {
    int n = 0;
    for (wxGauge* bar : Bars()) n += bar->IsShown();
    return n;
  }

  // One StepProgress as a process makes it: inside the running event loop, and after the pump's
  // interval so that it looks at the queue. Records whether the step pumped.
  bool Step(int n) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto pumped = std::make_shared<bool>(false);
    frame->CallAfter([pumped] { *pumped = true; });
    frame->StepProgress(n);
    const bool result = *pumped;
    Pump();  // what the step left in the queue
    return result;
  }

  // The state at the start of a process.
  void StartProcess() {
    frame->abortFlag = 0;
    frame->busyFlag = 1;
    App().processRunning = 1;
  }

  std::string Cell(int row, int column) const { return frame->Log()->List()->GetItemText(row, column).utf8_string(); }
  int Icon(int row) const {
    wxListItem item;
    item.SetId(row);
    item.SetMask(wxLIST_MASK_IMAGE);
    frame->Log()->List()->GetItem(item);
    return item.GetImage();
  }
};

TEST_F(FrameServicesTest, StepsLabelTheBarAndEndProgressEndsTheProcess) {
  RunAsCommand(frame, [&] {
    StartProcess();
    frame->StartProgress(100);
    frame->StartProgressText(100, "Searching..");  // a second bar replaces the first
    EXPECT_EQ(Bars().size(), 1u);
    EXPECT_EQ(Pane(0), "Searching..");

    EXPECT_TRUE(Step(7));
    EXPECT_EQ(Pane(0), " 7 Entries Found");
    EXPECT_EQ(ShownBars(), 1);
    EXPECT_EQ(frame->busyFlag, 1);
    App().recovering = 1;
    EXPECT_TRUE(Step(0));
    EXPECT_EQ(Pane(0), " 1 Files Recovered");
    EXPECT_TRUE(Step(41));
    EXPECT_EQ(Pane(0), " 42 Files Recovered");

    frame->EndProgress();
    EXPECT_EQ(frame->busyFlag, 0);
    EXPECT_EQ(frame->abortFlag, 1);
    EXPECT_EQ(App().processRunning, 0);
    EXPECT_EQ(App().recovering, 0);
    EXPECT_TRUE(Bars().empty());
    EXPECT_EQ(Pane(0), "For Help, press F1");

    // Between processes a step neither labels, nor steps, nor pumps, nor marks the frame busy.
    EXPECT_FALSE(Step(9));
    EXPECT_EQ(Pane(0), "For Help, press F1");
    EXPECT_TRUE(Bars().empty());
    EXPECT_EQ(frame->busyFlag, 0);
  });
}

TEST_F(FrameServicesTest, StopChosenDuringAStepDeletesTheBarInThatStep) {
  RunAsCommand(frame, [&] {
    StartProcess();
    frame->StartProgress(100);
    EXPECT_TRUE(Step(1));
    ASSERT_EQ(ShownBars(), 1);

    // Stop from the menu, answered Yes, while the next step pumps.
    wxQueueEvent(frame, new wxCommandEvent(wxEVT_MENU, WxId(kCmdStop)));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    wxTEST_DIALOG(frame->StepProgress(2), wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("Stop current process ?"));
    EXPECT_TRUE(Bars().empty());
    EXPECT_EQ(Pane(0), "For Help, press F1");
    EXPECT_EQ(frame->abortFlag, 1);
    EXPECT_EQ(frame->busyFlag, 0);
    EXPECT_EQ(App().processRunning, 0);

    // The process's loop leaves at its next test; steps until then show nothing.
    EXPECT_FALSE(Step(3));
    EXPECT_TRUE(Bars().empty());
    EXPECT_EQ(Pane(0), "For Help, press F1");
    frame->EndProgress();
    EXPECT_TRUE(Bars().empty());
    EXPECT_EQ(frame->abortFlag, 1);
  });
}

TEST_F(FrameServicesTest, LogRowsShowEveryTextAndTheListFollowsItsLastRow) {
  RunAsCommand(frame, [&] {
    wxListCtrl* list = frame->Log()->List();
    EXPECT_EQ(frame->AddLogEntry("Recovering file", "Process started", "Started on Thu", kIconStarted), 1);
    // A recovered name that is not valid UTF-8, between null texts, and a row without an icon.
    EXPECT_EQ(frame->AddLogEntry(nullptr, "/docs/caf\xe9.txt", nullptr, kIconNone), 2);
    EXPECT_EQ(frame->AddLogEntry(nullptr, "/\xe6\x97\xa5\xe6\x9c\xac/b\xff\xfe", "Completed", kIconNone), 3);
    EXPECT_EQ(Cell(0, 0), "Recovering file");
    EXPECT_EQ(Cell(0, 2), "Started on Thu");
    EXPECT_EQ(Icon(0), 4);
    EXPECT_EQ(Cell(1, 0), "");
    EXPECT_EQ(Cell(1, 1), "/docs/caf\xc3\xa9.txt");
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(Icon(1), -1);
    EXPECT_EQ(Cell(2, 1), "/\xe6\x97\xa5\xe6\x9c\xac/b\xc3\xbf\xc3\xbe");

    // Many rows: the list keeps its last row in view.
    for (int i = 3; i < 60; ++i) {
      EXPECT_EQ(frame->AddLogEntry(nullptr, ("row " + std::to_string(i)).c_str(), "Done", kIconNone), i + 1);
    }
    Pump();
    const long last = list->GetItemCount() - 1;
    ASSERT_EQ(last, 59);
    ASSERT_LT(list->GetCountPerPage(), 59) << "the log pane shows every row; the test cannot see scrolling";
    EXPECT_GT(list->GetTopItem(), 0);
    EXPECT_GE(list->GetTopItem() + list->GetCountPerPage(), last + 1) << "the last row is out of view";

    // The saved report holds every row's texts, the undecodable name as it is shown.
    const fs::path report = dest / "log";
    frame->SaveLog(report.string());
    const std::string text = ReadFile(report.string() + ".Txt");
    EXPECT_NE(text.find("\r\n                    /docs/caf\xc3\xa9.txt\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n                    /\xe6\x97\xa5\xe6\x9c\xac/b\xc3\xbf\xc3\xbe\r\n"), std::string::npos);
  });
}

TEST_F(FrameServicesTest, LongRowsAreShownWholeInsideThePane) {
  RunAsCommand(frame, [&] {
    Pump(200);
    // The search's end row, the longest activity, a recovered path and a name of other scripts,
    // each wider than its column's width of the look; each is checked once it is the last row.
    const std::vector<std::vector<std::string>> rows = {
        {"Creating directory tree", "Process completed, found 29 deleted & 0 lost entries",
         "Completed on Fri Dec 11 14:03:25 2026"},
        {"Searching missing file(s) and folder(s)", "Process started", "Started on Fri Dec 11 14:03:25 2026"},
        {"", "/media/recovered/#Root/usr/include/linux/netfilter/ipset/ip_set_hash.h",
         "File Recovered Successfully"},
        {"", "/#Root/\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e/\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab\xe5\x90\x8d\xe3\x81\x8c\xe3\x81\xa8\xe3\x81\xa6\xe3\x82\x82\xe9\x95\xb7\xe3\x81\x84.txt",
         "File Recovery Failed"},
    };
    for (const auto& row : rows) {
      frame->AddLogEntry(row[0].empty() ? nullptr : row[0].c_str(), row[1].c_str(), row[2].c_str(),
                         row[0].empty() ? kIconNone : kIconCompleted);
      ExpectLastRowShownWhole(frame->Log(), row, !row[0].empty());
    }
    // Clear Log: the columns have their widths of the look again.
    frame->ClearLog();
    Pump();
    EXPECT_EQ(frame->Log()->List()->GetColumnWidth(1), 300);
  });
}

TEST_F(FrameServicesTest, MarkedPaneWithAndWithoutItsFlags) {
  RunAsCommand(frame, [&] {
    CLinuxDrive drive;
    drive.totalBytes = 1536;
    drive.files = 3;
    drive.folders = 2;
    frame->SetDrive(&drive);

    // The list and the tree write the marked amount themselves and call with no flag.
    frame->markedBytes = 3u << 20;
    frame->markedFiles = 7;
    frame->markedFolders = 1;
    frame->UpdateMarkedPane(false, false, nullptr, false);
    EXPECT_EQ(Pane(2), "   Marked 3.000 MB in 7 Files in 1 Folders");
    // Select All: the drive's amount.
    frame->UpdateMarkedPane(true, false, nullptr, false);
    EXPECT_EQ(Pane(2), "   Marked 1.50 KB in 3 Files in 2 Folders");
    EXPECT_EQ(frame->markedBytes, 1536u);
    // A new drive: both flags leave nothing marked.
    frame->UpdateMarkedPane(true, true, nullptr, false);
    EXPECT_EQ(Pane(2), "   Marked 0 Bytes in 0 Files in 0 Folders");
    EXPECT_EQ(frame->markedBytes, 0u);
    EXPECT_EQ(frame->markedFiles, 0);
    EXPECT_EQ(frame->markedFolders, 0);

    // A running text is shown as it is, whatever the amount, at most 255 characters.
    frame->markedBytes = 5000;
    frame->UpdateMarkedPane(false, false, " Reading Sector 5 of 9", true);
    EXPECT_EQ(Pane(2), " Reading Sector 5 of 9");
    frame->UpdateMarkedPane(true, true, std::string(300, 'x').c_str(), true);
    EXPECT_EQ(Pane(2), std::string(255, 'x'));
    EXPECT_EQ(frame->markedBytes, 5000u);
    frame->UpdateMarkedPane(false, false, " Reading caf\xe9", true);
    EXPECT_EQ(Pane(2), " Reading caf\xc3\xa9");
    frame->SetDrive(nullptr);
  });
}

}  // namespace
