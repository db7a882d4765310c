// What the check marks of a file list say as a whole, as both programs' lists hand it to their
// folder tree.
#pragma once

#include <string>

#include "controls/list_control.h"

namespace controls {

// "AllItemsUnchecked" when every row is unchecked (also for no rows), "AllItemsBlackchecked" when
// every row is checked, "AllItemsGreychecked" when every row is partly checked, otherwise
// "AllItemsAreMixed". A row without a check mark counts as none of them.
std::string ListCheckSummary(const ListControl& list);

}  // namespace controls
