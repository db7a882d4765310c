// The entry list's lookups by inode and parent inode.
#include "linuxviews/entry_index.h"

namespace ext2::views {

void EntryIndex::Reset() {
  byInode_.clear();
  byParent_.clear();
  nextWithInode_.clear();
  nextWithParent_.clear();
  indexed_ = 0;
}

void EntryIndex::Link(std::unordered_map<std::uint32_t, Chain>& chains, std::vector<std::size_t>& next,
                      std::uint32_t key, std::size_t at) {
  next.push_back(kEnd);
  const auto [it, added] = chains.try_emplace(key, Chain{at, at});
  if (!added) {
    next[it->second.last] = at;
    it->second.last = at;
  }
}

void EntryIndex::Update(const EntryList& list) {
  if (list.size() < indexed_) Reset();
  for (; indexed_ < list.size(); ++indexed_) {
    const ListedEntry& e = list[indexed_];
    Link(byInode_, nextWithInode_, e.inode, indexed_);
    Link(byParent_, nextWithParent_, e.parentInode, indexed_);
  }
}

EntryIndex::Positions EntryIndex::Find(const std::unordered_map<std::uint32_t, Chain>& chains,
                                       const std::vector<std::size_t>& next, std::uint32_t key) const {
  const auto it = chains.find(key);
  return {&next, it != chains.end() ? it->second.first : kEnd};
}

EntryIndex::Positions EntryIndex::WithInode(std::uint32_t inode) const { return Find(byInode_, nextWithInode_, inode); }

EntryIndex::Positions EntryIndex::WithParent(std::uint32_t parentInode) const {
  return Find(byParent_, nextWithParent_, parentInode);
}

}  // namespace ext2::views
