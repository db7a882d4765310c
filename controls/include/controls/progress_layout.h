// The plain behaviour of the status-bar progress bar: where it sits in its pane, the position it
// counts through its range, and the text its pane gets back when the bar goes.
#pragma once

#include <string>

namespace controls {

// Edges as the status bar reports them: right and bottom are one past the last pixel.
struct PaneRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PaneRect&) const = default;
};

// The bar's rectangle in PANE: after the label and four blanks (when there is a label), SIZE percent
// of the room left, never of negative width, with a tenth of the height as top and bottom margin.
PaneRect PlaceProgressBar(PaneRect pane, int labelWidth, int blankWidth, bool hasLabel, int sizePercent);

// The position of the bar within [lower, upper]. A step past either end starts over at the other.
class ProgressCounter {
 public:
  // Keeps the position, moved inside the new range.
  void SetRange(int lower, int upper);
  void SetStep(int step) { step_ = step; }
  // Advances by one step and returns the position before it.
  int StepIt();

  int Lower() const { return lower_; }
  int Upper() const { return upper_; }
  int Step() const { return step_; }
  int Position() const { return position_; }
  // The same as a gauge counting from 0: its range (at least 1) and value. A range longer than
  // kGaugeSteps is shown in kGaugeSteps steps (finer than a bar's pixels), so that the gauge is
  // given a new value only every so many positions, not at each one.
  static constexpr int kGaugeSteps = 1000;
  int GaugeRange() const;
  int GaugeValue() const;

 private:
  int lower_ = 0;
  int upper_ = 100;
  int step_ = 10;
  int position_ = 0;
};

// The text a pane shows again when its bar is cleared: pane 0 gets the idle prompt, any other
// pane the text it had when the bar was made.
std::string RestoredPaneText(int pane, const std::string& saved);
inline constexpr const char* kIdlePrompt = "For Help, press F1";

}  // namespace controls
