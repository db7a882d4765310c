// Texts the CD frame writes: the Save Process Log report and its file name, and the file name
// Create Image proposes.
#pragma once

#include <string>
#include <vector>

struct CdLogRowTexts {
  std::string activity, text, status;
};

// The report, lines ended by CR LF: the header, then each row's activity (after a line of 78
// dashes when it is not the first row), text and status, the last two indented by 20 blanks;
// empty parts are left out.
std::string CdLogReport(const std::vector<CdLogRowTexts>& rows);

// The file Save Process Log writes for the chosen PATH: as chosen when it contains ".log", else
// with ".Txt" appended.
std::string CdLogReportPath(const std::string& path);

// "CD Image 8- December -2026" for the UTC date YEAR, MONTH (1-12), DAY.
std::string CdDefaultImageName(int year, int month, int day);
