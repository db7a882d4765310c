// The engine object for one ext2/ext3 logical drive on a physical disk. It only reads the disk.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ext2engine/drive_search.h"
#include "ext2engine/entry_node.h"
#include "ext2engine/ports.h"
#include "ext2engine/read_failure_rows.h"
#include "ext2engine/recovery.h"

namespace ext2 {

struct LogicalDriveNode;
struct ListedEntry;

// One block group: sectors relative to the drive's first sector.
struct GroupDescNode {
  std::uint32_t blockBitmapSector = 0;
  std::uint32_t inodeBitmapSector = 0;
  std::uint32_t inodeTableSector = 0;
  std::uint32_t inodeTableSectors = 0;
  std::uint32_t spare = 0;
};

// The first 124 bytes of an inode, decoded. The size of a regular file takes its high 32 bits from
// i_size_high (offset 108), as e2fsprogs and the kernel read it; other kinds keep i_size alone.
// Times are signed seconds from 1970: the 32 bits stored reach back to 1901.
constexpr std::size_t kInodeCopySize = 124;
struct InodeCopy {
  std::uint16_t mode = 0;
  std::uint64_t size = 0;
  std::int32_t atime = 0;
  std::int32_t ctime = 0;
  std::int32_t mtime = 0;
  std::uint32_t dtime = 0;
  std::uint32_t flags = 0;
  std::uint32_t block[15] = {};
  std::uint8_t raw[kInodeCopySize] = {};
};

constexpr std::uint32_t kInodeIndexFlag = 0x1000;
// The inode maps its data with an extent tree (ext4) instead of block pointers: i_block holds the
// tree's header and entries, which this engine does not read.
constexpr std::uint32_t kInodeExtentsFlag = 0x80000;
constexpr std::uint16_t kModeTypeMask = 0xF000;
constexpr std::uint16_t kModeFifo = 0x1000;
constexpr std::uint16_t kModeCharDevice = 0x2000;
constexpr std::uint16_t kModeDirectory = 0x4000;
constexpr std::uint16_t kModeBlockDevice = 0x6000;
constexpr std::uint16_t kModeRegular = 0x8000;
constexpr std::uint16_t kModeSymlink = 0xA000;
constexpr std::uint16_t kModeSocket = 0xC000;
constexpr std::uint32_t kFastSymlinkMax = 60;

// A symbolic link whose target text sits in the block pointers: one shorter than the 60 bytes they
// hold. Its block count says nothing of this, as it also counts an extended-attribute block.
bool IsFastSymlink(const InodeCopy& inode);
// A device, fifo or socket: its block pointers hold no block numbers.
bool HasNoBlocks(const InodeCopy& inode);
// An inode whose data is mapped by extents: its i_block holds no block numbers.
bool KeptInExtents(const InodeCopy& inode);

// Decodes the inode record at OFFSET of BUFFER (SIZE bytes); fields beyond the buffer read 0.
InodeCopy DecodeInode(const std::uint8_t* buffer, std::size_t size, std::size_t offset);

class CLinuxDrive {
 public:
  CLinuxDrive() = default;
  CLinuxDrive(const CLinuxDrive&) = delete;
  CLinuxDrive& operator=(const CLinuxDrive&) = delete;

  // Lists and attachment.
  void ClearLists();
  void ClearDirectoryLists();
  void AttachFrame(FrameServices* frame);

  // Super block and group descriptors.
  void ReadSuperBlock(const LogicalDriveNode& drive);
  int SearchSuperBlock(const LogicalDriveNode& drive);
  int ReadGroupDescriptors();

  // Inodes. LocateInode returns the byte offset of the inode in its sector, or -1 when the inode
  // cannot lie in the table (inode 0, no geometry).
  long LocateInode(std::uint32_t inode, std::uint16_t* group, std::uint32_t* sector) const;
  std::unique_ptr<InodeCopy> ReadInode(std::uint32_t inode);
  // The inode's record as stored, pointers unchecked; false when it lies in no group of the
  // descriptor table (the super block's group count bounds the table). A table sector that cannot
  // be read gives a record of zeros; READ_FAILED, when given, is then set (else cleared), and
  // UNREAD_SECTOR, when given, receives that sector (relative to the drive).
  bool ReadInodeRecord(std::uint32_t inode, InodeCopy& record, bool* readFailed = nullptr,
                       std::uint64_t* unreadSector = nullptr);

  // The data blocks of an inode in file order, through its direct and indirect pointers. The list
  // holds at most the drive's block count, and an indirect block met twice is not read again. An
  // indirect block that cannot be read adds nothing (UNREADABLE, when given, receives its number)
  // and the list goes on with the next pointer.
  std::vector<std::uint32_t> GetBlockList(const InodeCopy& inode, std::vector<std::uint32_t>* unreadable = nullptr);
  // The data blocks of a file to recover: runs of blocks that follow each other on the drive and in
  // the file, in file order, each with its place in the file (in blocks). Places between runs, and
  // after the last one up to SIZE, are holes. The walk reads only the places inside SIZE,
  // and takes at most the drive's block count of data and indirect blocks, whatever the size says.
  struct FileRun {
    std::uint64_t position;  // place of the first block in the file
    std::uint32_t block;     // its block on the drive
    std::uint32_t count;
  };
  struct FileBlocks {
    std::vector<FileRun> runs;
    // Indirect blocks that could not be read: the places under them have no known data.
    std::vector<std::uint32_t> unreadIndirect;
    // The walk stopped before the end of the size (the bound, or an indirect block met twice).
    bool cut = false;
  };
  FileBlocks GetFileBlockList(const InodeCopy& inode, std::uint64_t size);

  // The directory tree.
  int ReadDirectory(std::uint32_t inode, std::uint32_t deleted);
  void FillEntryFromInode(EntryNode& entry, const InodeCopy& inode) const;
  int IsInodeListed(std::uint32_t inode, int list) const;
  void BuildDirectoryTree();

  // Rows of the metadata reads that fail while a walk or an inode-table search runs
  // (read_failures.cpp): one for each block, the first ReadFailureRows::kRowsShown in full.
  void StartReadFailureRows() {
    readFailures_.Start();
    emptyInodes_.Start();
  }
  // Logs how many failed blocks got no row of their own, if any, and ends the rows.
  void FinishReadFailureRows();
  // Block INDEX of folder FOLDER (named NAME; empty when the name is not known), drive block BLOCK,
  // could not be read, or (DAMAGED) holds no "." and ".." though it is the folder's block 0.
  void ReportFolderBlock(const std::string& name, std::uint32_t folder, std::size_t index, std::uint32_t block,
                         bool damaged);
  // The indirect block BLOCK of folder FOLDER (named NAME) could not be read.
  void ReportIndirectBlock(const std::string& name, std::uint32_t folder, std::uint32_t block);
  // The block list of folder FOLDER (named NAME, inode record RAW) ends after LISTED blocks, though
  // its size asks for SIZED: the row names the first missing block and the pointer block it lies under.
  void ReportShortBlockList(const std::string& name, std::uint32_t folder, const InodeCopy& raw, std::size_t listed,
                            std::uint64_t sized);
  // The entry ENTRY_NAME of folder FOLDER (named NAME) names inode INODE, whose record is all zeros.
  void ReportEmptyInode(const std::string& name, std::uint32_t folder, const std::string& entryName,
                        std::uint32_t inode);
  // The sector RELATIVE_SECTOR of the inode table of group GROUP (from 0) could not be read.
  void ReportInodeTableSector(std::uint32_t group, std::uint64_t relativeSector);

  // Lost folders and deleted inodes (lost_folders.cpp, deleted_inodes.cpp).
  // Removes INODE from the lost list; 1 when it was there.
  int RemoveLostFolder(std::uint32_t inode);
  // Folders of the inode tables whose ".." is the root and that the walk did not reach, listed under
  // Root and walked; the others go to the lost list.
  void SearchLostFolders();
  // The top folders of the lost list as "Folder %d" under "Lost Folder(s)", each walked. When only
  // folders whose parents stay lost are left (their ".." entries form a cycle), the first of them
  // in list order is taken as a top folder, so that every lost folder is shown once.
  void AddLostFolders();
  // Every inode with a deletion time as "Inode #%d" under "Deleted Files".
  void SearchDeletedFiles();

  // Scan-information file (scan_file.cpp).
  // Writes the drive's geometry, descriptors, the logical-drive list and the tree's entries to PATH.
  // True when the scan is saved: written whole, or the drive came from a scan file. False when the
  // user cancelled at an existing file, or the file could not be created or written (shown in a
  // row and a message box).
  bool SaveScanInfo(const std::string& path);
  // Fills this fresh drive from the file at PATH: geometry, descriptors, the logical-drive list and
  // the tree. Then the disk is checked for the drive: a super block that is missing at the drive's
  // first sector, or whose counts differ from the file's, gives an error row and a message box.
  void LoadScanInfo(const std::string& path);

  // Logical-drive search (drive_search.cpp).
  // The standard or advanced search by the application's search type, with the advanced search
  // offered when the standard one found nothing.
  void SearchLogicalDrives();
  // Super blocks at track, cylinder and 1 MiB boundaries; 1 when it found nothing and was not
  // stopped. In both searches a backup copy of a super block (s_block_group_nr above 0) places its
  // drive by its group, and copies of a drive found before are dropped.
  int StandardSearch();
  // Super blocks in every sector of the disk.
  void AdvancedSearch();

  // File recovery and name filters (recovery.cpp, file_filters.cpp).
  // The number of listed entries whose check is 1.
  std::uint32_t CountCheckedEntries() const;
  // The bytes a recovery of TYPE writes: the sizes of the files it takes, after the name filters.
  std::uint64_t BytesToRecover(std::uint8_t type) const;
  // Recovers the folder INODE into the folder PATH (made when missing) and, by TYPE, its files and
  // subfolders below it. 1 when the last file or folder handled was written or skipped.
  int RecoverFolder(std::uintptr_t treeItem, std::uint32_t inode, const std::string& path, std::uint8_t type,
                    std::uint32_t deleted);
  // The data blocks of an inode from its record, as the directory walk builds them.
  std::vector<std::uint32_t> GetclusterList(std::uint32_t inode);

  // Reads BYTES at sector RELATIVE_SECTOR of the drive (from its first sector); DELIVERED as in
  // ReadDiskSectors.
  int ReadDriveSectors(std::uint64_t relativeSector, void* buffer, std::uint32_t bytes,
                       std::uint32_t* delivered = nullptr);
  // One attempt at the same read, without the retries: for a caller that reads what failed again
  // in smaller parts, each with its retries.
  int ReadDriveSectorsOnce(std::uint64_t relativeSector, void* buffer, std::uint32_t bytes);
  std::uint32_t BlockSize() const { return sectorsPerBlock * 512u; }
  std::uint32_t BlockCount() const { return sectorsPerBlock == 0 ? 0 : sectorCount / sectorsPerBlock; }
  bool HasGeometry() const { return sectorsPerBlock == 2 || sectorsPerBlock == 4 || sectorsPerBlock == 8; }

  // Members, zero when the object is made.
  std::uint8_t disk = 0;
  std::uint32_t driveIndex = 0;  // the drive's row in the logical-drive list, from 0
  std::uint8_t sectorsPerBlock = 0;
  std::uint32_t firstSector = 0;
  std::uint32_t lastSector = 0;
  std::uint32_t sectorCount = 0;
  std::vector<GroupDescNode> descriptors;
  std::uint16_t descriptorTableOffset = 0;
  std::uint32_t inodeTableSectorsPerGroup = 0;
  std::uint32_t inodesPerGroup = 0;
  std::uint32_t inodesCount = 0;
  std::uint16_t groupCount = 0;
  std::uint16_t inodeSize = 128;
  std::uint32_t incompatFeatures = 0;  // s_feature_incompat of the super block taken
  // More of the super block taken: what finds the backup copies of the super block and of the
  // descriptor table, and the file system's identity (UUID and volume name).
  std::uint32_t blocksPerGroup = 0;
  std::uint32_t fileSystemBlocks = 0;  // s_blocks_count
  std::uint32_t roCompatFeatures = 0;
  std::uint32_t superBlockGroup = 0;  // the group whose copy was taken (0: the first copy)
  // The sector of the super block copy the drive was opened through, relative to its first sector:
  // the copy a scan file of the drive is checked against when it is loaded.
  std::uint32_t superBlockSector = 2;
  std::uint8_t fsUuid[16] = {};
  std::uint8_t volumeName[16] = {};
  std::vector<std::uint32_t> visited;  // folders in the order first reached
  std::unordered_set<std::uint32_t> visitedSet;
  std::vector<std::uint32_t> lost;  // folders not reached from the root
  std::unordered_set<std::uint32_t> lostSet;
  std::uint32_t recoveredFileCount = 0;
  // What the recovery could not write: folders that could not be made or entered (their contents
  // are not recovered), files not recovered (they could not be created or written whole, or their
  // inode says nothing usable of their data), and files written with unreadable parts as zeros.
  std::uint32_t unwrittenFolders = 0;
  std::uint32_t unwrittenFiles = 0;
  std::uint32_t incompleteFiles = 0;
  // Files not recovered because their inode could not be read, files kept in extents (not read),
  // and deleted files whose data blocks the inode no longer records (ext3 clears them on delete).
  std::uint32_t unreadInodeFiles = 0;
  std::uint32_t extentFiles = 0;
  std::uint32_t dataGoneFiles = 0;
  // Files written, whole or with unreadable parts as zeros.
  std::uint32_t writtenFiles = 0;
  // Marked files that a recovery of the marked entries left out for the file filters; they stay marked.
  std::uint32_t filteredOutFiles = 0;
  std::uint32_t entries = 0;
  std::uint32_t folders = 0;
  std::uint32_t files = 0;
  std::uint64_t totalBytes = 0;
  FrameServices* frame = nullptr;
  TreeViewPort* treeView = nullptr;
  ListViewPort* listView = nullptr;
  // Results of the logical-drive search: the drives in the order found, the number logged, and the
  // disk's size in sectors as the advanced search took it.
  std::vector<FoundDriveNode> foundDrives;
  std::uint32_t foundCount = 0;
  std::uint64_t diskSize = 0;
  // Include/exclude patterns of recovery and their mode (0 include, 1 exclude). The list is the
  // one record of the filters in force: their count is its size, and Remove File Filter is offered
  // while it is not empty.
  std::vector<FilterNode> filters;
  std::uint8_t filterMode = 0;
  // Lost folders: the ".." inode of each folder in the lost list; the folders taken off it since
  // AddLostFolders last looked; how many taken-off folders `lost` still holds until it is compacted
  // (lostSet is the list's true content); entries listed by the lost-folder roads.
  std::unordered_map<std::uint32_t, std::uint32_t> lostParents;
  std::vector<std::uint32_t> lostRemoved;
  std::size_t lostStale = 0;
  std::uint32_t lostEntries = 0;
  // Set when the drive was filled from a scan-information file rather than read from the disk.
  bool openedFromScanFile = false;

 private:
  // While a folder walk or a recovery runs, a run of inode-table sectors read at once: the inodes of
  // one folder mostly lie together, so they cost one read instead of one each. A sector the run's
  // read did not deliver is read on its own, as it is at other times, so every result stays the same.
  struct InodeTableRun {
    bool active = false;
    std::uint64_t firstSector = 0;  // relative to the drive
    std::uint32_t asked = 0;        // sectors the read asked for
    std::uint32_t delivered = 0;    // sectors it delivered (0 when it failed)
    std::vector<std::uint8_t> bytes;
  };
  // Reads inodes in runs for as long as it lives.
  struct InodeRunScope {
    InodeTableRun& run;
    explicit InodeRunScope(InodeTableRun& r) : run(r) {
      run = {};
      run.active = true;
    }
    ~InodeRunScope() { run = {}; }
    InodeRunScope(const InodeRunScope&) = delete;
    InodeRunScope& operator=(const InodeRunScope&) = delete;
  };
  InodeTableRun inodeRun_;
  ReadFailureRows readFailures_;
  ReadFailureRows emptyInodes_;  // the rows of entries whose inode is all zeros, keyed by inode
  bool ReadFromInodeRun(std::uint64_t tableSector, std::uint32_t sectorInTable, std::uint8_t* sector);
  struct RecoveryRun;
  // A file of a real inode that the name filters keep, and not a deleted entry of 0 bytes (in a
  // folder whose deleted flag is FOLDER_DELETED), which holds nothing to write.
  bool HasDataToWrite(const ListedEntry& entry, std::uint32_t folderDeleted) const;
  // Whether a recovery of TYPE writes FILE, in a folder whose deleted flag is FOLDER_DELETED.
  bool WritesFile(const ListedEntry& file, std::uint8_t type, std::uint32_t folderDeleted) const;
  int RecoverFile(ListedEntry& entry, std::uint8_t type, std::uint32_t folderDeleted, int dirFd,
                  const std::string& dirPath);
  void RecoverFolderFiles(const std::vector<ListedEntry*>& children, std::uint8_t type, std::uint32_t folderDeleted,
                          RecoveryRun& run, int dirFd, const std::string& dirPath);
  void MarkHandled(ListedEntry& entry, std::uint8_t type);
  struct BlockWalk;
  void WalkInodePointers(const InodeCopy& inode, BlockWalk& walk);
  void WalkIndirectBlock(std::uint32_t block, int level, BlockWalk& walk);
  void FindSingleDirectBlock(std::uint32_t block, BlockWalk& walk);
  void FindDoubleDirectBlock(std::uint32_t block, BlockWalk& walk);
  void FindTrippleDirectBlock(std::uint32_t block, BlockWalk& walk);
  // Takes the geometry of a super block sector; true when it is usable. Otherwise FAULT, when
  // given, names the field that makes the drive impossible and its value.
  bool TakeSuperBlock(const std::uint8_t* sector, std::string* fault = nullptr);
  // The super block of group 1, at the place the first copy's group size gives (when it can be
  // read) or at the place of the usual group size of each block size; true when one was taken.
  bool TakeFirstBackupSuperBlock(const std::uint8_t* first);
  // The first group after AFTER, and below GROUPS, that holds backup copies of the super block and
  // the descriptor table (every group, or with sparse_super group 1 and the powers of 3, 5 and 7);
  // 0 when there is none.
  std::uint32_t NextBackupGroup(std::uint32_t after, std::uint64_t groups) const;
  // The groups of the file system whose first block lies on the drive and on the disk: the ones
  // that can hold a backup copy to read.
  std::uint64_t GroupsOnDisk() const;
  // Reads descriptor-table block K from the table that follows the super block copy of GROUP;
  // true when it was read whole and every descriptor of it lies inside the drive.
  bool ReadDescriptorBlock(std::uint32_t group, std::uint32_t k, std::vector<std::uint8_t>& block);
  // True when the super block copy the drive was opened through (its third sector, or the backup
  // copy taken instead) has the drive's block size, inode counts,
  // a block count within its sectors and, when the drive holds one, its UUID and volume name: the
  // disk holds the drive this object describes.
  bool SuperBlockMatchesGeometry();
  // Whether INODE (entry NAME, inode NUMBER) is a folder by its mode and the "." of its block 0.
  bool FolderTestByFirstBlock(const InodeCopy& inode, const std::string& name, std::uint32_t number);
  void Log(const char* activity, const char* text, const char* status, LogIcon icon);
};

// The C library's ctime text of now, without its final newline.
std::string CTimeNow();

}  // namespace ext2
