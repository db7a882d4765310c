// The Save Log report.
#include "linuxcore/log_report.h"

namespace ext2::core {

std::string FormatLogReport(const std::vector<LogReportRow>& rows) {
  return controls::FormatLogReport(
      "-----------------Message Log Report of Quarvel Velnora Linux-----------------", rows);
}

}  // namespace ext2::core
