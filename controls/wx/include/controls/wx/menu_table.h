// A frame's menu bar from a table, as its toolbar is: menus of items, each with its command, text
// and the prompt that pane 0 shows while it is highlighted; a command of 0 stands for a separator,
// an item with SUBMENU set opens that menu.
#pragma once

#include <wx/menu.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace controls {

struct MenuItem {
  int command;  // 0: a separator
  const char* text;
  const char* prompt;
  wxItemKind kind = wxITEM_NORMAL;
  std::vector<MenuItem> submenu = {};
};

struct MenuTitle {
  const char* title;
  std::vector<MenuItem> items;
};

// The menu bar of MENUS in order, each item under wxIdOf(command); the items of CHECKED are
// checked.
wxMenuBar* BuildMenuBar(std::initializer_list<MenuTitle> menus, const std::function<int(int)>& wxIdOf,
                        std::initializer_list<int> checked);

}  // namespace controls
