// Reading folders: directory blocks parsed record by record, subfolders entered depth-first.
// The walk keeps its own stack of open folders, so no image can drive it past the program's stack.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace ext2 {

namespace {
constexpr std::size_t kDeInode = 0;
constexpr std::size_t kDeRecLen = 4;
constexpr std::size_t kDeNameLen = 6;
constexpr std::size_t kDeFileType = 7;
constexpr std::size_t kDeName = 8;
constexpr std::uint8_t kFileTypeDirectory = 2;
constexpr std::uint8_t kFileTypeUnknown = 0;
constexpr std::uint32_t kFirstEntryAfterDots = 24;
constexpr std::uint32_t kDirEntryHeader = 8;

// One folder being parsed: its blocks and where the parse stands.
struct OpenFolder {
  std::uint32_t inode = 0;
  std::string name;  // as its parent lists it; empty for the folder the walk starts from
  std::vector<std::uint32_t> blocks;
  bool indexed = false;
  bool directoryMode = false;  // its inode's mode says folder
  std::size_t k = 0;       // block index
  std::uint32_t d = 0;     // offset in block k
  bool started = false;    // block k's starting offset has been set
  // The records of block k on the chain of record lengths from its first record, in order.
  std::vector<std::uint32_t> chain;
};

// The offsets of the records reached from the record at offset 0 by their record lengths, while
// each length holds at least a record's header and ends inside the block.
void ChainOfRecords(const platform::ByteReader& rec, std::uint32_t blockSize, std::vector<std::uint32_t>& chain) {
  chain.clear();
  for (std::uint32_t at = 0; at + kDirEntryHeader <= blockSize;) {
    chain.push_back(at);
    const std::uint16_t length = rec.Le16(at + kDeRecLen);
    if (length < kDirEntryHeader || length > blockSize - at) break;
    at += length;
  }
}

// The first record of the chain after offset D, or BLOCK_SIZE when there is none.
std::uint32_t NextOnChain(const std::vector<std::uint32_t>& chain, std::uint32_t d, std::uint32_t blockSize) {
  const auto it = std::upper_bound(chain.begin(), chain.end(), d);
  return it == chain.end() ? blockSize : *it;
}
}  // namespace

void CLinuxDrive::FillEntryFromInode(EntryNode& entry, const InodeCopy& inode) const {
  entry.size = inode.size;
  entry.accessTime = inode.atime;
  entry.changeTime = inode.ctime;
  entry.modificationTime = inode.mtime;
  entry.deleted = 0;
  entry.lost = 0;
}

int CLinuxDrive::IsInodeListed(std::uint32_t inode, int list) const {
  return list == 0 ? (visitedSet.count(inode) != 0 ? 1 : 0) : (lostSet.count(inode) != 0 ? 1 : 0);
}

bool CLinuxDrive::FolderTestByFirstBlock(const InodeCopy& inode, const std::string& name, std::uint32_t number) {
  if (inode.block[0] == 0 || (inode.mode & kModeTypeMask) != kModeDirectory) return false;
  std::uint8_t sector[kSectorSize] = {};
  if (!ReadDriveSectors(static_cast<std::uint64_t>(inode.block[0]) * sectorsPerBlock, sector, kSectorSize)) {
    ReportFolderBlock(name, number, 0, inode.block[0], false);
  }
  return sector[8] == '.';
}

int CLinuxDrive::ReadDirectory(std::uint32_t inode, std::uint32_t deleted) {
  AppState& app = App();
  const std::uint32_t blockSize = BlockSize();
  if (blockSize == 0) return 0;
  // One block and the first sector of the next, so that a record near the end reads whole.
  std::vector<std::uint8_t> buffer(blockSize + kSectorSize, 0);
  platform::ByteReader rec(buffer.data(), buffer.size());
  std::vector<OpenFolder> stack;
  // Folders never share blocks; a block listed again (by another folder, or twice in one list) is
  // damaged data and is parsed only the first time, which keeps the walk linear in the drive's size.
  std::unordered_set<std::uint32_t> blocksParsed;
  InodeRunScope inodeRuns(inodeRun_);  // for the length of the walk only

  // Opens a folder: its block list from its raw inode. False when it has no blocks, or when its
  // inode lies in no group of the descriptor table.
  std::vector<std::uint32_t> unreadIndirect;
  auto open = [&](std::uint32_t folder, std::string name) {
    InodeCopy raw;
    if (!ReadInodeRecord(folder, raw)) return false;
    OpenFolder f;
    f.inode = folder;
    f.name = std::move(name);
    unreadIndirect.clear();
    f.blocks = GetBlockList(raw, &unreadIndirect);
    for (const std::uint32_t block : unreadIndirect) ReportIndirectBlock(f.name, folder, block);
    f.indexed = (raw.flags & kInodeIndexFlag) != 0;
    f.directoryMode = (raw.mode & kModeTypeMask) == kModeDirectory;
    if (f.blocks.empty()) return false;
    stack.push_back(std::move(f));
    return true;
  };

  // Reads block k of F, and the first sector of the next block behind it; false when block k
  // cannot be read.
  auto load = [&](const OpenFolder& f) {
    std::fill(buffer.begin(), buffer.end(), 0);
    const bool read =
        ReadDriveSectors(static_cast<std::uint64_t>(f.blocks[f.k]) * sectorsPerBlock, buffer.data(), blockSize) != 0;
    if (f.k + 1 < f.blocks.size()) {
      ReadDriveSectors(static_cast<std::uint64_t>(f.blocks[f.k + 1]) * sectorsPerBlock, buffer.data() + blockSize,
                       kSectorSize);
    }
    return read;
  };

  const bool rootHasBlocks = open(inode, inode == kRootInode ? "Root" : "");
  bool loaded = false;  // the buffer holds the top folder's block k
  bool readable = true;  // and its read succeeded
  while (!stack.empty()) {
    OpenFolder& f = stack.back();
    if (f.k >= f.blocks.size()) {
      stack.pop_back();
      loaded = false;
      continue;
    }
    if (!loaded) {
      readable = load(f);
      loaded = true;
    }
    if (!f.started) {
      f.started = true;
      if (!blocksParsed.insert(f.blocks[f.k]).second) {
        ++f.k;
        f.started = false;
        loaded = false;
        continue;
      }
      // A block that cannot be read, or a block 0 without "." and "..", holds nothing to list: the
      // folder goes on with its next block, unless it is block 0 of an inode whose mode is not a
      // folder's (then nothing of it is read).
      const bool dots = buffer[8] == '.' && buffer[20] == '.' && buffer[21] == '.';
      if (!readable || (f.k == 0 && !dots)) {
        const bool damaged = readable;
        ReportFolderBlock(f.name, f.inode, f.k, f.blocks[f.k], damaged);
        if (f.k == 0 && !f.directoryMode) {
          stack.pop_back();
        } else {
          ++f.k;
          f.d = 0;
          f.started = false;
        }
        loaded = false;
        continue;
      }
      if (f.k == 0) {
        // An indexed folder keeps its hash index behind ".." in block 0; its entries start in block 1.
        f.d = f.indexed ? blockSize : kFirstEntryAfterDots;
      } else {
        f.d = f.d > blockSize ? f.d - blockSize : 0;
      }
      // A record that ran over from the previous block leaves no chain to follow in this one.
      if (f.d == 0 || f.k == 0) {
        ChainOfRecords(rec, blockSize, f.chain);
      } else {
        f.chain.clear();
      }
    }
    // Where a record ends the block, the parse goes on at the next record of the chain: Linux wipes
    // a deleted record and adds its length to the one before, so zeros there end nothing.
    auto skipToChain = [&] {
      f.d = NextOnChain(f.chain, f.d, blockSize);
      return f.d < blockSize;
    };
    bool descended = false;
    while (f.d < blockSize) {
      if (frame != nullptr && frame->abortFlag) {
        frame->EndProgress();
        app.logHasRows = 1;
        return rootHasBlocks && entries > 0 ? 1 : 0;
      }
      const std::uint32_t entryInode = rec.Le32(f.d + kDeInode);
      const std::uint16_t recLen = rec.Le16(f.d + kDeRecLen);
      const std::uint8_t nameLen = rec.U8(f.d + kDeNameLen);
      const std::uint8_t fileType = rec.U8(f.d + kDeFileType);
      // The next record: the record length on, but never past a record of the chain (a record in
      // the slack behind a long one may claim more than it still holds).
      const auto advance = [&] {
        const std::uint32_t onChain = NextOnChain(f.chain, f.d, blockSize);
        f.d = onChain < blockSize ? std::min<std::uint32_t>(f.d + recLen, onChain) : f.d + recLen;
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
      auto node = ReadInode(entryInode);
      if (!node) {
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

      EntryNode entry;
      entry.parentInode = f.inode;
      entry.inode = entryInode;
      FillEntryFromInode(entry, *node);
      entry.deleted = deleted;
      char name[260] = {};
      if (rec.Has(f.d + kDeName, nameLen)) std::copy_n(buffer.data() + f.d + kDeName, nameLen, name);

      bool isFolder = fileType == kFileTypeDirectory;
      if (fileType == kFileTypeUnknown) isFolder = FolderTestByFirstBlock(*node, name, entryInode);
      bool enter = false;
      bool add = true;
      if (isFolder) {
        entry.kind = kKindFolder;
        entry.size = 0;
        if (IsInodeListed(entryInode, 0)) {
          add = false;  // met before: a hard link or a loop
        } else {
          RemoveLostFolder(entryInode);
          ++folders;
          if (entryInode != kRootInode) {
            visited.push_back(entryInode);
            visitedSet.insert(entryInode);
          }
          enter = true;
        }
      } else {
        entry.kind = kKindFile;
        ++files;
        totalBytes += entry.size;
      }
      const bool listable = entryInode != kRootInode && entryInode <= inodesCount;
      if (add && listable) {
        if (entries == 0) {
          ++folders;  // the Root
          if (frame != nullptr) {
            frame->StartProgress(static_cast<int>(inodesCount));
            frame->InsertRootItem();
          }
        }
        ++entries;
        if (frame != nullptr) {
          frame->AddTreeEntry(entry, name);
          frame->StepProgress(static_cast<int>(entries));
        }
      }
      advance();
      if (enter && listable && open(entryInode, name)) {
        loaded = false;  // the child's blocks take the buffer
        descended = true;
        break;
      }
    }
    if (descended) continue;
    // Block k is done; the next one starts where this parse left off.
    OpenFolder& done = stack.back();
    ++done.k;
    done.started = false;
    loaded = false;
  }
  return rootHasBlocks && entries > 0 ? 1 : 0;
}

}  // namespace ext2
