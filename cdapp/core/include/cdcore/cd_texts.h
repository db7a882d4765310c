// Texts the CD frame writes: the Save Process Log report and its file name, and the file name
// Create Image proposes.
#pragma once

#include <string>
#include <vector>

#include "controls/log_report.h"

namespace cd::core {

using CdLogRowTexts = controls::LogReportRow;

// The shared report under this program's header line.
std::string CdLogReport(const std::vector<CdLogRowTexts>& rows);

// The file Save Process Log writes for the chosen PATH.
inline std::string CdLogReportPath(const std::string& path) { return controls::LogReportPath(path); }

// "CD Image 8- December -2026" for the UTC date YEAR, MONTH (1-12), DAY.
std::string CdDefaultImageName(int year, int month, int day);

}  // namespace cd::core
