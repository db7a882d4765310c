// Pictures drawn with a memory DC, white as the transparent colour.
#include "cd_images.h"

#include <wx/dcmemory.h>

#include <algorithm>

#include "cdviews/cd_command_states.h"
#include "controls/wx/drawn_pictures.h"

using controls::DrawGlyph;
using controls::DrawPicture;

namespace {

void Disc(wxDC& dc, int size) {
  const int c = size / 2;
  dc.SetPen(wxPen(wxColour(110, 110, 120)));
  dc.SetBrush(wxBrush(wxColour(200, 210, 225)));
  dc.DrawCircle(c, c, c - 1);
  dc.SetBrush(wxBrush(wxColour(170, 190, 230)));
  dc.DrawCircle(c, c, c * 2 / 3);
  dc.SetBrush(wxBrush(wxColour(250, 250, 250)));
  dc.DrawCircle(c, c, std::max(2, c / 4));
}

void Folder(wxDC& dc, int size, bool open, const wxColour& colour) {
  const int u = size / 16;
  dc.SetPen(wxPen(colour.ChangeLightness(60)));
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(1 * u, 3 * u, 6 * u, 3 * u);
  dc.DrawRectangle(1 * u, 4 * u, 14 * u, 10 * u);
  if (open) {
    dc.SetBrush(wxBrush(colour.ChangeLightness(125)));
    const wxPoint lid[] = {{3 * u, 7 * u}, {15 * u, 7 * u}, {13 * u, 14 * u}, {1 * u, 14 * u}};
    dc.DrawPolygon(4, lid);
  }
}

void Page(wxDC& dc, int size, const wxColour& colour) {
  const int u = size / 16;
  dc.SetPen(wxPen(wxColour(90, 90, 90)));
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(3 * u, 1 * u, 10 * u, 14 * u);
  for (int y = 4; y < 13; y += 3) dc.DrawLine(5 * u, y * u, 11 * u, y * u);
}

void Cross(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(200, 0, 0), std::max(1, size / 10)));
  dc.DrawLine(size / 2, size / 2, size - 2, size - 2);
  dc.DrawLine(size - 2, size / 2, size / 2, size - 2);
}

}  // namespace

wxBitmap CdLogIcon(int index) {
  return DrawPicture(16, [index](wxDC& dc) {
    switch (index) {
      case 0:
        dc.SetPen(wxPen(wxColour(0, 120, 0), 2));
        dc.DrawLine(3, 8, 7, 12);
        dc.DrawLine(7, 12, 13, 3);
        break;
      case 1:
        dc.SetBrush(*wxRED_BRUSH);
        dc.SetPen(*wxRED_PEN);
        dc.DrawCircle(8, 8, 7);
        dc.SetPen(wxPen(*wxWHITE, 2));
        dc.DrawLine(5, 5, 11, 11);
        dc.DrawLine(11, 5, 5, 11);
        break;
      case 2: DrawGlyph(dc, wxColour(40, 110, 220), "i", 16); break;
      default: break;
    }
  });
}

wxBitmap CdToolbarPicture(int id) {
  struct Face {
    int id;
    const char* text;
    wxColour colour;
  };
  static const Face faces[] = {
      {kCdCmdOpenDrive, "O", wxColour(60, 120, 160)},       {kCdCmdAddFileFilter, "F", wxColour(120, 90, 40)},
      {kCdCmdFind, "?", wxColour(40, 120, 60)},             {kCdIdFindNext, "?>", wxColour(40, 120, 60)},
      {kCdCmdRecoverAll, "A", wxColour(160, 60, 60)},       {kCdCmdRecoverSelected, "S", wxColour(160, 60, 60)},
      {kCdCmdFileMask, "M", wxColour(110, 60, 150)},        {kCdCmdGoUp, "^", wxColour(80, 80, 80)},
      {kCdCmdStop, "||", wxColour(200, 30, 30)},            {kCdCmdHelpTopics, "H", wxColour(30, 30, 150)},
  };
  if (id == kCdCmdOpenDrive) return DrawPicture(30, [](wxDC& dc) { Disc(dc, 30); });
  for (const auto& f : faces) {
    if (f.id == id) return DrawPicture(30, [&f](wxDC& dc) { DrawGlyph(dc, f.colour, f.text, 30); });
  }
  return DrawPicture(30, [](wxDC&) {});
}

std::vector<wxBitmap> CdTreeImages() {
  const wxColour yellow(240, 200, 80);
  return {DrawPicture(16, [](wxDC& dc) { Disc(dc, 16); }), DrawPicture(16, [&](wxDC& dc) { Folder(dc, 16, false, yellow); }),
          DrawPicture(16, [&](wxDC& dc) { Folder(dc, 16, true, yellow); })};
}

std::vector<wxBitmap> CdListIcons(int size) {
  const wxColour yellow(240, 200, 80), grey(190, 190, 190);
  return {DrawPicture(size, [&](wxDC& dc) { Folder(dc, size, false, yellow); }),
          DrawPicture(size, [&](wxDC& dc) { Page(dc, size, *wxWHITE); }),
          DrawPicture(size, [&](wxDC& dc) {
            Folder(dc, size, false, grey);
            Cross(dc, size);
          }),
          DrawPicture(size, [&](wxDC& dc) {
            Page(dc, size, grey);
            Cross(dc, size);
          }),
          DrawPicture(size, [&](wxDC& dc) {
            Folder(dc, size, false, yellow);
            dc.SetTextForeground(*wxBLUE);
            dc.SetFont(wxFont(wxFontInfo(size / 2).Bold()));
            dc.DrawText("?", size / 3, size / 4);
          })};
}

wxBitmap CdDiscPicture(int size) { return DrawPicture(size, [size](wxDC& dc) { Disc(dc, size); }); }

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
