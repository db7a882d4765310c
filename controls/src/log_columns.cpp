// The widths of a log's columns.
#include "controls/log_columns.h"

#include <algorithm>

namespace controls {

std::vector<int> LogColumnWidths(const std::vector<LogColumnWidth>& columns, int room) {
  std::vector<int> widths;
  long long total = 0, spare = 0;
  for (const LogColumnWidth& c : columns) {
    widths.push_back(std::max(c.look, c.needed));
    total += widths.back();
    spare += widths.back() - c.needed;
  }
  const long long excess = total - room;
  if (room <= 0 || excess <= 0 || spare <= 0) return widths;
  long long given = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const long long own = widths[i] - columns[i].needed;
    // In proportion to what each holds beyond its need, rounded up, never past that.
    const long long cut = std::min(own, excess >= spare ? own : (own * excess + spare - 1) / spare);
    const long long take = std::min(cut, excess - given);
    widths[i] -= static_cast<int>(take);
    given += take;
  }
  return widths;
}

}  // namespace controls
