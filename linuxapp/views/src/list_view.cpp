// The list's columns, its rows and their texts, Find's selection and opening folders.
#include "linuxviews/list_view.h"

#include <cstdio>

#include "linuxcore/inode_time.h"
#include "linuxviews/left_view.h"

namespace ext2::views {

using namespace ext2::core;

using controls::kNoRow;

namespace {

bool IsFolderKind(const std::string& kind) { return kind == "Folder" || kind == "Deleted Folder"; }

}  // namespace

int ListImageOf(const EntryNode& entry) {
  return (entry.deleted != 0 ? kListImageDeletedFolder : kListImageFolder) + (entry.IsFolder() ? 0 : 1);
}

const char* KindText(const EntryNode& entry) {
  if (entry.IsFolder()) return entry.deleted != 0 ? "Deleted Folder" : "Folder";
  return entry.deleted != 0 ? "Deleted File" : "File";
}

std::string NumberText(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%7llu", static_cast<unsigned long long>(value));
  return text;
}

CQuarvelVelnoraView::CQuarvelVelnoraView(controls::ListControl& list, AppState& app) : list_(list), app_(app) {}

void CQuarvelVelnoraView::InsertColumns() {
  for (int c = 0; c < kColumnCount; ++c) list_.InsertColumn(c, kListColumns[c].heading, kListColumns[c].width, kListColumns[c].align);
}

void CQuarvelVelnoraView::FillFromEntries(std::uint32_t key) {
  app_.sortToggle = 0;
  list_.DeleteAllItems();
  // The rows come in the drive's order: no column shows the sort arrow.
  if (arrow_ != nullptr) arrow_->SetSortImage(-1, 0);
  list_.SetHotItem(kNoRow);
  list_.SetGridLines(true);
  app_.viewsFilled = 1;
  if (tree_ == nullptr) return;
  const EntryList& entries = tree_->Entries();
  for (std::size_t i : tree_->Index().WithParent(key)) {
    const ListedEntry& e = entries[i];
    const int row = list_.InsertItem(list_.GetItemCount(), e.name, ListImageOf(e));
    // A check byte beyond the three states (damaged scan data) shows as partly checked.
    list_.SetStateImage(row, e.check <= 2 ? e.check + controls::kListStateUnchecked : controls::kListStatePartly);
    list_.SetItemData(row, e.inode);
    list_.SetItemText(row, kColumnType, KindText(e));
    list_.SetItemText(row, kColumnSize, NumberText(e.size));
    list_.SetItemText(row, kColumnFileId, NumberText(e.inode));
    list_.SetItemText(row, kColumnModified, FormatInodeTime(e.modificationTime));
    list_.SetItemText(row, kColumnCreated, FormatInodeTime(e.changeTime));
    list_.SetItemText(row, kColumnAccessed, FormatInodeTime(e.accessTime));
  }
}

void CQuarvelVelnoraView::ClearListView() {
  list_.DeleteAllItems();
  list_.SetGridLines(false);
  app_.scanned = 0;
}

bool CQuarvelVelnoraView::SelectItemByNameAndId(const std::string& name, std::uint32_t inode) {
  const bool matchCase = app_.findMatchCase == 1;
  for (int row = 0; row < list_.GetItemCount(); ++row) {
    const std::string text = list_.GetItemText(row, kColumnName);
    const bool same = matchCase ? text == name : controls::CompareListText(text, name) == 0;
    if (!same || list_.GetItemData(row) != inode) continue;
    list_.EnsureVisible(row);
    list_.SetHotItem(row);
    return true;
  }
  return false;
}

void CQuarvelVelnoraView::OpenRowFolder(int row) {
  if (tree_ != nullptr) tree_->OpenChildFolder(list_.GetItemData(row));
}

void CQuarvelVelnoraView::OnDblclk(int row) {
  if (row < 0 || row >= list_.GetItemCount()) return;
  if (IsFolderKind(list_.GetItemText(row, kColumnType))) OpenRowFolder(row);
}

void CQuarvelVelnoraView::OnKeyDown(bool enter) {
  if (frame_ != nullptr && frame_->busyFlag != 0) return;
  if (!enter) return;
  const int row = list_.GetNextSelected(kNoRow);
  if (row == kNoRow || tree_ == nullptr) return;
  if (tree_->HasFolderRecord(list_.GetItemData(row))) OpenRowFolder(row);
}

}  // namespace ext2::views
