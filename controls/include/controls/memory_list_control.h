// An in-memory list control for tests: rows with their texts, image, data, state image and
// selection, and a simple layout (one row of 16 pixels each, state icon, icon, label) for hit tests.
#pragma once

#include <vector>

#include "controls/list_control.h"

namespace controls {

class MemoryListControl : public ListControl {
 public:
  static constexpr int kRowHeight = 16;
  static constexpr int kStateWidth = 14;
  static constexpr int kIconWidth = 16;
  static constexpr int kCharWidth = 7;

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
  int GetFocused() const override { return focused_; }

  void SetHotItem(int row) override { hot_ = Valid(row) ? row : kNoRow; }
  int GetHotItem() const override { return hot_; }
  void EnsureVisible(int row) override { lastShown_ = Valid(row) ? row : lastShown_; }
  // The row last scrolled into view, for tests of the views.
  int LastEnsuredVisible() const { return lastShown_; }

  int FindItem(int start, const std::string& text) const override;

  void SetViewStyle(ListViewStyle style) override { style_ = style; }
  ListViewStyle GetViewStyle() const override { return style_; }
  void SetGridLines(bool on) override { gridLines_ = on; }
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
    bool selected = false;
  };
  bool Valid(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  int focused_ = kNoRow;
  int hot_ = kNoRow;
  int lastShown_ = kNoRow;
  ListViewStyle style_ = ListViewStyle::Report;
  bool gridLines_ = false;
};

}  // namespace controls
