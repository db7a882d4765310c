// The check-mark rule both folder trees share: what the children of a folder say of it once one
// of them has taken a new check state.
#pragma once

#include "controls/tree_control.h"

namespace controls {

// What the children of one parent say of it.
inline constexpr int kSiblingsChecked = 1;
inline constexpr int kSiblingsUnchecked = 2;
inline constexpr int kSiblingsMixed = 3;

// After ITEM took STATE (1 checked, 0 unchecked): kSiblingsMixed when a child of ITEM's parent
// (ITEM among them) shows another state or partly checked; otherwise kSiblingsChecked for STATE 1
// and kSiblingsUnchecked for any other STATE. An item without a parent has none to differ.
int SiblingsCheckState(const TreeControl& tree, TreeItem item, int state);

}  // namespace controls
