// The status-bar progress bar's placement in its pane, its counting, and the pane text it restores.
#include "controls/progress_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using controls::PaneRect;
using controls::PlaceProgressBar;
using controls::ProgressCounter;

TEST(ProgressLayout, PlacesTheBarAfterTheLabelWithMargins) {
  struct Case {
    const char* what;
    PaneRect pane;
    int labelWidth;
    bool hasLabel;
    int size;
    PaneRect bar;
  };
  // Blank width 4: a label is followed by 16 pixels.
  const Case cases[] = {
      {"empty label starts at the pane's left", {10, 0, 210, 20}, 0, false, 100, {10, 2, 210, 18}},
      {"size 100 reaches the right edge", {0, 0, 200, 20}, 50, true, 100, {66, 2, 200, 18}},
      {"size 50 takes half the room left", {0, 0, 200, 20}, 50, true, 50, {66, 2, 133, 18}},
      {"12 high: 1-pixel margins", {0, 4, 100, 16}, 0, false, 100, {0, 5, 100, 15}},
      {"9 high: no margin", {0, 4, 100, 13}, 0, false, 100, {0, 4, 100, 13}},
      {"label wider than the pane", {0, 0, 100, 20}, 150, true, 100, {166, 2, 166, 18}},
      {"label wider than the pane, size 50", {0, 0, 100, 20}, 150, true, 50, {166, 2, 166, 18}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceProgressBar(c.pane, c.labelWidth, 4, c.hasLabel, c.size), c.bar) << c.what;
  }
}

TEST(ProgressLayout, CounterStepsThroughItsRangeAndStartsOver) {
  ProgressCounter c;
  EXPECT_EQ(c.Position(), 0);
  c.SetRange(0, 3);
  c.SetStep(1);
  std::vector<int> previous;
  for (int i = 0; i < 6; ++i) previous.push_back(c.StepIt());
  // Each step returns the position before it; a step past the top starts again at the bottom.
  EXPECT_EQ(previous, (std::vector<int>{0, 1, 2, 3, 0, 1}));

  c.SetRange(10, 20);  // the position moves into the new range
  EXPECT_EQ(c.Position(), 10);
  EXPECT_EQ(c.GaugeRange(), 10);
  EXPECT_EQ(c.GaugeValue(), 0);
  c.SetStep(4);
  c.StepIt();
  c.StepIt();
  EXPECT_EQ(c.Position(), 18);
  EXPECT_EQ(c.GaugeValue(), 8);
  EXPECT_EQ(c.StepIt(), 18);  // 22 is past the top
  EXPECT_EQ(c.Position(), 10);
  c.SetRange(0, 5);
  EXPECT_EQ(c.Position(), 5);
  c.SetStep(-7);  // a step below the bottom starts again at the top
  c.StepIt();
  EXPECT_EQ(c.Position(), 5);
  c.SetRange(0, 0);  // an empty range still gives the gauge a range
  EXPECT_EQ(c.GaugeRange(), 1);
}

TEST(ProgressLayout, ALongRangeMovesTheGaugeInAThousandSteps) {
  ProgressCounter c;
  c.SetRange(0, 120000);
  c.SetStep(1);
  EXPECT_EQ(c.GaugeRange(), 1000);
  // 120 positions make one step of the gauge.
  std::vector<int> values;
  for (int i = 0; i < 241; ++i) {
    c.StepIt();
    if (values.empty() || values.back() != c.GaugeValue()) values.push_back(c.GaugeValue());
  }
  EXPECT_EQ(values, (std::vector<int>{0, 1, 2}));
  c.SetRange(-5, 119995);  // the value counts from the lower end, up to the whole range
  EXPECT_EQ(c.GaugeValue(), 2);
  c.SetRange(0, 241);
  EXPECT_EQ(c.GaugeValue(), 241);
  c.SetRange(INT32_MIN, INT32_MAX);
  EXPECT_EQ(c.GaugeRange(), 1000);
  EXPECT_EQ(c.GaugeValue(), 500);
}

TEST(ProgressLayout, ClearingGivesPaneZeroTheIdlePromptAndOthersTheirText) {
  EXPECT_EQ(controls::RestoredPaneText(0, "Reading.."), "For Help, press F1");
  EXPECT_EQ(controls::RestoredPaneText(2, "Marked: 3"), "Marked: 3");
  EXPECT_EQ(controls::RestoredPaneText(1, ""), "");
}

}  // namespace
