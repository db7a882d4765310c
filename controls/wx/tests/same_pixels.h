// Whether two pictures show the same: same size, same colour wherever either is not transparent.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

namespace guitest {

inline bool SamePixels(const wxBitmap& a, const wxBitmap& b) {
  if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) return false;
  const wxImage x = a.ConvertToImage(), y = b.ConvertToImage();
  for (int row = 0; row < x.GetHeight(); ++row) {
    for (int col = 0; col < x.GetWidth(); ++col) {
      const int ax = x.HasAlpha() ? x.GetAlpha(col, row) : 255;
      const int ay = y.HasAlpha() ? y.GetAlpha(col, row) : 255;
      if (ax != ay) return false;
      if (ax == 0) continue;
      if (x.GetRed(col, row) != y.GetRed(col, row) || x.GetGreen(col, row) != y.GetGreen(col, row) ||
          x.GetBlue(col, row) != y.GetBlue(col, row)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace guitest
