// The list-control operations the views are written against: columns, rows with texts, image,
// item data and state image, selection, the hot row, lookup by text, the four view styles and the
// hit test on the state icon. Implemented by a wxListCtrl adapter in the programs and by
// MemoryListControl in tests.
#pragma once

#include <cstdint>
#include <string>

namespace controls {

// A row index; kNoRow is "no row".
inline constexpr int kNoRow = -1;

// State images of a row, one higher than the tree's so that the same strip reads: 0 none, 1 blank,
// 2 unchecked box, 3 checked, 4 partly checked.
inline constexpr int kListStateNone = 0;
inline constexpr int kListStateBlank = 1;
inline constexpr int kListStateUnchecked = 2;
inline constexpr int kListStateChecked = 3;
inline constexpr int kListStatePartly = 4;

// Hit-test flags, as the list control reports them.
inline constexpr unsigned kListHitNowhere = 0x01;
inline constexpr unsigned kListHitOnIcon = 0x02;
inline constexpr unsigned kListHitOnLabel = 0x04;
inline constexpr unsigned kListHitOnStateIcon = 0x08;

enum class ListViewStyle { Report, Icon, SmallIcon, List };
enum class ListAlign { Left, Right, Centre };

struct ListPoint {
  int x = 0;
  int y = 0;
};

struct ListRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(ListPoint p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
};

struct ListHit {
  int row = kNoRow;
  unsigned flags = kListHitNowhere;
};

// Points and rectangles are in the coordinates of the window that receives the rows' mouse events.
// Calls with a row that does not exist do nothing and read as empty, 0 or false.
class ListControl {
 public:
  virtual ~ListControl() = default;

  // Columns, shown in the report style. ALIGN applies to the heading and the column's texts.
  virtual void InsertColumn(int column, const std::string& heading, int width, ListAlign align) = 0;
  virtual int GetColumnCount() const = 0;

  // Inserts a row with TEXT in column 0 before ROW (ROW at or past the end appends) and returns
  // its index. The new row has item data 0, state image 0, empty sub-items and is not selected.
  virtual int InsertItem(int row, const std::string& text, int image) = 0;
  virtual void DeleteAllItems() = 0;
  virtual int GetItemCount() const = 0;

  // Texts are bytes and come back exactly as given, whatever the window shows for them.
  virtual void SetItemText(int row, int column, const std::string& text) = 0;
  virtual std::string GetItemText(int row, int column) const = 0;
  virtual void SetItemImage(int row, int image) = 0;
  virtual int GetItemImage(int row) const = 0;
  virtual void SetItemData(int row, std::uint32_t data) = 0;
  virtual std::uint32_t GetItemData(int row) const = 0;
  virtual void SetStateImage(int row, int state) = 0;
  virtual int GetStateImage(int row) const = 0;

  virtual void SetSelected(int row, bool selected) = 0;
  virtual bool IsSelected(int row) const = 0;
  // The first selected row after AFTER (kNoRow: from the first row); kNoRow when there is none.
  virtual int GetNextSelected(int after) const = 0;
  // The focused row (kNoRow: none).
  virtual void SetFocused(int row) = 0;
  virtual int GetFocused() const = 0;

  // The hot row is highlighted until it is cleared with kNoRow or the rows are deleted. It belongs
  // to the index, not to the row's contents.
  virtual void SetHotItem(int row) = 0;
  virtual int GetHotItem() const = 0;
  // Scrolls ROW fully into view.
  virtual void EnsureVisible(int row) = 0;

  // The first row after START (kNoRow: from the first row) whose column-0 text equals TEXT without
  // regard to ASCII case; kNoRow when there is none.
  virtual int FindItem(int start, const std::string& text) const = 0;

  // Switching styles keeps every row, text, column and state.
  virtual void SetViewStyle(ListViewStyle style) = 0;
  virtual ListViewStyle GetViewStyle() const = 0;
  virtual void SetGridLines(bool on) = 0;
  virtual bool HasGridLines() const = 0;

  // Which row lies under POINT and which part of it.
  virtual ListHit HitTest(ListPoint point) const = 0;
  // Where ROW's state icon is drawn; false when the row has none or is not shown.
  virtual bool GetStateIconRect(int row, ListRect& rect) const = 0;
};

// ASCII case-insensitive comparison of the row lookup; negative, 0 or positive.
int CompareListText(const std::string& a, const std::string& b);

// Exchanges two rows in place: every column's text, the image, item data, state image, selection
// and focus. The hot row stays where it is.
void SwapRows(ListControl& list, int a, int b);

}  // namespace controls
