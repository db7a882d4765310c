// A frame that records what the views tell it, and a tree view with a small way to list entries.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/memory_list_control.h"
#include "controls/memory_tree_control.h"
#include "ext2engine/app_state.h"
#include "ext2engine/ports.h"
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"

namespace ext2::testing {

using namespace ext2::views;

struct RecordingFrame : FrameServices, Prompts {
  struct Message {
    std::string text, caption;
  };
  std::vector<Message> messages;
  int markedPaneUpdates = 0;

  int AddLogEntry(const char*, const char*, const char*, LogIcon) override { return 0; }
  void StartProgress(int) override {}
  void StartProgressText(int, const char*) override {}
  void StepProgress(int) override {}
  void StepProgressBar() override {}
  void EndProgress() override {}
  void InsertRootItem() override {}
  void AddTreeEntry(const EntryNode&, const char*) override {}
  void SetDrive(CLinuxDrive*) override {}
  void UpdateTotalsPane() override {}
  void UpdateMarkedPane(bool, bool, const char*, bool) override { ++markedPaneUpdates; }
  int PumpMessages() override { return 1; }
  void EnableToolbarButton(ToolbarCommand, bool) override {}
  TreeViewPort* GetLeftPane() override { return nullptr; }
  ListViewPort* GetRightPane() override { return nullptr; }
  Prompts& GetPrompts() override { return *this; }

  MessageAnswer MessageBox(const char* text, const char* caption, MessageButtons) override {
    messages.push_back({text, caption});
    return kAnswerOk;
  }
  void ShowCaution(CautionKind) override {}
  bool Confirm(ConfirmKind) override { return false; }
  bool FileExists(const std::string&, const std::string&, std::uint32_t) override { return false; }
  bool ScanFileExists(const std::string&, std::uint8_t, std::uint32_t) override { return false; }
};

inline EntryNode Folder(std::uint32_t inode, std::uint32_t parent, std::uint32_t deleted = 0) {
  EntryNode e;
  e.kind = kKindFolder;
  e.inode = inode;
  e.parentInode = parent;
  e.deleted = deleted;
  return e;
}

inline EntryNode File(std::uint32_t inode, std::uint32_t parent, std::uint64_t size = 0, std::uint32_t deleted = 0) {
  EntryNode e;
  e.kind = kKindFile;
  e.inode = inode;
  e.parentInode = parent;
  e.size = size;
  e.deleted = deleted;
  return e;
}

// A tree view on an in-memory control, wired to a recording frame.
struct TreeFixture {
  controls::MemoryTreeControl tree;
  AppState app;
  RecordingFrame frame;
  CLeftView view{tree, app};

  TreeFixture() {
    view.SetFrame(&frame);
    view.InsertRootItem();
  }

  void Add(const EntryNode& e, const std::string& name) { view.AddEntry(e, name.c_str()); }

  const ListedEntry& Record(const std::string& name) {
    for (const ListedEntry& e : view.Entries()) {
      if (e.name == name) return e;
    }
    throw std::runtime_error("no record " + name);
  }
  controls::TreeItem Item(const std::string& name) { return Record(name).treeItem; }
  int Image(const std::string& name) { return tree.GetStateImage(Item(name)); }
  int Check(const std::string& name) { return Record(name).check; }
};

// Both views, wired to each other and to the frame as the main window wires them.
struct ViewsFixture : TreeFixture {
  controls::MemoryListControl list;
  CQuarvelVelnoraView listView{list, app};

  ViewsFixture() {
    listView.InsertColumns();
    listView.SetTreeView(&view);
    listView.SetFrame(&frame);
    view.SetListView(&listView);
  }

  void Select(const std::string& folder) { tree.Select(Item(folder)); }
  int Row(const std::string& name) {
    for (int r = 0; r < list.GetItemCount(); ++r) {
      if (list.GetItemText(r, kColumnName) == name) return r;
    }
    return controls::kNoRow;
  }
  int RowState(const std::string& name) { return list.GetStateImage(Row(name)); }
  std::vector<std::string> Column(int column) {
    std::vector<std::string> texts;
    for (int r = 0; r < list.GetItemCount(); ++r) texts.push_back(list.GetItemText(r, column));
    return texts;
  }
};

}  // namespace ext2::testing
