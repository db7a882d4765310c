// A frame's toolbar from a table of buttons: each with its command, tool tip and the prompt that
// pane 0 shows while the pointer is over it; a command of 0 stands for a separator.
#pragma once

#include <wx/bitmap.h>
#include <wx/toolbar.h>

#include <functional>
#include <initializer_list>

namespace controls {

struct ToolbarButton {
  int command;  // 0: a separator
  const char* tip;
  const char* prompt;
};

// Adds the buttons in order, each under wxIdOf(command) with picture(command), and realizes the bar.
void AddToolbarButtons(wxToolBar& bar, std::initializer_list<ToolbarButton> buttons,
                       const std::function<int(int)>& wxIdOf, const std::function<wxBitmap(int)>& picture);

}  // namespace controls
