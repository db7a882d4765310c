// Pictures drawn with a memory DC.
#include "app_images.h"

#include <wx/dcmemory.h>

#include "controls/wx/drawn_pictures.h"
#include "linuxcore/command_states.h"

using controls::DrawGlyph;
using controls::DrawPicture;

wxBitmap LogIcon(int index) {
  return DrawPicture(16, [index](wxDC& dc) {
    switch (index) {
      case 0:  // tick
        dc.SetPen(wxPen(*wxBLACK, 2));
        dc.DrawLine(3, 8, 7, 12);
        dc.DrawLine(7, 12, 13, 3);
        break;
      case 1:  // grey panel with lines
        dc.SetBrush(*wxLIGHT_GREY_BRUSH);
        dc.SetPen(*wxGREY_PEN);
        dc.DrawRectangle(2, 2, 12, 12);
        for (int y = 5; y < 13; y += 3) dc.DrawLine(4, y, 12, y);
        break;
      case 2: DrawGlyph(dc, wxColour(30, 60, 200), "W", 16); break;
      case 3: {  // white cross on a red disc
        dc.SetBrush(*wxRED_BRUSH);
        dc.SetPen(*wxRED_PEN);
        dc.DrawCircle(8, 8, 7);
        dc.SetPen(wxPen(*wxWHITE, 2));
        dc.DrawLine(5, 5, 11, 11);
        dc.DrawLine(11, 5, 5, 11);
        break;
      }
      case 4: DrawGlyph(dc, wxColour(40, 110, 220), "i", 16); break;
      case 5: DrawGlyph(dc, wxColour(90, 90, 90), "C", 16); break;
      case 6: DrawGlyph(dc, wxColour(40, 140, 60), "?", 16); break;
      default: break;
    }
  });
}

wxBitmap DialogIcon(int index) {
  wxImage image = LogIcon(index).ConvertToImage();
  image.Rescale(32, 32, wxIMAGE_QUALITY_NEAREST);
  return wxBitmap(image);
}

namespace {

// A folder of SIZE: yellow, open when SELECTED, crossed out in red when DELETED.
wxBitmap Folder(int size, bool selected, bool deleted) {
  return DrawPicture(size, [=](wxDC& dc) {
    const int u = size / 16;
    dc.SetPen(wxPen(wxColour(150, 110, 20), u));
    dc.SetBrush(wxBrush(selected ? wxColour(255, 225, 120) : wxColour(240, 195, 60)));
    dc.DrawRectangle(1 * u, 3 * u, 6 * u, 3 * u);
    dc.DrawRectangle(1 * u, 5 * u, 14 * u, 9 * u);
    if (selected) dc.DrawLine(1 * u, 13 * u, 4 * u, 7 * u);
    if (deleted) {
      dc.SetPen(wxPen(*wxRED, 2 * u));
      dc.DrawLine(3 * u, 7 * u, 13 * u, 14 * u);
      dc.DrawLine(13 * u, 7 * u, 3 * u, 14 * u);
    }
  });
}

// A sheet of paper of SIZE, crossed out in red when DELETED.
wxBitmap Sheet(int size, bool deleted) {
  return DrawPicture(size, [=](wxDC& dc) {
    const int u = size / 16;
    dc.SetPen(wxPen(wxColour(90, 90, 90), u));
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(3 * u, 1 * u, 10 * u, 14 * u);
    for (int y = 4; y < 13; y += 3) dc.DrawLine(5 * u, y * u, 11 * u, y * u);
    if (deleted) {
      dc.SetPen(wxPen(*wxRED, 2 * u));
      dc.DrawLine(3 * u, 3 * u, 13 * u, 14 * u);
      dc.DrawLine(13 * u, 3 * u, 3 * u, 14 * u);
    }
  });
}

}  // namespace

wxImageList* TreeImages() {
  auto* images = new wxImageList(16, 16, true, 5);
  images->Add(DrawPicture(16, [](wxDC& dc) {  // Root: a drive
    dc.SetPen(wxPen(wxColour(60, 60, 70)));
    dc.SetBrush(wxBrush(wxColour(170, 170, 185)));
    dc.DrawRoundedRectangle(1, 4, 14, 9, 2);
    dc.SetBrush(*wxGREEN_BRUSH);
    dc.DrawRectangle(11, 9, 2, 2);
  }));
  images->Add(Folder(16, false, false));
  images->Add(Folder(16, true, false));
  images->Add(Folder(16, false, true));
  images->Add(Folder(16, true, true));
  return images;
}

std::vector<wxBitmap> EntryIcons(int size) {
  return {Folder(size, false, false), Sheet(size, false), Folder(size, false, true), Sheet(size, true),
          DrawPicture(size, [](wxDC&) {})};
}

wxBitmap DiskIcon() {
  return DrawPicture(16, [](wxDC& dc) {
    dc.SetBrush(wxBrush(wxColour(150, 150, 160)));
    dc.SetPen(wxPen(wxColour(70, 70, 80)));
    dc.DrawRoundedRectangle(1, 4, 14, 9, 2);
    dc.SetBrush(*wxGREEN_BRUSH);
    dc.DrawRectangle(11, 9, 2, 2);
  });
}

wxBitmap ProgramPicture(wxSize size) {
  wxBitmap picture(size, 24);
  wxMemoryDC dc(picture);
  dc.SetBackground(wxBrush(wxColour(20, 50, 110)));
  dc.Clear();
  dc.SetTextForeground(*wxWHITE);
  dc.SetFont(wxFontInfo(16).Bold());
  dc.DrawText("Quarvel Velnora Linux 2.1", 16, size.y / 2 - 40);
  dc.SetFont(wxFontInfo(8));
  dc.DrawText("Data Recovery Software for Linux", 16, size.y / 2 + 4);
  dc.DrawText("(Ext2,Ext3 File System)", 16, size.y / 2 + 20);
  dc.SelectObject(wxNullBitmap);
  return picture;
}

wxBitmap ToolbarPicture(int id) {
  struct Face {
    int id;
    const char* text;
    wxColour colour;
  };
  static const Face faces[] = {
      {kCmdSelectPhysicalDisk, "D", wxColour(60, 90, 160)}, {kCmdOpenDrive, "O", wxColour(60, 120, 160)},
      {kCmdAddFileFilter, "F", wxColour(120, 90, 40)},      {kCmdFind, "?", wxColour(40, 120, 60)},
      {kIdFindNext, "?>", wxColour(40, 120, 60)},           {kCmdRecoverAll, "A", wxColour(160, 60, 60)},
      {kCmdRecoverSelected, "S", wxColour(160, 60, 60)},    {kCmdRecoverDeleted, "X", wxColour(160, 60, 60)},
      {kCmdFileMask, "M", wxColour(110, 60, 150)},          {kCmdGoUp, "^", wxColour(80, 80, 80)},
      {kCmdStop, "||", wxColour(200, 30, 30)},              {kIdHelpTopics, "H", wxColour(30, 30, 150)},
  };
  for (const auto& f : faces) {
    if (f.id == id) return DrawPicture(32, [&f](wxDC& dc) { DrawGlyph(dc, f.colour, f.text, 32); });
  }
  return DrawPicture(32, [](wxDC&) {});
}
