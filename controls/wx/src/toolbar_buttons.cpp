#include "controls/wx/toolbar_buttons.h"

namespace controls {

void AddToolbarButtons(wxToolBar& bar, std::initializer_list<ToolbarButton> buttons,
                       const std::function<int(int)>& wxIdOf, const std::function<wxBitmap(int)>& picture) {
  for (const ToolbarButton& b : buttons) {
    if (b.command == 0) {
      bar.AddSeparator();
    } else {
      bar.AddTool(wxIdOf(b.command), b.tip, picture(b.command), wxNullBitmap, wxITEM_NORMAL, b.tip, b.prompt);
    }
  }
  bar.Realize();
}

}  // namespace controls
