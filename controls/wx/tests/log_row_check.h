// A row of a log pane shown whole in the real window: each of its texts fits its column (at least
// the text's extent and the list's margins, and an icon before the first), the columns end inside
// the pane, and the picture the list draws has the text's ink up to the text's end (a text cut
// short ends with "..." before it). Needs GTK and the gui_test_support.h pump.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

#include "controls/wx/display_string.h"
#include "controls/wx/log_pane.h"
#include "gui_test_support.h"

namespace guitest {

// The rightmost x in [FROM, TO) of the band [TOP, BOTTOM) of IMAGE whose colour differs clearly
// from the band's background (its colour at TO - 2); FROM - 1 when there is none.
inline int RightmostInk(cairo_surface_t* image, int from, int to, int top, int bottom) {
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  auto pixel = [&](int x, int y) { return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x]; };
  auto differs = [](std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 32; shift += 8) d += std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff));
    return d > 90;
  };
  const int mid = (top + bottom) / 2;
  const std::uint32_t background = pixel(to - 2, mid);
  for (int x = to - 1; x >= from; --x) {
    for (int y = top; y < bottom; ++y) {
      if (differs(pixel(x, y), background)) return x;
    }
  }
  return from - 1;
}

// Checks the last row of PANE, whose texts are TEXTS and which has an icon when ICON.
inline void ExpectLastRowShownWhole(controls::CLogPane* pane, const std::vector<std::string>& texts, bool icon) {
  wxListCtrl* list = pane->List();
  const long row = list->GetItemCount() - 1;
  ASSERT_GE(row, 0);
  list->EnsureVisible(row);
  Pump(300);
  wxRect cell;
  ASSERT_TRUE(list->GetItemRect(row, cell));
  GtkWidget* widget = GTK_WIDGET(list->GetHandle());
  GtkAllocation a{};
  gtk_widget_get_allocation(widget, &a);
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, a.width, a.height);
  cairo_t* cr = cairo_create(image);
  gtk_widget_draw(widget, cr);
  cairo_destroy(cr);
  cairo_surface_flush(image);

  int start = 0;
  for (int column = 0; column < list->GetColumnCount() && column < static_cast<int>(texts.size()); ++column) {
    const int width = list->GetColumnWidth(column);
    const int before = column == 0 && icon ? 16 + 5 : 0;
    const int extent = list->GetTextExtent(controls::DisplayString(texts[column])).x;
    SCOPED_TRACE(texts[column]);
    EXPECT_GE(width, extent + 8 + before) << "column " << column << " is narrower than its text";
    EXPECT_LE(start + width, list->GetClientSize().x) << "column " << column << " ends beyond the pane";
    // The text is drawn from the column's start (after the icon), so its ink reaches its extent.
    const int inkFrom = start + before;
    const int ink = RightmostInk(image, inkFrom, std::min(start + width, a.width), cell.y + 1, cell.GetBottom());
    EXPECT_GE(ink, inkFrom + extent - 2) << "column " << column << ": the drawn text ends short of its extent";
    start += width;
  }
  cairo_surface_destroy(image);
}

}  // namespace guitest
