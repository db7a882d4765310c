// The tree contract on a wxTreeCtrl: items under a hidden root, their texts kept as bytes, the
// check strip as state images. The adapter owns its window and destroys it unless the window's
// parent has done so first.
#pragma once

#include <unordered_map>
#include <vector>

#include <wx/treectrl.h>
#include <wx/weakref.h>

#include "controls/tree_control.h"

namespace controls {

class WxTreeControl : public TreeControl {
 public:
  static constexpr long kDefaultStyle = wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE;

  explicit WxTreeControl(wxWindow* parent, wxWindowID id = wxID_ANY, long style = kDefaultStyle);
  ~WxTreeControl() override;
  WxTreeControl(const WxTreeControl&) = delete;
  WxTreeControl& operator=(const WxTreeControl&) = delete;

  // The window, for sizing and for binding mouse and key events; null once it is destroyed.
  wxTreeCtrl* Window() const { return window_.get(); }
  // Item images (normal and selected indices refer to it); the tree takes ownership.
  void SetImageList(wxImageList* images);
  // The handle of a wx item id and back.
  static TreeItem ToItem(const wxTreeItemId& id) { return reinterpret_cast<TreeItem>(id.GetID()); }
  static wxTreeItemId ToId(TreeItem item) { return wxTreeItemId(reinterpret_cast<void*>(item)); }

  TreeItem InsertSorted(TreeItem parent, const std::string& text, int image, int selectedImage) override;
  void DeleteAll() override;
  std::size_t GetCount() const override;

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
  TreeItem GetSelection() const override;

  TreeHit HitTest(TreePoint point) const override;
  bool GetStateIconRect(TreeItem item, TreeRect& rect) const override;

  TreeItem FindChildByText(TreeItem parent, const std::string& text) const override;

  // While frozen the window is neither laid out nor painted, and the state images set meanwhile
  // wait in the items (GetStateImage reports them): the window measures an item's text each time
  // its state changes, so an item gets its state when it is first shown, at Thaw or when its
  // parent expands, and items never shown are never measured.
  void Freeze();
  void Thaw();
  bool IsFrozen() const { return frozen_; }

 private:
  class TreeWindow;
  struct Data;
  Data* DataOf(TreeItem item) const;
  wxTreeItemId Holder(TreeItem parent) const;
  void OnSelChanged(wxTreeEvent& event);
  void OnExpanding(wxTreeEvent& event);
  void GiveState(const wxTreeItemId& id) const;
  // Every item whose ancestors are all expanded gets its waiting state.
  void GiveShownStates() const;

  wxWeakRef<wxTreeCtrl> window_;
  TreeWindow* tree_ = nullptr;  // the same window, with its layout call
  wxTreeItemId hiddenRoot_;
  // Each holder's children in order (the hidden root's for top-level items), for the binary
  // search of InsertSorted; cleared with the items.
  std::unordered_map<void*, std::vector<const Data*>> children_;
  // The caret item as the contract sees it. The generic tree moves its own selection off an item
  // whose parent collapses and settles it at idle time, with a notice that updates this.
  TreeItem selected_ = kNoItem;
  bool quiet_ = false;  // true while a call of ours changes the selection
  bool frozen_ = false;
};

}  // namespace controls
