// CD's pictures by kind (the icon theme's where it has them): process-log icons, toolbar buttons,
// the tree's drive and folder images, the list's item icons, the About picture and the start-up picture.
#pragma once

#include <wx/bitmap.h>

#include <vector>

namespace cd::app {

// The process log's icon of index 0 to 2 (tick, cross, "i"), 16 x 16.
wxBitmap CdLogIcon(int index);
// A 30 x 30 toolbar picture for command ID.
wxBitmap CdToolbarPicture(int id);
// The tree's images: 0 a CD drive, 1 a closed folder, 2 an open folder; 16 x 16.
std::vector<wxBitmap> CdTreeImages();
// The list's item icons of SIZE (16 or 32): folder, file, deleted folder, deleted file, folder with "?".
std::vector<wxBitmap> CdListIcons(int size);
// A disc, for the About box and the start-up picture.
wxBitmap CdDiscPicture(int size);
// The start-up picture of 300 x 210: the disc, the program's name and what it recovers on one
// colour, every text inside a margin of kCdSplashMargin.
inline constexpr int kCdSplashMargin = 8;
wxBitmap CdSplashPicture();

}  // namespace cd::app
