// Block lists: the data blocks of an inode through its direct and indirect pointers.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

// One walk over an inode's pointers. A folder's walk lists data blocks up to the first zero
// pointer; a file's walk keeps each data block's place in the file, so that zero pointers are holes.
struct CLinuxDrive::BlockWalk {
  std::vector<std::uint32_t>* list = nullptr;  // folder walk: the blocks
  std::vector<std::uint32_t>* unreadable = nullptr;  // folder walk: indirect blocks that could not be read
  FileBlocks* file = nullptr;                  // file walk: the runs of data blocks, by place in the file
  std::uint64_t limit = 0;  // blocks taken at most: data blocks, and in a file walk the indirect blocks read too
  std::uint64_t fileBlocks = 0;  // file walk: places inside the size; the walk ends at the last one
  std::unordered_set<std::uint32_t> indirectRead;
  std::uint64_t taken = 0;
  std::uint64_t position = 0;  // file walk: the place of the next pointer
  bool stopped = false;

  bool Holes() const { return file != nullptr; }
  bool Full() const { return stopped || taken >= limit || (Holes() && position >= fileBlocks); }
  void Data(std::uint32_t block) {
    ++taken;
    if (!Holes()) {
      list->push_back(block);
      return;
    }
    auto& runs = file->runs;
    if (!runs.empty() && runs.back().position + runs.back().count == position &&
        runs.back().block + runs.back().count == block) {
      ++runs.back().count;
    } else {
      runs.push_back({position, block, 1});
    }
    ++position;
  }
  // BLOCKS places without data: a hole, or the blocks under an indirect block that was not read.
  void Skip(std::uint64_t blocks) { position += blocks; }
  void Cut() {
    stopped = true;
    if (file != nullptr) file->cut = true;
  }
};

std::vector<std::uint32_t> CLinuxDrive::GetBlockList(const InodeCopy& inode, std::vector<std::uint32_t>* unreadable) {
  std::vector<std::uint32_t> list;
  BlockWalk walk;
  walk.list = &list;
  walk.unreadable = unreadable;
  walk.limit = BlockCount();
  WalkInodePointers(inode, walk);
  return list;
}

CLinuxDrive::FileBlocks CLinuxDrive::GetFileBlockList(const InodeCopy& inode, std::uint64_t size) {
  FileBlocks blocks;
  BlockWalk walk;
  walk.file = &blocks;
  walk.limit = BlockCount();
  walk.fileBlocks = BlockSize() == 0 ? 0 : size / BlockSize() + (size % BlockSize() != 0 ? 1 : 0);
  WalkInodePointers(inode, walk);
  // Reaching the bound before the last place of the size leaves the rest unknown.
  if (walk.taken >= walk.limit && walk.position < walk.fileBlocks) blocks.cut = true;
  return blocks;
}

void CLinuxDrive::WalkInodePointers(const InodeCopy& inode, BlockWalk& walk) {
  const std::uint64_t perBlock = BlockSize() / 4;
  for (std::size_t i = 0; i < kDirectBlocks; ++i) {
    if (walk.Full()) return;
    if (inode.block[i] != 0) {
      walk.Data(inode.block[i]);
    } else if (walk.Holes()) {
      walk.Skip(1);
    } else {
      return;
    }
  }
  std::uint64_t covered = perBlock;  // blocks under the indirect pointer of this level
  for (int level = 1; level <= 3; ++level, covered *= perBlock) {
    const std::uint32_t pointer = inode.block[kDirectBlocks - 1 + level];
    if (walk.Full()) return;
    if (pointer == 0) {
      if (!walk.Holes()) return;
      walk.Skip(covered);
      continue;
    }
    if (level == 1) FindSingleDirectBlock(pointer, walk);
    if (level == 2) FindDoubleDirectBlock(pointer, walk);
    if (level == 3) FindTrippleDirectBlock(pointer, walk);
  }
}

// Reads one indirect block of LEVEL (1 single, 2 double, 3 triple) and walks its entries up to
// the first zero, or past zeros as holes in a file walk. An indirect block already read for this
// list is a loop and adds nothing. In a file walk every entry stands for a known number of places,
// so an indirect block that is met again or cannot be read leaves its places without data (the
// unread one is kept for the caller) and the walk goes on at the right place after it.
void CLinuxDrive::WalkIndirectBlock(std::uint32_t block, int level, BlockWalk& walk) {
  if (walk.Full()) return;
  std::uint64_t covered = 1;  // blocks under one entry
  for (int l = 1; l < level; ++l) covered *= BlockSize() / 4;
  const std::uint64_t under = covered * (BlockSize() / 4);
  if (!walk.indirectRead.insert(block).second) {
    if (walk.Holes()) {
      walk.file->cut = true;
      walk.Skip(under);
    }
    return;
  }
  if (walk.Holes()) ++walk.taken;  // an indirect block read counts against the bound
  std::vector<std::uint8_t> buffer(BlockSize(), 0);
  if (!ReadDriveSectors(static_cast<std::uint64_t>(block) * sectorsPerBlock, buffer.data(), BlockSize())) {
    if (walk.Holes()) {
      walk.file->unreadIndirect.push_back(block);
      walk.Skip(under);
    } else if (walk.unreadable != nullptr) {
      walk.unreadable->push_back(block);
    }
    return;
  }
  platform::ByteReader r(buffer.data(), buffer.size());
  for (std::size_t at = 0; at + 4 <= buffer.size() && !walk.Full(); at += 4) {
    const std::uint32_t entry = r.Le32(at);
    if (entry == 0) {
      if (!walk.Holes()) break;
      walk.Skip(covered);
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

}  // namespace ext2
