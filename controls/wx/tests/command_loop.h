// Runs part of a window test as the program runs a command: inside a running event loop, which a
// long process's message pump dispatches from. (On GTK an event loop that is not running reports
// every event it is asked to dispatch as a quit request.)
#pragma once

#include <wx/evtloop.h>
#include <wx/window.h>

#include <functional>

namespace guitest {

inline void RunAsCommand(wxWindow* window, const std::function<void()>& body) {
  wxGUIEventLoop loop;
  window->CallAfter([&] {
    body();
    loop.ScheduleExit();
  });
  loop.Run();
}

}  // namespace guitest
