// Find over the CD tree's node list.
#include "cdviews/find_entry.h"

namespace cd::views {

bool FindEntry(CdTreeView& view, CdListViewPort* list, CdAppState& app, const std::string& text) {
  app.findNext = 1;
  app.findText = text;
  if (view.SelectNextMatch(0, list)) return true;
  app.findNext = 0;
  return false;
}

}  // namespace cd::views
