// The program-wide state of CD that the frame, the views, the dialogs and the engine share.
#pragma once

#include <cstdint>
#include <string>

namespace cd {

// The File Mask's criteria. A criterion's "active" flag says it is in force: its box is checked
// (for the dates, Date is checked and its radio button chosen); a value typed stays when the box
// is unchecked but filters nothing then. Sizes are in the megabytes the status bar shows.
struct CdFileMaskSettings {
  int maskPresent = 0;
  int matchCase = 0;
  int deletedEntries = 0;
  int existingEntries = 0;
  int sizeUptoMb = 2;
  int sizeFromMb = 0;
  int sizeFromActive = 0;
  int sizeUptoActive = 0;
  int months = 0;
  int days = 0;
  int dateRangeActive = 0;
  int monthsActive = 0;
  int daysActive = 0;
  int fromYear = 0, toYear = 0;
  int fromMonth = 0, toMonth = 0;
  int fromDay = 0, toDay = 0;
};

// Defaults are those of a freshly started program.
struct CdAppState {
  std::uint8_t selectedDrive = 0;
  int processRunning = 0;
  int contentsShown = 0;
  int findMatchCase = 0;
  int findExisting = 1;
  int findDeleted = 1;
  int findLastMatch = 0;
  std::string findText;
  int findNext = 0;
  int allMarked = 0;
  int somethingMarked = 0;
  int filterPresent = 0;
  std::uint8_t filterPatternsAdded = 0;
  int recovering = 0;
  int userSorted = 0;
  int sortAscending = 0;
  int sortColumn = 0;
  int sortToggle = 0;
  int imageOpening = 0;
  int recoveryStop = 0;
  int overwriteAnswer = 0;  // 1 Overwrite, 0 Cancel
  int logHasRows = 0;
  int scanUnderWay = 0;
  int fileMaskApplied = 0;
  std::uintptr_t itemUnderRecovery = 0;  // tree item of the folder being recovered
  CdFileMaskSettings mask;
  int markedBytesFlag = 0;
  int driveOpened = 0;
  // The log row being built.
  std::string rowActivity, rowText, rowStatus;
  // Weekday and month names of the running process's start.
  std::string weekday, month;
  int recoveryStopped = 0;
};

}  // namespace cd
