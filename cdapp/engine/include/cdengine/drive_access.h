// Choosing, opening and releasing the CD drive.
#pragma once

#include <string>
#include <vector>

#include "cdengine/cd_reader.h"

namespace cd {

// The CD drives: the paths in QUARVEL_CDROMS (colon-separated) when set, else those of
// /dev/sr0 to /dev/sr3 that exist.
std::vector<std::string> FindCdDrives();

// Finds the drives, lets the user choose when there are several, opens the chosen one as the
// shared device (null when it cannot be opened).
void OpenDrive(CCDReader& reader);

// Closes the shared device and opens the selected drive again; a drive that cannot be opened gets
// a row that names its path and why.
void ReopenSelectedDrive(CCDReader& reader);

// The row of a device or image at PATH that could not be opened (errno ERROR): ACTIVITY, the path
// and the reason, STATUS.
void LogOpenFailure(CCDReader& reader, const char* activity, const std::string& path, int error, const char* status);

// Releases the media lock and the device, and frees every list of the reader and the tree view's
// node list.
void CloseDevice(CCDReader& reader);

// The media-removal lock of the Open Drive command.
void SetMediaLock(CCDReader& reader, bool lock);

}  // namespace cd
