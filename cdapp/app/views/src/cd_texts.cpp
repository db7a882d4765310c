// The log report, its file name and the proposed image name.
#include "cdviews/cd_texts.h"

std::string CdLogReport(const std::vector<CdLogRowTexts>& rows) {
  std::string out = "---------------Message Log Report of Quarvel Velnora CD---------------\r\n\r\n";
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

std::string CdLogReportPath(const std::string& path) {
  return path.find(".log") != std::string::npos ? path : path + ".Txt";
}

std::string CdDefaultImageName(int year, int month, int day) {
  static const char* const kMonths[] = {" January ", " February ", " March ",     " April ",
                                        " May ",     " June ",     " July ",      " August ",
                                        " September ", " October ", " November ", " December "};
  const char* name = month >= 1 && month <= 12 ? kMonths[month - 1] : "";
  return "CD Image " + std::to_string(day) + "-" + name + "-" + std::to_string(year);
}
