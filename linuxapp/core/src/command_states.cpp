// The enable rules of the main frame's commands.
#include "linuxcore/command_states.h"

#include <initializer_list>

namespace ext2::core {

namespace {
void Set(CommandStates& s, std::initializer_list<int> ids, bool on) {
  for (int id : ids) s[id] = on;
}

constexpr int kKeyEscape = 27;
constexpr int kKeyReturn = 13;
constexpr int kKeyNumpadEnter = 370;
constexpr int kKeyF1 = 340;
constexpr int kKeyF12 = 351;
}  // namespace

CommandStates ToolbarStates(const CommandInputs& in) {
  const bool sm = in.scanned || in.maskApplied;
  return {
      {kCmdSelectPhysicalDisk, !in.processRunning},
      {kCmdOpenDrive, in.driveListNotEmpty},
      {kCmdAddFileFilter, sm},
      {kCmdFind, sm},
      {kIdFindNext, in.findNext},
      {kCmdRecoverAll, sm},
      {kCmdRecoverSelected, in.recoverSelected},
      {kCmdRecoverDeleted, sm},
      {kCmdFileMask, in.scanned},
      {kCmdGoUp, in.scanned && !in.selectedIsRoot},
      {kCmdStop, in.processRunning},
      {kIdHelpTopics, true},
  };
}

CommandStates MenuStates(const CommandInputs& in) {
  // The toolbar rule first; commands without a button start enabled.
  CommandStates s = ToolbarStates(in);
  Set(s,
      {kCmdOpenScanInfo, kIdExit, kIdRemoveFileFilter, kIdSearchDeletedAndLost, kIdSelectAll, kIdUnselectAll,
       kIdSaveScanInfo, kIdClearLog, kIdSaveLog, kIdAdvanceSettings, kIdViewToolBar, kIdViewStatusBar,
       kIdViewMessageLog, kIdArrangeByName, kIdArrangeByType, kIdArrangeBySize, kIdArrangeByDate, kIdAbout},
      true);
  s[kIdUnMask] = in.unmaskedListSaved;
  Set(s, {kIdLargeIcons, kIdSmallIcons, kIdList, kIdDetails}, in.rightPane);

  const std::initializer_list<int> arrange = {kIdArrangeByName, kIdArrangeByType, kIdArrangeBySize, kIdArrangeByDate};
  Set(s,
      {kIdSelectAll, kIdUnselectAll, kCmdRecoverSelected, kCmdAddFileFilter, kIdRemoveFileFilter, kCmdGoUp, kIdClearLog,
       kIdSaveLog, kCmdFileMask, kIdSaveScanInfo, kIdSearchDeletedAndLost},
      false);
  Set(s, arrange, false);
  s[kCmdOpenScanInfo] = true;
  s[kIdAdvanceSettings] = true;
  if (in.busy) s[kCmdOpenDrive] = false;
  if (in.scanned || in.maskApplied) {
    Set(s,
        {kCmdRecoverAll, kCmdAddFileFilter, kCmdFind, kIdSelectAll, kCmdRecoverDeleted, kCmdFileMask, kIdSaveScanInfo},
        true);
    Set(s, arrange, true);
    if (in.goUp) s[kCmdGoUp] = true;
    s[kIdSelectAll] = !in.allMarked;
    s[kIdUnselectAll] = in.allMarked || in.marked;
    s[kIdFindNext] = in.findNext;
    s[kCmdRecoverSelected] = in.recoverSelected;
    s[kIdRemoveFileFilter] = in.filterPresent;
    s[kIdSearchDeletedAndLost] = !in.deletedAndLostSearched;
  }
  if (!in.scanned) s[kCmdFind] = false;
  if (in.processRunning) s[kCmdStop] = true;
  if (in.logHasRows) s[kIdClearLog] = s[kIdSaveLog] = true;
  if (!in.abort && in.driveOpen) s[kCmdOpenScanInfo] = s[kCmdSelectPhysicalDisk] = false;
  if (in.scanned || in.abort) s[kCmdOpenScanInfo] = s[kCmdSelectPhysicalDisk] = true;
  if (in.recovering) {
    Set(s,
        {kIdSelectAll, kIdUnselectAll, kCmdRecoverSelected, kCmdRecoverAll, kCmdRecoverDeleted, kCmdAddFileFilter,
         kIdRemoveFileFilter, kCmdGoUp, kIdClearLog, kIdSaveLog, kCmdFileMask, kCmdFind, kCmdOpenScanInfo,
         kIdSaveScanInfo, kIdSearchDeletedAndLost, kCmdSelectPhysicalDisk},
        false);
    Set(s, arrange, false);
  }
  return s;
}

int WxId(int command) {
  if (command >= 59000) return 12000 + command - 59000;
  if (command >= 57000) return 11000 + command - 57000;
  return 10000 + command - 32000;
}

int CommandOfWxId(int id) {
  if (id >= 12000) return 59000 + id - 12000;
  if (id >= 11000) return 57000 + id - 11000;
  return 32000 + id - 10000;
}

bool FrameSwallowsKey(int key, bool scanned) {
  if (key == kKeyEscape || key == kKeyReturn || key == kKeyNumpadEnter) return true;
  return !scanned && key >= kKeyF1 && key <= kKeyF12;
}

}  // namespace ext2::core
