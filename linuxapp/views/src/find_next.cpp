// Find and Find Next: the entries whose whole name is the Find text, one after another.
#include "linuxviews/left_view.h"
#include "linuxviews/list_view.h"

namespace ext2::views {

using namespace ext2::core;

namespace {

bool NameMatches(const std::string& name, const std::string& text, bool matchCase) {
  return matchCase ? name == text : controls::CompareTreeText(name, text) == 0;
}

}  // namespace

bool CLeftView::FindFrom(std::size_t position) {
  const bool matchCase = app_.findMatchCase == 1;
  for (; position < entries_.size(); ++position) {
    const ListedEntry& record = entries_[position];
    const bool candidate = (app_.findDeleted != 0 && record.deleted == 1) || (app_.findExisting != 0 && record.deleted == 0);
    if (!candidate || !NameMatches(record.name, app_.findText, matchCase)) continue;
    app_.findLastMatch = static_cast<int>(position);
    SelectEntry(record.parentInode);
    if (list_ != nullptr) list_->SelectItemByNameAndId(record.name, record.inode);
    return true;
  }
  return false;
}

bool CLeftView::Find(const std::string& text) {
  app_.findNext = 1;
  app_.findText = text;
  if (FindFrom(0)) return true;
  if (frame_ != nullptr) frame_->GetPrompts().MessageBox("No matching entry found", "Search Failure", MessageButtons::Ok);
  app_.findNext = 0;
  return false;
}

void CLeftView::FindNext() {
  if (FindFrom(static_cast<std::size_t>(app_.findLastMatch < 0 ? 0 : app_.findLastMatch) + 1)) return;
  if (frame_ != nullptr) frame_->GetPrompts().MessageBox("No more entries are available", "Search Failure", MessageButtons::Ok);
  app_.findNext = 0;
}

}  // namespace ext2::views
