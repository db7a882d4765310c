// The start of a program's user interface, in its order: its profile becomes the program-wide
// configuration and the recent-file list is loaded from it, the splash picture shows (unless
// SplashWanted says not), then the main window is made, made the top window, titled and shown,
// maximised or centred. At the end the list goes back into the profile.
#pragma once

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/filehistory.h>
#include <wx/frame.h>

#include <chrono>
#include <cstddef>
#include <functional>

namespace controls {

// The recent-file list keeps this many paths.
inline constexpr std::size_t kRecentFiles = 4;

enum class WindowPlacement { Maximised, Centred };

// What each program brings to its start.
struct ProgramStartUp {
  wxString profile;                         // the name of the program's key
  std::function<wxBitmap()> splashPicture;  // drawn when the splash shows
  std::chrono::milliseconds splashTime{};
  wxString title;
  WindowPlacement placement = WindowPlacement::Centred;
  std::function<wxFrame*()> makeFrame;
};

class CProgramStart {
 public:
  explicit CProgramStart(ProgramStartUp how) : how_(std::move(how)) {}

  // Puts the profile in place (deleting a configuration made before it), loads the list, shows
  // the splash, then makes and shows the main window. Returns the window.
  wxFrame* Start();
  // Saves the list into the program-wide configuration, where there is one.
  void End();
  wxFileHistory& History() { return history_; }

 private:
  ProgramStartUp how_;
  wxFileHistory history_{kRecentFiles};
};

// A program's application object: its user interface starts in OnInit, its list is saved in
// OnExit.
class CProgramApp : public wxApp {
 public:
  explicit CProgramApp(ProgramStartUp how) : start_(std::move(how)) {}
  bool OnInit() override;
  int OnExit() override;

 private:
  CProgramStart start_;
};

}  // namespace controls
