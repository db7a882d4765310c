// Pictures the programs draw themselves with a memory DC (toolbar buttons, icons, start-up
// pictures), white standing for the transparent colour.
#pragma once

#include <wx/bitmap.h>
#include <wx/dc.h>

#include <functional>

namespace controls {

// A SIZE x HEIGHT picture (square when HEIGHT is 0) on white, drawn by PAINT; white pixels are
// transparent (alpha 0).
wxBitmap DrawPicture(int size, const std::function<void(wxDC&)>& paint, int height = 0);

}  // namespace controls
