// Writing recovered files below a destination folder: every folder and file is opened relative to
// its parent folder's descriptor, so paths of any length are written, no link is followed, and
// names longer than a file system allows get a shortened name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// The longest name, in bytes, that Linux file systems take.
inline constexpr std::size_t kMaxNameBytes = 255;

// Ignores SIGXFSZ, so that a write past a file-size limit fails (EFBIG) instead of ending the
// process: the recovery reports it like a full disk.
void IgnoreFileSizeSignal();

// Opens the folder NAME below DIR_FD, making it first when it is missing; never through a link.
// -1 when it cannot be made or opened, or NAME is taken by something that is not a folder.
int OpenFolderBelow(int dirFd, const std::string& name);

// NAME when it fits kMaxNameBytes; otherwise its start, cut at a character boundary, then "~" and
// eight hex digits of a hash of the whole name, then its extension (the text from the last ".",
// when that is short), so that two long names with one start stay apart.
std::string FitNameLength(const std::string& name);

// The series of names a recovered file is written under when NAME is taken in its folder; NUMBER
// tells the entry on its medium (an inode, an extent). Name K of it: "Copy_" NUMBER "_" NAME for
// K = 0, else "Copy" K "_" NUMBER "_" NAME.
std::string CopyName(unsigned k, std::uint32_t number, const std::string& name);
// The first name of the series for which TAKEN is false (of the first 100,000).
std::string ProposeCopyName(std::uint32_t number, const std::string& name,
                            const std::function<bool(const std::string&)>& taken);

}  // namespace platform
