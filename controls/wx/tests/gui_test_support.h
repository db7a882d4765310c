// What the window tests share: a shown frame to put controls in, and pumping the event loop.
#pragma once

#include <wx/frame.h>

#include <chrono>

namespace guitest {

// A frame of 640 x 480, shown, made once and reused; the application's top window.
wxFrame* Frame();
// Dispatches events for about TIME.
void Pump(std::chrono::milliseconds time);
// Dispatches events for about MS milliseconds.
inline void Pump(int ms = 100) { Pump(std::chrono::milliseconds(ms)); }

}  // namespace guitest
