// Which commands of the main frame are enabled: the menu rule, applied each time a menu opens,
// and the toolbar rule, applied whenever the program is idle.
#pragma once

#include <map>

#include "ext2engine/ports.h"

namespace ext2::core {

// Command ids of the menus beside those the engine knows (ToolbarCommand).
enum Command : int {
  kIdRemoveFileFilter = 32778,
  kIdFindNext = 32780,
  kIdSelectAll = 32782,
  kIdUnselectAll = 32783,
  kIdSaveScanInfo = 32784,
  kIdClearLog = 32785,
  kIdSaveLog = 32786,
  kIdArrangeByName = 32790,
  kIdArrangeByType = 32791,
  kIdArrangeBySize = 32792,
  kIdArrangeByDate = 32793,
  kIdAdvanceSettings = 32796,
  kIdSearchDeletedAndLost = 32798,
  kIdViewMessageLog = 32802,
  kIdUnMask = 32803,
  kIdHelpTopics = 32804,
  kIdExit = 57665,
  kIdAbout = 57664,
  kIdViewToolBar = 59392,
  kIdViewStatusBar = 59393,
  kIdLargeIcons = 59409,
  kIdSmallIcons = 59408,
  kIdList = 59410,
  kIdDetails = 59411,
};

// What the rules read: the program-wide flags, the frame's flags and a few facts of the window.
struct CommandInputs {
  bool scanned = false;         // S
  bool maskApplied = false;     // M
  bool recovering = false;      // R
  bool processRunning = false;  // P
  bool busy = false;
  bool abort = false;
  bool driveOpen = false;
  bool driveListNotEmpty = false;
  bool recoverSelected = false;
  bool allMarked = false;
  bool marked = false;
  bool findNext = false;
  bool filterPresent = false;
  bool deletedAndLostSearched = false;
  bool goUp = false;
  bool selectedIsRoot = true;  // the tree's selected item is "Root"
  bool logHasRows = false;
  bool unmaskedListSaved = false;
  bool rightPane = true;
};

using CommandStates = std::map<int, bool>;

// The toolbar's buttons.
CommandStates ToolbarStates(const CommandInputs& in);
// Every menu command.
CommandStates MenuStates(const CommandInputs& in);

// Window ids stay below 0x7FFF: the commands' ids map onto 10771.. (32771..), 11664.. (57664..)
// and 12392.. (59392..), and back.
int WxId(int command);
int CommandOfWxId(int id);

// True when the main frame swallows a key: Esc and Enter always, F1 to F12 until a drive is scanned.
// KEY is a wx key code.
bool FrameSwallowsKey(int key, bool scanned);

}  // namespace ext2::core
