// The enable rules as the real window shows them: the menus when they open (and at idle, while
// one stays open), the toolbar at idle, in the states that matter.
#include "controls/wx/message_box.h"
#include "linuxcore/command_states.h"

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

#include <functional>
#include <map>
#include <set>

#include "ext2engine/recovery.h"
#include "linux_gui_support.h"

using namespace ext2;
using namespace ext2::core;
using namespace ext2::views;
using namespace ext2::app;

namespace {

using namespace guitest;
using namespace ext2::testing;

using Shown = std::map<int, bool>;

void Collect(wxMenu* menu, Shown& out) {
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSubMenu()) {
      Collect(item->GetSubMenu(), out);
    } else if (!item->IsSeparator()) {
      out[CommandOfWxId(item->GetId())] = item->IsEnabled();
    }
  }
}

// Every menu item's state after its menu opened and an idle update ran over it.
Shown Menus(CMainFrame* frame) {
  Shown out;
  wxMenuBar* bar = frame->GetMenuBar();
  for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) {
    wxMenu* menu = bar->GetMenu(i);
    wxMenuEvent open(wxEVT_MENU_OPEN, 0, menu);
    open.SetEventObject(menu);
    frame->ProcessWindowEvent(open);
    menu->UpdateUI();
    Collect(menu, out);
  }
  return out;
}

// Every toolbar button's state after an idle update.
Shown Toolbar(CMainFrame* frame) {
  wxToolBar* bar = frame->GetToolBar();
  bar->UpdateWindowUI(wxUPDATE_UI_FROMIDLE);
  Shown out;
  for (std::size_t i = 0; i < bar->GetToolsCount(); ++i) {
    const wxToolBarToolBase* tool = bar->GetToolByPos(static_cast<int>(i));
    if (!tool->IsSeparator()) out[CommandOfWxId(tool->GetId())] = tool->IsEnabled();
  }
  return out;
}

std::set<int> Enabled(const Shown& shown) {
  std::set<int> on;
  for (const auto& [id, enabled] : shown) {
    if (enabled) on.insert(id);
  }
  return on;
}

// The commands that never depend on the state.
const std::set<int> kAlways = {kIdAdvanceSettings, kIdExit,       kIdViewToolBar, kIdViewStatusBar,
                               kIdViewMessageLog,  kIdHelpTopics, kIdAbout,       kIdLargeIcons,
                               kIdSmallIcons,      kIdList,       kIdDetails};

std::set<int> With(std::set<int> ids, std::initializer_list<int> more) {
  ids.insert(more);
  return ids;
}

// Runs LOOK while the dialog is up, then ends it with ANSWER.
class Look : public wxExpectModalBase<wxDialog, Look> {
 public:
  Look(std::function<void()> look, int answer) : look_(std::move(look)), answer_(answer) {}

 protected:
  int OnInvoked(wxDialog*) const override {
    look_();
    return answer_;
  }

 private:
  std::function<void()> look_;
  int answer_;
};

class CommandStatesInTheWindow : public WorkbenchTest {
 protected:
  // Runs COMMAND and takes the menus and the toolbar as they are at the process's first pump.
  template <class Command>
  void DuringProcess(Command command, Shown& menus, Shown& toolbar) {
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    frame->CallAfter([&] {
      menus = Menus(frame);
      toolbar = Toolbar(frame);
    });
    command();
    Pump();
  }
};

TEST_F(CommandStatesInTheWindow, BeforeAScan) {
  EXPECT_EQ(Enabled(Menus(frame)), With(kAlways, {kCmdSelectPhysicalDisk, kCmdOpenScanInfo}));
  EXPECT_EQ(Enabled(Toolbar(frame)), (std::set<int>{kCmdSelectPhysicalDisk, kIdHelpTopics}));
}

TEST_F(CommandStatesInTheWindow, DuringATreeBuildThenAfterTheScan) {
  Shown menus, toolbar;
  DuringProcess(
      [&] {
        wxTEST_DIALOG(frame->SelectPhysicalDisk(), wxExpectDismissableModal<CSelectPhysicalDiskDlg>(wxID_OK),
                      wxExpectDismissableModal<CChoiceOfTwoDlg>(wxID_OK), ExpectRow<CSelectLogicalDriveDlg>(1),
                      wxExpectDismissableModal<wxDialog>(wxID_OK).Describe("caution"));
      },
      menus, toolbar);
  // Only Stop and what never depends on the state; Open Drive is greyed while busy in the menu,
  // and the buttons keep what the process set at its start.
  EXPECT_EQ(Enabled(menus), With(kAlways, {kCmdStop, kIdClearLog, kIdSaveLog}));
  EXPECT_EQ(Enabled(toolbar), (std::set<int>{kCmdStop, kIdHelpTopics}));

  ASSERT_EQ(App().scanned, 1);
  const std::set<int> scanned = {kCmdSelectPhysicalDisk,
                                 kCmdOpenDrive,
                                 kCmdOpenScanInfo,
                                 kCmdRecoverAll,
                                 kCmdRecoverDeleted,
                                 kCmdAddFileFilter,
                                 kIdSearchDeletedAndLost,
                                 kCmdFind,
                                 kCmdFileMask,
                                 kIdSelectAll,
                                 kIdSaveScanInfo,
                                 kIdClearLog,
                                 kIdSaveLog,
                                 kIdArrangeByName,
                                 kIdArrangeByType,
                                 kIdArrangeBySize,
                                 kIdArrangeByDate};
  std::set<int> expected = kAlways;
  expected.insert(scanned.begin(), scanned.end());
  EXPECT_EQ(Enabled(Menus(frame)), expected);
  EXPECT_EQ(Enabled(Toolbar(frame)), (std::set<int>{kCmdSelectPhysicalDisk, kCmdOpenDrive, kCmdAddFileFilter, kCmdFind,
                                                    kCmdRecoverAll, kCmdRecoverDeleted, kCmdFileMask, kIdHelpTopics}));

  // A folder below Root selected: Go Up.
  CLeftView& tree = *frame->LeftView();
  std::uint32_t folder = 0;
  for (const auto& e : tree.Entries()) {
    if (e.IsFolder() && e.parentInode == kRootInode && e.inode != kRootInode) folder = e.inode;
  }
  ASSERT_TRUE(tree.SelectEntry(folder));
  Pump();
  EXPECT_TRUE(Menus(frame)[kCmdGoUp]);
  EXPECT_TRUE(Toolbar(frame)[kCmdGoUp]);
}

TEST_F(CommandStatesInTheWindow, WithMarksDuringARecoveryAndAfterIt) {
  OpenDrive(1);
  CLeftView& tree = *frame->LeftView();
  controls::TreeItem item = controls::kNoItem;
  for (const auto& e : tree.Entries()) {
    if (e.IsFolder() && e.parentInode == kRootInode && e.inode != kRootInode) item = e.treeItem;
  }
  tree.ClickStateIcon(item);
  Pump();
  Shown menus = Menus(frame);
  EXPECT_TRUE(menus[kCmdRecoverSelected]);
  EXPECT_TRUE(menus[kIdUnselectAll]);
  EXPECT_TRUE(menus[kIdSelectAll]);
  EXPECT_TRUE(Toolbar(frame)[kCmdRecoverSelected]);
  frame->SelectAll();
  EXPECT_FALSE(Menus(frame)[kIdSelectAll]);

  // Mid-recovery, where a file's name is taken in the destination and the recovery asks.
  std::map<std::uint32_t, const ListedEntry*> folders;
  const ListedEntry* file = nullptr;
  for (const auto& e : tree.Entries()) {
    if (e.IsFolder()) folders[e.inode] = &e;
    if (!e.IsFolder() && e.size > 0 && e.deleted == 0 && file == nullptr) file = &e;
  }
  ASSERT_NE(file, nullptr);
  fs::path taken = file->name;
  for (std::uint32_t up = file->parentInode; up != kRootInode; up = folders.at(up)->parentInode) {
    taken = folders.at(up)->name / taken;
  }
  taken = dest / "#Root" / taken;
  fs::create_directories(taken.parent_path());
  WriteFile(taken, "taken");
  Shown toolbar;
  wxTEST_DIALOG(frame->Recover(kRecoverMarked, dest.string()), wxExpectDismissableModal<wxDialog>(wxID_OK),
                Look(
                    [&] {
                      menus = Menus(frame);
                      toolbar = Toolbar(frame);
                    },
                    1009 /* Skip */));
  EXPECT_EQ(Enabled(menus), With(kAlways, {kCmdStop}));
  EXPECT_EQ(Enabled(toolbar), (std::set<int>{kCmdStop, kIdHelpTopics}));

  // Marks cleared as recovered: nothing left to recover selected; the buttons come back at idle.
  menus = Menus(frame);
  EXPECT_FALSE(menus[kCmdRecoverSelected]);
  EXPECT_TRUE(menus[kCmdRecoverAll]);
  toolbar = Toolbar(frame);
  EXPECT_FALSE(toolbar[kCmdRecoverSelected]);
  EXPECT_TRUE(toolbar[kCmdRecoverAll]);
  EXPECT_FALSE(toolbar[kCmdStop]);
}

TEST_F(CommandStatesInTheWindow, AfterFindFindNextUntilNoMoreEntries) {
  OpenDrive(1);
  AppState& app = App();
  const ListedEntry* last = nullptr;
  for (const auto& e : frame->LeftView()->Entries()) {
    if (!e.IsFolder()) last = &e;
  }
  ASSERT_NE(last, nullptr);
  // What Find leaves behind after its match.
  app.findText = last->name;
  app.findLastMatch = 0;
  app.findNext = 1;
  EXPECT_TRUE(Menus(frame)[kIdFindNext]);
  EXPECT_TRUE(Toolbar(frame)[kIdFindNext]);
  wxTEST_DIALOG(
      {
        while (app.findNext) frame->LeftView()->FindNext();
      },
      wxExpectDismissableModal<controls::CMessageBoxDlg>(wxID_OK).Describe("No more entries are available"));
  EXPECT_FALSE(Menus(frame)[kIdFindNext]);
  EXPECT_FALSE(Toolbar(frame)[kIdFindNext]);
}

}  // namespace
