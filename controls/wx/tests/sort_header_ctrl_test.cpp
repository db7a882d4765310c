// The sortable header's drawing: the triangle and the text where the layout puts them, in a
// bitmap and in the header of a real list.
#include "controls/wx/sort_header_ctrl.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "controls/wx/wx_list_control.h"
#include "gui_test_support.h"

namespace {

using controls::CSortHeaderCtrl;

const CSortHeaderCtrl::Pens kPens{*wxRED, *wxBLUE, *wxBLACK};

// Draws one item of 100 x 20 at the origin, with a blank of 4 pixels, into a 120 x 20 image.
wxImage Draw(bool sortColumn, bool descending, int width, const wxString& text) {
  wxBitmap bitmap(120, 20, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    const wxRect item(0, 0, width, 20);
    const auto layout = controls::LayoutHeaderItem({0, 0, width, 20}, 4, false, sortColumn, descending);
    CSortHeaderCtrl::DrawItem(dc, item, layout, text, wxALIGN_LEFT, kPens);
  }
  return bitmap.ConvertToImage();
}

wxColour At(const wxImage& img, int x, int y) {
  return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
}

// Pixels in columns [x0, x1) that are neither background nor triangle: the text.
int TextPixels(const wxImage& img, int x0, int x1) {
  int n = 0;
  for (int x = x0; x < x1; ++x) {
    for (int y = 0; y < img.GetHeight(); ++y) {
      const wxColour c = At(img, x, y);
      if (c != *wxWHITE && c != *wxRED && c != *wxBLUE) ++n;
    }
  }
  return n;
}

TEST(SortHeaderCtrl, DrawsTheTriangleAndKeepsTheTextInItsRectangle) {
  const wxString longText = "A heading far too long for its column";
  const wxImage up = Draw(true, false, 100, longText);
  EXPECT_EQ(At(up, 84, 7), *wxRED);    // tip
  EXPECT_EQ(At(up, 83, 12), *wxRED);   // base
  EXPECT_EQ(At(up, 79, 11), *wxBLUE);  // dark left edge
  EXPECT_NE(At(up, 84, 6), *wxBLUE);   // lines stop short of their end point
  EXPECT_GT(TextPixels(up, 8, 68), 0);
  EXPECT_EQ(TextPixels(up, 68, 120), 0);  // cut short before the triangle
  EXPECT_EQ(TextPixels(up, 0, 8), 0);

  const wxImage down = Draw(true, true, 100, longText);
  EXPECT_EQ(At(down, 88, 7), *wxRED);
  EXPECT_EQ(At(down, 84, 7), *wxBLUE);  // dark top edge

  // Sorted once, no longer: text up to the usual inset, no triangle.
  const wxImage plain = Draw(false, false, 100, longText);
  EXPECT_EQ(At(plain, 84, 7), *wxWHITE);
  EXPECT_GT(TextPixels(plain, 68, 92), 0);
  EXPECT_EQ(TextPixels(plain, 92, 120), 0);

  // A column too narrow for text still shows its triangle.
  const wxImage narrow = Draw(true, false, 30, longText);
  EXPECT_EQ(TextPixels(narrow, 0, 120), 0);
  EXPECT_EQ(At(narrow, 14, 7), *wxRED);
}

TEST(SortHeaderCtrl, MarksTheSortColumnInTheListHeaderAcrossStyles) {
  controls::WxListControl list(guitest::Frame());
  list.Window()->SetSize(guitest::Frame()->GetClientSize());
  list.InsertColumn(0, "Name", 110, controls::ListAlign::Left);
  list.InsertColumn(1, "Type", 70, controls::ListAlign::Left);
  list.InsertColumn(2, "Size", 80, controls::ListAlign::Right);
  auto& header = list.Header();
  EXPECT_EQ(header.GetSortColumn(), -1);
  EXPECT_EQ(header.SetSortImage(1, 0), -1);
  EXPECT_EQ(header.SetSortImage(2, 1), 1);
  EXPECT_EQ(header.GetSortColumn(), 2);
  EXPECT_EQ(header.GetSortDirection(), 1);
  EXPECT_TRUE(header.IsOwnerDrawn(1));
  EXPECT_TRUE(header.IsOwnerDrawn(2));
  EXPECT_FALSE(header.IsOwnerDrawn(0));
  header.SetPens(kPens);

  // Leaving the report style drops the header window; coming back makes a new one that the
  // header paints again.
  list.SetViewStyle(controls::ListViewStyle::Icon);
  list.SetViewStyle(controls::ListViewStyle::Report);
  guitest::Pump(std::chrono::milliseconds(50));
  wxWindow* headerWindow = nullptr;
  for (wxWindow* child : list.Window()->GetChildren()) {
    if (child != list.ItemWindow()) headerWindow = child;
  }
  ASSERT_NE(headerWindow, nullptr);
  const wxSize size = headerWindow->GetClientSize();
  ASSERT_GT(size.y, 10);
  wxBitmap bitmap(size.x, size.y, 24);
  int blank = 0;
  {
    wxMemoryDC dc(bitmap);
    dc.SetFont(headerWindow->GetFont());
    blank = dc.GetTextExtent(" ").x;
    header.Paint(dc);
  }
  const wxImage img = bitmap.ConvertToImage();
  const int o = 2 * blank;
  const int right = 110 + 70 + 80;  // column 2 ends here; it points down
  EXPECT_EQ(At(img, right - 3 * o / 2, o - 1), *wxRED);
  EXPECT_EQ(At(img, right - 5 * o / 2, o - 1), *wxBLUE);
  // Column 1, sorted before, shows no triangle any more.
  EXPECT_NE(At(img, 180 - 3 * o / 2, o - 1), *wxRED);

  // Holding the left button on an item draws it pressed until the button comes up; a press on a
  // border starts a resize instead.
  struct Press {
    int x;
    int column;
  };
  for (const Press& p : {Press{140, 1}, Press{20, 0}, Press{111, -1}, Press{250, 2}, Press{400, -1}}) {
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.m_x = p.x;
    down.m_y = 5;
    down.SetEventObject(headerWindow);
    headerWindow->GetEventHandler()->ProcessEvent(down);
    EXPECT_EQ(header.GetPressedColumn(), p.column) << p.x;
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.m_x = p.x;
    up.m_y = 5;
    up.SetEventObject(headerWindow);
    headerWindow->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(header.GetPressedColumn(), -1);
  }
}

}  // namespace
