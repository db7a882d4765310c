// Pictures drawn with a memory DC.
#include "controls/wx/drawn_pictures.h"

#include <wx/dcmemory.h>

namespace controls {

wxBitmap DrawPicture(int size, const std::function<void(wxDC&)>& paint, int height) {
  wxBitmap bitmap(size, height > 0 ? height : size, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  paint(dc);
  dc.SelectObject(wxNullBitmap);
  // White becomes transparent in the picture's own alpha, so that every image list, mask or not,
  // and every composition of pictures keeps it so.
  wxImage image = bitmap.ConvertToImage();
  image.InitAlpha();
  for (int y = 0; y < image.GetHeight(); ++y) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      const bool white = image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 255 && image.GetBlue(x, y) == 255;
      image.SetAlpha(x, y, white ? 0 : 255);
    }
  }
  return wxBitmap(image);
}

}  // namespace controls
