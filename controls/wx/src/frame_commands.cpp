// The commands of a main frame: the rule checked at each invocation, the menus and buttons kept
// in step with the rules, and close requests held back while a command runs.
#include "controls/wx/frame_commands.h"

#include <wx/toolbar.h>

#include <utility>

namespace controls {

namespace {

bool Enabled(const CommandStates& states, int command) {
  const auto it = states.find(command);
  return it == states.end() || it->second;
}

}  // namespace

FrameCommands::FrameCommands(wxFrame& frame, CommandRules rules) : frame_(frame), rules_(std::move(rules)) {
  frame_.Bind(wxEVT_UPDATE_UI, &FrameCommands::OnUpdateUi, this);
}

void FrameCommands::On(int command, std::function<void()> handler) {
  OnEvent(command, [handler = std::move(handler)](wxCommandEvent&) { handler(); });
}

void FrameCommands::OnEvent(int command, std::function<void(wxCommandEvent&)> handler) {
  frame_.Bind(
      wxEVT_MENU,
      [this, command, handler = std::move(handler)](wxCommandEvent& event) {
        const bool button = dynamic_cast<wxToolBar*>(event.GetEventObject()) != nullptr;
        Run(command, button ? CommandRoad::Toolbar : CommandRoad::Menu, [&] { handler(event); });
      },
      rules_.wxIdOf(command));
}

bool FrameCommands::Allowed(int command, CommandRoad road) const {
  if (road == CommandRoad::Menu) return Enabled(rules_.menu(), command);
  const wxToolBar* bar = frame_.GetToolBar();
  const int id = rules_.wxIdOf(command);
  if (bar != nullptr && bar->FindById(id) != nullptr && !bar->GetToolEnabled(id)) return false;
  if (!Enabled(rules_.toolbar(), command)) return false;
  return !Running() || Enabled(rules_.menu(), command);
}

bool FrameCommands::Run(int command, CommandRoad road, const std::function<void()>& action) {
  if (!Allowed(command, road)) return false;
  ++depth_;
  struct Leave {
    FrameCommands& self;
    ~Leave() {
      if (--self.depth_ == 0) self.AfterCommands();
    }
  } leave{*this};
  action();
  return true;
}

void FrameCommands::ApplyMenuRule(wxMenu* menu) const {
  if (menu == nullptr) return;
  const CommandStates states = rules_.menu();
  for (wxMenuItem* item : menu->GetMenuItems()) {
    if (item->IsSubMenu()) {
      ApplyMenuRule(item->GetSubMenu());
      continue;
    }
    const auto it = states.find(rules_.commandOf(item->GetId()));
    if (it != states.end()) item->Enable(it->second);
  }
}

bool FrameCommands::DeferClose(wxCloseEvent& event) {
  if (!Running() || !event.CanVeto()) return false;
  closePending_ = true;
  event.Veto();
  return true;
}

void FrameCommands::OnUpdateUi(wxUpdateUIEvent& event) {
  const bool menu = dynamic_cast<wxMenu*>(event.GetEventObject()) != nullptr;
  const bool button = dynamic_cast<wxToolBar*>(event.GetEventObject()) != nullptr;
  const int command = rules_.commandOf(event.GetId());
  if (menu || (button && !Running() && !rules_.processRunning())) {
    const CommandStates states = menu ? rules_.menu() : rules_.toolbar();
    const auto it = states.find(command);
    if (it != states.end()) {
      event.Enable(it->second);
      return;
    }
  }
  event.Skip();
}

void FrameCommands::AfterCommands() {
  if (!closePending_) return;
  closePending_ = false;
  frame_.Close();
}

}  // namespace controls
