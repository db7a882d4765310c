// Reading folders: directory blocks parsed record by record, subfolders entered depth-first.
// The walk keeps its own stack of open folders, so no image can drive it past the program's stack.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "ext2engine/app_state.h"
#include "ext2engine/disk_access.h"
#include "ext2engine/linux_drive.h"
#include "platform/byte_reader.h"

namespace {
constexpr std::size_t kDeInode = 0;
constexpr std::size_t kDeRecLen = 4;
constexpr std::size_t kDeNameLen = 6;
constexpr std::size_t kDeFileType = 7;
constexpr std::size_t kDeName = 8;
constexpr std::uint8_t kFileTypeDirectory = 2;
constexpr std::uint8_t kFileTypeUnknown = 0;
constexpr std::uint32_t kFirstEntryAfterDots = 24;

// One folder being parsed: its blocks and where the parse stands.
struct OpenFolder {
  std::uint32_t inode = 0;
  std::vector<std::uint32_t> blocks;
  bool indexed = false;
  std::size_t k = 0;       // block index
  std::uint32_t d = 0;     // offset in block k
  bool started = false;    // block k's starting offset has been set
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

bool CLinuxDrive::FolderTestByFirstBlock(const InodeCopy& inode) {
  if (inode.block[0] == 0 || (inode.mode & kModeTypeMask) != kModeDirectory) return false;
  std::uint8_t sector[kSectorSize] = {};
  ReadDriveSectors(static_cast<std::uint64_t>(inode.block[0]) * sectorsPerBlock, sector, kSectorSize);
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
  auto open = [&](std::uint32_t folder) {
    InodeCopy raw;
    if (!ReadInodeRecord(folder, raw)) return false;
    OpenFolder f;
    f.inode = folder;
    f.blocks = GetBlockList(raw);
    f.indexed = (raw.flags & kInodeIndexFlag) != 0;
    if (f.blocks.empty()) return false;
    stack.push_back(std::move(f));
    return true;
  };

  auto load = [&](const OpenFolder& f) {
    std::fill(buffer.begin(), buffer.end(), 0);
    ReadDriveSectors(static_cast<std::uint64_t>(f.blocks[f.k]) * sectorsPerBlock, buffer.data(), blockSize);
    if (f.k + 1 < f.blocks.size()) {
      ReadDriveSectors(static_cast<std::uint64_t>(f.blocks[f.k + 1]) * sectorsPerBlock, buffer.data() + blockSize,
                       kSectorSize);
    }
  };

  const bool rootHasBlocks = open(inode);
  bool loaded = false;  // the buffer holds the top folder's block k
  while (!stack.empty()) {
    OpenFolder& f = stack.back();
    if (f.k >= f.blocks.size()) {
      stack.pop_back();
      loaded = false;
      continue;
    }
    if (!loaded) {
      load(f);
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
      if (f.k == 0) {
        if (buffer[8] != '.' || buffer[20] != '.' || buffer[21] != '.') {
          stack.pop_back();  // not a folder block: the folder yields nothing more
          loaded = false;
          continue;
        }
        // An indexed folder keeps its hash index behind ".." in block 0; its entries start in block 1.
        f.d = f.indexed ? blockSize : kFirstEntryAfterDots;
      } else {
        f.d = f.d > blockSize ? f.d - blockSize : 0;
      }
    }
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
      if (recLen == 0 && nameLen == 0 && fileType == 0) break;
      if (entryInode == 0) {
        if (recLen == 0) break;
        f.d += recLen;
        continue;
      }
      auto node = ReadInode(entryInode);
      if (!node) {
        if (recLen == 0 || recLen == blockSize) break;
        f.d += recLen;
        continue;
      }
      if (recLen == 0 || nameLen == 0) break;

      EntryNode entry;
      entry.parentInode = f.inode;
      entry.inode = entryInode;
      FillEntryFromInode(entry, *node);
      entry.deleted = deleted;
      char name[260] = {};
      if (rec.Has(f.d + kDeName, nameLen)) std::copy_n(buffer.data() + f.d + kDeName, nameLen, name);

      bool isFolder = fileType == kFileTypeDirectory;
      if (fileType == kFileTypeUnknown) isFolder = FolderTestByFirstBlock(*node);
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
      f.d += recLen;
      if (enter && listable && open(entryInode)) {
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
