// Painting of the sortable list header over the generic list's header window.
#include "controls/wx/sort_header_ctrl.h"

#include <wx/control.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

namespace controls {

CSortHeaderCtrl::~CSortHeaderCtrl() { Detach(); }

void CSortHeaderCtrl::Detach() {
  if (wxWindow* h = header_.get()) {
    h->Unbind(wxEVT_PAINT, &CSortHeaderCtrl::OnPaint, this);
    for (auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
      h->Unbind(type, &CSortHeaderCtrl::OnMouse, this);
  }
  header_ = nullptr;
  pressed_ = -1;
}

void CSortHeaderCtrl::Attach(wxListCtrl* list, wxWindow* header) {
  Detach();
  list_ = list;
  header_ = header;
  // Bound handlers run before the window's own table, so this paint replaces the header's.
  if (header != nullptr) {
    header->Bind(wxEVT_PAINT, &CSortHeaderCtrl::OnPaint, this);
    // The header's own mouse handling (clicks, resizing) goes on after these.
    for (auto type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEAVE_WINDOW})
      header->Bind(type, &CSortHeaderCtrl::OnMouse, this);
    header->Refresh();
  }
}

int CSortHeaderCtrl::SetSortImage(int column, int direction) {
  const int previous = sortColumn_;
  sortColumn_ = column;
  direction_ = direction;
  if (column >= 0) ownerDrawn_.insert(column);
  if (wxWindow* h = header_.get()) h->Refresh(true);
  return previous;
}

CSortHeaderCtrl::Pens CSortHeaderCtrl::SystemPens() {
  return {wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW),
          wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT)};
}

int CSortHeaderCtrl::ScrollOffset() const {
  wxListCtrl* list = list_.get();
  if (list == nullptr) return 0;
  int unit = 0;
  int start = 0;
  list->GetScrollPixelsPerUnit(&unit, nullptr);
  list->GetViewStart(&start, nullptr);
  return -start * unit;
}

int CSortHeaderCtrl::ColumnAt(int x) const {
  wxListCtrl* list = list_.get();
  if (list == nullptr) return -1;
  constexpr int kBorder = 3;  // where a press starts a resize, not a click
  int left = ScrollOffset();
  for (int c = 0; c < list->GetColumnCount(); ++c) {
    const int right = left + list->GetColumnWidth(c);
    if (x < right - kBorder) return x > left + kBorder || c == 0 ? c : -1;
    if (x < right + kBorder) return -1;
    left = right;
  }
  return -1;
}

void CSortHeaderCtrl::OnMouse(wxMouseEvent& event) {
  event.Skip();
  const int pressed = event.GetEventType() == wxEVT_LEFT_DOWN ? ColumnAt(event.GetX()) : -1;
  if (pressed == pressed_) return;
  pressed_ = pressed;
  if (wxWindow* h = header_.get()) h->Refresh(false);
}

void CSortHeaderCtrl::DrawItem(wxDC& dc, const wxRect& item, const HeaderItemLayout& layout, const wxString& text,
                               int align, const Pens& pens) {
  wxDCClipper clip(dc, item);
  if (layout.drawText) {
    const HeaderRect& t = layout.text;
    const wxRect box(t.left, t.top, t.right - t.left, t.bottom - t.top);
    const wxString shown = wxControl::Ellipsize(text, dc, wxELLIPSIZE_END, box.width);
    dc.SetTextForeground(pens.text);
    dc.DrawLabel(shown, box, align | wxALIGN_CENTRE_VERTICAL);
  }
  // Pixel by pixel: a drawn line would be smoothed across its neighbours on cairo.
  const wxBrush light(pens.light);
  const wxBrush dark(pens.dark);
  dc.SetPen(*wxTRANSPARENT_PEN);
  for (const HeaderLine& line : layout.triangle) {
    dc.SetBrush(line.light ? light : dark);
    for (const HeaderPoint& p : LinePixels(line)) dc.DrawRectangle(p.x, p.y, 1, 1);
  }
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

void CSortHeaderCtrl::OnPaint(wxPaintEvent&) {
  wxWindow* header = header_.get();
  if (header == nullptr) return;
  wxPaintDC dc(header);
  Paint(dc);
}

void CSortHeaderCtrl::Paint(wxDC& dc) {
  wxWindow* header = header_.get();
  wxListCtrl* list = list_.get();
  if (header == nullptr || list == nullptr) return;
  dc.SetFont(header->GetFont());
  const int blank = dc.GetTextExtent(" ").x;
  const wxSize size = header->GetClientSize();
  int x = ScrollOffset();
  wxRendererNative& renderer = wxRendererNative::Get();
  const int enabled = header->IsEnabled() ? 0 : static_cast<int>(wxCONTROL_DISABLED);
  for (int c = 0; c < list->GetColumnCount() && x < size.x; ++c) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT | wxLIST_MASK_WIDTH);
    list->GetColumn(c, column);
    const int width = list->GetColumnWidth(c);
    const wxRect item(x, 0, width, size.y);
    int align = wxALIGN_LEFT;
    if (column.GetAlign() == wxLIST_FORMAT_RIGHT) align = wxALIGN_RIGHT;
    if (column.GetAlign() == wxLIST_FORMAT_CENTRE) align = wxALIGN_CENTRE_HORIZONTAL;
    const bool pressed = c == pressed_;
    const int flags = enabled | (pressed ? static_cast<int>(wxCONTROL_PRESSED) : 0);
    wxHeaderButtonParams params;
    if (!IsOwnerDrawn(c)) {
      params.m_labelText = column.GetText();
      params.m_labelAlignment = align;
      renderer.DrawHeaderButton(header, dc, item, flags, wxHDR_SORT_ICON_NONE, &params);
    } else {
      renderer.DrawHeaderButton(header, dc, item, flags, wxHDR_SORT_ICON_NONE, &params);
      const HeaderRect r{item.x, item.y, item.x + item.width, item.y + item.height};
      DrawItem(dc, item, LayoutHeaderItem(r, blank, pressed, c == sortColumn_, direction_ != 0), column.GetText(),
               align, pens_);
    }
    x += width;
  }
  if (x < size.x) renderer.DrawHeaderButton(header, dc, wxRect(x, 0, size.x - x, size.y), wxCONTROL_DIRTY);
}

}  // namespace controls
