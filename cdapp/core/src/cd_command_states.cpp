// The enable rules and the key filter of CD's main frame.
#include "cdcore/cd_command_states.h"

#include <initializer_list>

namespace cd::core {

namespace {
void Set(CdCommandStates& s, std::initializer_list<int> ids, bool on) {
  for (int id : ids) s[id] = on;
}

constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyNumpadEnter = 370;
constexpr int kKeyF1 = 340;
constexpr int kKeyF12 = 351;

constexpr std::initializer_list<int> kArrange = {kCdIdArrangeByName, kCdIdArrangeByType, kCdIdArrangeBySize,
                                                 kCdIdArrangeByDate};
}  // namespace

CdCommandStates CdUpdateStates(const CdCommandInputs& in) {
  const bool shown = in.contentsShown || in.maskApplied;
  CdCommandStates s = {
      {kCdCmdOpenDrive, !in.busy},
      {kCdCmdRecoverSelected, in.somethingMarked},
      {kCdCmdRecoverAll, shown},
      {kCdCmdRecoverDeleted, shown},
      {kCdCmdAddFileFilter, shown},
      {kCdCmdFind, shown},
      {kCdIdFindNext, in.findNext},
      // A recovery runs without the process-running flag; it can be stopped all the same.
      {kCdCmdStop, in.processRunning || in.recovering},
      {kCdCmdGoUp, shown && !in.caretIsRoot},
      {kCdCmdFileMask, in.contentsShown},
      {kCdCmdHelpTopics, true},
  };
  // Commands with a handler and no rule of their own.
  Set(s,
      {kCdIdCreateImage, kCdIdOpenImage, kCdIdExit, kCdIdRemoveFileFilter, kCdIdSelectAll, kCdIdUnselectAll,
       kCdIdClearLog, kCdIdSaveLog, kCdIdViewToolBar, kCdIdViewStatusBar, kCdIdViewProcessLog, kCdIdAbout},
      true);
  Set(s, kArrange, true);
  Set(s, {kCdIdLargeIcons, kCdIdSmallIcons, kCdIdList, kCdIdDetails}, in.listView);
  return s;
}

CdCommandStates CdMenuStates(const CdCommandInputs& in) {
  CdCommandStates s = CdUpdateStates(in);
  Set(s,
      {kCdIdSelectAll, kCdIdUnselectAll, kCdCmdRecoverSelected, kCdCmdAddFileFilter, kCdIdRemoveFileFilter, kCdCmdGoUp,
       kCdIdClearLog, kCdIdSaveLog, kCdCmdFileMask},
      false);
  Set(s, kArrange, false);
  if (in.busy || in.commandRunning) s[kCdCmdOpenDrive] = false;
  if (in.contentsShown || in.maskApplied) {
    Set(s,
        {kCdCmdRecoverAll, kCdCmdAddFileFilter, kCdCmdFind, kCdIdSelectAll, kCdCmdRecoverDeleted, kCdCmdGoUp,
         kCdCmdFileMask},
        true);
    Set(s, kArrange, true);
    if (in.allMarked) {
      s[kCdIdSelectAll] = false;
      s[kCdIdUnselectAll] = true;
    } else {
      s[kCdIdSelectAll] = true;
      s[kCdIdUnselectAll] = in.markedBytes;
    }
    s[kCdIdFindNext] = in.findNext;
    s[kCdCmdRecoverSelected] = in.somethingMarked;
    s[kCdIdRemoveFileFilter] = in.filterPresent;
  }
  if (!in.contentsShown) s[kCdCmdFind] = false;
  if (in.processRunning) s[kCdCmdStop] = true;
  if (in.imaging && !in.stopFlag) s[kCdIdCreateImage] = s[kCdIdOpenImage] = false;
  if (!in.imaging && in.stopFlag) s[kCdIdOpenImage] = true;
  if (in.logHasRows) s[kCdIdClearLog] = s[kCdIdSaveLog] = true;
  if (in.scanUnderWay) s[kCdIdCreateImage] = s[kCdIdOpenImage] = false;
  if (in.recovering || in.imaging || in.commandRunning) {
    Set(s,
        {kCdIdCreateImage, kCdIdOpenImage, kCdCmdRecoverSelected, kCdCmdRecoverAll, kCdCmdRecoverDeleted,
         kCdCmdFileMask, kCdCmdAddFileFilter, kCdCmdFind},
        false);
  }
  return s;
}

int CdWxId(int command) {
  if (command >= 59392) return command - 47000;
  if (command >= 57344) return command - 46000;
  if (command >= 32768) return command - 22000;
  return command;
}

int CdCommandOfWxId(int id) {
  if (id >= 12392 && id < 13000) return id + 47000;
  if (id >= 11344 && id < 12392) return id + 46000;
  if (id >= 10768 && id < 11344) return id + 22000;
  return id;
}

bool CdFrameSwallowsKey(int key, bool findNext) {
  if (key == kKeyEscape || key == kKeyReturn || key == kKeyNumpadEnter) return true;
  return key >= kKeyF1 && key <= kKeyF12 && !findNext;
}

}  // namespace cd::core
