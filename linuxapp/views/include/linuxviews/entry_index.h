// Lookups into the master entry list by inode and by parent inode, in list order, so that a check
// click or a fill costs what it touches rather than a walk of the whole list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "ext2engine/entry_list.h"

class EntryIndex {
 public:
  using Positions = std::vector<std::size_t>;

  // Brings the index in step with LIST: records appended since the last call are added; a list that
  // shrank is indexed afresh. A list whose records were replaced in place needs Reset first.
  void Update(const EntryList& list);
  void Reset();

  // Positions of the records with that inode / that parent inode, in list order (empty when none).
  const Positions& WithInode(std::uint32_t inode) const;
  const Positions& WithParent(std::uint32_t parentInode) const;

 private:
  std::unordered_map<std::uint32_t, Positions> byInode_;
  std::unordered_map<std::uint32_t, Positions> byParent_;
  std::size_t indexed_ = 0;
};
