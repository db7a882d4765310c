// The status-bar progress bar in a real status bar: placement after its label, stepping, following
// the status bar, and the pane text given back.
#include "controls/wx/progress_bar.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <memory>

#include "controls/wx/status_bar.h"
#include "gui_test_support.h"

namespace {

using controls::CProgressBar;

class ProgressBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = guitest::Frame();
    bar = frame->GetStatusBar();
    if (bar == nullptr) {
      bar = frame->CreateStatusBar(3);
      const int widths[] = {-1, 120, 120};
      bar->SetStatusWidths(3, widths);
      frame->SendSizeEvent();
      guitest::Pump(std::chrono::milliseconds(50));
    }
    bar->SetStatusText("Ready", 0);
    bar->SetStatusText("Marked", 1);
  }

  // Where the bar belongs in PANE with LABEL and SIZE.
  wxRect Expected(int pane, const wxString& label, int size) {
    wxRect f;
    bar->GetFieldRect(pane, f);
    const auto r = controls::PlaceProgressBar({f.x, f.y, f.x + f.width, f.y + f.height},
                                              label.empty() ? 0 : bar->GetTextExtent(label).x,
                                              bar->GetTextExtent(" ").x, !label.empty(), size);
    return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }

  wxFrame* frame = nullptr;
  wxStatusBar* bar = nullptr;
};

TEST_F(ProgressBarTest, SitsAfterItsLabelStepsAndGivesPaneZeroTheIdlePrompt) {
  auto progress = std::make_unique<CProgressBar>("Reading..", 100, 4, true, 0);
  wxWeakRef<wxGauge> gauge = progress->Gauge();
  ASSERT_TRUE(gauge);
  EXPECT_EQ(gauge->GetParent(), bar);
  EXPECT_EQ(gauge->GetId(), CProgressBar::kGaugeId);
  EXPECT_TRUE(gauge->IsShown());
  EXPECT_EQ(bar->GetStatusText(0), "Reading..");
  EXPECT_EQ(gauge->GetRect(), Expected(0, "Reading..", 100));
  EXPECT_EQ(gauge->GetRange(), 4);

  std::vector<int> previous;
  std::vector<int> shown;
  for (int i = 0; i < 6; ++i) {
    previous.push_back(progress->StepIt());
    shown.push_back(gauge->GetValue());
  }
  EXPECT_EQ(previous, (std::vector<int>{0, 1, 2, 3, 4, 0}));
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 0, 1}));

  EXPECT_TRUE(progress->SetRange(10, 20, 5));
  EXPECT_EQ(gauge->GetRange(), 10);
  EXPECT_EQ(progress->StepIt(), 10);
  EXPECT_EQ(gauge->GetValue(), 5);

  // A new label moves the bar after it; stepping alone neither writes the pane nor moves the bar.
  EXPECT_TRUE(progress->SetText("Building the directory tree"));
  EXPECT_EQ(gauge->GetRect(), Expected(0, "Building the directory tree", 100));
  bar->SetStatusText("someone else's text", 0);
  const wxRect before = gauge->GetRect();
  progress->StepIt();
  EXPECT_EQ(bar->GetStatusText(0), "someone else's text");
  EXPECT_EQ(gauge->GetRect(), before);

  progress.reset();
  EXPECT_EQ(bar->GetStatusText(0), "For Help, press F1");
  EXPECT_FALSE(gauge);  // destroyed with the bar
}

TEST_F(ProgressBarTest, OtherPaneGetsItsOwnTextBackAndSizeTakesItsShare) {
  {
    CProgressBar progress("", 50, 10, false, 1);
    ASSERT_NE(progress.Gauge(), nullptr);
    EXPECT_EQ(progress.Gauge()->GetRect(), Expected(1, "", 50));
    progress.Clear();
    EXPECT_FALSE(progress.Gauge()->IsShown());
    EXPECT_EQ(bar->GetStatusText(1), "Marked");
    progress.SetStep(2);  // shows the bar again
    EXPECT_TRUE(progress.Gauge()->IsShown());
  }
  EXPECT_EQ(bar->GetStatusText(1), "Marked");
}

TEST_F(ProgressBarTest, FollowsTheStatusBarWhenTheFrameResizes) {
  CProgressBar progress("Scanning", 100, 10, true, 0);
  const wxSize old = frame->GetSize();
  frame->SetSize(old.x + 160, old.y);
  guitest::Pump(std::chrono::milliseconds(100));
  EXPECT_EQ(progress.Gauge()->GetRect(), Expected(0, "Scanning", 100));
  frame->SetSize(old);
  guitest::Pump(std::chrono::milliseconds(100));
  EXPECT_EQ(progress.Gauge()->GetRect(), Expected(0, "Scanning", 100));
}

TEST_F(ProgressBarTest, WithoutAStatusBarEveryCallDoesNothing) {
  auto* bare = new wxFrame(nullptr, wxID_ANY, "no status bar");
  wxTheApp->SetTopWindow(bare);
  {
    CProgressBar progress("Reading..", 100, 10, true, 0);
    EXPECT_EQ(progress.Gauge(), nullptr);
    EXPECT_FALSE(progress.Create("Reading..", 100, 10, true, 0));
    EXPECT_EQ(progress.StepIt(), 0);
    EXPECT_FALSE(progress.SetRange(0, 5, 1));
    EXPECT_FALSE(progress.SetText("x"));
    EXPECT_FALSE(progress.Resize());
  }
  wxTheApp->SetTopWindow(frame);
  bare->Destroy();
  // A pane the status bar does not have is refused as well.
  CProgressBar missing("Reading..", 100, 10, true, 7);
  EXPECT_EQ(missing.Gauge(), nullptr);
}

// Steps change the label at every unit of work; painting waits for the window's next repaint.
TEST(ProgressBarSteps, ForceNoRepaintOfTheirOwn) {
  auto* main = new wxFrame(nullptr, wxID_ANY, "steps", wxDefaultPosition, wxSize(640, 200));
  main->SetStatusBar(new controls::CStatusBar(main));
  main->GetStatusBar()->SetFieldsCount(2);
  main->Show();
  wxTheApp->SetTopWindow(main);
  guitest::Pump(std::chrono::milliseconds(100));
  {
    CProgressBar progress("Reading..", 100, 1000, true, 0);
    ASSERT_NE(progress.Gauge(), nullptr);
    guitest::Pump(std::chrono::milliseconds(100));
    int paints = 0;
    auto count = [&paints](wxPaintEvent& e) {
      ++paints;
      e.Skip();
    };
    main->GetStatusBar()->Bind(wxEVT_PAINT, count);
    progress.Gauge()->Bind(wxEVT_PAINT, count);
    for (int n = 0; n < 200; ++n) {
      progress.SetText(wxString::Format(" %d Entries Found", n));
      progress.StepIt();
      main->SetStatusText(wxString::Format("   Total %d.00 KB in %d Files in 1 Folders", n, n), 1);
    }
    EXPECT_EQ(paints, 0);
    guitest::Pump(std::chrono::milliseconds(100));
    EXPECT_GT(paints, 0);  // the last texts show with the next repaint
    EXPECT_EQ(main->GetStatusBar()->GetStatusText(0), " 199 Entries Found");
  }
  wxTheApp->SetTopWindow(guitest::Frame());
  main->Destroy();
  guitest::Pump(std::chrono::milliseconds(50));
}

}  // namespace
