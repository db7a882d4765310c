// The saved log's text report.
#include "controls/log_report.h"

namespace controls {

std::string FormatLogReport(std::string_view header, const std::vector<LogReportRow>& rows) {
  std::string out(header);
  out += "\r\n\r\n";
  const std::string indent(20, ' ');
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    if (!row.activity.empty()) {
      if (i != 0) out += std::string(78, '-') + "\r\n";
      out += row.activity + "\r\n";
    }
    if (!row.text.empty()) out += indent + row.text + "\r\n";
    if (!row.status.empty()) out += indent + row.status + "\r\n";
  }
  return out;
}

std::string LogReportPath(const std::string& path) {
  return path.find(".log") != std::string::npos ? path : path + ".Txt";
}

}  // namespace controls
