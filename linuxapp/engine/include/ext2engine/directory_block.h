// Directory blocks: the records of one block of a folder, walked by their record lengths and the
// chain of records from the block's first, never read past the bytes held.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace ext2 {

// A record that names an inode, as the walk hands it on.
struct DirectoryRecord {
  std::uint32_t inode = 0;
  std::uint8_t fileType = 0;
  std::string name;  // up to its first zero byte; empty when the name runs past the bytes held
};

// Where the walk of a block stands: the offset of the next record (past the block's end when a
// record runs over into the next block), and the offsets of the records reached from the block's
// first record by their lengths.
struct DirectoryBlockPlace {
  std::uint32_t offset = 0;
  std::vector<std::uint32_t> chain;
};

// What the walk asks of its caller, record by record.
struct DirectoryRecordVisitor {
  std::function<bool()> stopped;                       // asked before each record: true ends the walk
  std::function<bool(std::uint32_t inode)> readInode;  // false: the record's inode cannot be read
  std::function<bool(const DirectoryRecord&)> take;    // true: the walk pauses behind this record
};

enum class BlockWalkEnd { BlockDone, Paused, Stopped };

// Begins the walk of the block in BYTES (BLOCK_SIZE bytes, then what is held of the next block) at
// OFFSET. With FROM_FIRST the chain runs from the record at offset 0, while each length holds at
// least a record's header and ends inside the block; without it (a record ran over from the
// previous block) there is no chain.
void StartDirectoryBlock(std::span<const std::uint8_t> bytes, std::uint32_t blockSize, std::uint32_t offset,
                         bool fromFirst, DirectoryBlockPlace& place);

// True when the records of the block in BYTES, from its first on by their lengths, end exactly at
// its end (BLOCK_SIZE): the chain every folder block of a sound drive holds. A zeroed block has none.
bool ChainReachesBlockEnd(std::span<const std::uint8_t> bytes, std::uint32_t blockSize);

// Walks the records of the block from PLACE on, until the block ends, a record pauses the walk (PLACE
// then holds the record after it) or the visitor says stop. A record of length 0, or with an inode
// but no name, ends nothing: the walk goes on at the next record of the chain (Linux wipes a deleted
// record and adds its length to the one before), and ends the block when the chain has none. An
// unused record (inode 0) or one whose inode cannot be read is passed over by its length, which
// never takes the walk past the next record of the chain.
BlockWalkEnd WalkDirectoryBlock(std::span<const std::uint8_t> bytes, std::uint32_t blockSize,
                                DirectoryBlockPlace& place, const DirectoryRecordVisitor& visitor);

}  // namespace ext2
