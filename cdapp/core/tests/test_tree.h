// Building a CD tree in the headless host for tests, entry by entry, as a scan hands them over.
#pragma once

#include <string>

#include "cd_headless_host.h"
#include "cdcore/mask_criteria.h"

namespace cd::testing {

using namespace cd::core;
using namespace cd::headless;

namespace cdtest {

inline void AddEntry(CdHeadlessHost& host, std::uint8_t type, const std::string& name, std::uint32_t parent,
                     std::uint32_t key, std::uint32_t size = 0, CdDate date = {2024, 5, 1},
                     std::uint8_t existence = 2) {
  DirEntryNode e;
  e.name = name;
  e.type = type;
  e.parentKey = parent;
  e.extent = key;
  e.size = size;
  e.date[0] = static_cast<std::uint8_t>(date.year - 1900);
  e.date[1] = static_cast<std::uint8_t>(date.month);
  e.date[2] = static_cast<std::uint8_t>(date.day);
  e.existence = existence;
  host.reader.entries.push_back(e);
  host.reader.newest = host.reader.entries.size() - 1;
  host.treeView.AddTreeItem(type, name, parent, key);
}

// Starts a tree: the reader attached and Root inserted.
inline void StartTree(CdHeadlessHost& host) {
  host.treeView.SetReader(&host.reader);
  host.treeView.InsertRootItem();
}

}  // namespace cdtest

}  // namespace cd::testing
