// Stop and repainting during long work in the real window: a real click on the Stop button in the
// middle of one large file, during a raw scan of a disc without descriptors, and during Recover
// All; and what the window shows once a stopped recovery has ended.
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include <chrono>

#include "cd_gui_support.h"
#include "cdengine/recovery.h"
#include "real_input.h"
#include "toolbar_pointing.h"

using namespace cd;
using namespace cd::core;
using namespace cd::views;
using namespace cd::app;
using namespace cd::testing;

namespace {

using namespace cdtest;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// Clicks the real left button once, AFTER from its start; the pointer is placed beforehand.
class ClickLater : public wxTimer {
 public:
  explicit ClickLater(std::chrono::milliseconds after) { StartOnce(static_cast<int>(after.count())); }
  void Notify() override {
    clicked = Clock::now();
    done = true;
    wxUIActionSimulator().MouseClick();
  }
  bool done = false;
  Clock::time_point clicked{};
};

// Ticks every 50 ms and asks the tree to repaint; keeps the times of its ticks and counts the
// tree's paints while the frame is busy.
class Heartbeat : public wxTimer {
 public:
  explicit Heartbeat(CMainFrame& frame) : frame_(frame) {
    frame.Tree().Window()->Bind(wxEVT_PAINT, &Heartbeat::OnPaint, this);
    Start(50);
  }
  ~Heartbeat() override { frame_.Tree().Window()->Unbind(wxEVT_PAINT, &Heartbeat::OnPaint, this); }
  void Notify() override {
    ticks_.push_back(Clock::now());
    frame_.Tree().Window()->Refresh();
  }
  // The longest time from FROM to TO without a tick.
  double LongestGap(Clock::time_point from, Clock::time_point to) const {
    double longest = 0;
    Clock::time_point last = from;
    for (const auto& t : ticks_) {
      if (t < from || t > to) continue;
      longest = std::max(longest, Seconds(last, t));
      last = t;
    }
    return std::max(longest, Seconds(last, to));
  }
  int paintsWhileBusy = 0;

 private:
  void OnPaint(wxPaintEvent& e) {
    if (frame_.busy) ++paintsWhileBusy;
    e.Skip();
  }
  CMainFrame& frame_;
  std::vector<Clock::time_point> ticks_;
};

// While it lives, every modal dialog is answered with OK at once; their texts are kept.
class AnswerAll : public wxModalDialogHook {
 public:
  AnswerAll() { Register(); }
  ~AnswerAll() override { Unregister(); }
  std::vector<std::string> texts;

 protected:
  int Enter(wxDialog* dlg) override {
    auto* box = dynamic_cast<controls::CMessageBoxDlg*>(dlg);
    texts.push_back(box != nullptr ? box->GetMessage().utf8_string() : dlg->GetTitle().utf8_string());
    return wxID_OK;
  }
  void Exit(wxDialog*) override {}
};

class LongWork : public CdWindow {
 protected:
  void SetUp() override {
    CdWindow::SetUp();
    wxTheApp->SetTopWindow(frame);
    frame->Raise();
    Pump(100);
  }
  // The pointer over the toolbar's Stop button.
  void PointAtStop() { ASSERT_TRUE(guitest::PointAtTool(frame->GetToolBar(), CdWxId(kCdCmdStop))); }
  std::vector<CdLogRowTexts> Rows() { return frame->Log()->Rows(); }
};

// huge.iso: huge.bin of 4 GiB + 64 KiB in two extents, and small.txt.
TEST_F(LongWork, StopHalfASecondIntoAFourGigabyteFileEndsTheRecoveryThere) {
  OpenDisc(kFixtures / "huge.iso");
  PointAtStop();
  const auto start = Clock::now();
  ClickLater click(std::chrono::milliseconds(500));
  frame->Recover(kRecoverAll, work.string());
  const auto end = Clock::now();
  ASSERT_TRUE(click.done);
  // The click came on time (the window took it inside the file), and the copy ended soon after.
  EXPECT_LT(Seconds(start, click.clicked), 1.5);
  EXPECT_LT(Seconds(click.clicked, end), 1.0);
  const fs::path huge = work / "Root" / "huge.bin";
  EXPECT_TRUE(!fs::exists(huge) || fs::file_size(huge) < 4ull * 1024 * 1024 * 1024);
  const auto rows = Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().status.rfind("Process Stopped", 0), 0u) << rows.back().status;
  bool stoppedRow = false;
  for (const auto& row : rows) stoppedRow |= row.text == huge.string() && row.status == "File Recovery Stopped";
  EXPECT_TRUE(stoppedRow);
  EXPECT_EQ(frame->busy, 0);
}

// A disc of zeros has no descriptors: the raw scans read every sector. The window repaints
// while they run, and Stop ends them.
TEST_F(LongWork, RawScansOfAZeroedDiscRepaintAndStop) {
  const fs::path zeros = work / "zeros.iso";
  { std::ofstream(zeros.string()); }
  fs::resize_file(zeros, 1ull << 30);  // sparse
  SetDrives(zeros.string());
  {
    SCOPED_TRACE("repaints");
    Heartbeat beat(*frame);
    AnswerAll answers;
    const auto start = Clock::now();
    frame->OpenDriveCmd();
    const auto end = Clock::now();
    ASSERT_GT(Seconds(start, end), 0.5) << "the scan is too short to tell";
    EXPECT_LT(beat.LongestGap(start, end), 0.5) << "scan of " << Seconds(start, end) << " s";
    EXPECT_GT(beat.paintsWhileBusy, 0);
    EXPECT_EQ(answers.texts,
              (std::vector<std::string>{"Insert CDROM To Start Process", "No files or folders found on the CDROM"}));
  }
  {
    SCOPED_TRACE("Stop");
    PointAtStop();
    AnswerAll answers;
    const auto start = Clock::now();
    ClickLater click(std::chrono::milliseconds(300));
    frame->OpenDriveCmd();
    const auto end = Clock::now();
    ASSERT_TRUE(click.done);
    EXPECT_LT(Seconds(start, click.clicked), 1.0);
    EXPECT_LT(Seconds(click.clicked, end), 1.0);
    EXPECT_EQ(frame->busy, 0);
    // A scan the user stopped does not say that the disc holds nothing.
    EXPECT_EQ(answers.texts, (std::vector<std::string>{"Insert CDROM To Start Process"}));
    ASSERT_FALSE(Rows().empty());
    EXPECT_EQ(Rows().back().text, "Process aborted, user intervention ");
  }
}

// Stop during Recover All, clicked at the recovery's first look at the window: the panes and
// the tree are as they were before it.
TEST_F(LongWork, StopDuringRecoverAllLeavesPanesAndTreeAsBefore) {
  OpenDisc(kFixtures / "joliet.iso");
  wxStatusBar* panes = frame->GetStatusBar();
  const wxString total = panes->GetStatusText(1), marked = panes->GetStatusText(2);
  const std::uint32_t files = frame->totalFiles, folders = frame->totalFolders;
  const std::size_t nodes = frame->LeftView().NodeCount();
  const std::size_t items = frame->Tree().GetCount();
  auto images = [&] {
    std::vector<int> out;
    for (const auto& n : frame->LeftView().Nodes()) {
      if (n.treeItem != controls::kNoItem) out.push_back(frame->Tree().GetStateImage(n.treeItem));
    }
    return out;
  };
  const auto before = images();
  PointAtStop();
  frame->CallAfter([] {
    wxUIActionSimulator().MouseClick();
    for (int waited = 0; !CdApp().recoveryStop && waited < 3000; waited += 10) Pump(10);
  });
  frame->Recover(kRecoverAll, work.string());
  Pump(50);
  ASSERT_EQ(CdApp().recoveryStop, 1);
  const auto rows = Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().status.rfind("Process Stopped", 0), 0u) << rows.back().status;
  EXPECT_EQ(panes->GetStatusText(1), total);
  EXPECT_EQ(panes->GetStatusText(2), marked);
  // The totals Select All shows.
  EXPECT_EQ(frame->totalFiles, files);
  EXPECT_EQ(frame->totalFolders, folders);
  EXPECT_EQ(frame->LeftView().NodeCount(), nodes);
  EXPECT_EQ(frame->Tree().GetCount(), items);
  EXPECT_EQ(images(), before);
}

}  // namespace
