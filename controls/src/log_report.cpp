// The saved log's text report.
#include "controls/log_report.h"

#include <cstdio>

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

LogReportWrite WriteLogReport(const std::string& path, std::string_view report) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return LogReportWrite::kNotCreated;
  bool whole = std::fwrite(report.data(), 1, report.size(), file) == report.size();
  whole = std::fflush(file) == 0 && whole;
  whole = std::fclose(file) == 0 && whole;
  if (whole) return LogReportWrite::kWritten;
  std::remove(path.c_str());
  return LogReportWrite::kNotWritten;
}

}  // namespace controls
