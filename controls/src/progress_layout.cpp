// Placement, counting and pane restoring of the status-bar progress bar.
#include "controls/progress_layout.h"

#include <algorithm>
#include <cstdint>

namespace controls {

PaneRect PlaceProgressBar(PaneRect pane, int labelWidth, int blankWidth, bool hasLabel, int sizePercent) {
  PaneRect r = pane;
  if (hasLabel) r.left += labelWidth + 4 * blankWidth;
  // In 64 bits, so that a wide pane and a large percentage cannot overflow; the quotient truncates
  // towards zero, so a label wider than the pane still ends with right = left below.
  const std::int64_t cut = static_cast<std::int64_t>(100 - sizePercent) * (r.right - r.left) / 100;
  r.right = static_cast<int>(r.right - cut);
  if (r.right < r.left) r.right = r.left;
  const int margin = (r.bottom - r.top) / 10;
  r.top += margin;
  r.bottom -= margin;
  return r;
}

void ProgressCounter::SetRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
  if (position_ < lower_) position_ = lower_;
  if (position_ > upper_) position_ = upper_;
}

int ProgressCounter::StepIt() {
  const int previous = position_;
  const std::int64_t next = static_cast<std::int64_t>(position_) + step_;
  if (next > upper_) {
    position_ = lower_;
  } else if (next < lower_) {
    position_ = upper_;
  } else {
    position_ = static_cast<int>(next);
  }
  return previous;
}

namespace {
std::int64_t Span(int lower, int upper) { return std::max<std::int64_t>(static_cast<std::int64_t>(upper) - lower, 1); }
}  // namespace

int ProgressCounter::GaugeRange() const {
  return static_cast<int>(std::min<std::int64_t>(Span(lower_, upper_), kGaugeSteps));
}

int ProgressCounter::GaugeValue() const {
  const std::int64_t span = Span(lower_, upper_);
  const std::int64_t value = std::clamp<std::int64_t>(static_cast<std::int64_t>(position_) - lower_, 0, span);
  return static_cast<int>(span <= kGaugeSteps ? value : value * kGaugeSteps / span);
}

std::string RestoredPaneText(int pane, const std::string& saved) { return pane == 0 ? kIdlePrompt : saved; }

}  // namespace controls
