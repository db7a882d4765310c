// The record walk of one directory block over crafted bytes: what it hands on, where it pauses,
// and how damaged record lengths and names are taken.
#include "ext2engine/directory_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace ext2;

namespace {

constexpr std::uint32_t kBlock = 1024;

// A block of 1024 bytes and the 512 of the next block's first sector behind it.
struct Block {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kBlock + 512, 0);
  void Record(std::uint32_t at, std::uint32_t inode, std::uint16_t length, const std::string& name,
              std::uint8_t type = 1, int nameLength = -1) {
    auto put = [&](std::uint32_t o, std::uint32_t v, int n) {
      for (int i = 0; i < n; ++i) bytes[o + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(at, inode, 4);
    put(at + 4, length, 2);
    bytes[at + 6] = static_cast<std::uint8_t>(nameLength < 0 ? name.size() : nameLength);
    bytes[at + 7] = type;
    std::memcpy(bytes.data() + at + 8, name.data(), std::min<std::size_t>(name.size(), bytes.size() - at - 8));
  }
};

// Walks BLOCK from OFFSET (the chain from offset 0) and lists "name@inode" of the records taken;
// inodes in UNREADABLE cannot be read, and the walk pauses behind inodes in PAUSE and resumes.
std::vector<std::string> Walk(const Block& block, std::uint32_t offset, std::set<std::uint32_t> unreadable = {},
                              std::set<std::uint32_t> pause = {}, int* pauses = nullptr) {
  std::vector<std::string> taken;
  DirectoryRecordVisitor visitor;
  visitor.stopped = [] { return false; };
  visitor.readInode = [&](std::uint32_t inode) { return unreadable.count(inode) == 0; };
  visitor.take = [&](const DirectoryRecord& r) {
    taken.push_back(r.name + "@" + std::to_string(r.inode) + (r.fileType == 2 ? "/" : ""));
    return pause.count(r.inode) != 0;
  };
  DirectoryBlockPlace place;
  StartDirectoryBlock(block.bytes, kBlock, offset, true, place);
  while (WalkDirectoryBlock(block.bytes, kBlock, place, visitor) == BlockWalkEnd::Paused) {
    if (pauses != nullptr) ++*pauses;
  }
  return taken;
}

TEST(DirectoryBlock, RecordsAreHandedOnInOrderAndThePauseResumesBehindTheRecord) {
  Block b;
  b.Record(0, 11, 12, "a");
  b.Record(12, 12, 16, "sub", 2);
  b.Record(28, 0, 12, "gone");  // unused
  b.Record(40, 13, kBlock - 40, "b\0c", 1, 3);
  int pauses = 0;
  EXPECT_EQ(Walk(b, 0, {}, {12}, &pauses), (std::vector<std::string>{"a@11", "sub@12/", "b@13"}));
  EXPECT_EQ(pauses, 1);
  EXPECT_EQ(Walk(b, 12), (std::vector<std::string>{"sub@12/", "b@13"}));
}

TEST(DirectoryBlock, DamagedLengthsAndNamesNeitherLoopNorReadPastTheBytesHeld) {
  struct Case {
    const char* what;
    std::uint32_t from;  // where the walk starts; the chain runs from offset 0
    void (*damage)(Block&);
    std::vector<std::string> taken;
  } cases[] = {
      {"record length 0 in the slack of a long record goes on at the chain", 12,
       [](Block& b) {
         b.Record(0, 11, 24, "a");
         b.Record(12, 12, 0, "zero");  // in the slack of "a", off the chain
         b.Record(24, 13, kBlock - 24, "c");
       },
       {"c@13"}},
      {"a length from the slack stops at the next record of the chain", 12,
       [](Block& b) {
         b.Record(0, 11, 24, "a");
         b.Record(12, 12, 100, "sl");  // claims more than the slack holds
         b.Record(24, 13, kBlock - 24, "c");
       },
       {"sl@12", "c@13"}},
      {"a name of no bytes is passed over at the chain", 0,
       [](Block& b) {
         b.Record(0, 11, 12, "", 1, 0);
         b.Record(12, 12, kBlock - 12, "b");
       },
       {"b@12"}},
      {"an unreadable inode is passed over by its length", 0,
       [](Block& b) {
         b.Record(0, 99, 12, "x");
         b.Record(12, 12, kBlock - 12, "b");
       },
       {"b@12"}},
      {"a length past the block ends it", 0,
       [](Block& b) {
         b.Record(0, 11, 12, "a");
         b.Record(12, 12, 65535, "huge");
       },
       {"a@11", "huge@12"}},
      {"a name into the next block's bytes is read there", 0,
       [](Block& b) {
         b.Record(0, 11, kBlock - 12, "a");
         b.Record(kBlock - 12, 12, 12, "abcdefghijklmnop");
       },
       {"a@11", "abcdefghijklmnop@12"}},
      {"a name past the bytes held is empty", 0,
       [](Block& b) {
         b.bytes.resize(kBlock);  // the folder's last block: nothing held behind it
         b.Record(0, 11, kBlock - 12, "a");
         b.Record(kBlock - 12, 12, 12, "", 1, 255);
       },
       {"a@11", "@12"}},
  };
  for (const auto& c : cases) {
    Block b;
    c.damage(b);
    EXPECT_EQ(Walk(b, c.from, {99}), c.taken) << c.what;
  }
}

TEST(DirectoryBlock, StopEndsTheWalkBeforeTheNextRecord) {
  Block b;
  b.Record(0, 11, kBlock, "a");
  DirectoryRecordVisitor visitor;
  int taken = 0;
  visitor.stopped = [] { return true; };
  visitor.readInode = [](std::uint32_t) { return true; };
  visitor.take = [&](const DirectoryRecord&) { return ++taken, false; };
  DirectoryBlockPlace place;
  StartDirectoryBlock(b.bytes, kBlock, 0, true, place);
  EXPECT_EQ(WalkDirectoryBlock(b.bytes, kBlock, place, visitor), BlockWalkEnd::Stopped);
  EXPECT_EQ(taken, 0);
  EXPECT_EQ(place.offset, 0u);
}

}  // namespace
