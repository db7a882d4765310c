// The status-bar progress bar on wxGauge.
#include "controls/wx/progress_bar.h"

#include <wx/app.h>
#include <wx/frame.h>

namespace controls {

CProgressBar::CProgressBar(const wxString& label, int size, int maximum, bool smooth, int pane) {
  Create(label, size, maximum, smooth, pane);
}

CProgressBar::~CProgressBar() {
  Clear();
  if (wxStatusBar* bar = bar_.get()) bar->Unbind(wxEVT_SIZE, &CProgressBar::OnBarSize, this);
  if (wxGauge* gauge = gauge_.get()) gauge->Destroy();
}

wxStatusBar* CProgressBar::GetStatusBar() {
  if (wxTheApp == nullptr) return nullptr;
  auto* frame = dynamic_cast<wxFrame*>(wxTheApp->GetTopWindow());
  return frame != nullptr ? frame->GetStatusBar() : nullptr;
}

bool CProgressBar::Create(const wxString& label, int size, int maximum, bool smooth, int pane) {
  wxStatusBar* bar = GetStatusBar();
  wxRect field;
  if (bar == nullptr || gauge_ || pane < 0 || pane >= bar->GetFieldsCount() || !bar->GetFieldRect(pane, field)) {
    return false;
  }
  auto* gauge = new wxGauge(bar, kGaugeId, 100, field.GetPosition(), field.GetSize(),
                            wxGA_HORIZONTAL | (smooth ? wxGA_SMOOTH : 0));
  gauge_ = gauge;
  bar_ = bar;
  SetRange(0, maximum, 1);
  SetStep(1);
  label_ = label;
  size_ = size;
  pane_ = pane;
  savedText_ = bar->GetStatusText(pane);
  last_ = {};
  Measure();
  // The bar follows every resizing of the status bar.
  bar->Bind(wxEVT_SIZE, &CProgressBar::OnBarSize, this);
  Resize();
  return true;
}

void CProgressBar::OnBarSize(wxSizeEvent& event) {
  event.Skip();
  // The fields are laid out by the status bar's own size handler, which runs after this one.
  if (wxStatusBar* bar = bar_.get())
    bar->CallAfter([this, guard = wxWeakRef<wxGauge>(gauge_)] {
      if (guard) Resize();
    });
}

void CProgressBar::Measure() {
  wxStatusBar* bar = bar_.get();
  if (bar == nullptr) return;
  // Digits are measured as zeros (the fonts' digits share one width), so a running count such as
  // " 1234 Entries Found" is measured again only when it gains a digit.
  wxString shape = label_;
  for (auto c = shape.begin(); c != shape.end(); ++c) {
    if (*c >= '1' && *c <= '9') *c = '0';
  }
  if (shape == measured_ && blankWidth_ != 0) return;
  measured_ = shape;
  labelWidth_ = shape.empty() ? 0 : bar->GetTextExtent(shape).x;
  blankWidth_ = bar->GetTextExtent(" ").x;
}

void CProgressBar::Clear() {
  wxGauge* gauge = gauge_.get();
  wxStatusBar* bar = bar_.get();
  if (gauge == nullptr) return;
  gauge->Hide();
  if (bar != nullptr && pane_ < bar->GetFieldsCount()) {
    bar->SetStatusText(wxString::FromUTF8(RestoredPaneText(pane_, std::string(savedText_.utf8_str()))), pane_);
  }
}

bool CProgressBar::SetText(const wxString& label) {
  if (label != label_) {
    label_ = label;
    Measure();
  }
  return Resize();
}

bool CProgressBar::SetRange(int lower, int upper, int step) {
  wxGauge* gauge = gauge_.get();
  if (gauge == nullptr) return false;
  counter_.SetRange(lower, upper);
  counter_.SetStep(step);
  gauge->SetRange(counter_.GaugeRange());
  gauge->SetValue(counter_.GaugeValue());
  return true;
}

void CProgressBar::SetStep(int step) {
  wxGauge* gauge = gauge_.get();
  if (gauge == nullptr) return;
  if (!gauge->IsShown()) gauge->Show();
  counter_.SetStep(step);
}

int CProgressBar::StepIt() {
  wxGauge* gauge = gauge_.get();
  if (gauge == nullptr) return 0;
  if (!gauge->IsShown()) gauge->Show();
  const int previous = counter_.StepIt();
  const int value = counter_.GaugeValue();
  if (value != gauge->GetValue()) gauge->SetValue(value);
  return previous;
}

bool CProgressBar::Resize() {
  wxGauge* gauge = gauge_.get();
  wxStatusBar* bar = bar_.get();
  if (gauge == nullptr || bar == nullptr) return false;
  // The label is the pane's text while the bar shows. The status bar repaints it in its own time.
  wxRect field;
  if (pane_ >= bar->GetFieldsCount() || !bar->GetFieldRect(pane_, field)) return false;
  if (gauge->IsShown() && bar->GetStatusText(pane_) != label_) bar->SetStatusText(label_, pane_);
  const PaneRect pane{field.x, field.y, field.x + field.width, field.y + field.height};
  const PaneRect r = PlaceProgressBar(pane, labelWidth_, blankWidth_, !label_.empty(), size_);
  if (!(r == last_)) {
    gauge->SetSize(r.left, r.top, r.right - r.left, r.bottom - r.top);
    last_ = r;
  }
  return true;
}

}  // namespace controls
