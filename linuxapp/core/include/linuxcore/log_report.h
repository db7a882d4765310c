// The message log's rows and the text report that Save Log writes.
#pragma once

#include <string>
#include <vector>

struct LogReportRow {
  std::string activity, text, status;
};

// The report, lines ended by CR LF: the header, then each row's activity (after a separator line
// when it is not the first row), text and status, the last two indented by 20 blanks; empty parts
// are left out.
std::string FormatLogReport(const std::vector<LogReportRow>& rows);

// The file name Save Log writes for the chosen PATH: as chosen when it contains ".log", else with
// ".Txt" appended.
std::string LogReportPath(const std::string& path);
