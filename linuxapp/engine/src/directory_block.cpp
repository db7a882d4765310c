// The record walk of one directory block.
#include "ext2engine/directory_block.h"

#include <algorithm>

#include "ext2engine/ext2_layout.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {

// The first record of the chain after offset D, or BLOCK_SIZE when there is none.
std::uint32_t NextOnChain(const std::vector<std::uint32_t>& chain, std::uint32_t d, std::uint32_t blockSize) {
  const auto it = std::upper_bound(chain.begin(), chain.end(), d);
  return it == chain.end() ? blockSize : *it;
}

}  // namespace

void StartDirectoryBlock(std::span<const std::uint8_t> bytes, std::uint32_t blockSize, std::uint32_t offset,
                         bool fromFirst, DirectoryBlockPlace& place) {
  place.offset = offset;
  place.chain.clear();
  if (!fromFirst) return;
  const platform::ByteReader rec(bytes);
  for (std::uint32_t at = 0; at + kDirEntryHeader <= blockSize;) {
    place.chain.push_back(at);
    const std::uint16_t length = rec.Le16(at + kDeRecLen);
    if (length < kDirEntryHeader || length > blockSize - at) break;
    at += length;
  }
}

bool ChainReachesBlockEnd(std::span<const std::uint8_t> bytes, std::uint32_t blockSize) {
  const platform::ByteReader rec(bytes);
  std::uint32_t at = 0;
  while (at + kDirEntryHeader <= blockSize && rec.Has(at + kDeRecLen, 2)) {
    const std::uint16_t length = rec.Le16(at + kDeRecLen);
    if (length < kDirEntryHeader || length > blockSize - at) return false;
    at += length;
  }
  return at == blockSize;
}

BlockWalkEnd WalkDirectoryBlock(std::span<const std::uint8_t> bytes, std::uint32_t blockSize,
                                DirectoryBlockPlace& place, const DirectoryRecordVisitor& visitor) {
  const platform::ByteReader rec(bytes);
  std::uint32_t& d = place.offset;
  // Where a record ends the block, the walk goes on at the next record of the chain.
  const auto skipToChain = [&] {
    d = NextOnChain(place.chain, d, blockSize);
    return d < blockSize;
  };
  while (d < blockSize) {
    if (visitor.stopped()) return BlockWalkEnd::Stopped;
    const std::uint32_t entryInode = rec.Le32(d + kDeInode);
    const std::uint16_t recLen = rec.Le16(d + kDeRecLen);
    const std::uint8_t nameLen = rec.U8(d + kDeNameLen);
    const std::uint8_t fileType = rec.U8(d + kDeFileType);
    // The next record: the record length on, but never past a record of the chain (a record in
    // the slack behind a long one may claim more than it still holds).
    const auto advance = [&] {
      const std::uint32_t onChain = NextOnChain(place.chain, d, blockSize);
      d = onChain < blockSize ? std::min<std::uint32_t>(d + recLen, onChain) : d + recLen;
    };
    if (recLen == 0 && nameLen == 0 && fileType == 0) {
      if (!skipToChain()) break;
      continue;
    }
    if (entryInode == 0) {
      if (recLen == 0) {
        if (!skipToChain()) break;
        continue;
      }
      advance();
      continue;
    }
    if (!visitor.readInode(entryInode)) {
      if (recLen == 0 || recLen == blockSize) {
        if (!skipToChain()) break;
        continue;
      }
      advance();
      continue;
    }
    if (recLen == 0 || nameLen == 0) {
      if (!skipToChain()) break;
      continue;
    }
    DirectoryRecord record;
    record.inode = entryInode;
    record.fileType = fileType;
    if (rec.Has(d + kDeName, nameLen)) {
      const auto* name = reinterpret_cast<const char*>(rec.data() + d + kDeName);
      record.name.assign(name, std::find(name, name + nameLen, '\0'));
    }
    const bool pause = visitor.take(record);
    advance();
    if (pause) return BlockWalkEnd::Paused;
  }
  return BlockWalkEnd::BlockDone;
}

}  // namespace ext2
