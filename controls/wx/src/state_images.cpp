// Drawing of the check-box strip pixel by pixel, so that it looks the same on every theme.
#include "controls/wx/state_images.h"

#include <wx/bitmap.h>

namespace controls {
namespace {

void Put(wxImage& img, int x, int y, unsigned char grey) {
  img.SetRGB(x, y, grey, grey, grey);
  img.SetAlpha(x, y, 255);
}

}  // namespace

wxImage StateImage(int index) {
  wxImage img(kStateImageSize, kStateImageSize);
  img.InitAlpha();
  for (int y = 0; y < kStateImageSize; ++y) {
    for (int x = 0; x < kStateImageSize; ++x) img.SetAlpha(x, y, 0);
  }
  if (index <= 0 || index >= kStateImageCount) return img;
  // A box from (1, 1) to (12, 12): dark frame, white inside.
  for (int y = 1; y <= 12; ++y) {
    for (int x = 1; x <= 12; ++x) {
      const bool frame = x == 1 || x == 12 || y == 1 || y == 12;
      Put(img, x, y, frame ? 0x40 : 0xFF);
    }
  }
  if (index == 1) return img;
  // The check: down from (3, 6) to (5, 8), then up to (10, 3), three pixels thick.
  const unsigned char ink = index == 2 ? 0x00 : 0x9A;
  auto stroke = [&](int x, int y) {
    for (int t = 0; t < 3; ++t) Put(img, x, y + t, ink);
  };
  for (int x = 3; x <= 5; ++x) stroke(x, 6 + (x - 3));
  for (int x = 6; x <= 10; ++x) stroke(x, 8 - (x - 5));
  return img;
}

wxImageList* NewStateImageList() {
  auto* list = new wxImageList(kStateImageSize, kStateImageSize, false, kStateImageCount);
  for (int i = 0; i < kStateImageCount; ++i) list->Add(wxBitmap(StateImage(i)));
  return list;
}

}  // namespace controls
