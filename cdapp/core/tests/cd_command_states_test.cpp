// The enable rules of CD's menus and toolbar in the states that matter, and the key filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cdcore/cd_command_states.h"

using namespace cd;
using namespace cd::core;

namespace {

struct Case {
  const char* name;
  CdCommandInputs in;
  std::vector<int> menuOn, menuOff, toolbarOn, toolbarOff;
};

CdCommandInputs Shown() {
  CdCommandInputs in;
  in.contentsShown = true;
  return in;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    CdCommandInputs in;  // just started
    cases.push_back({"start", in, {kCdCmdOpenDrive, kCdIdCreateImage, kCdIdOpenImage, kCdIdExit, kCdIdAbout},
                     {kCdIdSelectAll, kCdIdUnselectAll, kCdCmdRecoverSelected, kCdCmdRecoverAll, kCdCmdFind,
                      kCdIdFindNext, kCdCmdFileMask, kCdCmdGoUp, kCdIdRemoveFileFilter, kCdIdClearLog, kCdIdSaveLog,
                      kCdCmdStop, kCdIdArrangeByName},
                     {kCdCmdOpenDrive, kCdCmdHelpTopics},
                     {kCdCmdRecoverAll, kCdCmdFind, kCdCmdFileMask, kCdCmdGoUp, kCdCmdStop, kCdCmdRecoverSelected}});
  }
  {
    CdCommandInputs in;  // a scan under way
    in.busy = in.processRunning = in.scanUnderWay = true;
    cases.push_back({"scanning", in, {kCdCmdStop}, {kCdCmdOpenDrive, kCdIdCreateImage, kCdIdOpenImage, kCdCmdFind},
                     {kCdCmdStop}, {kCdCmdOpenDrive}});
  }
  {
    CdCommandInputs in = Shown();  // a scan has ended
    cases.push_back({"shown", in,
                     {kCdCmdRecoverAll, kCdCmdRecoverDeleted, kCdCmdAddFileFilter, kCdCmdFind, kCdIdSelectAll,
                      kCdCmdGoUp, kCdCmdFileMask, kCdIdArrangeByDate, kCdIdCreateImage, kCdIdOpenImage},
                     {kCdIdUnselectAll, kCdCmdRecoverSelected, kCdIdFindNext, kCdIdRemoveFileFilter, kCdCmdStop},
                     {kCdCmdRecoverAll, kCdCmdFind, kCdCmdFileMask},
                     // Go Up's button is grey on Root while its menu item is enabled.
                     {kCdCmdGoUp, kCdCmdRecoverSelected}});
  }
  {
    CdCommandInputs in = Shown();
    in.caretIsRoot = false;
    in.somethingMarked = in.markedBytes = in.findNext = in.filterPresent = in.logHasRows = true;
    cases.push_back({"marked", in,
                     {kCdCmdRecoverSelected, kCdIdSelectAll, kCdIdUnselectAll, kCdIdFindNext, kCdIdRemoveFileFilter,
                      kCdIdClearLog, kCdIdSaveLog},
                     {},
                     {kCdCmdGoUp, kCdCmdRecoverSelected, kCdIdFindNext},
                     {}});
  }
  {
    CdCommandInputs in = Shown();
    in.allMarked = in.somethingMarked = true;
    cases.push_back({"all marked", in, {kCdIdUnselectAll}, {kCdIdSelectAll}, {}, {}});
  }
  {
    CdCommandInputs in;  // a file mask applied: contents count as shown, except for Find and File Mask
    in.maskApplied = true;
    cases.push_back({"masked", in, {kCdCmdRecoverAll, kCdIdSelectAll, kCdCmdFileMask, kCdCmdAddFileFilter},
                     {kCdCmdFind}, {kCdCmdRecoverAll, kCdCmdFind}, {kCdCmdFileMask}});
  }
  {
    CdCommandInputs in = Shown();  // recovering
    in.recovering = in.busy = in.somethingMarked = true;
    cases.push_back({"recovering", in, {kCdIdSelectAll, kCdCmdStop},
                     {kCdIdCreateImage, kCdIdOpenImage, kCdCmdRecoverSelected, kCdCmdRecoverAll, kCdCmdRecoverDeleted,
                      kCdCmdFileMask, kCdCmdAddFileFilter, kCdCmdFind, kCdCmdOpenDrive},
                     {kCdCmdStop},
                     {}});
  }
  {
    CdCommandInputs in = Shown();  // copying the disc into an image
    in.imaging = in.processRunning = in.busy = true;
    cases.push_back({"imaging", in, {kCdCmdStop},
                     {kCdIdCreateImage, kCdIdOpenImage, kCdCmdRecoverAll, kCdCmdFind, kCdCmdFileMask}, {kCdCmdStop},
                     {}});
  }
  {
    CdCommandInputs in = Shown();  // stopped while imaging: Open Image comes back at once
    in.imaging = in.stopFlag = true;
    cases.push_back({"imaging stopped", in, {}, {kCdIdOpenImage, kCdIdCreateImage}, {}, {}});
    in.imaging = false;
    cases.push_back({"stopped", in, {kCdIdOpenImage, kCdIdCreateImage}, {}, {}, {}});
  }
  {
    CdCommandInputs in = Shown();  // Stop has cleared the flags; the stopped process has not returned yet
    in.commandRunning = in.somethingMarked = true;
    cases.push_back({"stopped, not yet returned", in, {kCdIdSelectAll, kCdCmdGoUp},
                     {kCdCmdOpenDrive, kCdIdCreateImage, kCdIdOpenImage, kCdCmdRecoverSelected, kCdCmdRecoverAll,
                      kCdCmdRecoverDeleted, kCdCmdFileMask, kCdCmdAddFileFilter, kCdCmdFind},
                     {},
                     {}});
  }
  return cases;
}

TEST(CdCommandStates, MenuAndToolbarRules) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const CdCommandStates menu = CdMenuStates(c.in);
    const CdCommandStates bar = CdUpdateStates(c.in);
    for (int id : c.menuOn) EXPECT_TRUE(menu.at(id)) << "menu " << id;
    for (int id : c.menuOff) EXPECT_FALSE(menu.at(id)) << "menu " << id;
    for (int id : c.toolbarOn) EXPECT_TRUE(bar.at(id)) << "toolbar " << id;
    for (int id : c.toolbarOff) EXPECT_FALSE(bar.at(id)) << "toolbar " << id;
  }
}

TEST(CdCommandStates, KeyFilterAndWindowIds) {
  constexpr int kEscape = 27, kReturn = 13, kF1 = 340, kF3 = 342, kF12 = 351, kLetterA = 'A';
  for (int key : {kEscape, kReturn}) {
    EXPECT_TRUE(CdFrameSwallowsKey(key, false));
    EXPECT_TRUE(CdFrameSwallowsKey(key, true));
  }
  for (int key : {kF1, kF3, kF12}) {
    EXPECT_TRUE(CdFrameSwallowsKey(key, false));
    EXPECT_FALSE(CdFrameSwallowsKey(key, true));
  }
  EXPECT_FALSE(CdFrameSwallowsKey(kLetterA, false));
  for (int id : std::vector<int>{104, kCdCmdOpenDrive, kCdIdArrangeByDate, kCdIdClearLog, kCdCmdFileMask, kCdIdAbout, kCdIdExit,
                 kCdCmdHelpTopics, kCdIdViewToolBar, kCdIdDetails}) {
    EXPECT_LT(CdWxId(id), 0x7FFF);
    EXPECT_EQ(CdCommandOfWxId(CdWxId(id)), id);
  }
}

}  // namespace
