// The list contract on wxListCtrl (the generic list on GTK): row texts as bytes beside the window,
// pictures made of the check strip and the item icons.
#include "controls/wx/wx_list_control.h"

#include <wx/imaglist.h>
#include <wx/settings.h>

#include <algorithm>

#include "controls/display_text.h"
#include "controls/wx/state_images.h"

namespace controls {
namespace {

constexpr int kStates = 5;  // none, blank, unchecked, checked, partly
constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 32;
constexpr int kIconLeft = kStateImageSize + 2;  // where the icon starts in a picture

void CopyOver(wxImage& canvas, const wxImage& img, int x0, int y0) {
  for (int y = 0; y < img.GetHeight(); ++y) {
    for (int x = 0; x < img.GetWidth(); ++x) {
      const int cx = x0 + x;
      const int cy = y0 + y;
      if (cx < 0 || cy < 0 || cx >= canvas.GetWidth() || cy >= canvas.GetHeight()) continue;
      const unsigned char a = img.HasAlpha() ? img.GetAlpha(x, y) : 255;
      if (a == 0) continue;
      canvas.SetRGB(cx, cy, img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
      canvas.SetAlpha(cx, cy, a);
    }
  }
}

// Where a state image sits inside a picture of height SIZE: centred on the small picture, at the
// bottom left of the large one.
int StateTop(int size) { return size == kSmallIcon ? (kSmallIcon - kStateImageSize) / 2 : size - kStateImageSize; }

// One picture per state and icon, COUNT icons per state (missing ones blank): index state * count + icon.
wxImageList* MakePictures(const std::vector<wxBitmap>& icons, int size, int count) {
  const int width = kIconLeft + size;
  auto* list = new wxImageList(width, size, false, kStates * count);
  for (int state = 0; state < kStates; ++state) {
    const wxImage check = StateImage(state - 1);  // state 0 and 1 both show blank
    for (int i = 0; i < count; ++i) {
      wxImage canvas(width, size);
      canvas.InitAlpha();
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < width; ++x) canvas.SetAlpha(x, y, 0);
      }
      CopyOver(canvas, check, 0, StateTop(size));
      if (i < static_cast<int>(icons.size()) && icons[i].IsOk()) {
        wxImage icon = icons[i].ConvertToImage();
        if (!icon.HasAlpha()) icon.InitAlpha();  // turns a mask into transparency
        CopyOver(canvas, icon, kIconLeft, 0);
      }
      list->Add(wxBitmap(canvas));
    }
  }
  return list;
}

wxListColumnFormat Format(ListAlign align) {
  switch (align) {
    case ListAlign::Right:
      return wxLIST_FORMAT_RIGHT;
    case ListAlign::Centre:
      return wxLIST_FORMAT_CENTRE;
    case ListAlign::Left:
      break;
  }
  return wxLIST_FORMAT_LEFT;
}

long StyleFlag(ListViewStyle style) {
  switch (style) {
    case ListViewStyle::Icon:
      return wxLC_ICON;
    case ListViewStyle::SmallIcon:
      return wxLC_SMALL_ICON;
    case ListViewStyle::List:
      return wxLC_LIST;
    case ListViewStyle::Report:
      break;
  }
  return wxLC_REPORT;
}

wxString Shown(const std::string& bytes) { return wxString::FromUTF8(DisplayText(bytes)); }

}  // namespace

WxListControl::WxListControl(wxWindow* parent, wxWindowID id, ListViewStyle style) : style_(style) {
  auto* list = new wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, StyleFlag(style));
  window_ = list;
  SetIcons({}, {});
  header_.Attach(list, HeaderWindow());
}

WxListControl::~WxListControl() {
  header_.Attach(nullptr, nullptr);
  if (wxListCtrl* w = window_.get()) w->Destroy();
}

wxWindow* WxListControl::ItemWindow() const {
  wxListCtrl* w = window_.get();
  if (w == nullptr) return nullptr;
  // The generic list's row window is a child of the list.
  for (wxWindow* child : w->GetChildren()) {
    if (static_cast<void*>(child) == static_cast<void*>(w->m_mainWin)) return child;
  }
  return w;
}

wxWindow* WxListControl::HeaderWindow() const {
  wxListCtrl* w = window_.get();
  if (w == nullptr || w->m_headerWin == nullptr) return nullptr;
  for (wxWindow* child : w->GetChildren()) {
    if (static_cast<void*>(child) == static_cast<void*>(w->m_headerWin)) return child;
  }
  return nullptr;
}

void WxListControl::SetIcons(const std::vector<wxBitmap>& small, const std::vector<wxBitmap>& large) {
  wxListCtrl* w = window_.get();
  if (w == nullptr) return;
  icons_ = std::max<int>(1, static_cast<int>(std::max(small.size(), large.size())));
  // Both lists hold icons_ pictures per state, so that one index serves every style.
  w->AssignImageList(MakePictures(small, kSmallIcon, icons_), wxIMAGE_LIST_SMALL);
  w->AssignImageList(MakePictures(large, kLargeIcon, icons_), wxIMAGE_LIST_NORMAL);
  for (int row = 0; row < GetItemCount(); ++row) ShowPicture(row);
}

int WxListControl::Picture(const Row& r) const {
  const int state = std::clamp(r.state, 0, kStates - 1);
  return state * icons_ + std::clamp(r.image, 0, icons_ - 1);
}

void WxListControl::ShowPicture(int row) { window_->SetItemImage(row, Picture(rows_[row])); }

void WxListControl::InsertColumn(int column, const std::string& heading, int width, ListAlign align) {
  if (!window_) return;
  const int at = std::clamp(column, 0, GetColumnCount());
  columns_.insert(columns_.begin() + at, Column{heading, width, align});
  if (InReport()) window_->InsertColumn(at, Shown(heading), Format(align), width);
}

void WxListControl::FitColumnToText(int column, const std::string& text) {
  wxListCtrl* w = window_.get();
  if (w == nullptr || column < 0 || column >= GetColumnCount()) return;
  wxChar widest = '0';
  int widestWidth = 0;
  for (wxChar digit = '0'; digit <= '9'; ++digit) {
    const int width = w->GetTextExtent(wxString(digit)).x;
    if (width > widestWidth) {
      widestWidth = width;
      widest = digit;
    }
  }
  wxString shape = Shown(text);
  for (auto c = shape.begin(); c != shape.end(); ++c) {
    if (*c >= '0' && *c <= '9') *c = widest;
  }
  // The generic list draws a column's text 8 pixels narrower than the column (column 0 after its
  // picture, 2 pixels in); a few more keep it off the grid line.
  int needed = w->GetTextExtent(shape).x + 8 + 4;
  if (column == 0) needed += 2 + kIconLeft + kSmallIcon + 5;
  if (needed <= columns_[column].width) return;
  columns_[column].width = needed;
  if (InReport()) w->SetColumnWidth(column, needed);
}

int WxListControl::InsertItem(int row, const std::string& text, int image) {
  if (!window_) return kNoRow;
  const int at = std::clamp(row, 0, GetItemCount());
  Row r;
  r.texts.push_back(text);
  r.image = image;
  rows_.insert(rows_.begin() + at, r);
  // The hot row is an index; its highlight must not travel with the row pushed down.
  const int hot = hot_;
  if (hot != kNoRow) ShowHot(hot, false);
  window_->InsertItem(at, Shown(text), Picture(rows_[at]));
  if (hot != kNoRow) ShowHot(hot, true);
  return at;
}

void WxListControl::DeleteAllItems() {
  if (!window_) return;
  window_->DeleteAllItems();
  rows_.clear();
  hot_ = kNoRow;
}

void WxListControl::SetItemText(int row, int column, const std::string& text) {
  if (!Valid(row) || column < 0) return;
  auto& texts = rows_[row].texts;
  if (static_cast<std::size_t>(column) >= texts.size()) texts.resize(column + 1);
  texts[column] = text;
  // Outside the report style the window holds column 0 only; the rest goes in on return.
  if (column == 0 || (InReport() && column < window_->GetColumnCount())) window_->SetItem(row, column, Shown(text));
}

std::string WxListControl::GetItemText(int row, int column) const {
  if (!Valid(row) || column < 0) return {};
  const auto& texts = rows_[row].texts;
  return static_cast<std::size_t>(column) < texts.size() ? texts[column] : std::string();
}

void WxListControl::SetItemImage(int row, int image) {
  if (!Valid(row)) return;
  rows_[row].image = image;
  ShowPicture(row);
}

int WxListControl::GetItemImage(int row) const { return Valid(row) ? rows_[row].image : 0; }

void WxListControl::SetItemData(int row, std::uint32_t data) {
  if (Valid(row)) rows_[row].data = data;
}

std::uint32_t WxListControl::GetItemData(int row) const { return Valid(row) ? rows_[row].data : 0; }

void WxListControl::SetStateImage(int row, int state) {
  if (!Valid(row) || rows_[row].state == state) return;
  rows_[row].state = state;
  ShowPicture(row);
}

int WxListControl::GetStateImage(int row) const { return Valid(row) ? rows_[row].state : kListStateNone; }

void WxListControl::SetSelected(int row, bool selected) {
  if (Valid(row)) window_->SetItemState(row, selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
}

bool WxListControl::IsSelected(int row) const {
  return Valid(row) && window_->GetItemState(row, wxLIST_STATE_SELECTED) != 0;
}

int WxListControl::GetNextSelected(int after) const {
  if (!window_) return kNoRow;
  const long next = window_->GetNextItem(std::max(after, -1), wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  return next >= 0 ? static_cast<int>(next) : kNoRow;
}

void WxListControl::SetFocused(int row) {
  if (!window_) return;
  if (Valid(row)) {
    window_->SetItemState(row, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
  } else if (const int focused = GetFocused(); focused != kNoRow) {
    window_->SetItemState(focused, 0, wxLIST_STATE_FOCUSED);
  }
}

int WxListControl::GetFocused() const {
  if (!window_) return kNoRow;
  const long focused = window_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  return focused >= 0 ? static_cast<int>(focused) : kNoRow;
}

void WxListControl::ShowHot(int row, bool on) {
  if (!Valid(row)) return;
  wxColour hot = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT).ChangeLightness(175);
  window_->SetItemBackgroundColour(row, on ? hot : wxNullColour);
}

void WxListControl::SetHotItem(int row) {
  if (!window_) return;
  if (hot_ != kNoRow) ShowHot(hot_, false);
  hot_ = Valid(row) ? row : kNoRow;
  if (hot_ != kNoRow) ShowHot(hot_, true);
}

void WxListControl::EnsureVisible(int row) {
  if (Valid(row)) window_->EnsureVisible(row);
}

int WxListControl::FindItem(int start, const std::string& text) const {
  for (int row = std::max(start + 1, 0); row < GetItemCount(); ++row) {
    if (CompareListText(rows_[row].texts[0], text) == 0) return row;
  }
  return kNoRow;
}

void WxListControl::PushReport() {
  if (window_->GetColumnCount() != GetColumnCount()) {
    window_->DeleteAllColumns();
    for (int c = 0; c < GetColumnCount(); ++c) {
      window_->InsertColumn(c, Shown(columns_[c].heading), Format(columns_[c].align), columns_[c].width);
    }
  }
  for (int row = 0; row < GetItemCount(); ++row) {
    const auto& texts = rows_[row].texts;
    for (int c = 1; c < static_cast<int>(texts.size()) && c < GetColumnCount(); ++c) {
      window_->SetItem(row, c, Shown(texts[c]));
    }
  }
}

void WxListControl::SetViewStyle(ListViewStyle style) {
  if (!window_ || style == style_) return;
  style_ = style;
  window_->SetSingleStyle(StyleFlag(style));
  if (InReport()) PushReport();
  header_.Attach(window_.get(), HeaderWindow());
  // The generic list lays its rows out again only when told that something changed: without it
  // every row of the new style sits at the first place, with no room for its name.
  window_->SendSizeEvent();
}

void WxListControl::SetGridLines(bool on) {
  if (!window_) return;
  gridLines_ = on;
  window_->SetSingleStyle(wxLC_HRULES | wxLC_VRULES, on);
  header_.Attach(window_.get(), HeaderWindow());
}

wxRect WxListControl::StateArea(int row) const {
  wxRect bounds;
  window_->GetItemRect(row, bounds, wxLIST_RECT_BOUNDS);
  // From the list's coordinates into those of its row window.
  wxWindow* rows = ItemWindow();
  if (rows != window_.get()) bounds.Offset(-rows->GetPosition());
  wxPoint picture;
  if (InReport()) {
    // Report rows draw their picture 2 pixels in, centred in the row.
    picture = wxPoint(bounds.x + 2, bounds.y + bounds.height / 2 - kSmallIcon / 2);
  } else {
    // The other styles place the picture by the style and the label's size; ask the control where
    // it is: the first point of the row, left to right and then top to bottom, that it reports as
    // the icon. Pictures start at most 4 pixels in and are at least 16 high.
    picture = bounds.GetTopLeft();
    const int probeY = bounds.y + 8;
    for (int x = bounds.x; x < bounds.GetRight(); ++x) {
      int flags = 0;
      if (window_->HitTest(wxPoint(x, probeY), flags) == row && (flags & wxLIST_HITTEST_ONITEMICON)) {
        picture.x = x;
        break;
      }
    }
    for (int y = bounds.y; y <= probeY; ++y) {
      int flags = 0;
      if (window_->HitTest(wxPoint(picture.x, y), flags) == row && (flags & wxLIST_HITTEST_ONITEMICON)) {
        picture.y = y;
        break;
      }
    }
  }
  const int height = style_ == ListViewStyle::Icon ? kLargeIcon : kSmallIcon;
  return wxRect(picture.x, picture.y + StateTop(height), kStateImageSize, kStateImageSize);
}

ListHit WxListControl::HitTest(ListPoint point) const {
  if (!window_ || rows_.empty()) return {};
  wxRect settle;
  window_->GetItemRect(0, settle);  // lays the rows out if they have changed since the last idle time
  int flags = 0;
  const long row = window_->HitTest(wxPoint(point.x, point.y), flags);
  if (row < 0 || row >= GetItemCount() || !(flags & wxLIST_HITTEST_ONITEM)) return {};
  const int r = static_cast<int>(row);
  if (rows_[r].state != kListStateNone && StateArea(r).Contains(point.x, point.y)) return {r, kListHitOnStateIcon};
  return {r, (flags & wxLIST_HITTEST_ONITEMICON) ? kListHitOnIcon : kListHitOnLabel};
}

bool WxListControl::GetStateIconRect(int row, ListRect& rect) const {
  if (!Valid(row) || rows_[row].state == kListStateNone) return false;
  const wxRect r = StateArea(row);
  if (!ItemWindow()->GetClientRect().Intersects(r)) return false;  // scrolled out of view
  rect = {r.x, r.y, r.width, r.height};
  return true;
}

}  // namespace controls
