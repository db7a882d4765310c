// The check-box strip shared by the tree and the list: four 14 x 14 images, drawn by code.
#pragma once

#include <wx/image.h>
#include <wx/imaglist.h>

namespace controls {

inline constexpr int kStateImageSize = 14;
inline constexpr int kStateImageCount = 4;

// 0 blank, 1 empty box, 2 box with a black check, 3 box with a grey check; transparent around the box.
wxImage StateImage(int index);
// A new image list holding the four images in that order.
wxImageList* NewStateImageList();

}  // namespace controls
