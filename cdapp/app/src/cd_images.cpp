// CD's pictures by kind, from the icon theme where it has them (controls/wx).
#include "cd_images.h"

#include <wx/dcmemory.h>

#include <iterator>
#include <utility>

#include "cdcore/cd_command_states.h"
#include "controls/wx/theme_pictures.h"

namespace cd::app {

using namespace cd::core;

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
  const wxSize size(300, 210);
  wxBitmap picture(size, 24);
  wxMemoryDC dc(picture);
  dc.SetBackground(wxBrush(wxColour(20, 50, 110)));
  dc.Clear();
  constexpr int kDisc = 72;
  dc.DrawBitmap(CdDiscPicture(kDisc), (size.x - kDisc) / 2, 18, true);
  dc.SetTextForeground(*wxWHITE);
  // Each line centred, in the largest size up to its own that leaves the margins free.
  int y = 18 + kDisc + 14;
  const auto line = [&](const wxString& text, int points, bool bold) {
    wxFont font(wxFontInfo(points).Bold(bold));
    dc.SetFont(font);
    while (points > 6 && dc.GetTextExtent(text).x > size.x - 2 * kCdSplashMargin) {
      font.SetPointSize(--points);
      dc.SetFont(font);
    }
    const wxSize extent = dc.GetTextExtent(text);
    dc.DrawText(text, (size.x - extent.x) / 2, y);
    y += extent.y + 4;
  };
  line("Quarvel Velnora CDROM", 18, true);
  y += 6;
  line("Data Recovery Software for", 10, false);
  line("ISO9660/ JOLIET File System", 10, false);
  dc.SelectObject(wxNullBitmap);
  return picture;
}

}  // namespace cd::app
