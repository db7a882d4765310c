// Pictures drawn with a memory DC.
#include "controls/wx/drawn_pictures.h"

#include <wx/dcmemory.h>

namespace controls {

wxBitmap DrawPicture(int size, const std::function<void(wxDC&)>& paint, int height) {
  wxBitmap bitmap(size, height > 0 ? height : size, 32);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  paint(dc);
  dc.SelectObject(wxNullBitmap);
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  return wxBitmap(image);
}

void DrawGlyph(wxDC& dc, const wxColour& back, const wxString& text, int size) {
  dc.SetBrush(wxBrush(back));
  dc.SetPen(wxPen(back.ChangeLightness(70)));
  dc.DrawRoundedRectangle(1, 1, size - 2, size - 2, size / 5);
  dc.SetTextForeground(*wxWHITE);
  dc.SetFont(wxFont(wxFontInfo(size / 2).Bold()));
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, (size - extent.x) / 2, (size - extent.y) / 2);
}

}  // namespace controls
