#include <gtest/gtest.h>

#include "linuxcore/log_report.h"
#include "linuxcore/size_text.h"

using namespace ext2;
using namespace ext2::core;

TEST(SizeText, UnitsByRangeAndTheirFractions) {
  struct Case {
    std::uint64_t bytes;
    bool marked;
    const char* text;
  } cases[] = {
      {1023, false, "   Total 0 Bytes in 3 Files in 2 Folders"},
      {1024, false, "   Total 1.00 KB in 3 Files in 2 Folders"},
      {1536, true, "   Marked 1.50 KB in 3 Files in 2 Folders"},
      {1048575, false, "   Total 1023.99 KB in 3 Files in 2 Folders"},
      {1048576, false, "   Total 1.000 MB in 3 Files in 2 Folders"},
      {1053819, false, "   Total 1.005 MB in 3 Files in 2 Folders"},
      {1073741824, true, "   Marked 1.000 GB in 3 Files in 2 Folders"},
      {5ull << 40, false, "   Total 5120.000 GB in 3 Files in 2 Folders"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSizeText(c.bytes, 3, 2, c.marked), c.text);
  EXPECT_EQ(FormatSizeText(1025, 105000, 5001, false), "   Total 1.00 KB in 105000 Files in 5001 Folders");
}

TEST(LogReport, BlocksBySeparatedActivities) {
  EXPECT_EQ(FormatLogReport({}),
            "-----------------Message Log Report of Quarvel Velnora Linux-----------------\r\n\r\n");
  const std::string header = FormatLogReport({});
  const std::string in(20, ' ');
  EXPECT_EQ(FormatLogReport({{"Creating directory tree", "Process started", "Started on X"},
                             {"", "", "Done"},
                             {"Recovering file", "", ""}}),
            header + "Creating directory tree\r\n" + in + "Process started\r\n" + in + "Started on X\r\n" + in +
                "Done\r\n" + std::string(78, '-') + "\r\nRecovering file\r\n");
  EXPECT_EQ(FormatLogReport({{"", "a", ""}, {"", "", "b"}}), header + in + "a\r\n" + in + "b\r\n");
}

TEST(LogReport, FileNameRule) {
  EXPECT_EQ(LogReportPath("/tmp/report"), "/tmp/report.Txt");
  EXPECT_EQ(LogReportPath("/tmp/report.log"), "/tmp/report.log");
  EXPECT_EQ(LogReportPath("/tmp/report.LOG"), "/tmp/report.LOG.Txt");
}

#include "linuxcore/command_states.h"

TEST(CommandStates, DuringARecoveryOnlyStopSettingsExitViewsAndHelpStayInTheMenus) {
  CommandInputs in;
  in.scanned = in.recovering = in.processRunning = in.busy = in.driveOpen = in.driveListNotEmpty = true;
  in.recoverSelected = in.marked = in.logHasRows = in.findNext = true;
  const CommandStates menu = MenuStates(in);
  std::vector<int> enabled;
  for (const auto& [id, on] : menu) {
    if (on) enabled.push_back(id);
  }
  // Find Next follows its own flag; the list styles follow the right pane.
  EXPECT_EQ(enabled, (std::vector<int>{kIdFindNext, kCmdStop, kIdAdvanceSettings, kIdViewMessageLog, kIdHelpTopics,
                                       kIdAbout, kIdExit, kIdViewToolBar, kIdViewStatusBar, kIdSmallIcons,
                                       kIdLargeIcons, kIdList, kIdDetails}));
}

TEST(CommandStates, StatesThatMatter) {
  CommandInputs idle;  // nothing opened yet
  idle.abort = true;
  auto menu = MenuStates(idle);
  EXPECT_FALSE(menu[kCmdOpenDrive]);  // no logical drive found
  EXPECT_TRUE(menu[kCmdSelectPhysicalDisk]);
  EXPECT_FALSE(menu[kCmdFind]);
  EXPECT_FALSE(menu[kIdUnMask]);
  EXPECT_FALSE(menu[kIdClearLog]);

  CommandInputs busy = idle;
  busy.driveListNotEmpty = busy.busy = busy.processRunning = busy.driveOpen = true;
  busy.abort = false;
  menu = MenuStates(busy);
  EXPECT_FALSE(menu[kCmdOpenDrive]);
  EXPECT_FALSE(menu[kCmdSelectPhysicalDisk]);
  EXPECT_TRUE(menu[kCmdStop]);
  EXPECT_TRUE(ToolbarStates(busy)[kCmdOpenDrive]);

  CommandInputs scanned = idle;
  scanned.scanned = scanned.driveOpen = true;
  scanned.abort = false;
  menu = MenuStates(scanned);
  EXPECT_TRUE(menu[kIdSelectAll]);
  EXPECT_FALSE(menu[kIdUnselectAll]);
  EXPECT_FALSE(menu[kCmdRecoverSelected]);
  EXPECT_TRUE(menu[kIdSearchDeletedAndLost]);
  EXPECT_TRUE(menu[kCmdSelectPhysicalDisk]);
  scanned.allMarked = scanned.recoverSelected = scanned.deletedAndLostSearched = true;
  menu = MenuStates(scanned);
  EXPECT_FALSE(menu[kIdSelectAll]);
  EXPECT_TRUE(menu[kIdUnselectAll]);
  EXPECT_TRUE(menu[kCmdRecoverSelected]);
  EXPECT_FALSE(menu[kIdSearchDeletedAndLost]);
}

TEST(CommandStates, WindowIdsRoundTripBelowTheToolkitLimit) {
  for (int command : std::initializer_list<int>{kCmdSelectPhysicalDisk, kIdHelpTopics, kIdAbout, kIdExit, kIdViewToolBar, kIdDetails}) {
    EXPECT_LT(WxId(command), 0x7FFF);
    EXPECT_GE(WxId(command), 10000);
    EXPECT_EQ(CommandOfWxId(WxId(command)), command);
  }
}

TEST(CommandStates, KeyFilter) {
  EXPECT_TRUE(FrameSwallowsKey(27, true));
  EXPECT_TRUE(FrameSwallowsKey(13, true));
  EXPECT_TRUE(FrameSwallowsKey(342, false));  // F3 before a scan
  EXPECT_FALSE(FrameSwallowsKey(342, true));
  EXPECT_FALSE(FrameSwallowsKey('A', false));
}
