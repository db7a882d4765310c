// The entry list's lookups by inode and parent inode.
#include "linuxviews/entry_index.h"

namespace {
const EntryIndex::Positions kNone;
}

void EntryIndex::Reset() {
  byInode_.clear();
  byParent_.clear();
  indexed_ = 0;
}

void EntryIndex::Update(const EntryList& list) {
  if (list.size() < indexed_) Reset();
  for (; indexed_ < list.size(); ++indexed_) {
    const ListedEntry& e = list[indexed_];
    byInode_[e.inode].push_back(indexed_);
    byParent_[e.parentInode].push_back(indexed_);
  }
}

const EntryIndex::Positions& EntryIndex::WithInode(std::uint32_t inode) const {
  const auto it = byInode_.find(inode);
  return it != byInode_.end() ? it->second : kNone;
}

const EntryIndex::Positions& EntryIndex::WithParent(std::uint32_t parentInode) const {
  const auto it = byParent_.find(parentInode);
  return it != byParent_.end() ? it->second : kNone;
}
