// Pictures of windows for review, shared by the programs' screenshot tests: a window draws itself
// into an image surface of its own size (a screen blit under Xvfb shows whatever was composited
// last) and the surface is written as a PNG. Needs GTK and the gui_test_support.h pump.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/testing.h>
#include <wx/window.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "gui_test_support.h"

namespace guitest {

// Draws WINDOW as it is now into FOLDER/NAME.png; false when nothing could be drawn.
inline bool Shoot(wxWindow* window, const std::filesystem::path& folder, const std::string& name) {
  GtkWidget* widget = GTK_WIDGET(window->GetHandle());
  GtkAllocation a{};
  gtk_widget_get_allocation(widget, &a);
  if (a.width <= 1 || a.height <= 1) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, a.width, a.height);
  cairo_t* cr = cairo_create(surface);
  gtk_widget_draw(widget, cr);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, (folder / (name + ".png")).c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

// Answers a modal dialog with ANSWER after showing it for a moment and taking its picture into
// FOLDER; PREPARE may set its controls first.
template <class T = wxDialog>
class ShootModal : public wxExpectModalBase<T, ShootModal<T>> {
 public:
  ShootModal(std::filesystem::path folder, std::string name, int answer, std::function<void(T*)> prepare = {})
      : folder_(std::move(folder)), name_(std::move(name)), answer_(answer), prepare_(std::move(prepare)) {}

 protected:
  int OnInvoked(T* dlg) const override {
    if (prepare_) prepare_(dlg);
    dlg->Show();
    Pump(std::chrono::milliseconds(150));
    EXPECT_TRUE(Shoot(dlg, folder_, name_)) << name_;
    dlg->Hide();
    return answer_;
  }

 private:
  std::filesystem::path folder_;
  std::string name_;
  int answer_;
  std::function<void(T*)> prepare_;
};

}  // namespace guitest
