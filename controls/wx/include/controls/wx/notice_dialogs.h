// Modal notices that close themselves after a fixed time: the splash picture at start-up and the
// short wait notice before the File Mask is applied. A worker thread sleeps for the notice's time
// and then asks the user-interface thread to end the notice; a notice that has already ended (Esc
// or Enter close it early) or been destroyed is never touched.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>

#include <chrono>
#include <memory>
#include <thread>

namespace controls {

// How long each program shows its notices.
inline constexpr std::chrono::milliseconds kVelnoraSplashTime{1000};
inline constexpr std::chrono::milliseconds kCdSplashTime{2000};
inline constexpr std::chrono::milliseconds kWaitNoticeTime{600};
inline constexpr const char* kVelnoraWaitText = "Please wait.... , process may take some time";
inline constexpr const char* kCdWaitText = "Please wait to continue....";

// Whether the programs show their start-up picture: not when the environment sets
// QUARVEL_NO_SPLASH (scripted and test runs).
bool SplashWanted();

// A dialog without caption or buttons that ShowModal ends after TIME as cancelled.
class CTimedNoticeDlg : public wxDialog {
 public:
  CTimedNoticeDlg(wxWindow* parent, std::chrono::milliseconds time);
  ~CTimedNoticeDlg() override;

  // Starts the worker, runs the modal loop, and stops the worker before returning, so that no
  // later wake-up can reach this dialog. Returns wxID_CANCEL when the time ran out or on Esc,
  // wxID_OK on Enter.
  int ShowModal() override;
  std::chrono::milliseconds Time() const { return time_; }

 private:
  struct Worker;
  void OnCharHook(wxKeyEvent& event);

  std::chrono::milliseconds time_;
  std::unique_ptr<Worker> worker_;
};

// The start-up picture of a program; callers pass the program's picture and time.
class CSplashDlg : public CTimedNoticeDlg {
 public:
  CSplashDlg(wxWindow* parent, const wxBitmap& picture, std::chrono::milliseconds time);
};

// The wait notice: one line of text, shown for kWaitNoticeTime unless told otherwise.
class CWaitDlg : public CTimedNoticeDlg {
 public:
  CWaitDlg(wxWindow* parent, const wxString& text, std::chrono::milliseconds time = kWaitNoticeTime);
};

}  // namespace controls
