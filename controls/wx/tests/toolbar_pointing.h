// Moves the real pointer over a toolbar button (GTK: the button's place comes from the toolbar's
// own widget, as wxToolBar does not tell it).
#pragma once

#include <gtk/gtk.h>
#include <wx/toolbar.h>

#include "real_input.h"

namespace guitest {

// The GtkToolbar at or below WIDGET, or null.
inline GtkWidget* FindGtkToolbar(GtkWidget* widget) {
  if (GTK_IS_TOOLBAR(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  GtkWidget* found = nullptr;
  for (GList* c = children; c != nullptr && found == nullptr; c = c->next) found = FindGtkToolbar(GTK_WIDGET(c->data));
  g_list_free(children);
  return found;
}

// Moves the pointer to the middle of the button ID of BAR; false when no such button is shown.
inline bool PointAtTool(wxToolBar* bar, int id) {
  GtkWidget* widget = FindGtkToolbar(GTK_WIDGET(bar->GetHandle()));
  if (widget == nullptr) return false;
  const int pos = bar->GetToolPos(id);
  if (pos == wxNOT_FOUND) return false;
  GtkToolItem* item = gtk_toolbar_get_nth_item(GTK_TOOLBAR(widget), pos);
  if (item == nullptr) return false;
  GtkAllocation a{};
  gtk_widget_get_allocation(GTK_WIDGET(item), &a);
  int x = 0, y = 0;
  GtkWidget* outer = GTK_WIDGET(bar->GetHandle());
  if (!gtk_widget_translate_coordinates(GTK_WIDGET(item), outer, a.width / 2, a.height / 2, &x, &y)) return false;
  PointAt(bar, wxPoint(x, y));
  Settle(150);
  return true;
}

}  // namespace guitest
