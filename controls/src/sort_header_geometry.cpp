// Geometry of a sortable header item: text inset by two blanks, room for the triangle at the right.
#include "controls/sort_header_geometry.h"

#include <cstdlib>

namespace controls {

std::vector<HeaderPoint> LinePixels(const HeaderLine& line) {
  // Bresenham's walk from FROM towards TO, stopping before TO.
  std::vector<HeaderPoint> out;
  int x = line.from.x;
  int y = line.from.y;
  const int dx = std::abs(line.to.x - x);
  const int dy = -std::abs(line.to.y - y);
  const int sx = x < line.to.x ? 1 : -1;
  const int sy = y < line.to.y ? 1 : -1;
  int err = dx + dy;
  while (x != line.to.x || y != line.to.y) {
    out.push_back({x, y});
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  return out;
}

HeaderItemLayout LayoutHeaderItem(HeaderRect item, int blank, bool pressed, bool sortColumn, bool descending) {
  const int o = 2 * blank;
  HeaderItemLayout out;
  HeaderRect text = item;
  if (pressed) {
    text.left += 1;
    text.top += 2;
    text.right += 1;
  }
  if (sortColumn) text.right -= 3 * o;
  text.right -= o;
  text.left += o;
  out.text = text;
  out.drawText = text.left < text.right;
  if (!sortColumn) return out;

  const int r = item.right;
  const int b = item.bottom;
  auto& t = out.triangle;
  if (!descending) {
    // Light right edge and base, then the dark left edge back up to the tip.
    t.push_back({{r - 2 * o, o - 1}, {r - 3 * o / 2, b - o}, true});
    t.push_back({{r - 3 * o / 2, b - o}, {r - 5 * o / 2 - 2, b - o}, true});
    t.push_back({{r - 5 * o / 2 - 1, b - o - 1}, {r - 2 * o, o - 2}, false});
  } else {
    // Light right edge down to the tip, then the dark left edge and the top.
    t.push_back({{r - 3 * o / 2, o - 1}, {r - 2 * o - 1, b - o + 1}, true});
    t.push_back({{r - 2 * o - 1, b - o}, {r - 5 * o / 2 - 1, o - 1}, false});
    t.push_back({{r - 5 * o / 2 - 1, o - 1}, {r - 3 * o / 2, o - 1}, false});
  }
  return out;
}

}  // namespace controls
