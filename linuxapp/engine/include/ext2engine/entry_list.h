// The master list of scanned entries: "Root" first, then every entry in the order it was found.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

#include "ext2engine/entry_node.h"

namespace ext2 {

struct ListedEntry : EntryNode {
  std::string name;  // bytes as stored on the disk
};

class EntryList {
 public:
  // Starts a new list whose only record is "Root" (inode 2, no parent, a folder).
  void StartWithRoot(std::uintptr_t rootItem);
  ListedEntry& Append(const EntryNode& entry, const char* name);
  void Clear() { entries_.clear(); }

  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }
  ListedEntry& operator[](std::size_t i) { return entries_[i]; }
  const ListedEntry& operator[](std::size_t i) const { return entries_[i]; }
  auto begin() { return entries_.begin(); }
  auto end() { return entries_.end(); }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

 private:
  std::deque<ListedEntry> entries_;  // stable references while it grows
};

}  // namespace ext2
