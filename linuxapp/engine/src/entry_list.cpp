// The master entry list.
#include "ext2engine/entry_list.h"

namespace ext2 {

void EntryList::StartWithRoot(std::uintptr_t rootItem) {
  entries_.clear();
  ListedEntry root;
  root.treeItem = rootItem;
  root.kind = kKindFolder;
  root.inode = kRootInode;
  root.parentInode = kNoParent;
  root.name = "Root";
  entries_.push_back(std::move(root));
}

ListedEntry& EntryList::Append(const EntryNode& entry, const char* name) {
  ListedEntry listed;
  static_cast<EntryNode&>(listed) = entry;
  listed.name = name != nullptr ? name : "";
  entries_.push_back(std::move(listed));
  return entries_.back();
}

}  // namespace ext2
