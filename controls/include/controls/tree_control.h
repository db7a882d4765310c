// The tree-control operations the views are written against: sorted insertion, item data, state
// images, navigation, expansion, selection, hit test on the state icon and lookup by text.
// Implemented by a wxTreeCtrl adapter in the programs and by MemoryTreeControl in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace controls {

// An item handle; kNoItem is "no item". Handles stay valid until the item is deleted.
using TreeItem = std::uintptr_t;
inline constexpr TreeItem kNoItem = 0;

// State images: 0 none, 1 unchecked box, 2 checked, 3 partly checked.
inline constexpr int kStateNone = 0;
inline constexpr int kStateUnchecked = 1;
inline constexpr int kStateChecked = 2;
inline constexpr int kStatePartly = 3;

// Hit-test flags, as the tree control reports them.
inline constexpr unsigned kHitNowhere = 0x01;
inline constexpr unsigned kHitOnIcon = 0x02;
inline constexpr unsigned kHitOnLabel = 0x04;
inline constexpr unsigned kHitOnIndent = 0x08;
inline constexpr unsigned kHitOnButton = 0x10;
inline constexpr unsigned kHitOnRight = 0x20;
inline constexpr unsigned kHitOnStateIcon = 0x40;

struct TreePoint {
  int x = 0;
  int y = 0;
};

struct TreeRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(TreePoint p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
};

struct TreeHit {
  TreeItem item = kNoItem;
  unsigned flags = kHitNowhere;
};

class TreeControl {
 public:
  virtual ~TreeControl() = default;

  // Inserts TEXT under PARENT (kNoItem: a top-level item) among its siblings in alphabetical order
  // (ASCII case-insensitive; after existing equal texts). Item data 0, state image 0.
  virtual TreeItem InsertSorted(TreeItem parent, const std::string& text, int image, int selectedImage) = 0;
  // Deletes every item.
  virtual void DeleteAll() = 0;
  virtual std::size_t GetCount() const = 0;

  virtual std::string GetItemText(TreeItem item) const = 0;
  virtual void SetItemData(TreeItem item, std::uint32_t data) = 0;
  virtual std::uint32_t GetItemData(TreeItem item) const = 0;
  virtual void SetStateImage(TreeItem item, int state) = 0;
  virtual int GetStateImage(TreeItem item) const = 0;

  // Navigation; each returns kNoItem when there is none.
  virtual TreeItem GetRoot() const = 0;                 // the first top-level item
  virtual TreeItem GetParent(TreeItem item) const = 0;  // kNoItem for a top-level item
  virtual TreeItem GetChild(TreeItem item) const = 0;   // first child
  virtual TreeItem GetNext(TreeItem item) const = 0;    // next sibling

  virtual void Expand(TreeItem item) = 0;
  virtual void Collapse(TreeItem item) = 0;
  virtual bool IsExpanded(TreeItem item) const = 0;

  // The caret item; selecting kNoItem clears it. A change of the caret item, by a call or by the
  // user, runs the selection handler with the new item (the tree's selection-changed notice).
  virtual void Select(TreeItem item) = 0;
  virtual TreeItem GetSelection() const = 0;
  void SetSelectionHandler(std::function<void(TreeItem)> handler) { onSelect_ = std::move(handler); }

  // Which visible item lies under POINT and which part of it.
  virtual TreeHit HitTest(TreePoint point) const = 0;
  // Where ITEM's state icon is drawn; false when the item is not visible.
  virtual bool GetStateIconRect(TreeItem item, TreeRect& rect) const = 0;

  // The first child of PARENT (kNoItem: the top level) whose text equals TEXT exactly.
  virtual TreeItem FindChildByText(TreeItem parent, const std::string& text) const = 0;

 protected:
  void NotifySelection(TreeItem item) {
    if (onSelect_) onSelect_(item);
  }

 private:
  std::function<void(TreeItem)> onSelect_;
};

// ASCII case-insensitive order of the sorted insertion; negative, 0 or positive.
int CompareTreeText(const std::string& a, const std::string& b);

}  // namespace controls
