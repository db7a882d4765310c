// The program-wide state that the frame, the views, the dialogs and the engine share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ext2 {

class CLinuxDrive;

// The File Mask criteria: written by the mask dialog's handlers, read by the tree's mask. Each
// value counts only while its flag is set (the periods also need a value above 0). The size
// bounds are in force exactly while their boxes are checked.
struct FileMaskCriteria {
  int deletedFiles = 0;
  int existingFiles = 0;
  int byExtension = 0;  // the mask text is not empty; `extensions` holds its items
  int matchCase = 0;
  int sizeFrom = 0;  // megabytes (2^20 bytes), as the dialog shows them
  int bySizeFrom = 0;
  int sizeUpto = 2;  // megabytes
  int bySizeUpto = 0;
  // The three periods are in force while "Date" is checked and their radio button is chosen; the
  // values stay as typed whichever is chosen.
  int lastDays = 0;
  int byLastDays = 0;
  int lastMonths = 0;
  int byLastMonths = 0;
  int betweenDates = 0;
  int fromYear = 0, fromMonth = 0, fromDay = 0;
  int toYear = 0, toMonth = 0, toDay = 0;
  // Which time of an entry the periods test: change ("Files Created"), access, else modification.
  int created = 0;
  int accessed = 0;
  int modified = 0;
  // The ";"-separated items of the mask text, while the mask is applied.
  std::vector<std::string> extensions;

  // Every criterion back to its start value; the choice of time stays.
  void ResetKeepingTimeChoice();
};

// The decision of the File Already Exists dialog; the three "All" decisions hold for the rest of a
// recovery run.
enum class FileExistsDecision : std::uint8_t { None, SkipAll, OverwriteAll, RenameAll, Skip, Overwrite, Rename };
// The decision of the File already exists dialog of the scan-information file.
enum class ScanFileExistsDecision : std::uint8_t { None, Rename, Cancel, Overwrite };

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
  // The last file-exists answer (each dialog writes one decision); cleared when a recovery starts.
  FileExistsDecision fileExists = FileExistsDecision::None;
  // The last scan-file-exists answer.
  ScanFileExistsDecision scanFileExists = ScanFileExistsDecision::None;
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

}  // namespace ext2
