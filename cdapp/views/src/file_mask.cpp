// The File Mask over the CD tree: the masked node list and the tree built from it.
#include "cdviews/file_mask.h"

#include <unordered_map>
#include <unordered_set>

namespace cd::views {

using namespace cd::core;

std::vector<std::string> SplitMaskPatterns(const std::string& text) {
  std::vector<std::string> patterns;
  if (text.size() < 2) return patterns;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find(';', pos), text.size());
    patterns.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return patterns;
}

TreeNodeList BuildMaskedList(const TreeNodeList& full,
                              const std::function<bool(const TreeItemNode&)>& passes) {
  // The hits: passing files in list order, then each one's chain of folders up to Root.
  std::vector<const TreeItemNode*> hits;
  for (const auto& node : full) {
    if (node.type == 1 && passes(node)) hits.push_back(&node);
  }
  std::unordered_map<std::uint32_t, const TreeItemNode*> firstFolder;
  for (const auto& node : full) {
    if (node.type == 2) firstFolder.try_emplace(node.key, &node);
  }
  std::unordered_set<std::uint32_t> visited;
  const std::size_t files = hits.size();
  for (std::size_t i = 0; i < files; ++i) {
    // Each folder is added once, so a loop of parent keys ends at a folder already seen.
    for (std::uint32_t key = hits[i]->parentKey; key != 0;) {
      const auto it = firstFolder.find(key);
      if (it == firstFolder.end() || !visited.insert(key).second) break;
      hits.push_back(it->second);
      key = it->second->parentKey;
    }
  }

  std::unordered_map<std::uint32_t, std::vector<std::size_t>> hitsByParent;
  for (std::size_t i = 0; i < hits.size(); ++i) hitsByParent[hits[i]->parentKey].push_back(i);
  std::vector<bool> taken(hits.size(), false);

  TreeNodeList masked;
  TreeItemNode root;
  root.key = 0;
  root.type = 2;
  root.name = "Root";
  root.parentKey = kRootParentKey;
  if (!full.empty() && full.front().parentKey == kRootParentKey) root.mark = full.front().mark;
  masked.push_back(root);
  for (std::size_t i = 0; i < masked.size(); ++i) {
    if (masked[i].type != 2) continue;
    const auto it = hitsByParent.find(masked[i].key);
    if (it == hitsByParent.end()) continue;
    for (std::size_t h : it->second) {
      if (taken[h]) continue;
      taken[h] = true;
      TreeItemNode copy = *hits[h];
      copy.treeItem = controls::kNoItem;
      masked.push_back(std::move(copy));
    }
  }
  return masked;
}

void CdFileMask::Apply(CCDReader& reader, CdTreeView& view, CdDate today) {
  CdAppState& app = *reader.app;
  CdFrame& frame = *reader.frame;
  // A mask in force gives back the scan's list; a scan since then (which clears the flag) has
  // replaced it, and its list is the full one.
  if (!(app.fileMaskApplied && haveSaved_)) saved_ = view.Nodes();
  haveSaved_ = true;
  app.fileMaskApplied = 1;

  const CdFileMaskSettings settings = app.mask;
  const std::vector<std::string> patterns = reader.fileMaskPatterns;
  const TreeNodeList masked = BuildMaskedList(
      saved_, [&](const TreeItemNode& node) { return PassesFileMask(node, settings, patterns, today); });

  if (CdListViewPort* list = frame.GetRightPane()) list->ClearListView();
  // The tree is rebuilt through the view's own insertion, which takes the fields of a node from
  // the reader's newest entry unless it has no reader; the copies' fields are put back below.
  view.ClearTree();
  view.SetReader(nullptr);
  view.InsertRootItem();
  controls::TreeControl& tree = view.Tree();
  TreeNodeList& nodes = view.Nodes();
  std::uint32_t folders = 0, files = 0;
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < masked.size(); ++i) {
    const TreeItemNode& m = masked[i];
    if (i > 0) {
      const std::size_t before = nodes.size();
      view.AddTreeItem(m.type, m.name, m.parentKey, m.key);
      if (nodes.size() == before) continue;
    }
    TreeItemNode& node = nodes.back();
    std::copy(std::begin(m.date), std::end(m.date), node.date);
    std::copy(std::begin(m.time), std::end(m.time), node.time);
    node.size = m.size;
    node.sections = m.sections;
    node.mark = m.mark;
    node.existence = m.existence;
    // A folder shows its mark, so the tree, the list and recovery agree on what is marked.
    if (node.treeItem != controls::kNoItem) tree.SetStateImage(node.treeItem, node.mark <= 2 ? node.mark + 1 : 1);
    if (node.type == 2) {
      ++folders;
    } else {
      ++files;
      bytes += node.size;
    }
  }
  view.SetReader(&reader);
  // Insertion opened each parent; the masked tree opens at Root only.
  for (const auto& node : nodes) {
    if (node.treeItem != controls::kNoItem && node.treeItem != view.RootItem()) tree.Collapse(node.treeItem);
  }

  app.contentsShown = 1;
  reader.totalBytes = bytes;
  frame.UpdateTotalsPane(folders, files);
  frame.markedFolders = frame.markedFiles = 0;
  frame.markedBytes = view.CountMarked(&frame.markedFolders, &frame.markedFiles);
  frame.UpdateMarkedPane();
  app.markedBytesFlag = frame.markedBytes != 0;
  view.ExpandRoot(0);
}

}  // namespace cd::views
