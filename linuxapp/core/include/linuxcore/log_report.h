// The message log's rows and the text report that Save Log writes.
#pragma once

#include <string>
#include <vector>

#include "controls/log_report.h"

namespace ext2::core {

using LogReportRow = controls::LogReportRow;

// The shared report under this program's header line.
std::string FormatLogReport(const std::vector<LogReportRow>& rows);

using controls::LogReportPath;

}  // namespace ext2::core
