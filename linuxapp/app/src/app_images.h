// The program's pictures, drawn in code: log icons, toolbar buttons, the tree's folder images.
#pragma once

#include <wx/bitmap.h>

// The log's icon of index 0 to 6 (tick, panel, wheelchair, cross, "i", camera, "?"), 16 x 16.
wxBitmap LogIcon(int index);
// A 32 x 32 toolbar picture for command ID.
wxBitmap ToolbarPicture(int id);
