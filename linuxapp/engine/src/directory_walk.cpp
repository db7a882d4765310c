// Reading folders: their directory blocks walked in order, subfolders entered depth-first.
// The walk keeps its own stack of open folders, so no image can drive it past the program's stack.
#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/directory_block.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/ext2_layout.h"
#include "ext2engine/linux_drive.h"

namespace ext2 {

namespace {

// One folder being parsed: its blocks and where the parse stands.
struct OpenFolder {
  std::uint32_t inode = 0;
  std::string name;  // as its parent lists it; empty for the folder the walk starts from
  std::vector<std::uint32_t> blocks;
  bool indexed = false;
  bool directoryMode = false;  // its inode's mode says folder
  std::size_t k = 0;       // block index
  bool started = false;    // the walk of block k has been started
  DirectoryBlockPlace place;  // where the walk of block k stands
};
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
  return sector[kDotRecord + kDeName] == '.';
}

int CLinuxDrive::ReadDirectory(std::uint32_t inode, std::uint32_t deleted) {
  AppState& app = App();
  const std::uint32_t blockSize = BlockSize();
  if (blockSize == 0) return 0;
  // One block and the first sector of the next, so that a record near the end reads whole.
  std::vector<std::uint8_t> buffer(blockSize + kSectorSize, 0);
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
    // A folder's size is its blocks: a list that ends before it (a zeroed indirect block, a
    // pointer cleared) leaves the entries of the rest unseen. An indirect block that could not be
    // read has its own row.
    const std::uint64_t sized = raw.size / blockSize + (raw.size % blockSize != 0 ? 1 : 0);
    if (f.directoryMode && unreadIndirect.empty() && f.blocks.size() < sized) {
      ReportShortBlockList(f.name, folder, raw, f.blocks.size(), sized);
    }
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

  // The records of the top folder's block k: each with a readable inode and a name is listed, and
  // a folder met for the first time pauses the walk so that it is entered next.
  std::unique_ptr<InodeCopy> node;
  std::uint32_t pendingFolder = 0;
  std::string pendingName;
  DirectoryRecordVisitor visitor;
  visitor.stopped = [&] { return frame != nullptr && frame->abortFlag; };
  visitor.readInode = [&](std::uint32_t entryInode) {
    node = ReadInode(entryInode);
    return node != nullptr;
  };
  const std::uint8_t zeros[kInodeCopySize] = {};
  visitor.take = [&](const DirectoryRecord& record) {
    const std::uint32_t entryInode = record.inode;
    EntryNode entry;
    entry.parentInode = stack.back().inode;
    entry.inode = entryInode;
    FillEntryFromInode(entry, *node);
    entry.deleted = deleted;

    // A live entry whose inode is all zeros (the table block was wiped) is listed as found, but
    // nothing of the file is known: no size, no times, no blocks.
    if (std::equal(std::begin(zeros), std::end(zeros), node->raw) && entryInode <= inodesCount) {
      ReportEmptyInode(stack.back().name, stack.back().inode, record.name, entryInode);
    }
    bool isFolder = record.fileType == kFileTypeDirectory;
    if (record.fileType == kFileTypeUnknown) isFolder = FolderTestByFirstBlock(*node, record.name, entryInode);
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
        frame->AddTreeEntry(entry, record.name.c_str());
        frame->StepProgress(static_cast<int>(entries));
      }
    }
    if (!enter || !listable) return false;
    pendingFolder = entryInode;
    pendingName = record.name;
    return true;
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
      const bool dots = buffer[kDotRecord + kDeName] == '.' && buffer[kDotDotRecord + kDeName] == '.' &&
                        buffer[kDotDotRecord + kDeName + 1] == '.';
      // Every block parsed from its start holds a chain of records to its end; one without (a
      // zeroed block) is named, and what records it may still hold are read.
      const bool fromStart = f.k == 0 || f.place.offset <= blockSize;
      if (readable && (f.k != 0 || dots) && fromStart && !ChainReachesBlockEnd(buffer, blockSize)) {
        ReportFolderBlock(f.name, f.inode, f.k, f.blocks[f.k], true);
      }
      if (!readable || (f.k == 0 && !dots)) {
        const bool damaged = readable;
        ReportFolderBlock(f.name, f.inode, f.k, f.blocks[f.k], damaged);
        if (f.k == 0 && !f.directoryMode) {
          stack.pop_back();
        } else {
          ++f.k;
          f.place.offset = 0;
          f.started = false;
        }
        loaded = false;
        continue;
      }
      if (f.k == 0) {
        // An indexed folder keeps its hash index behind ".." in block 0; its entries start in block 1.
        StartDirectoryBlock(buffer, blockSize, f.indexed ? blockSize : kFirstEntryAfterDots, true, f.place);
      } else {
        // A record that ran over from the previous block leaves no chain to follow in this one.
        const std::uint32_t carried = f.place.offset > blockSize ? f.place.offset - blockSize : 0;
        StartDirectoryBlock(buffer, blockSize, carried, carried == 0, f.place);
      }
    }
    BlockWalkEnd end = BlockWalkEnd::Paused;
    bool descended = false;
    while (end == BlockWalkEnd::Paused && !descended) {
      end = WalkDirectoryBlock(buffer, blockSize, f.place, visitor);
      if (end == BlockWalkEnd::Stopped) {
        frame->EndProgress();
        app.logHasRows = 1;
        return rootHasBlocks && entries > 0 ? 1 : 0;
      }
      // The record taken last names a folder to enter; the walk of this block resumes behind it
      // when its folder cannot be opened.
      if (end == BlockWalkEnd::Paused && open(pendingFolder, pendingName)) {
        loaded = false;  // the child's blocks take the buffer
        descended = true;
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
