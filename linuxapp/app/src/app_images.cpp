// The workbench's pictures by kind, from the icon theme where it has them (controls/wx).
#include "app_images.h"

#include <wx/dcmemory.h>

#include <utility>

#include "controls/wx/theme_pictures.h"
#include "linuxcore/command_states.h"

namespace ext2::app {

using namespace ext2::core;

using controls::CommandPicture;
using controls::EntryPicture;
using controls::NoticePicture;
using controls::PictureOf;

namespace {

// The log's icon table in its order: tick, panel, wheelchair, cross, "i", camera, "?".
constexpr NoticePicture kLogNotices[] = {NoticePicture::Completed,   NoticePicture::Event,  NoticePicture::Accessibility,
                                         NoticePicture::Failed,      NoticePicture::Information,
                                         NoticePicture::Camera,      NoticePicture::Question};

}  // namespace

wxBitmap LogIcon(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kLogNotices))) return wxBitmap();
  return PictureOf(kLogNotices[index], 16);
}

wxBitmap DialogIcon(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kLogNotices))) return wxBitmap();
  return PictureOf(kLogNotices[index], 32);
}

wxImageList* TreeImages() {
  auto* images = new wxImageList(16, 16, true, 5);
  for (EntryPicture kind : {EntryPicture::HardDisk, EntryPicture::Folder, EntryPicture::OpenFolder,
                            EntryPicture::DeletedFolder, EntryPicture::DeletedFolder}) {
    images->Add(PictureOf(kind, 16));
  }
  return images;
}

std::vector<wxBitmap> EntryIcons(int size) {
  return {PictureOf(EntryPicture::Folder, size), PictureOf(EntryPicture::File, size),
          PictureOf(EntryPicture::DeletedFolder, size), PictureOf(EntryPicture::DeletedFile, size),
          wxBitmap()};
}

wxBitmap DiskIcon() { return PictureOf(EntryPicture::HardDisk, 16); }

wxBitmap ProgramPicture(wxSize size) {
  wxBitmap picture(size, 24);
  wxMemoryDC dc(picture);
  dc.SetBackground(wxBrush(wxColour(20, 50, 110)));
  dc.Clear();
  const int disk = std::min(96, size.y * 2 / 5);
  dc.DrawBitmap(PictureOf(EntryPicture::HardDisk, disk), 16, (size.y - disk) / 2, true);
  const int x = 28 + disk;
  const int room = size.x - x - 8;
  // Each line at its size, or smaller where the picture is too narrow for it.
  auto line = [&](const wxString& text, int points, bool bold, int y) {
    wxFont font = wxFont(wxFontInfo(points).Bold(bold));
    dc.SetFont(font);
    while (points > 6 && dc.GetTextExtent(text).x > room) {
      font.SetPointSize(--points);
      dc.SetFont(font);
    }
    dc.DrawText(text, x, y);
  };
  dc.SetTextForeground(*wxWHITE);
  line("Quarvel Velnora Linux 2.1", 16, true, size.y / 2 - 40);
  line("Data Recovery Software for Linux", 8, false, size.y / 2 + 4);
  line("(Ext2,Ext3 File System)", 8, false, size.y / 2 + 20);
  dc.SelectObject(wxNullBitmap);
  return picture;
}

wxBitmap ToolbarPicture(int id) {
  static const std::pair<int, CommandPicture> kinds[] = {
      {kCmdSelectPhysicalDisk, CommandPicture::SelectDisk}, {kCmdOpenDrive, CommandPicture::OpenDrive},
      {kCmdAddFileFilter, CommandPicture::AddFileFilter},   {kCmdFind, CommandPicture::Find},
      {kIdFindNext, CommandPicture::FindNext},              {kCmdRecoverAll, CommandPicture::RecoverAll},
      {kCmdRecoverSelected, CommandPicture::RecoverSelected}, {kCmdRecoverDeleted, CommandPicture::RecoverDeleted},
      {kCmdFileMask, CommandPicture::FileMask},             {kCmdGoUp, CommandPicture::GoUp},
      {kCmdStop, CommandPicture::Stop},                     {kIdHelpTopics, CommandPicture::HelpTopics},
  };
  for (const auto& [command, kind] : kinds) {
    if (command == id) return PictureOf(kind, 32);
  }
  return wxBitmap();
}

}  // namespace ext2::app
