// The in-memory tree control: items in sibling lists, a row layout for hit tests.
#include "controls/memory_tree_control.h"

#include <cctype>
#include <iterator>
#include <set>

namespace controls {

int CompareTreeText(const std::string& a, const std::string& b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

struct MemoryTreeControl::Item {
  std::string text;
  int image = 0;
  int selectedImage = 0;
  std::uint32_t data = 0;
  int state = kStateNone;
  bool expanded = false;
  Item* parent = nullptr;  // the holder for top-level items
  Item* first = nullptr;
  Item* last = nullptr;
  Item* next = nullptr;
  Item* prev = nullptr;
  // The children ordered by text, equal texts in arrival order: a sorted insert finds its place
  // in log n comparisons and moves nothing.
  struct ByText {
    bool operator()(const Item* a, const Item* b) const { return CompareTreeText(a->text, b->text) < 0; }
  };
  std::multiset<Item*, ByText> children;
};


MemoryTreeControl::MemoryTreeControl() : top_(std::make_unique<Item>()) { top_->expanded = true; }

MemoryTreeControl::~MemoryTreeControl() { DeleteAll(); }

MemoryTreeControl::Item* MemoryTreeControl::Get(TreeItem item) const { return reinterpret_cast<Item*>(item); }

int MemoryTreeControl::GetImage(TreeItem item) const { return item == kNoItem ? 0 : Get(item)->image; }

TreeItem MemoryTreeControl::InsertSorted(TreeItem parent, const std::string& text, int image, int selectedImage) {
  Item* holder = parent == kNoItem ? top_.get() : Get(parent);
  auto* item = new Item;
  item->text = text;
  item->image = image;
  item->selectedImage = selectedImage;
  item->parent = holder;
  // After the last sibling that is not greater (a multiset inserts after its equals).
  const auto at = holder->children.insert(item);
  Item* after = at == holder->children.begin() ? nullptr : *std::prev(at);
  item->prev = after;
  item->next = after != nullptr ? after->next : holder->first;
  if (item->next != nullptr) {
    item->next->prev = item;
  } else {
    holder->last = item;
  }
  if (after != nullptr) {
    after->next = item;
  } else {
    holder->first = item;
  }
  ++count_;
  return reinterpret_cast<TreeItem>(item);
}

void MemoryTreeControl::DeleteAll() {
  // Iterative, so that a deep tree cannot exhaust the stack.
  std::vector<Item*> pending;
  for (Item* c = top_->first; c != nullptr; c = c->next) pending.push_back(c);
  while (!pending.empty()) {
    Item* item = pending.back();
    pending.pop_back();
    for (Item* c = item->first; c != nullptr; c = c->next) pending.push_back(c);
    delete item;
  }
  top_->first = top_->last = nullptr;
  top_->children.clear();
  count_ = 0;
  if (selection_ != kNoItem) {
    selection_ = kNoItem;
    NotifySelection(kNoItem);
  }
}

std::string MemoryTreeControl::GetItemText(TreeItem item) const { return item ? Get(item)->text : std::string(); }
void MemoryTreeControl::SetItemData(TreeItem item, std::uint32_t data) {
  if (item) Get(item)->data = data;
}
std::uint32_t MemoryTreeControl::GetItemData(TreeItem item) const { return item ? Get(item)->data : 0; }
void MemoryTreeControl::SetStateImage(TreeItem item, int state) {
  if (item) Get(item)->state = state;
}
int MemoryTreeControl::GetStateImage(TreeItem item) const { return item ? Get(item)->state : kStateNone; }

TreeItem MemoryTreeControl::GetRoot() const { return reinterpret_cast<TreeItem>(top_->first); }
TreeItem MemoryTreeControl::GetParent(TreeItem item) const {
  if (!item) return kNoItem;
  Item* p = Get(item)->parent;
  return p == top_.get() ? kNoItem : reinterpret_cast<TreeItem>(p);
}
TreeItem MemoryTreeControl::GetChild(TreeItem item) const {
  return item ? reinterpret_cast<TreeItem>(Get(item)->first) : kNoItem;
}
TreeItem MemoryTreeControl::GetNext(TreeItem item) const {
  return item ? reinterpret_cast<TreeItem>(Get(item)->next) : kNoItem;
}

void MemoryTreeControl::Expand(TreeItem item) {
  if (item) Get(item)->expanded = true;
}
void MemoryTreeControl::Collapse(TreeItem item) {
  if (item) Get(item)->expanded = false;
}
bool MemoryTreeControl::IsExpanded(TreeItem item) const { return item && Get(item)->expanded; }

void MemoryTreeControl::Select(TreeItem item) {
  if (item == selection_) return;
  selection_ = item;
  // A selected item is shown: its ancestors open.
  for (Item* p = item ? Get(item)->parent : nullptr; p != nullptr && p != top_.get(); p = p->parent) p->expanded = true;
  NotifySelection(item);
}

void MemoryTreeControl::Layout(std::vector<std::pair<const Item*, int>>& rows) const {
  std::vector<std::pair<const Item*, int>> pending;
  for (const Item* c = top_->last; c != nullptr; c = c->prev) pending.emplace_back(c, 0);
  while (!pending.empty()) {
    auto [item, depth] = pending.back();
    pending.pop_back();
    rows.emplace_back(item, depth);
    if (item->expanded) {
      for (const Item* c = item->last; c != nullptr; c = c->prev) pending.emplace_back(c, depth + 1);
    }
  }
}

TreeHit MemoryTreeControl::HitTest(TreePoint point) const {
  std::vector<std::pair<const Item*, int>> rows;
  Layout(rows);
  if (point.y < 0 || point.x < 0) return {};
  const std::size_t row = static_cast<std::size_t>(point.y / kRowHeight);
  if (row >= rows.size()) return {};
  const auto [item, depth] = rows[row];
  TreeHit hit;
  hit.item = reinterpret_cast<TreeItem>(item);
  const int button = depth * kIndent;
  const int state = button + kButtonWidth;
  const int icon = state + (item->state != kStateNone ? kStateWidth : 0);
  const int label = icon + kIconWidth;
  const int end = label + kCharWidth * static_cast<int>(item->text.size());
  if (point.x < button) {
    hit.flags = kHitOnIndent;
  } else if (point.x < state) {
    hit.flags = kHitOnButton;
  } else if (point.x < icon) {
    hit.flags = kHitOnStateIcon;
  } else if (point.x < label) {
    hit.flags = kHitOnIcon;
  } else if (point.x < end) {
    hit.flags = kHitOnLabel;
  } else {
    hit.flags = kHitOnRight;
  }
  return hit;
}

bool MemoryTreeControl::GetStateIconRect(TreeItem item, TreeRect& rect) const {
  std::vector<std::pair<const Item*, int>> rows;
  Layout(rows);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (reinterpret_cast<TreeItem>(rows[row].first) != item) continue;
    if (rows[row].first->state == kStateNone) return false;
    rect = {rows[row].second * kIndent + kButtonWidth, static_cast<int>(row) * kRowHeight, kStateWidth, kRowHeight};
    return true;
  }
  return false;
}

TreeItem MemoryTreeControl::FindChildByText(TreeItem parent, const std::string& text) const {
  const Item* holder = parent == kNoItem ? top_.get() : Get(parent);
  for (const Item* c = holder->first; c != nullptr; c = c->next) {
    if (c->text == text) return reinterpret_cast<TreeItem>(c);
  }
  return kNoItem;
}

}  // namespace controls
