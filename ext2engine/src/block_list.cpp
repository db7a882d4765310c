// Block lists: the data blocks of an inode through its direct and indirect pointers.
#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

struct CLinuxDrive::BlockWalk {
  std::vector<std::uint32_t>& list;
  std::size_t limit;  // entries of the list
  bool holes;         // a zero pointer is a hole (0 entries) rather than the end of the list
  // Data and indirect blocks the walk may still take: a drive holds no more than its block count,
  // whatever positions its holes span.
  std::uint64_t budget;
  std::unordered_set<std::uint32_t> indirectRead;
  std::vector<std::uint32_t>* unreadable = nullptr;  // indirect blocks that could not be read
  bool stopped = false;

  bool Full() const { return stopped || list.size() >= limit || budget == 0; }
  void Data(std::uint32_t block) {
    list.push_back(block);
    --budget;
  }
  // BLOCKS entries of 0, as far as the limit allows.
  void Hole(std::uint64_t blocks) {
    list.insert(list.end(), static_cast<std::size_t>(std::min<std::uint64_t>(blocks, limit - list.size())), 0);
  }
};

namespace {
constexpr std::size_t kDirectBlocks = 12;
}

std::vector<std::uint32_t> CLinuxDrive::GetBlockList(const InodeCopy& inode, std::vector<std::uint32_t>* unreadable) {
  std::vector<std::uint32_t> list;
  BlockWalk walk{list, BlockCount(), false, std::numeric_limits<std::uint64_t>::max(), {}, unreadable};
  WalkInodePointers(inode, walk);
  return list;
}

std::uint64_t CLinuxDrive::MaxFileBlocks() const {
  const std::uint64_t perBlock = BlockSize() / 4;
  return kDirectBlocks + perBlock + perBlock * perBlock + perBlock * perBlock * perBlock;
}

std::vector<std::uint32_t> CLinuxDrive::GetFileBlockList(const InodeCopy& inode) {
  std::vector<std::uint32_t> list;
  const std::uint64_t fileBlocks =
      BlockSize() == 0 ? 0 : inode.size / BlockSize() + (inode.size % BlockSize() != 0 ? 1 : 0);
  BlockWalk walk{list, static_cast<std::size_t>(std::min<std::uint64_t>(MaxFileBlocks(), fileBlocks)), true,
                 BlockCount(), {}};
  WalkInodePointers(inode, walk);
  while (!list.empty() && list.back() == 0) list.pop_back();
  return list;
}

void CLinuxDrive::WalkInodePointers(const InodeCopy& inode, BlockWalk& walk) {
  const std::uint64_t perBlock = BlockSize() / 4;
  for (std::size_t i = 0; i < kDirectBlocks; ++i) {
    if (walk.Full()) return;
    if (inode.block[i] != 0) {
      walk.Data(inode.block[i]);
    } else if (walk.holes) {
      walk.Hole(1);
    } else {
      return;
    }
  }
  std::uint64_t covered = perBlock;  // blocks under the indirect pointer of this level
  for (int level = 1; level <= 3; ++level, covered *= perBlock) {
    const std::uint32_t pointer = inode.block[kDirectBlocks - 1 + level];
    if (walk.Full()) return;
    if (pointer == 0) {
      if (!walk.holes) return;
      walk.Hole(covered);
      continue;
    }
    if (level == 1) FindSingleDirectBlock(pointer, walk);
    if (level == 2) FindDoubleDirectBlock(pointer, walk);
    if (level == 3) FindTrippleDirectBlock(pointer, walk);
  }
}

// Reads one indirect block of LEVEL (1 single, 2 double, 3 triple) and walks its entries up to
// the first zero, or past zeros as holes when the walk keeps them. An indirect block already read
// for this list is a loop and adds nothing. Where holes keep file positions, a loop or an indirect
// block that cannot be read ends the walk, so that no later block lands at a wrong position.
void CLinuxDrive::WalkIndirectBlock(std::uint32_t block, int level, BlockWalk& walk) {
  if (walk.Full()) return;
  if (!walk.indirectRead.insert(block).second) {
    walk.stopped = walk.holes;
    return;
  }
  --walk.budget;
  std::vector<std::uint8_t> buffer(BlockSize(), 0);
  if (!ReadDriveSectors(static_cast<std::uint64_t>(block) * sectorsPerBlock, buffer.data(), BlockSize())) {
    if (walk.unreadable != nullptr) walk.unreadable->push_back(block);
    walk.stopped = walk.holes;
    return;
  }
  std::uint64_t covered = 1;  // blocks under one entry
  for (int l = 1; l < level; ++l) covered *= BlockSize() / 4;
  platform::ByteReader r(buffer.data(), buffer.size());
  for (std::size_t at = 0; at + 4 <= buffer.size() && !walk.Full(); at += 4) {
    const std::uint32_t entry = r.Le32(at);
    if (entry == 0) {
      if (!walk.holes) break;
      walk.Hole(covered);
    } else if (level == 1) {
      walk.Data(entry);
    } else {
      WalkIndirectBlock(entry, level - 1, walk);
    }
  }
}

void CLinuxDrive::FindSingleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 1, walk); }
void CLinuxDrive::FindDoubleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 2, walk); }
void CLinuxDrive::FindTrippleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 3, walk); }
