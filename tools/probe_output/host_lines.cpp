// The LOG and MSG lines of the headless hosts.
#include "host_lines.h"

#include "probe_output.h"

namespace probe {

std::string LogLine(const LogRow& row) {
  return "LOG\t" + std::to_string(row.icon) + "\t" + EscapeField(row.activity) + "\t" + EscapeField(row.text) + "\t" +
         EscapeField(row.status);
}

std::string MessageLine(const ShownMessage& message) {
  return "MSG\t" + EscapeField(message.caption) + "\t" + EscapeField(message.text);
}

}  // namespace probe
