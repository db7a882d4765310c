// What the frame's commands do once their dialogs have been answered: Open Drive, Open Image,
// Create Image, the Recover commands, Select All and Unselect All, the File Filter and Stop.
#pragma once

#include <string>
#include <vector>

#include "cdengine/cd_reader.h"

namespace cd {

// The Open Drive command: prompt, media lock, fresh views, the disc scan. After Open Image it goes
// back to the selected drive.
void OpenDriveCommand(CCDReader& reader);
// The Open Image command after the file was chosen: the image becomes the device and is scanned.
// It stays the device afterwards, so recovery reads the image, until Open Drive or a refused image.
// A refused image leaves the scan on screen as it was, unless that scan was read from an image: the
// device is the drive again, and the scan goes with its tree, list, marks and panes.
void OpenImageCommand(CCDReader& reader, const std::string& path);
// The Create Image command after the file was chosen.
void CreateImageCommand(CCDReader& reader, const std::string& path);
// Recover Selected Files (0), Recover All (1), Recover Deleted Files (2) into FOLDER/Root.
void RecoverFiles(CCDReader& reader, const std::string& folder, int mode);
void SelectAll(CCDReader& reader);
void UnselectAll(CCDReader& reader);
// The File Filter dialog's Add To List and Include (include 1) or Exclude (0).
void ApplyFileFilter(CCDReader& reader, const std::vector<std::string>& patterns, int include);
void RemoveFileFilter(CCDReader& reader);
void StopCommand(CCDReader& reader);
// "   Marked %ld KB in ..." and the like: a pane text of a byte count, file and folder count.
std::string SizePaneText(const char* word, std::uint64_t bytes, std::uint32_t files, std::uint32_t folders);

}  // namespace cd
