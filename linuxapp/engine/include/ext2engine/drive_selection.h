// The work of the disk and logical-drive dialogs' OK handlers, without their windows: walking a
// disk's partition tables into the logical-drive list, and opening one drive of that list.
#pragma once

#include <cstdint>
#include <string>

#include "ext2engine/ports.h"

namespace ext2 {

// The size text of a drive list row: "%s.%s GB", "%d GB", "%s.%s MB", "%d MB" or "?.? GB".
std::string FormatDriveSize(std::uint64_t bytes);

// The file-system text of a partition type ("LINUX" for 0x83), empty for a type not known.
const char* FileSystemText(std::uint8_t partitionType);

// The model and serial texts of a disk row from an identity: the model with "Seagate " before a
// model that starts "ST", or "UNKNOWN" twice when the model does not start with a capital letter.
void DiskRowTexts(const char* model, const char* serial, std::string& modelText, std::string& serialText);

// The model and serial texts of the row of disk INDEX (from 0). A disk that opened (OPEN_ERROR 0)
// is asked for its identity and shown as DiskRowTexts shows it; where that gives "UNKNOWN", and for
// a disk that did not open, the texts are what the system knows of its path (an image's file name,
// the model and serial in sysfs), "UNKNOWN" for a text still not known. A disk that did not open
// has the reason after its model: "Samsung SSD 980 (Permission denied)".
void PhysicalDiskRowTexts(std::uint8_t index, int openError, std::string& modelText, std::string& serialText);

// What the Select Physical Disk OK says of disk INDEX that did not open with OPEN_ERROR (an errno):
// the reason, and for a refused permission that the program must run as root or the user join the
// group that owns the device (for example "disk").
std::string UnopenedDiskAdvice(std::uint8_t index, int openError);

// Select Physical Disk OK with "Use Partition Table Information": logs the disk, walks its tables
// and logs the outcome. Returns the number of Linux drives found. With none, asks whether to search
// and returns 0 (the search road is the caller's when the answer is Yes; ANSWER receives it).
int WalkPartitionTables(FrameServices& frame, std::uint8_t diskIndex, const std::string& modelText,
                        const std::string& serialText, MessageAnswer* answer = nullptr);

// Select Physical Disk OK, before the action is asked: the chosen disk becomes the selected disk and
// its row is logged ("Physical disk #%d selected", model ",version " serial).
void LogSelectedDisk(FrameServices& frame, std::uint8_t diskIndex, const std::string& modelText,
                     const std::string& serialText);

// Select Physical Disk OK with "Search for Logical Drives", once the search type is chosen (the
// application's search type; -1, cancelled, does nothing): the logical-drive list is dropped, a
// drive object made for the search runs it, and the drives it found become the list, all of them,
// with ordinals 1, 2, 3 ... (a byte in the list's record, so they run on from 0 after 255). The
// search object is then released.
// Returns the number of drives in the list; with none the search object stays the current drive.
int SearchForLogicalDrives(FrameServices& frame, std::uint8_t diskIndex);

// Select Logical Drive OK on ROW of the logical-drive list: creates the drive object, reads its
// super block and group descriptors and builds its directory tree. False when ROW is not a row.
bool OpenLogicalDrive(FrameServices& frame, std::uint8_t diskNumber, int row);

// For a drive whose super block was taken: a partition entry shorter than the file system gives
// the drive the file system's size, as far as the disk holds it, with a row that says the drive is
// larger than its partition; a drive that ends past the disk's end gets a row that says so.
void FitDriveToDisk(FrameServices& frame, CLinuxDrive& drive);

}  // namespace ext2
