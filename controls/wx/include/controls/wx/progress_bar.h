// A progress bar inside one pane of the main window's status bar, after a short label that the
// pane shows as its text. One bar per long operation: made at its start, stepped per unit of
// work, deleted at its end, which gives the pane its text back. A plain object owning a wxGauge;
// every call checks that the gauge still exists.
#pragma once

#include <wx/gauge.h>
#include <wx/statusbr.h>
#include <wx/weakref.h>

#include "controls/progress_layout.h"

namespace controls {

class CProgressBar {
 public:
  static constexpr wxWindowID kGaugeId = 1;

  CProgressBar() = default;  // no bar until Create
  CProgressBar(const wxString& label, int size, int maximum, bool smooth, int pane);
  ~CProgressBar();  // Clear, then the gauge goes
  CProgressBar(const CProgressBar&) = delete;
  CProgressBar& operator=(const CProgressBar&) = delete;

  // Makes the gauge in PANE of the main window's status bar with the range 0..MAXIMUM and step 1;
  // SIZE is the bar's share in percent of the room after the label. False without a status bar.
  bool Create(const wxString& label, int size, int maximum, bool smooth, int pane);
  // Hides the bar and gives the pane its text back (pane 0: "For Help, press F1").
  void Clear();
  // A new label, and the bar moved after it; measures only when the label's shape changes (its
  // digits count as zeros).
  bool SetText(const wxString& label);
  bool SetRange(int lower, int upper, int step);
  void SetStep(int step);
  // One step; returns the position before it (0 without a bar). Cheap: it neither measures nor
  // moves anything, and repaints nothing of its own.
  int StepIt();
  // Places the bar in its pane; moves it only when its place has changed. False without a bar.
  bool Resize();

  // The status bar of the application's main window, or null.
  static wxStatusBar* GetStatusBar();

  wxGauge* Gauge() const { return gauge_.get(); }
  int GetPos() const { return counter_.Position(); }
  const wxString& GetLabel() const { return label_; }

 private:
  void OnBarSize(wxSizeEvent& event);
  void Measure();

  int size_ = 100;
  int pane_ = 0;
  wxString label_;
  wxString savedText_;
  PaneRect last_{};
  wxString measured_;  // the label's shape last measured
  int labelWidth_ = 0;
  int blankWidth_ = 0;
  ProgressCounter counter_;
  wxWeakRef<wxGauge> gauge_;
  wxWeakRef<wxStatusBar> bar_;
};

}  // namespace controls
