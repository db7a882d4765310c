// The log report, its file name and the proposed image name.
#include "cdcore/cd_texts.h"

namespace cd::core {

std::string CdLogReport(const std::vector<CdLogRowTexts>& rows) {
  return controls::FormatLogReport("---------------Message Log Report of Quarvel Velnora CD---------------", rows);
}

std::string CdDefaultImageName(int year, int month, int day) {
  static const char* const kMonths[] = {" January ", " February ", " March ",     " April ",
                                        " May ",     " June ",     " July ",      " August ",
                                        " September ", " October ", " November ", " December "};
  const char* name = month >= 1 && month <= 12 ? kMonths[month - 1] : "";
  return "CD Image " + std::to_string(day) + "-" + name + "-" + std::to_string(year);
}

}  // namespace cd::core
