// CD drive list, OpenDrive, CloseDevice and the media lock.
#include "cdengine/drive_access.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace cd {

std::vector<std::string> FindCdDrives() {
  std::vector<std::string> drives;
  if (const char* list = std::getenv("QUARVEL_CDROMS"); list != nullptr && *list != 0) {
    std::string all = list;
    std::size_t start = 0;
    while (start <= all.size()) {
      const std::size_t colon = all.find(':', start);
      const std::string path = all.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
      if (!path.empty()) drives.push_back(path);
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
    return drives;
  }
  for (int n = 0; n < 4; ++n) {
    const std::string path = "/dev/sr" + std::to_string(n);
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) drives.push_back(path);
  }
  return drives;
}

void ReopenSelectedDrive(CCDReader& reader) {
  reader.device.reset();
  reader.imageIsDevice = false;
  if (reader.selectedDrive < reader.drivePaths.size()) {
    const std::string& path = reader.drivePaths[reader.selectedDrive];
    errno = 0;
    reader.device = reader.openDevice(path);
    const int error = errno;
    if (!reader.device) LogOpenFailure(reader, "Opening CD-ROM drive", path, error, "Drive not opened");
  }
}

void LogOpenFailure(CCDReader& reader, const char* activity, const std::string& path, int error, const char* status) {
  if (reader.frame == nullptr) return;
  const std::string text = platform::OpenFailureText(path, error);
  reader.frame->AddLogEntry(activity, text.c_str(), status, kCdIconError);
  reader.app->logHasRows = 1;
}

void OpenDrive(CCDReader& reader) {
  reader.drivePaths = FindCdDrives();
  if (reader.drivePaths.size() > 1 && reader.frame != nullptr) {
    reader.frame->GetPrompts().RunSelectDriveDialog(reader.drivePaths);
  }
  reader.selectedDrive = reader.app->selectedDrive;
  ReopenSelectedDrive(reader);
}

void SetMediaLock(CCDReader& reader, bool lock) {
  if (reader.device) reader.device->LockMedia(lock);
  reader.mediaLockTaken = lock ? 1 : 0;
}

void CloseDevice(CCDReader& reader) {
  if (reader.mediaLockTaken) SetMediaLock(reader, false);
  reader.device.reset();
  reader.imageIsDevice = false;
  reader.volumeInfo.reset();
  reader.drivePaths.clear();
  reader.FreeEntryList();
  if (reader.treeView != nullptr) reader.treeView->FreeNodeList();
  reader.filterPatterns.clear();
  reader.fileMaskPatterns.clear();
  reader.pathTableRuns.clear();
  reader.dirSectorRuns.clear();
  reader.visitedDirs.clear();
}

}  // namespace cd
