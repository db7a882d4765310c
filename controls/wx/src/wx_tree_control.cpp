// The tree contract on wxTreeCtrl (the generic tree on GTK).
#include "controls/wx/wx_tree_control.h"

#include "controls/wx/display_string.h"
#include "controls/wx/state_images.h"

#include <algorithm>
#include <vector>

namespace controls {

// The tree window, with the generic tree's position pass at hand so that hit tests and item
// rectangles are right before the next idle time.
class WxTreeControl::TreeWindow : public wxTreeCtrl {
 public:
  TreeWindow(wxWindow* parent, wxWindowID id, long style)
      : wxTreeCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style) {}
  void Settle() {
    if (m_dirty) CalculatePositions();
  }
};

// What the tree keeps with each item: its text as bytes and the caller's item data.
struct WxTreeControl::Data : public wxTreeItemData {
  explicit Data(std::string t) : text(std::move(t)) {}
  std::string text;
  std::uint32_t value = 0;
  int state = kStateNone;
  bool statePending = false;  // set while the tree is frozen, not yet given to the window
};

namespace {
int WxState(int state) { return state > 0 && state < kStateImageCount ? state : wxTREE_ITEMSTATE_NONE; }
}  // namespace

WxTreeControl::WxTreeControl(wxWindow* parent, wxWindowID id, long style) {
  tree_ = new TreeWindow(parent, id, style | wxTR_HIDE_ROOT);
  window_ = tree_;
  tree_->AssignStateImageList(NewStateImageList());
  hiddenRoot_ = tree_->AddRoot(wxString());
  tree_->Bind(wxEVT_TREE_SEL_CHANGED, &WxTreeControl::OnSelChanged, this);
  tree_->Bind(wxEVT_TREE_ITEM_EXPANDING, &WxTreeControl::OnExpanding, this);
}

WxTreeControl::~WxTreeControl() {
  if (wxTreeCtrl* w = window_.get()) {
    w->Unbind(wxEVT_TREE_SEL_CHANGED, &WxTreeControl::OnSelChanged, this);
    w->Unbind(wxEVT_TREE_ITEM_EXPANDING, &WxTreeControl::OnExpanding, this);
    w->Destroy();
  }
}

void WxTreeControl::SetImageList(wxImageList* images) {
  if (window_) tree_->AssignImageList(images);
}

void WxTreeControl::OnSelChanged(wxTreeEvent& event) {
  event.Skip();
  if (quiet_) return;
  const wxTreeItemId id = event.GetItem();
  // The hidden root stands for no selection; the tree picks it after its items are deleted.
  const TreeItem item = id.IsOk() && id != hiddenRoot_ ? ToItem(id) : kNoItem;
  if (item == selected_) return;
  selected_ = item;
  NotifySelection(item);
}

WxTreeControl::Data* WxTreeControl::DataOf(TreeItem item) const {
  if (!window_ || item == kNoItem) return nullptr;
  return static_cast<Data*>(tree_->GetItemData(ToId(item)));
}

wxTreeItemId WxTreeControl::Holder(TreeItem parent) const { return parent == kNoItem ? hiddenRoot_ : ToId(parent); }

TreeItem WxTreeControl::InsertSorted(TreeItem parent, const std::string& text, int image, int selectedImage) {
  if (!window_) return kNoItem;
  const wxTreeItemId holder = Holder(parent);
  // After the last sibling that is not greater, found by binary search over the holder's
  // children in order: log n comparisons per insert, whatever order the entries arrive in.
  std::vector<const Data*>& order = children_[holder.GetID()];
  const auto at = std::upper_bound(order.begin(), order.end(), text,
                                   [](const std::string& t, const Data* c) { return CompareTreeText(t, c->text) < 0; });
  const auto pos = static_cast<std::size_t>(at - order.begin());
  const wxString shown = DisplayString(text);
  auto* data = new Data(text);
  order.insert(at, data);
  const wxTreeItemId id = tree_->InsertItem(holder, pos, shown, image, selectedImage, data);
  return ToItem(id);
}

void WxTreeControl::DeleteAll() {
  if (!window_) return;
  const bool hadSelection = selected_ != kNoItem;
  quiet_ = true;
  tree_->DeleteChildren(hiddenRoot_);
  children_.clear();
  quiet_ = false;
  selected_ = kNoItem;
  if (hadSelection) NotifySelection(kNoItem);
}

std::size_t WxTreeControl::GetCount() const { return window_ ? tree_->GetChildrenCount(hiddenRoot_, true) : 0; }

std::string WxTreeControl::GetItemText(TreeItem item) const {
  const Data* d = DataOf(item);
  return d ? d->text : std::string();
}

void WxTreeControl::SetItemData(TreeItem item, std::uint32_t data) {
  if (Data* d = DataOf(item)) d->value = data;
}

std::uint32_t WxTreeControl::GetItemData(TreeItem item) const {
  const Data* d = DataOf(item);
  return d ? d->value : 0;
}

void WxTreeControl::SetStateImage(TreeItem item, int state) {
  Data* d = DataOf(item);
  if (d == nullptr) return;
  // The strip's index 0 is the blank image; state 0 shows no state image at all.
  d->state = WxState(state) > 0 ? state : kStateNone;
  d->statePending = frozen_;
  // The window measures the item's text whenever its state changes: while frozen, the state waits
  // until the item is shown.
  if (!frozen_) tree_->SetItemState(ToId(item), WxState(state));
}

int WxTreeControl::GetStateImage(TreeItem item) const {
  const Data* d = DataOf(item);
  return d != nullptr ? d->state : kStateNone;
}

void WxTreeControl::GiveState(const wxTreeItemId& id) const {
  auto* d = static_cast<Data*>(tree_->GetItemData(id));
  if (d == nullptr || !d->statePending) return;
  d->statePending = false;
  tree_->SetItemState(id, WxState(d->state));
}

void WxTreeControl::GiveShownStates() const {
  std::vector<wxTreeItemId> open{hiddenRoot_};
  while (!open.empty()) {
    const wxTreeItemId parent = open.back();
    open.pop_back();
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree_->GetFirstChild(parent, cookie); c.IsOk(); c = tree_->GetNextChild(parent, cookie)) {
      GiveState(c);
      if (tree_->IsExpanded(c)) open.push_back(c);
    }
  }
}

void WxTreeControl::OnExpanding(wxTreeEvent& event) {
  event.Skip();
  // While frozen nothing is shown; Thaw gives the states of what is shown then.
  if (!window_ || frozen_ || !event.GetItem().IsOk()) return;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = tree_->GetFirstChild(event.GetItem(), cookie); c.IsOk();
       c = tree_->GetNextChild(event.GetItem(), cookie)) {
    GiveState(c);
  }
}

void WxTreeControl::Freeze() {
  if (!window_ || frozen_) return;
  frozen_ = true;
  tree_->Freeze();
}

void WxTreeControl::Thaw() {
  if (!window_ || !frozen_) return;
  frozen_ = false;
  GiveShownStates();
  tree_->Thaw();
}

TreeItem WxTreeControl::GetRoot() const { return GetChild(kNoItem); }

TreeItem WxTreeControl::GetParent(TreeItem item) const {
  if (!window_ || item == kNoItem) return kNoItem;
  const wxTreeItemId p = tree_->GetItemParent(ToId(item));
  return p.IsOk() && p != hiddenRoot_ ? ToItem(p) : kNoItem;
}

TreeItem WxTreeControl::GetChild(TreeItem item) const {
  if (!window_) return kNoItem;
  wxTreeItemIdValue cookie;
  const wxTreeItemId c = tree_->GetFirstChild(Holder(item), cookie);
  return c.IsOk() ? ToItem(c) : kNoItem;
}

TreeItem WxTreeControl::GetNext(TreeItem item) const {
  if (!window_ || item == kNoItem) return kNoItem;
  const wxTreeItemId n = tree_->GetNextSibling(ToId(item));
  return n.IsOk() ? ToItem(n) : kNoItem;
}

void WxTreeControl::Expand(TreeItem item) {
  if (window_ && item != kNoItem) tree_->Expand(ToId(item));
}

void WxTreeControl::Collapse(TreeItem item) {
  if (window_ && item != kNoItem) tree_->Collapse(ToId(item));
}

bool WxTreeControl::IsExpanded(TreeItem item) const {
  return window_ && item != kNoItem && tree_->IsExpanded(ToId(item));
}

void WxTreeControl::Select(TreeItem item) {
  if (!window_ || item == GetSelection()) return;
  // One notice per change, whatever events the tree sends meanwhile.
  quiet_ = true;
  if (item == kNoItem) {
    tree_->Unselect();
  } else {
    tree_->EnsureVisible(ToId(item));
    tree_->SelectItem(ToId(item));
  }
  quiet_ = false;
  selected_ = item;
  NotifySelection(item);
}

TreeItem WxTreeControl::GetSelection() const { return window_ ? selected_ : kNoItem; }

TreeHit WxTreeControl::HitTest(TreePoint point) const {
  if (!window_) return {};
  if (frozen_) GiveShownStates();
  tree_->Settle();
  int flags = 0;
  const wxTreeItemId id = tree_->HitTest(wxPoint(point.x, point.y), flags);
  TreeHit hit;
  if (!id.IsOk() || id == hiddenRoot_) return hit;
  struct Map {
    int wx;
    unsigned ours;
  };
  static constexpr Map kMap[] = {
      {wxTREE_HITTEST_ONITEMSTATEICON, kHitOnStateIcon}, {wxTREE_HITTEST_ONITEMICON, kHitOnIcon},
      {wxTREE_HITTEST_ONITEMLABEL, kHitOnLabel},         {wxTREE_HITTEST_ONITEMINDENT, kHitOnIndent},
      {wxTREE_HITTEST_ONITEMBUTTON, kHitOnButton},       {wxTREE_HITTEST_ONITEMRIGHT, kHitOnRight},
  };
  hit.item = ToItem(id);
  hit.flags = 0;
  for (const Map& m : kMap) {
    if (flags & m.wx) hit.flags |= m.ours;
  }
  if (hit.flags == 0) hit.flags = kHitOnRight;
  return hit;
}

bool WxTreeControl::GetStateIconRect(TreeItem item, TreeRect& rect) const {
  if (!window_ || item == kNoItem || GetStateImage(item) == kStateNone) return false;
  if (frozen_) GiveShownStates();
  tree_->Settle();
  const wxTreeItemId id = ToId(item);
  // Shown means every ancestor is open; the generic tree keeps stale places for hidden items.
  for (wxTreeItemId p = tree_->GetItemParent(id); p.IsOk() && p != hiddenRoot_; p = tree_->GetItemParent(p)) {
    if (!tree_->IsExpanded(p)) return false;
  }
  wxRect label;
  if (!tree_->GetBoundingRect(id, label, true)) return false;
  // The state icon comes first, then the item's image, then the label.
  int imageWidth = 0;
  if (const wxImageList* images = tree_->GetImageList(); images && tree_->GetItemImage(id) >= 0) {
    int h = 0;
    images->GetSize(0, imageWidth, h);
  }
  int x = label.x - imageWidth - kStateImageSize;
  if (imageWidth > 0) x -= 4;  // the generic tree's gap after the image
  rect = {x, label.y, kStateImageSize, label.height};
  return true;
}

TreeItem WxTreeControl::FindChildByText(TreeItem parent, const std::string& text) const {
  if (!window_) return kNoItem;
  for (TreeItem c = GetChild(parent); c != kNoItem; c = GetNext(c)) {
    if (GetItemText(c) == text) return c;
  }
  return kNoItem;
}

}  // namespace controls
