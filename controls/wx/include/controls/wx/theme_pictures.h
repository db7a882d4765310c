// The pictures of both programs by kind: toolbar commands, log and dialog notices, tree and list
// entries. Each is the desktop icon theme's picture of that kind (through wxArtProvider) where the
// theme has one, and a drawn one otherwise.
#pragma once

#include <wx/artprov.h>
#include <wx/bitmap.h>
#include <wx/dc.h>

#include <functional>

namespace controls {

// The theme's picture ID at SIZE x SIZE, or the one DRAW paints (on white, which stays
// transparent) when the theme has none.
wxBitmap ThemePicture(const wxArtID& id, int size, const std::function<void(wxDC&)>& draw);

// PICTURE with a badge of its own size painted over it by BADGE (white stays transparent).
wxBitmap WithBadge(const wxBitmap& picture, const std::function<void(wxDC&)>& badge);

// Toolbar commands.
enum class CommandPicture {
  SelectDisk,
  OpenDrive,
  OpenCdDrive,
  AddFileFilter,
  Find,
  FindNext,
  RecoverAll,
  RecoverSelected,
  RecoverDeleted,
  FileMask,
  GoUp,
  Stop,
  HelpTopics,
};
wxBitmap PictureOf(CommandPicture kind, int size);

// Notices of the logs and the dialogs.
enum class NoticePicture {
  Completed,      // a tick
  Event,          // a grey panel with lines
  Accessibility,  // a wheelchair
  Failed,         // a cross on a red disc
  Information,    // "i"
  Camera,         // a hand-held camera
  Question,       // "?"
};
wxBitmap PictureOf(NoticePicture kind, int size);

// Tree and list entries and the drives they lie on.
enum class EntryPicture {
  HardDisk,
  CdDrive,
  Folder,
  OpenFolder,
  File,
  DeletedFolder,
  DeletedFile,
  QueriedFolder,  // a folder with "?"
};
wxBitmap PictureOf(EntryPicture kind, int size);

}  // namespace controls
