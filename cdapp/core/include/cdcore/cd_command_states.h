// Which commands of CD's main frame are enabled: the update rule (the toolbar, whenever the
// program is idle) and the menu rule (the menu items and their keys, checked again whenever a
// command is invoked), and the frame's key filter.
#pragma once

#include <map>

#include "cdengine/ports.h"

namespace cd::core {

// Command ids beside those the engine knows (CdCommand).
enum CdMenuCommand : int {
  kCdIdRemoveFileFilter = 32780,
  kCdIdSelectAll = 32783,
  kCdIdUnselectAll = 32784,
  kCdIdFindNext = 32792,
  kCdIdOpenImage = 32798,
  kCdIdCreateImage = 32799,
  kCdIdArrangeByName = 32803,
  kCdIdArrangeByType = 32804,
  kCdIdArrangeBySize = 32805,
  kCdIdArrangeByDate = 32806,
  kCdIdClearLog = 32809,
  kCdIdSaveLog = 32810,
  kCdIdViewProcessLog = 104,
  kCdIdAbout = 57664,
  kCdIdExit = 57665,
  kCdIdViewToolBar = 59392,
  kCdIdViewStatusBar = 59393,
  kCdIdSmallIcons = 59408,
  kCdIdLargeIcons = 59409,
  kCdIdList = 59410,
  kCdIdDetails = 59411,
};

// What the rules read: the program-wide flags, the frame's flags and a few facts of the window.
struct CdCommandInputs {
  bool busy = false;
  bool contentsShown = false;
  bool maskApplied = false;
  bool allMarked = false;
  bool markedBytes = false;  // the marked-bytes flag
  bool somethingMarked = false;
  bool findNext = false;
  bool filterPresent = false;
  bool processRunning = false;
  bool imaging = false;
  bool stopFlag = false;
  bool logHasRows = false;
  bool scanUnderWay = false;
  bool recovering = false;
  bool caretIsRoot = true;  // the caret is the tree's root item (or there is none)
  bool listView = true;     // the list view exists
  // A command is still on its way: its process pumps messages, or has seen Stop (which clears the
  // flags at once) and not yet returned.
  bool commandRunning = false;
};

using CdCommandStates = std::map<int, bool>;

// The update rules: the toolbar buttons, and the menu items the menu rule leaves alone.
CdCommandStates CdUpdateStates(const CdCommandInputs& in);
// Every menu item as it shows when a menu opens.
CdCommandStates CdMenuStates(const CdCommandInputs& in);

// Window ids stay below 0x7FFF: 32775.. maps onto 10775.., 57664.. onto 11664.., 59392.. onto
// 12392..; small ids stay as they are. And back.
int CdWxId(int command);
int CdCommandOfWxId(int id);

// True when the main frame discards a key: Escape and Enter always, F1 to F12 until a Find has
// matched. KEY is a wx key code.
bool CdFrameSwallowsKey(int key, bool findNext);

}  // namespace cd::core
