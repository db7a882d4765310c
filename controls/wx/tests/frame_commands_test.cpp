// The main frames' command mechanism on a frame of its own with a menu and a toolbar: a command
// runs only when the rule of its road allows it at the moment it is invoked, menu items follow the
// menu rule, buttons stay as a process set them, and a close request waits for the running command.
#include "controls/wx/frame_commands.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/toolbar.h>
#include <wx/weakref.h>

#include <memory>

#include "gui_test_support.h"

namespace {

using controls::CommandRoad;
using controls::CommandStates;

constexpr int kCommand = 20;  // menu item and button
constexpr int kMenuOnly = 21;

class FrameCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "commands", wxDefaultPosition, wxSize(400, 300));
    menu = new wxMenu;
    menu->Append(kCommand, "Command");
    menu->Append(kMenuOnly, "Menu only");
    auto* bar = new wxMenuBar;
    bar->Append(menu, "Menu");
    frame->SetMenuBar(bar);
    tools = frame->CreateToolBar();
    tools->AddTool(kCommand, "Command", wxArtProvider::GetBitmap(wxART_NEW, wxART_TOOLBAR));
    tools->Realize();
    controls::CommandRules rules;
    rules.menu = [this] { return menuRule; };
    rules.toolbar = [this] { return toolbarRule; };
    rules.processRunning = [this] { return processRunning; };
    rules.wxIdOf = [](int command) { return command; };
    rules.commandOf = [](int id) { return id; };
    commands = std::make_unique<controls::FrameCommands>(*frame, std::move(rules));
    commands->On(kCommand, [this] { ++runs; });
    frame->Show();
    guitest::Pump(std::chrono::milliseconds(50));
  }
  void TearDown() override {
    if (frame != nullptr) frame->Destroy();
    guitest::Pump(std::chrono::milliseconds(20));
  }

  // The command as the menu item (or its key) or the button sends it.
  void Invoke(wxObject* from) {
    wxCommandEvent event(wxEVT_MENU, kCommand);
    event.SetEventObject(from);
    frame->ProcessWindowEvent(event);
  }

  wxFrame* frame = nullptr;
  wxMenu* menu = nullptr;
  wxToolBar* tools = nullptr;
  std::unique_ptr<controls::FrameCommands> commands;
  CommandStates menuRule{{kCommand, false}, {kMenuOnly, true}};
  CommandStates toolbarRule{{kCommand, true}};
  bool processRunning = false;
  int runs = 0;
};

TEST_F(FrameCommandsTest, EachRoadAsksItsRuleAtTheMomentOfInvocation) {
  // The menu item shows enabled (as after an earlier menu), the rule greys it now: nothing runs.
  menu->Enable(kCommand, true);
  Invoke(menu);
  EXPECT_EQ(runs, 0);
  menuRule[kCommand] = true;
  Invoke(menu);
  EXPECT_EQ(runs, 1);
  // A button: the toolbar rule and the button as shown; the menu rule only while a command runs.
  menuRule[kCommand] = false;
  Invoke(tools);
  EXPECT_EQ(runs, 2);
  commands->Run(kMenuOnly, CommandRoad::Menu, [&] { Invoke(tools); });
  EXPECT_EQ(runs, 2);
  tools->EnableTool(kCommand, false);
  Invoke(tools);
  EXPECT_EQ(runs, 2);
  tools->EnableTool(kCommand, true);
  toolbarRule[kCommand] = false;
  Invoke(tools);
  EXPECT_EQ(runs, 2);
  // A command without a rule always runs.
  EXPECT_TRUE(commands->Allowed(99, CommandRoad::Menu));
}

TEST_F(FrameCommandsTest, MenusFollowTheMenuRuleButtonsStayAsAProcessSetThem) {
  menu->UpdateUI(frame);
  EXPECT_FALSE(menu->IsEnabled(kCommand));
  menuRule[kCommand] = true;
  menu->UpdateUI(frame);
  EXPECT_TRUE(menu->IsEnabled(kCommand));
  toolbarRule[kCommand] = false;
  processRunning = true;
  tools->UpdateWindowUI();
  EXPECT_TRUE(tools->GetToolEnabled(kCommand));
  processRunning = false;
  tools->UpdateWindowUI();
  EXPECT_FALSE(tools->GetToolEnabled(kCommand));
}

TEST_F(FrameCommandsTest, ACloseRequestWaitsForTheRunningCommand) {
  int closes = 0;
  frame->Bind(wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& event) {
    ++closes;
    if (commands->DeferClose(event)) return;
    frame->Destroy();
  });
  bool closedInside = true;
  commands->Run(kMenuOnly, CommandRoad::Menu, [&] {
    closedInside = frame->Close();
    EXPECT_FALSE(wxTheApp->IsScheduledForDestruction(frame));
  });
  EXPECT_FALSE(closedInside);
  EXPECT_EQ(closes, 2);
  EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(frame));
  wxWeakRef<wxFrame> gone(frame);
  frame = nullptr;
  guitest::Pump(std::chrono::milliseconds(50));
  EXPECT_FALSE(gone);
}

}  // namespace
