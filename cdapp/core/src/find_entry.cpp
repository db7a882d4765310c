// Find over the CD tree's node list.
#include "cdcore/find_entry.h"

#include "cdcore/mask_criteria.h"

bool FindEntry(CdTreeView& view, CdListViewPort* list, CdAppState& app, const std::string& text) {
  app.findNext = 1;
  app.findText = text;
  const auto& nodes = view.Nodes();
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const TreeItemNode& node = nodes[i];
    const bool admitted = (node.existence == 1 && app.findDeleted) || (node.existence == 2 && app.findExisting);
    if (!admitted) continue;
    if (app.findMatchCase ? node.name != text : !EqualNoCase(node.name, text)) continue;
    app.findLastMatch = static_cast<int>(i);
    const std::string name = node.name;
    const std::uint32_t key = node.key;
    view.SelectItemByKey(node.parentKey);
    if (list != nullptr) list->FindListItem(name, key);
    return true;
  }
  app.findNext = 0;
  return false;
}
