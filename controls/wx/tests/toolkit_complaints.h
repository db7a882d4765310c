// The toolkit's complaints while an object of this kind lives: GTK, GDK and GObject criticals and
// warnings (a failed "GTK_IS_WIDGET" check and the like) are kept instead of printed, so that a
// window test can ask that none was raised. Only GLib's classic log handlers are used, so the
// program's own log writer stays as it is.
#pragma once

#include <glib.h>

#include <string>
#include <vector>

namespace guitest {

class ToolkitComplaints {
 public:
  ToolkitComplaints() {
    for (const char* domain : kDomains) ids_.push_back(g_log_set_handler(domain, kLevels, &Keep, this));
  }
  ~ToolkitComplaints() {
    for (std::size_t i = 0; i < ids_.size(); ++i) g_log_remove_handler(kDomains[i], ids_[i]);
  }
  ToolkitComplaints(const ToolkitComplaints&) = delete;
  ToolkitComplaints& operator=(const ToolkitComplaints&) = delete;

  // "Domain: message", one a line; empty when nothing was raised.
  std::string Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\n";
    return text;
  }
  bool Empty() const { return lines_.empty(); }

 private:
  static constexpr const char* kDomains[] = {"Gtk", "Gdk", "GLib-GObject"};
  static constexpr GLogLevelFlags kLevels =
      static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);

  static void Keep(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer self) {
    static_cast<ToolkitComplaints*>(self)->lines_.push_back(std::string(domain != nullptr ? domain : "") + ": " +
                                                            (message != nullptr ? message : ""));
  }

  std::vector<guint> ids_;
  std::vector<std::string> lines_;
};

}  // namespace guitest
