// The program-wide state that the frame, the views, the dialogs and the engine share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CLinuxDrive;

// The File Mask criteria written by the mask dialog and read by the tree's mask.
struct FileMaskCriteria {
  int byExtension = 0;
  int matchCase = 0;
  int existing = 0;
  int deleted = 0;
  int bySize = 0;
  int sizeAtLeast = 0;
  int sizeAtMost = 0;
  int uptoSize = 2;  // MB
  int byDate = 0;
  int lastDays = 0;
  int lastMonths = 0;
  int betweenDates = 0;
};

// The plain fields, with the defaults of a freshly started program.
struct AppFields {
  char diskSerial[32] = {};
  char diskModel[32] = {};
  char diskFirmware[32] = {};
  int driveListAction = 1;
  std::uint8_t deletedAndLostSearched = 0;
  int recovering = 0;
  int viewsFilled = 0;
  int processRunning = 0;
  int scanned = 0;
  int sortToggle = 0;
  int logHasRows = 0;
  int allMarked = 0;
  int marked = 0;
  int recoverSelected = 0;
  int userSorted = 0;
  int sortDirection = 0;
  std::uint8_t selectedDiskIndex = 0;
  int sortColumn = 0;
  int findMatchCase = 0;
  int findExisting = 1;
  int findDeleted = 1;
  int findLastMatch = 0;
  int findNext = 0;
  std::uint8_t filterCount = 0;
  int filterPresent = 0;
  int goUp = 0;
  FileMaskCriteria mask;
  int maskApplied = 0;
  int stopRequested = 0;
  std::uint8_t readRetryCount = 3;
  std::uint8_t readMode = 1;  // 1 a sector at a time, 0 a block at a time
  char rowActivity[64] = {};
  char rowText[260] = {};
  char rowStatus[64] = {};
  int searchType = 1;
  // File-exists answers, in the order Skip All, Overwrite All, Rename All, Skip, OverWrite, Rename.
  int fileExists[6] = {};
  // Scan-file-exists answers, in the order Rename, Cancel, Overwrite.
  int scanFileExists[3] = {};
  char newName[260] = {};
  std::string findText;
  std::uint8_t scanSaved = 0;
};

struct AppState : AppFields {
  AppState();
  ~AppState();
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  // Puts every field back to its default (a fresh program), dropping the current drive.
  void Reset();

  // The drive object of the open logical drive or scan file.
  std::unique_ptr<CLinuxDrive> currentDrive;
};

// The one application state of the process.
AppState& App();
