// The program's pictures by kind (the icon theme's where it has them): log icons, toolbar buttons,
// the tree's and the list's entry images, the start-up picture.
#pragma once

#include <wx/bitmap.h>
#include <wx/imaglist.h>

#include <vector>

namespace ext2::app {

// The log's icon of index 0 to 6 (tick, panel, wheelchair, cross, "i", camera, "?"), 16 x 16.
wxBitmap LogIcon(int index);
// The same picture at 32 x 32, for the caution and confirmation dialogs.
wxBitmap DialogIcon(int index);
// The tree's pictures in the order of its image list: Root, folder, folder selected, deleted
// folder, deleted folder selected; 16 x 16.
wxImageList* TreeImages();
// The list's row pictures in the order folder, file, deleted folder, deleted file, and a fifth
// that no row uses; SIZE 16 or 32.
std::vector<wxBitmap> EntryIcons(int size);
// The 16 x 16 disk of the drive lists.
wxBitmap DiskIcon();
// The program's picture (splash and About) of SIZE.
wxBitmap ProgramPicture(wxSize size);
// A 32 x 32 toolbar picture for command ID.
wxBitmap ToolbarPicture(int id);

}  // namespace ext2::app
