// The rows of the metadata reads that failed during one process (a tree walk, an inode-table
// search): one row for each block, in full for the first few blocks, then only counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>

namespace ext2 {

class ReadFailureRows {
 public:
  static constexpr std::size_t kRowsShown = 20;

  // A process begins: failures are taken from here, none has been met yet.
  void Start() {
    active_ = true;
    blocks_.clear();
    shown_ = 0;
    counted_ = 0;
  }
  // True when the row of the failed read of BLOCK is to be shown now; false outside a process,
  // for a block met before in it, and once kRowsShown rows were shown (the block is then counted).
  bool Take(std::uint64_t block) {
    if (!active_ || !blocks_.insert(block).second) return false;
    if (shown_ < kRowsShown) {
      ++shown_;
      return true;
    }
    ++counted_;
    return false;
  }
  // The process ends: the number of blocks that were only counted.
  std::size_t Finish() {
    const std::size_t counted = counted_;
    Start();
    active_ = false;
    return counted;
  }

 private:
  bool active_ = false;
  std::unordered_set<std::uint64_t> blocks_;
  std::size_t shown_ = 0;
  std::size_t counted_ = 0;
};

}  // namespace ext2
