// The commands of a main frame and their enable rules. A command runs only when its rule, asked at
// the moment it is invoked, enables it, whether it came by a menu item, a key or a toolbar button;
// otherwise the invocation does nothing. Menu items show the menu rule whenever they are looked
// at; toolbar buttons show the toolbar rule while nothing runs (a process sets them at its start).
// The frame also learns here whether a command is still on the stack (a process pumping messages),
// so that a close request waits until it has returned.
#pragma once

#include <wx/event.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <functional>
#include <map>
#include <vector>

namespace controls {

// Command id -> enabled. A command without an entry has no rule: it is always enabled.
using CommandStates = std::map<int, bool>;

// The frame's rules, asked each time they are needed.
struct CommandRules {
  // Every menu item, and the key shown beside it.
  std::function<CommandStates()> menu;
  // Every toolbar button.
  std::function<CommandStates()> toolbar;
  // True while a process runs; the buttons then stay as the process set them.
  std::function<bool()> processRunning;
  // A command's window id, and back.
  std::function<int(int)> wxIdOf;
  std::function<int(int)> commandOf;
};

// How a command was invoked: a menu item (or its key), or a toolbar button.
enum class CommandRoad { Menu, Toolbar };

class FrameCommands {
 public:
  FrameCommands(wxFrame& frame, CommandRules rules);
  FrameCommands(const FrameCommands&) = delete;
  FrameCommands& operator=(const FrameCommands&) = delete;

  // HANDLER carries out COMMAND whenever it is invoked and allowed at that moment.
  void On(int command, std::function<void()> handler);
  // The same for a handler that reads the event (a check item's new state).
  void OnEvent(int command, std::function<void(wxCommandEvent&)> handler);

  // Whether COMMAND may run now by ROAD: by a menu item or key, when the menu rule enables it; by a
  // button, when the button shows enabled and the toolbar rule enables it, and, while another
  // command is still running, the menu rule too (a button never starts what its menu item would
  // refuse during a process).
  bool Allowed(int command, CommandRoad road) const;
  // Runs ACTION as COMMAND invoked by ROAD: when allowed, counted as a running command. True when
  // it ran.
  bool Run(int command, CommandRoad road, const std::function<void()>& action);

  // Gives MENU's items, and those of its submenus, the menu rule as it is now.
  void ApplyMenuRule(wxMenu* menu) const;

  // True while a command's handler is on the stack (a process it started may be pumping messages).
  bool Running() const { return depth_ > 0; }
  // While a command runs, a close request that may be refused waits: EVENT is vetoed and the frame
  // is asked to close again once the outermost command has returned. True when it was deferred.
  bool DeferClose(wxCloseEvent& event);

 private:
  void OnUpdateUi(wxUpdateUIEvent& event);
  void AfterCommands();

  wxFrame& frame_;
  CommandRules rules_;
  int depth_ = 0;
  bool closePending_ = false;
};

}  // namespace controls
