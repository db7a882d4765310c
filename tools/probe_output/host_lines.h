// What the headless hosts keep of the log rows and message boxes the engine hands them, and the
// LOG and MSG lines the probes print of them.
#pragma once

#include <string>

namespace probe {

struct LogRow {
  std::string activity, text, status;
  int icon = 0;
};

struct ShownMessage {
  std::string caption, text;
};

// "LOG", the icon, the activity, the text and the status, tab-separated, the texts escaped.
std::string LogLine(const LogRow& row);
// "MSG", the caption and the text, tab-separated and escaped.
std::string MessageLine(const ShownMessage& message);

}  // namespace probe
