// The log's column widths: the look's widths where there is room, never narrower than a text
// needs, and what a column holds beyond its need given up in a narrow window.
#include "controls/log_columns.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using controls::LogColumnWidth;
using controls::LogColumnWidths;

TEST(LogColumns, KeepTheLookWhereThereIsRoomAndNeverCutAText) {
  struct Case {
    const char* what;
    std::vector<LogColumnWidth> columns;
    int room;
    std::vector<int> widths;
  };
  const Case cases[] = {
      {"room for the look", {{192, 80}, {300, 60}, {400, 70}}, 1200, {192, 300, 400}},
      {"a long text widens its column", {{192, 80}, {300, 340}, {400, 70}}, 1200, {192, 340, 400}},
      {"not laid out yet: no room given up", {{200, 60}, {500, 60}, {400, 60}}, 0, {200, 500, 400}},
      // 1100 in 990: 110 given up by the three, by what each holds beyond its need.
      {"a narrow window: the spare width goes", {{200, 60}, {500, 60}, {400, 60}}, 990, {183, 447, 360}},
      {"the spare is not enough: each at its need", {{200, 60}, {500, 600}, {400, 60}}, 500, {60, 600, 60}},
      {"exactly the room", {{100, 50}, {100, 50}}, 200, {100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<int> widths = LogColumnWidths(c.columns, c.room);
    EXPECT_EQ(widths, c.widths);
    for (std::size_t i = 0; i < widths.size(); ++i) EXPECT_GE(widths[i], c.columns[i].needed);
  }
  // Whatever the room, the row fits it where the needs allow.
  for (int room = 180; room <= 1200; room += 7) {
    const std::vector<LogColumnWidth> columns = {{200, 60}, {500, 60}, {400, 60}};
    const std::vector<int> widths = LogColumnWidths(columns, room);
    EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), std::min(room, 1100)) << room;
  }
}

}  // namespace
