// The record of one scanned CD file or folder as the tree keeps it, and the list of them in arrival
// order. The engine fills and reads them through the tree view port; the view keeps the list.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "cdengine/cd_records.h"
#include "controls/tree_control.h"

namespace cd {

// The parent key of the tree's Root node.
inline constexpr std::uint32_t kRootParentKey = 0xFFFFFFFFu;

// The fields are ordered by width, so that the node lists of large discs stay small.
struct TreeItemNode {
  controls::TreeItem treeItem = controls::kNoItem;  // folders only
  std::string name;
  std::uint64_t size = 0;
  FileSections sections;  // a file of several extents: all of them, in order
  std::uint32_t key = 0;
  std::uint32_t parentKey = 0;
  std::uint8_t type = 0;  // 1 file, 2 folder
  std::uint8_t date[3] = {};  // years since 1900, month, day
  std::uint8_t time[3] = {};  // hour, minute, second
  std::uint8_t mark = 0;  // 0 unmarked, 1 marked, 2 partly marked
  std::uint8_t existence = 2;
};

// The node list grows without moving its nodes: a scan of a large disc appends to it entry by entry.
using TreeNodeList = std::deque<TreeItemNode>;

}  // namespace cd
