// A CD tree view and list view on in-memory controls, with a frame that keeps the marked pane.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cdengine/commands.h"
#include "cdviews/tree_view.h"
#include "cdviews/cd_list_view.h"
#include "controls/memory_list_control.h"
#include "controls/memory_tree_control.h"

namespace cd::testing {

using namespace cd::views;

// The frame services the views call; the rest do nothing.
class ViewFrame : public CdFrame, public CdPrompts {
 public:
  std::string markedPane;
  void AddLogEntry(const char*, const char*, const char*, CdLogIcon) override {}
  void StartProgress() override {}
  void StartProgressRange(std::uint32_t) override {}
  void StepProgress(std::uint32_t, std::uint8_t, const char*, std::uint32_t, std::size_t, std::uint32_t) override {}
  void EndProgress(std::uint32_t) override {}
  void AttachPanes() override {}
  void UpdateTotalsPane(std::uint32_t, std::uint32_t) override {}
  void UpdateMarkedPane() override { markedPane = SizePaneText("Marked", markedBytes, markedFiles, markedFolders); }
  void SetMarkedPaneText(const std::string& text) override { markedPane = text; }
  int PumpMessages() override { return 1; }
  void EnableToolbarButton(int, bool) override {}
  CdTreeViewPort* GetLeftPane() override { return tree; }
  CdListViewPort* GetRightPane() override { return list; }
  CdPrompts& GetPrompts() override { return *this; }
  CdAnswer MessageBox(const std::string&, const std::string&, CdButtons) override { return kCdAnswerOk; }
  void RunSelectDriveDialog(const std::vector<std::string>&) override {}
  void RunOverwriteDialog() override {}
  CdTreeView* tree = nullptr;
  CdListViewPort* list = nullptr;
};

class RecordingArrow : public CdSortArrow {
 public:
  void SetSortImage(int c, int a) override {
    column = c;
    ascending = a;
  }
  int column = -1, ascending = -1;
};

struct Entry {
  std::uint8_t type;
  std::string name;
  std::uint32_t parent, key, size;
};

class CdViews : public ::testing::Test {
 protected:
  CdViews() : tree(treeControl, app), list(listControl, app) {
    tree.SetFrame(&frame);
    tree.SetListView(&list);
    list.SetTreeView(&tree);
    list.SetFrame(&frame);
    list.SetSortArrow(&arrow);
    list.InsertColumns();
    frame.tree = &tree;
    frame.list = &list;
  }

  // Root, then ENTRIES in arrival order; contents are shown and Root is selected.
  void Build(const std::vector<Entry>& entries) {
    tree.InsertRootItem();
    for (const auto& e : entries) {
      tree.AddTreeItem(e.type, e.name, e.parent, e.key);
      tree.Nodes().back().size = e.size;
    }
    app.contentsShown = 1;
    tree.ExpandRoot(1);
  }

  // The folder with KEY selected, so that the list shows its entries.
  void Show(std::uint32_t key) {
    if (key == 0) {
      treeControl.Select(tree.RootItem());
    } else {
      treeControl.Select(tree.FindFolder(key)->treeItem);
    }
    list.FillFromTreeNodes(key);  // also when the folder was selected already
  }

  int Row(const std::string& name) const { return listControl.FindItem(controls::kNoRow, name); }

  // A click on the state icon of ROW.
  void ClickRow(int row) {
    controls::ListRect r;
    ASSERT_TRUE(listControl.GetStateIconRect(row, r));
    list.OnLButtonDown({r.x + 2, r.y + 2});
  }

  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    for (int r = 0; r < listControl.GetItemCount(); ++r) out.push_back(listControl.GetItemText(r, column));
    return out;
  }

  CdAppState app;
  ViewFrame frame;
  controls::MemoryTreeControl treeControl;
  controls::MemoryListControl listControl;
  CdTreeView tree;
  CCDView list;
  RecordingArrow arrow;
};

}  // namespace cd::testing
