#include "controls/wx/menu_table.h"

namespace controls {

namespace {

wxMenu* BuildMenu(const std::vector<MenuItem>& items, const std::function<int(int)>& wxIdOf) {
  auto* menu = new wxMenu;
  for (const MenuItem& item : items) {
    if (!item.submenu.empty()) {
      menu->AppendSubMenu(BuildMenu(item.submenu, wxIdOf), wxString::FromUTF8(item.text));
    } else if (item.command == 0) {
      menu->AppendSeparator();
    } else {
      menu->Append(wxIdOf(item.command), wxString::FromUTF8(item.text), wxString::FromUTF8(item.prompt), item.kind);
    }
  }
  return menu;
}

}  // namespace

wxMenuBar* BuildMenuBar(std::initializer_list<MenuTitle> menus, const std::function<int(int)>& wxIdOf,
                        std::initializer_list<int> checked) {
  auto* bar = new wxMenuBar;
  for (const MenuTitle& menu : menus) bar->Append(BuildMenu(menu.items, wxIdOf), wxString::FromUTF8(menu.title));
  for (int command : checked) bar->Check(wxIdOf(command), true);
  return bar;
}

}  // namespace controls
