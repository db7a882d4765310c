// The program's pictures, drawn in code: log icons, toolbar buttons, the tree's folder images.
#pragma once

#include <wx/bitmap.h>

// The log's icon of index 0 to 6 (tick, panel, wheelchair, cross, "i", camera, "?"), 16 x 16.
wxBitmap LogIcon(int index);
// The same picture at 32 x 32, for the caution and confirmation dialogs.
wxBitmap DialogIcon(int index);
// The 16 x 16 disk of the drive lists.
wxBitmap DiskIcon();
// The program's picture (splash and About) of SIZE.
wxBitmap ProgramPicture(wxSize size);
// A 32 x 32 toolbar picture for command ID.
wxBitmap ToolbarPicture(int id);
