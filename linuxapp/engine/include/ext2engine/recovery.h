// Recovery of scanned entries into a destination folder: types, name filters, target names, and
// the recovery command as the frame runs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ext2engine/ports.h"

namespace ext2 {

class CLinuxDrive;

// What a recovery takes.
enum RecoveryType : std::uint8_t {
  kRecoverMarked = 0,    // Recover Selected: entries checked 1 (folders 1 or 2)
  kRecoverAll = 1,       // Recover All, deleted entries too
  kRecoverDeleted = 2,   // Recover Deleted
  kRecoverExisting = 4,  // Recover All without deleted entries
};

// One include/exclude name pattern; position is its line in the dialog's list, from 1.
struct FilterNode {
  std::string pattern;
  std::uint8_t position = 0;
};

// The upper-cased pattern with a leading '*' of the name or extension part as 128 '?'.
std::string ExpandPattern(const std::string& pattern);
// 1 when NAME matches PATTERN (both parts as prefixes, without regard to case).
int MatchPattern(const std::string& name, const std::string& pattern);
// 1 keep, 0 leave out. MODE 0 includes what matches, 1 excludes it; an empty list keeps all.
int MatchFilterList(const std::string& name, const std::vector<FilterNode>& list, std::uint8_t mode);

// The name a recovered entry is written under: its own, unless it would leave its folder
// ("", ".", "..") — then "Inode #N" — or holds '/', which becomes '_'.
std::string SafeRecoveredName(const std::string& name, std::uint32_t inode);
// "Copy_<inode>_<name>", else "Copy<k>_<inode>_<name>" for the first k = 1, 2, ... that is free in DIRECTORY.
std::string ProposeCopyName(const std::string& directory, std::uint32_t inode, const std::string& name);

// The Recover command of the frame: the caution, the flags, the destination (DESTINATION, or when it
// is empty the user's choice; Cancel ends the process), the free-space check against the bytes this
// recovery writes, the start row, the walk from Root into DESTINATION/#Root, and the end of the
// process. Every recovery that ran ends with its end row, "Process completed, N file(s) recovered,
// M not recovered" ("Recovery stopped, ..." after a Stop), after one row for each kind of file it
// could not write whole, with their count (folders or files that could not be written, inodes that
// cannot be read, files kept in extents, files written with zeros, deleted files whose data blocks
// are no longer recorded, marked files the filters left out). 1 when the recovery ran.
int RecoverFiles(FrameServices& frame, CLinuxDrive& drive, std::uint8_t type, const std::string& destination);

// The free bytes of the file system that holds PATH, for a writer without privileges; false when
// they cannot be told. The recovery command asks through this; tests put in their own.
using FreeSpaceQuery = bool (*)(const std::string& path, std::uint64_t& bytes);
// Null puts back the query of the file system (statvfs).
void SetFreeSpaceQuery(FreeSpaceQuery query);

}  // namespace ext2
