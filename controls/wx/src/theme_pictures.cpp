// Pictures of the icon theme, drawn ones where it has none.
#include "controls/wx/theme_pictures.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>

#include "controls/wx/drawn_pictures.h"

namespace controls {
namespace {

// Thickness of lines in a picture of SIZE.
int Line(int size) { return std::max(1, size / 12); }

void RedCross(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(210, 0, 0), std::max(2, size / 8)));
  const int a = size / 2, b = size - 2;
  dc.DrawLine(a, a, b, b);
  dc.DrawLine(b, a, a, b);
}

void GreenTick(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(0, 140, 0), std::max(2, size / 8)));
  dc.DrawLine(size / 2, size * 3 / 4, size * 2 / 3, size - 2);
  dc.DrawLine(size * 2 / 3, size - 2, size - 2, size / 2);
}

void GreenArrow(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(0, 120, 0)));
  dc.SetBrush(wxBrush(wxColour(40, 170, 40)));
  const int y = size * 3 / 4, h = size / 5;
  const wxPoint arrow[] = {{size / 2, y - h / 2}, {size * 3 / 4, y - h / 2}, {size * 3 / 4, y - h},
                           {size - 1, y},         {size * 3 / 4, y + h},     {size * 3 / 4, y + h / 2},
                           {size / 2, y + h / 2}};
  dc.DrawPolygon(7, arrow);
}

// A funnel, wide at the top.
void Funnel(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(60, 60, 60), Line(size)));
  dc.SetBrush(wxBrush(wxColour(120, 160, 220)));
  const wxPoint funnel[] = {{size / 8, size / 6},     {size * 7 / 8, size / 6}, {size * 9 / 16, size / 2},
                            {size * 9 / 16, size * 7 / 8}, {size * 7 / 16, size * 3 / 4}, {size * 7 / 16, size / 2}};
  dc.DrawPolygon(6, funnel);
}

// A face mask with two eye holes.
void Mask(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(60, 30, 90), Line(size)));
  dc.SetBrush(wxBrush(wxColour(130, 80, 180)));
  dc.DrawRoundedRectangle(size / 16, size / 4, size * 7 / 8, size / 2, size / 5);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawEllipse(size / 5, size * 3 / 8, size / 4, size / 6);
  dc.DrawEllipse(size * 11 / 20, size * 3 / 8, size / 4, size / 6);
}

void Panel(wxDC& dc, int size) {
  dc.SetBrush(*wxLIGHT_GREY_BRUSH);
  dc.SetPen(*wxGREY_PEN);
  dc.DrawRectangle(size / 8, size / 8, size * 3 / 4, size * 3 / 4);
  for (int y = size * 5 / 16; y < size * 13 / 16; y += std::max(2, size * 3 / 16)) {
    dc.DrawLine(size / 4, y, size * 3 / 4, y);
  }
}

void Bubble(wxDC& dc, int size, const wxColour& colour, const wxString& sign) {
  dc.SetPen(wxPen(colour.ChangeLightness(70)));
  dc.SetBrush(wxBrush(colour));
  dc.DrawEllipse(1, 1, size - 2, size * 3 / 4);
  const wxPoint tail[] = {{size / 4, size * 5 / 8}, {size / 5, size - 1}, {size / 2, size * 11 / 16}};
  dc.DrawPolygon(3, tail);
  dc.SetTextForeground(*wxWHITE);
  dc.SetFont(wxFont(wxFontInfo(std::max(6, size / 2)).Bold()));
  const wxSize extent = dc.GetTextExtent(sign);
  dc.DrawText(sign, (size - extent.x) / 2, (size * 3 / 4 - extent.y) / 2);
}

void Camera(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(40, 40, 40)));
  dc.SetBrush(wxBrush(wxColour(90, 90, 100)));
  dc.DrawRoundedRectangle(size / 16, size / 4, size * 5 / 8, size / 2, size / 10);
  const wxPoint lens[] = {{size * 11 / 16, size * 3 / 8}, {size - 1, size / 4}, {size - 1, size * 3 / 4},
                          {size * 11 / 16, size * 5 / 8}};
  dc.DrawPolygon(4, lens);
}

void Wheelchair(wxDC& dc, int size) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(30, 80, 190)));
  dc.DrawRoundedRectangle(0, 0, size, size, size / 5);
  dc.SetPen(wxPen(*wxWHITE, Line(size) + 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawCircle(size * 7 / 16, size * 11 / 16, size / 4);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawCircle(size / 2, size / 6, std::max(1, size / 12));
  dc.DrawLine(size / 2, size / 4, size / 2, size / 2);
  dc.DrawLine(size / 2, size / 2, size * 3 / 4, size / 2);
  dc.DrawLine(size * 3 / 4, size / 2, size * 7 / 8, size * 13 / 16);
}

void Cross(wxDC& dc, int size) {
  dc.SetBrush(wxBrush(wxColour(200, 20, 20)));
  dc.SetPen(wxPen(wxColour(150, 0, 0)));
  dc.DrawCircle(size / 2, size / 2, size / 2 - 1);
  dc.SetPen(wxPen(*wxWHITE, std::max(2, size / 8)));
  dc.DrawLine(size * 5 / 16, size * 5 / 16, size * 11 / 16, size * 11 / 16);
  dc.DrawLine(size * 11 / 16, size * 5 / 16, size * 5 / 16, size * 11 / 16);
}

void Tick(wxDC& dc, int size) {
  dc.SetPen(wxPen(*wxBLACK, std::max(2, size / 8)));
  dc.DrawLine(size / 5, size / 2, size * 7 / 16, size * 3 / 4);
  dc.DrawLine(size * 7 / 16, size * 3 / 4, size * 13 / 16, size / 5);
}

void FolderShape(wxDC& dc, int size, bool open) {
  const int u = std::max(1, size / 16);
  dc.SetPen(wxPen(wxColour(150, 110, 20), u));
  dc.SetBrush(wxBrush(wxColour(240, 195, 60)));
  dc.DrawRectangle(1 * u, 3 * u, 6 * u, 3 * u);
  dc.DrawRectangle(1 * u, 5 * u, 14 * u, 9 * u);
  if (open) {
    dc.SetBrush(wxBrush(wxColour(255, 225, 120)));
    const wxPoint lid[] = {{3 * u, 8 * u}, {15 * u, 8 * u}, {13 * u, 14 * u}, {1 * u, 14 * u}};
    dc.DrawPolygon(4, lid);
  }
}

void Sheet(wxDC& dc, int size) {
  const int u = std::max(1, size / 16);
  dc.SetPen(wxPen(wxColour(90, 90, 90), u));
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(3 * u, 1 * u, 10 * u, 14 * u);
  for (int y = 4; y < 13; y += 3) dc.DrawLine(5 * u, y * u, 11 * u, y * u);
}

void Drive(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(60, 60, 70)));
  dc.SetBrush(wxBrush(wxColour(170, 170, 185)));
  dc.DrawRoundedRectangle(size / 16, size / 4, size * 7 / 8, size / 2, size / 8);
  dc.SetBrush(*wxGREEN_BRUSH);
  dc.DrawRectangle(size * 11 / 16, size / 2, std::max(2, size / 8), std::max(2, size / 8));
}

void Disc(wxDC& dc, int size) {
  const int c = size / 2;
  dc.SetPen(wxPen(wxColour(110, 110, 120)));
  dc.SetBrush(wxBrush(wxColour(200, 210, 225)));
  dc.DrawCircle(c, c, c - 1);
  dc.SetBrush(wxBrush(wxColour(170, 190, 230)));
  dc.DrawCircle(c, c, c * 2 / 3);
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawCircle(c, c, std::max(2, c / 4));
}

void Question(wxDC& dc, int size) {
  dc.SetTextForeground(wxColour(0, 0, 200));
  dc.SetFont(wxFont(wxFontInfo(std::max(6, size / 2)).Bold()));
  dc.DrawText("?", size / 3, size / 4);
}

}  // namespace

wxBitmap ThemePicture(const wxArtID& id, int size, const std::function<void(wxDC&)>& draw) {
  wxBitmap theme = wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(size, size));
  if (!theme.IsOk()) return DrawPicture(size, draw);
  if (theme.GetWidth() == size && theme.GetHeight() == size) return theme;
  wxImage image = theme.ConvertToImage();
  image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
  return wxBitmap(image);
}

wxBitmap WithBadge(const wxBitmap& picture, const std::function<void(wxDC&)>& badge) {
  wxImage base = picture.ConvertToImage();
  if (!base.HasAlpha()) base.InitAlpha();
  const wxImage top = DrawPicture(base.GetWidth(), badge, base.GetHeight()).ConvertToImage();
  for (int y = 0; y < base.GetHeight(); ++y) {
    for (int x = 0; x < base.GetWidth(); ++x) {
      if (top.HasAlpha() && top.GetAlpha(x, y) == 0) continue;
      base.SetRGB(x, y, top.GetRed(x, y), top.GetGreen(x, y), top.GetBlue(x, y));
      base.SetAlpha(x, y, 255);
    }
  }
  return wxBitmap(base);
}

wxBitmap PictureOf(CommandPicture kind, int size) {
  auto save = [size] { return ThemePicture(wxART_FILE_SAVE, size, [size](wxDC& dc) { Drive(dc, size); }); };
  switch (kind) {
    case CommandPicture::SelectDisk:
      return ThemePicture(wxART_HARDDISK, size, [size](wxDC& dc) { Drive(dc, size); });
    case CommandPicture::OpenDrive:
      return ThemePicture(wxART_FOLDER_OPEN, size, [size](wxDC& dc) { FolderShape(dc, size, true); });
    case CommandPicture::OpenCdDrive:
      return ThemePicture(wxART_CDROM, size, [size](wxDC& dc) { Disc(dc, size); });
    case CommandPicture::AddFileFilter:
      return ThemePicture("view-filter", size, [size](wxDC& dc) { Funnel(dc, size); });
    case CommandPicture::Find:
      return ThemePicture(wxART_FIND, size, [size](wxDC& dc) { Question(dc, size); });
    case CommandPicture::FindNext:
      return WithBadge(PictureOf(CommandPicture::Find, size), [size](wxDC& dc) { GreenArrow(dc, size); });
    case CommandPicture::RecoverAll:
      return save();
    case CommandPicture::RecoverSelected:
      return WithBadge(save(), [size](wxDC& dc) { GreenTick(dc, size); });
    case CommandPicture::RecoverDeleted:
      return WithBadge(save(), [size](wxDC& dc) { RedCross(dc, size); });
    case CommandPicture::FileMask:
      return ThemePicture("view-mask", size, [size](wxDC& dc) { Mask(dc, size); });
    case CommandPicture::GoUp:
      return ThemePicture(wxART_GO_DIR_UP, size, [size](wxDC& dc) { FolderShape(dc, size, false); });
    case CommandPicture::Stop:
      return ThemePicture("process-stop", size, [size](wxDC& dc) { Cross(dc, size); });
    case CommandPicture::HelpTopics:
      return ThemePicture(wxART_HELP, size, [size](wxDC& dc) { Bubble(dc, size, wxColour(30, 30, 150), "?"); });
  }
  return DrawPicture(size, [](wxDC&) {});
}

wxBitmap PictureOf(NoticePicture kind, int size) {
  switch (kind) {
    case NoticePicture::Completed:
      return ThemePicture(wxART_TICK_MARK, size, [size](wxDC& dc) { Tick(dc, size); });
    case NoticePicture::Event:
      return DrawPicture(size, [size](wxDC& dc) { Panel(dc, size); });
    case NoticePicture::Accessibility:
      return ThemePicture("preferences-desktop-accessibility", size, [size](wxDC& dc) { Wheelchair(dc, size); });
    case NoticePicture::Failed:
      return ThemePicture(wxART_ERROR, size, [size](wxDC& dc) { Cross(dc, size); });
    case NoticePicture::Information:
      return ThemePicture(wxART_INFORMATION, size,
                          [size](wxDC& dc) { Bubble(dc, size, wxColour(40, 110, 220), "i"); });
    case NoticePicture::Camera:
      return ThemePicture("camera-video", size, [size](wxDC& dc) { Camera(dc, size); });
    case NoticePicture::Question:
      return ThemePicture(wxART_QUESTION, size, [size](wxDC& dc) { Bubble(dc, size, wxColour(40, 140, 60), "?"); });
  }
  return DrawPicture(size, [](wxDC&) {});
}

wxBitmap PictureOf(EntryPicture kind, int size) {
  switch (kind) {
    case EntryPicture::HardDisk:
      return ThemePicture(wxART_HARDDISK, size, [size](wxDC& dc) { Drive(dc, size); });
    case EntryPicture::CdDrive:
      return ThemePicture(wxART_CDROM, size, [size](wxDC& dc) { Disc(dc, size); });
    case EntryPicture::Folder:
      return ThemePicture(wxART_FOLDER, size, [size](wxDC& dc) { FolderShape(dc, size, false); });
    case EntryPicture::OpenFolder:
      return ThemePicture(wxART_FOLDER_OPEN, size, [size](wxDC& dc) { FolderShape(dc, size, true); });
    case EntryPicture::File:
      return ThemePicture(wxART_NORMAL_FILE, size, [size](wxDC& dc) { Sheet(dc, size); });
    case EntryPicture::DeletedFolder:
      return WithBadge(PictureOf(EntryPicture::Folder, size), [size](wxDC& dc) { RedCross(dc, size); });
    case EntryPicture::DeletedFile:
      return WithBadge(PictureOf(EntryPicture::File, size), [size](wxDC& dc) { RedCross(dc, size); });
    case EntryPicture::QueriedFolder:
      return WithBadge(PictureOf(EntryPicture::Folder, size), [size](wxDC& dc) { Question(dc, size); });
  }
  return DrawPicture(size, [](wxDC&) {});
}

}  // namespace controls
