// The File Mask over the CD tree: the files that pass the criteria and the folders that lead to
// them make a new node list and tree, which stand in for the scan's until the next mask or scan.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cdcore/mask_criteria.h"
#include "cdengine/cd_reader.h"
#include "cdviews/tree_view.h"

namespace cd::views {

// The mask text split at ';' into patterns: an empty part is an empty pattern, a trailing ';'
// adds none, and a text of fewer than two characters gives none.
std::vector<std::string> SplitMaskPatterns(const std::string& text);

// The masked node list of FULL: a new Root first, then breadth first every file for which PASSES
// is true and every folder on the way from Root to one, in FULL's order within a folder. Each
// folder is taken once; a file or folder whose chain does not reach Root is left out.
TreeNodeList BuildMaskedList(const TreeNodeList& full,
                              const std::function<bool(const TreeItemNode&)>& passes);

// The mask of one frame: holds the scan's node list while a mask is in force.
class CdFileMask {
 public:
  // Narrows VIEW, the tree view of READER's frame, with the criteria of the application state and
  // the patterns in READER.fileMaskPatterns. A mask in force is undone first, so every mask filters
  // the full scan. Rebuilds the tree, selects Root (refilling the list) and recounts the panes.
  void Apply(CCDReader& reader, CdTreeView& view, core::CdDate today);

  // The scan's node list set aside by the mask in force; empty when none.
  const TreeNodeList& SavedList() const { return saved_; }

 private:
  TreeNodeList saved_;
  bool haveSaved_ = false;
};

}  // namespace cd::views
