// The list contract on a wxListCtrl in any of its four styles. Row texts are kept as bytes beside
// the window; each row's picture is its state image (the check strip) and its icon side by side,
// so that every style shows both and the state icon can be hit-tested. The header is painted by a
// CSortHeaderCtrl. The adapter owns its window and destroys it unless the window's parent has
// done so first.
#pragma once

#include <wx/bitmap.h>
#include <wx/listctrl.h>
#include <wx/weakref.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/list_control.h"
#include "controls/wx/sort_header_ctrl.h"

namespace controls {

class WxListControl : public ListControl {
 public:
  explicit WxListControl(wxWindow* parent, wxWindowID id = wxID_ANY, ListViewStyle style = ListViewStyle::Report);
  ~WxListControl() override;
  WxListControl(const WxListControl&) = delete;
  WxListControl& operator=(const WxListControl&) = delete;

  // The window, for sizing and for the list's events; null once it is destroyed.
  wxListCtrl* Window() const { return window_.get(); }
  // The window that receives the rows' mouse events; hit tests and state icon rectangles are in
  // its client coordinates.
  wxWindow* ItemWindow() const;
  // The item images: SMALL ones of 16 x 16 (report, small icon and list styles) and LARGE ones of
  // 32 x 32 (icon style), the same index in both. Without them rows show no icon.
  void SetIcons(const std::vector<wxBitmap>& small, const std::vector<wxBitmap>& large);
  CSortHeaderCtrl& Header() { return header_; }
  // Widens COLUMN, when it is narrower, so that TEXT shows whole in it in the window's font; every
  // digit counts as the font's widest, so that any text of the same shape fits as well.
  void FitColumnToText(int column, const std::string& text);

  void InsertColumn(int column, const std::string& heading, int width, ListAlign align) override;
  int GetColumnCount() const override { return static_cast<int>(columns_.size()); }

  int InsertItem(int row, const std::string& text, int image) override;
  void DeleteAllItems() override;
  int GetItemCount() const override { return static_cast<int>(rows_.size()); }

  void SetItemText(int row, int column, const std::string& text) override;
  std::string GetItemText(int row, int column) const override;
  void SetItemImage(int row, int image) override;
  int GetItemImage(int row) const override;
  void SetItemData(int row, std::uint32_t data) override;
  std::uint32_t GetItemData(int row) const override;
  void SetStateImage(int row, int state) override;
  int GetStateImage(int row) const override;

  void SetSelected(int row, bool selected) override;
  bool IsSelected(int row) const override;
  int GetNextSelected(int after) const override;
  void SetFocused(int row) override;
  int GetFocused() const override;

  void SetHotItem(int row) override;
  int GetHotItem() const override { return hot_; }
  void EnsureVisible(int row) override;

  int FindItem(int start, const std::string& text) const override;

  void SetViewStyle(ListViewStyle style) override;
  ListViewStyle GetViewStyle() const override { return style_; }
  void SetGridLines(bool on) override;
  bool HasGridLines() const override { return gridLines_; }

  ListHit HitTest(ListPoint point) const override;
  bool GetStateIconRect(int row, ListRect& rect) const override;

 private:
  struct Column {
    std::string heading;
    int width = 0;
    ListAlign align = ListAlign::Left;
  };
  struct Row {
    std::vector<std::string> texts;
    int image = 0;
    std::uint32_t data = 0;
    int state = kListStateNone;
  };
  bool Valid(int row) const { return window_ && row >= 0 && row < static_cast<int>(rows_.size()); }
  bool InReport() const { return style_ == ListViewStyle::Report; }
  // The picture index of a row: its state and its icon.
  int Picture(const Row& r) const;
  void ShowPicture(int row);
  void ShowHot(int row, bool on);
  // Puts the columns and every row's texts into the window again (on entering the report style).
  void PushReport();
  wxWindow* HeaderWindow() const;
  // The state icon's place within a row's picture.
  wxRect StateArea(int row) const;

  wxWeakRef<wxListCtrl> window_;
  CSortHeaderCtrl header_;
  std::vector<Column> columns_;
  std::vector<Row> rows_;
  int icons_ = 1;  // icons per state in the picture lists
  int hot_ = kNoRow;
  ListViewStyle style_;
  bool gridLines_ = false;
};

}  // namespace controls
