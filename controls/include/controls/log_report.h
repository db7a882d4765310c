// The text report both programs write when their log is saved to a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace controls {

struct LogReportRow {
  std::string activity, text, status;
};

// The report, lines ended by CR LF: HEADER and an empty line, then each row's activity (after a
// line of 78 dashes when it is not the first row), text and status, the last two indented by 20
// blanks; empty parts are left out.
std::string FormatLogReport(std::string_view header, const std::vector<LogReportRow>& rows);

// The file written for the chosen PATH: as chosen when it contains ".log", else with ".Txt"
// appended.
std::string LogReportPath(const std::string& path);

// How writing a report ended.
enum class LogReportWrite { kWritten, kNotCreated, kNotWritten };

// Writes REPORT to PATH, replacing a file of that name. Every write, the flush and the close are
// checked; when any of them fails the partly written file is removed and kNotWritten is answered,
// when the file cannot be made at all kNotCreated.
LogReportWrite WriteLogReport(const std::string& path, std::string_view report);

}  // namespace controls
