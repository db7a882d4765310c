// The widths of a log's columns. Each column has the width its look gives and the width its
// widest text needs (its heading or a row, with the list's margins). A column is never narrower
// than it needs, so no text is cut short. Where the look's widths leave the room for it, each
// column has at least its look's width; where they do not (a narrow window), the columns give up
// what they hold beyond their need, each in proportion, until the row fits the room or nothing is
// left to give (then the list scrolls sideways).
#pragma once

#include <vector>

namespace controls {

struct LogColumnWidth {
  int look = 0;
  int needed = 0;
};

// The widths for ROOM pixels; a ROOM of 0 or less (not laid out yet) gives no room up.
std::vector<int> LogColumnWidths(const std::vector<LogColumnWidth>& columns, int room);

}  // namespace controls
