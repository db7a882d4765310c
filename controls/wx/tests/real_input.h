// Real keys and mouse moves for the window tests: the X server's test extension (through
// wxUIActionSimulator) sends them as a user's keyboard and mouse would, so they pass through the
// toolkit's own key, accelerator and hover handling. Under Xvfb without a window manager the
// keyboard goes to the window under the pointer, so a key is typed with the pointer inside the
// window that is to receive it.
#pragma once

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace guitest {

// Lets the server and the toolkit deliver what was sent, for about MS milliseconds.
inline void Settle(int ms = 120) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

// Moves the pointer to POINT of WINDOW (client coordinates; the centre when not given).
inline void PointAt(wxWindow* window, wxPoint point = wxDefaultPosition) {
  if (point == wxDefaultPosition) point = wxPoint(window->GetClientSize().x / 2, window->GetClientSize().y / 2);
  wxUIActionSimulator sim;
  sim.MouseMove(window->ClientToScreen(point));
  Settle(60);
}

// Clicks (twice for a double click when DOUBLE) the left button at POINT of WINDOW.
inline void ClickAt(wxWindow* window, bool twice = false, wxPoint point = wxDefaultPosition) {
  PointAt(window, point);
  wxUIActionSimulator sim;
  if (twice) {
    sim.MouseDblClick();
  } else {
    sim.MouseClick();
  }
  Settle(200);
}

// Types KEY with MODIFIERS into WINDOW (given the focus first), as a user would.
inline void PressKey(wxWindow* window, int key, int modifiers = wxMOD_NONE) {
  wxWindow* top = wxGetTopLevelParent(window);
  top->Raise();
  PointAt(top);
  window->SetFocus();
  Settle(60);
  wxUIActionSimulator sim;
  sim.Char(key, modifiers);
  Settle();
}

// Answers the modal dialogs that open from now on, one action each in order, from a timer of
// their modal loop once they are on the screen. Each action must end its dialog. Keep the object
// alive until the dialogs have been handled.
class ModalAnswers : public wxTimer {
 public:
  explicit ModalAnswers(std::vector<std::function<void(wxDialog*)>> actions) : actions_(std::move(actions)) {
    Start(20);
  }
  // How many actions have run.
  std::size_t Done() const { return done_; }

  void Notify() override {
    if (running_) return;
    for (wxWindow* w : wxTopLevelWindows) {
      auto* dlg = wxDynamicCast(w, wxDialog);
      if (dlg == nullptr || !dlg->IsModal() || !dlg->IsShownOnScreen()) continue;
      if (done_ == actions_.size()) return;
      running_ = true;
      actions_[done_++](dlg);
      running_ = false;
      if (done_ == actions_.size()) Stop();
      return;
    }
  }

 private:
  std::vector<std::function<void(wxDialog*)>> actions_;
  std::size_t done_ = 0;
  bool running_ = false;
};

// Presses the button ID of DLG (a click event of the button).
inline void PressButton(wxDialog* dlg, int id) {
  wxWindow* button = dlg->FindWindow(id);
  if (button == nullptr) return;
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

}  // namespace guitest
