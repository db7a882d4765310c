// CD's pictures by kind, from the icon theme where it has them (controls/wx).
#include "cd_images.h"

#include <wx/dcmemory.h>

#include <iterator>
#include <utility>

#include "cdviews/cd_command_states.h"
#include "controls/wx/theme_pictures.h"

using controls::CommandPicture;
using controls::EntryPicture;
using controls::NoticePicture;
using controls::PictureOf;

wxBitmap CdLogIcon(int index) {
  static const NoticePicture kinds[] = {NoticePicture::Completed, NoticePicture::Failed, NoticePicture::Information};
  if (index < 0 || index >= static_cast<int>(std::size(kinds))) return wxBitmap();
  return PictureOf(kinds[index], 16);
}

wxBitmap CdToolbarPicture(int id) {
  static const std::pair<int, CommandPicture> kinds[] = {
      {kCdCmdOpenDrive, CommandPicture::OpenCdDrive},         {kCdCmdAddFileFilter, CommandPicture::AddFileFilter},
      {kCdCmdFind, CommandPicture::Find},                     {kCdIdFindNext, CommandPicture::FindNext},
      {kCdCmdRecoverAll, CommandPicture::RecoverAll},         {kCdCmdRecoverSelected, CommandPicture::RecoverSelected},
      {kCdCmdFileMask, CommandPicture::FileMask},             {kCdCmdGoUp, CommandPicture::GoUp},
      {kCdCmdStop, CommandPicture::Stop},                     {kCdCmdHelpTopics, CommandPicture::HelpTopics},
  };
  for (const auto& [command, kind] : kinds) {
    if (command == id) return PictureOf(kind, 30);
  }
  return wxBitmap();
}

std::vector<wxBitmap> CdTreeImages() {
  return {PictureOf(EntryPicture::CdDrive, 16), PictureOf(EntryPicture::Folder, 16),
          PictureOf(EntryPicture::OpenFolder, 16)};
}

std::vector<wxBitmap> CdListIcons(int size) {
  return {PictureOf(EntryPicture::Folder, size), PictureOf(EntryPicture::File, size),
          PictureOf(EntryPicture::DeletedFolder, size), PictureOf(EntryPicture::DeletedFile, size),
          PictureOf(EntryPicture::QueriedFolder, size)};
}

wxBitmap CdDiscPicture(int size) { return PictureOf(EntryPicture::CdDrive, size); }

wxBitmap CdSplashPicture() {
  wxBitmap picture(460, 220);
  wxMemoryDC dc(picture);
  dc.SetBackground(wxBrush(wxColour(20, 50, 110)));
  dc.Clear();
  dc.DrawBitmap(CdDiscPicture(96), 24, 62, true);
  dc.SetTextForeground(*wxWHITE);
  dc.SetFont(wxFont(wxFontInfo(20).Bold()));
  dc.DrawText("Quarvel Velnora CDROM", 140, 70);
  dc.SetFont(wxFont(wxFontInfo(11)));
  dc.DrawText("Data Recovery Software for ISO9660/ JOLIET File System", 140, 120);
  dc.SelectObject(wxNullBitmap);
  return picture;
}
