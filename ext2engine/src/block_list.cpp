// Block lists: the data blocks of an inode through its direct and indirect pointers.
#include <unordered_set>
#include <vector>

#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

struct CLinuxDrive::BlockWalk {
  std::vector<std::uint32_t>& list;
  std::size_t limit;
  std::unordered_set<std::uint32_t> indirectRead;

  bool Full() const { return list.size() >= limit; }
};

namespace {
constexpr std::size_t kDirectBlocks = 12;
}

std::vector<std::uint32_t> CLinuxDrive::GetBlockList(const InodeCopy& inode) {
  std::vector<std::uint32_t> list;
  BlockWalk walk{list, BlockCount(), {}};
  for (std::size_t i = 0; i < kDirectBlocks; ++i) {
    if (inode.block[i] == 0 || walk.Full()) return list;
    list.push_back(inode.block[i]);
  }
  if (inode.block[12] == 0) return list;
  FindSingleDirectBlock(inode.block[12], walk);
  if (inode.block[13] == 0) return list;
  FindDoubleDirectBlock(inode.block[13], walk);
  if (inode.block[14] == 0) return list;
  FindTrippleDirectBlock(inode.block[14], walk);
  return list;
}

// Reads one indirect block of LEVEL (1 single, 2 double, 3 triple) and walks its entries up to
// the first zero. An indirect block already read for this list is a loop and adds nothing.
void CLinuxDrive::WalkIndirectBlock(std::uint32_t block, int level, BlockWalk& walk) {
  if (walk.Full() || !walk.indirectRead.insert(block).second) return;
  std::vector<std::uint8_t> buffer(BlockSize(), 0);
  ReadDriveSectors(static_cast<std::uint64_t>(block) * sectorsPerBlock, buffer.data(), BlockSize());
  platform::ByteReader r(buffer.data(), buffer.size());
  for (std::size_t at = 0; at + 4 <= buffer.size() && !walk.Full(); at += 4) {
    const std::uint32_t entry = r.Le32(at);
    if (entry == 0) break;
    if (level == 1) {
      walk.list.push_back(entry);
    } else {
      WalkIndirectBlock(entry, level - 1, walk);
    }
  }
}

void CLinuxDrive::FindSingleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 1, walk); }
void CLinuxDrive::FindDoubleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 2, walk); }
void CLinuxDrive::FindTrippleDirectBlock(std::uint32_t block, BlockWalk& walk) { WalkIndirectBlock(block, 3, walk); }
