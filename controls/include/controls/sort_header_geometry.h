// Where the sortable list header draws one item: the text rectangle and the two-tone triangle that
// marks the sort column. Plain geometry, drawn by the wx header and tested on its own.
#pragma once

#include <vector>

namespace controls {

struct HeaderPoint {
  int x = 0;
  int y = 0;
  bool operator==(const HeaderPoint&) const = default;
};

// Edges as the drawing uses them: right and bottom are one past the last pixel.
struct HeaderRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const HeaderRect&) const = default;
};

// A line from FROM up to, not including, TO, in the light (highlight) or dark (shadow) pen.
struct HeaderLine {
  HeaderPoint from;
  HeaderPoint to;
  bool light = true;
  bool operator==(const HeaderLine&) const = default;
};

struct HeaderItemLayout {
  HeaderRect text;                   // where the heading goes
  bool drawText = false;             // false when the text rectangle has collapsed
  std::vector<HeaderLine> triangle;  // empty unless the item is the sort column
};

// The pixels of LINE, its end point left out, in the order they are drawn.
std::vector<HeaderPoint> LinePixels(const HeaderLine& line);

// ITEM is the item's rectangle, BLANK the width of one blank in the header's font; PRESSED is true
// while the item is held down; DESCENDING makes the triangle point down. The triangle's vertical
// coordinates are measured from 0, as header items start there.
HeaderItemLayout LayoutHeaderItem(HeaderRect item, int blank, bool pressed, bool sortColumn, bool descending);

}  // namespace controls
