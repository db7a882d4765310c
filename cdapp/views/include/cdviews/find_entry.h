// Find over the CD tree's node list: the first entry whose whole name equals the text.
#pragma once

#include <string>

#include "cdengine/app_state.h"
#include "cdengine/ports.h"
#include "cdviews/tree_view.h"

namespace cd::views {

// Stores TEXT as the Find text and enables Find Next, then looks through the node list from its
// head for an entry that the Find options admit (deleted, existing) and whose name equals TEXT
// (with or without regard to case). The first one becomes the last match: its folder is selected
// in the tree, which refills LIST, and its row is shown. False, with Find Next disabled, when none.
bool FindEntry(CdTreeView& view, CdListViewPort* list, CdAppState& app, const std::string& text);

}  // namespace cd::views
