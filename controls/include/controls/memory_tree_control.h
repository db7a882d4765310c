// An in-memory tree control for tests: the items, their data and state images, and a simple
// layout (one row of 16 pixels per visible item, 19 pixels of indent per level) for hit tests.
#pragma once

#include <memory>
#include <vector>

#include "controls/tree_control.h"

namespace controls {

class MemoryTreeControl : public TreeControl {
 public:
  static constexpr int kRowHeight = 16;
  static constexpr int kIndent = 19;
  static constexpr int kButtonWidth = 16;
  static constexpr int kStateWidth = 14;
  static constexpr int kIconWidth = 16;
  static constexpr int kCharWidth = 7;

  MemoryTreeControl();
  ~MemoryTreeControl() override;

  TreeItem InsertSorted(TreeItem parent, const std::string& text, int image, int selectedImage) override;
  void DeleteAll() override;
  std::size_t GetCount() const override { return count_; }

  std::string GetItemText(TreeItem item) const override;
  void SetItemData(TreeItem item, std::uint32_t data) override;
  std::uint32_t GetItemData(TreeItem item) const override;
  void SetStateImage(TreeItem item, int state) override;
  int GetStateImage(TreeItem item) const override;

  TreeItem GetRoot() const override;
  TreeItem GetParent(TreeItem item) const override;
  TreeItem GetChild(TreeItem item) const override;
  TreeItem GetNext(TreeItem item) const override;

  void Expand(TreeItem item) override;
  void Collapse(TreeItem item) override;
  bool IsExpanded(TreeItem item) const override;

  void Select(TreeItem item) override;
  TreeItem GetSelection() const override { return selection_; }

  TreeHit HitTest(TreePoint point) const override;
  bool GetStateIconRect(TreeItem item, TreeRect& rect) const override;

  TreeItem FindChildByText(TreeItem parent, const std::string& text) const override;

  // The normal image ITEM was inserted with (for tests of the views).
  int GetImage(TreeItem item) const;

 private:
  struct Item;
  Item* Get(TreeItem item) const;
  // Visible items in display order with their depth.
  void Layout(std::vector<std::pair<const Item*, int>>& rows) const;

  std::unique_ptr<Item> top_;  // holder of the top-level items
  std::size_t count_ = 0;
  TreeItem selection_ = kNoItem;
};

}  // namespace controls
