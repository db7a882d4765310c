// The Save Log report.
#include "linuxcore/log_report.h"

std::string FormatLogReport(const std::vector<LogReportRow>& rows) {
  return controls::FormatLogReport(
      "-----------------Message Log Report of Quarvel Velnora Linux-----------------", rows);
}
