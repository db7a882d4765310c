// Lookups into the master entry list by inode and by parent inode, in list order, so that a check
// click or a fill costs what it touches rather than a walk of the whole list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "ext2engine/entry_list.h"

namespace ext2::views {

class EntryIndex {
 public:
  // The positions of the records of one key, in list order: a chain through the index, valid until
  // the next Update or Reset.
  class Positions {
   public:
    class iterator {
     public:
      iterator(const std::vector<std::size_t>* next, std::size_t at) : next_(next), at_(at) {}
      std::size_t operator*() const { return at_; }
      iterator& operator++() {
        at_ = (*next_)[at_];
        return *this;
      }
      bool operator!=(const iterator& other) const { return at_ != other.at_; }

     private:
      const std::vector<std::size_t>* next_;
      std::size_t at_;
    };

    Positions(const std::vector<std::size_t>* next, std::size_t first) : next_(next), first_(first) {}
    iterator begin() const { return {next_, first_}; }
    iterator end() const { return {next_, kEnd}; }
    bool empty() const { return first_ == kEnd; }
    std::size_t front() const { return first_; }

   private:
    const std::vector<std::size_t>* next_;
    std::size_t first_;
  };

  // Brings the index in step with LIST: records appended since the last call are added; a list that
  // shrank is indexed afresh. A list whose records were replaced in place needs Reset first.
  void Update(const EntryList& list);
  void Reset();

  // Positions of the records with that inode / that parent inode (empty when none).
  Positions WithInode(std::uint32_t inode) const;
  Positions WithParent(std::uint32_t parentInode) const;

 private:
  static constexpr std::size_t kEnd = static_cast<std::size_t>(-1);
  // First and last position of a key; each record links to the next of the same key. One node per
  // key and no list of its own: a tree build indexes a hundred thousand records.
  struct Chain {
    std::size_t first;
    std::size_t last;
  };
  static void Link(std::unordered_map<std::uint32_t, Chain>& chains, std::vector<std::size_t>& next, std::uint32_t key,
                   std::size_t at);
  Positions Find(const std::unordered_map<std::uint32_t, Chain>& chains, const std::vector<std::size_t>& next,
                 std::uint32_t key) const;

  std::unordered_map<std::uint32_t, Chain> byInode_;
  std::unordered_map<std::uint32_t, Chain> byParent_;
  std::vector<std::size_t> nextWithInode_;
  std::vector<std::size_t> nextWithParent_;
  std::size_t indexed_ = 0;
};

}  // namespace ext2::views
