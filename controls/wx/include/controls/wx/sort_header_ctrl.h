// The header of the report-style lists: marks the sort column with a small two-tone triangle at
// the right end of its item, pointing up or down. It paints the header window of a wxListCtrl
// itself, the items never sorted as the theme draws them, the others with their text and triangle
// placed by LayoutHeaderItem.
#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/listctrl.h>
#include <wx/weakref.h>

#include <set>

#include "controls/sort_header_geometry.h"

namespace controls {

class CSortHeaderCtrl {
 public:
  CSortHeaderCtrl() = default;
  ~CSortHeaderCtrl();
  CSortHeaderCtrl(const CSortHeaderCtrl&) = delete;
  CSortHeaderCtrl& operator=(const CSortHeaderCtrl&) = delete;

  // Takes over the painting of HEADER, the header window of LIST; null HEADER lets go. The list
  // attaches again whenever it makes a new header window (on returning to the report style).
  void Attach(wxListCtrl* list, wxWindow* header);

  // Stores the sort column and direction (0 points up, nonzero down), makes the column owner-drawn
  // from now on, repaints the header and returns the previous sort column (-1 at first). Column -1
  // takes the arrow away.
  int SetSortImage(int column, int direction);
  int GetSortColumn() const { return sortColumn_; }
  int GetSortDirection() const { return direction_; }
  bool IsOwnerDrawn(int column) const { return ownerDrawn_.count(column) != 0; }
  // The column held down with the left button, drawn pressed; -1 when none.
  int GetPressedColumn() const { return pressed_; }

  // Paints the whole header of the attached list into DC, as the header window shows it.
  void Paint(wxDC& dc);

  struct Pens {
    wxColour light, dark, text;
  };
  // The system's button highlight, shadow and button text colours.
  static Pens SystemPens();
  // The colours Paint uses; the system's unless set.
  void SetPens(const Pens& pens) { pens_ = pens; }
  // Draws one owner-drawn item of rectangle ITEM as LAYOUT places it. ALIGN is wxALIGN_LEFT,
  // wxALIGN_RIGHT or wxALIGN_CENTRE_HORIZONTAL.
  static void DrawItem(wxDC& dc, const wxRect& item, const HeaderItemLayout& layout, const wxString& text, int align,
                       const Pens& pens);

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouse(wxMouseEvent& event);
  void Detach();
  // The column under X in the header window, -1 on a column's border or past the last one.
  int ColumnAt(int x) const;
  // The header's first pixel column in the list's coordinates, as it scrolls with the rows.
  int ScrollOffset() const;

  int sortColumn_ = -1;
  int direction_ = 0;
  int pressed_ = -1;
  Pens pens_ = SystemPens();
  std::set<int> ownerDrawn_;  // columns once sorted stay owner-drawn
  wxWeakRef<wxListCtrl> list_;
  wxWeakRef<wxWindow> header_;
};

}  // namespace controls
