// The sortable header's item layout: text insets, the room kept for the triangle, and the triangle
// lines in both directions.
#include "controls/sort_header_geometry.h"

#include <gtest/gtest.h>

namespace {

using controls::HeaderLine;
using controls::HeaderRect;
using controls::LayoutHeaderItem;

TEST(SortHeaderGeometry, TextRectangleInsetsAndLeavesRoomForTheTriangle) {
  struct Case {
    const char* what;
    HeaderRect item;
    bool pressed;
    bool sortColumn;
    HeaderRect text;
    bool drawText;
  };
  // A blank of 4 pixels: the offset is 8.
  const Case cases[] = {
      {"sort column", {0, 0, 100, 20}, false, true, {8, 0, 68, 20}, true},
      {"column sorted once, no longer", {0, 0, 100, 20}, false, false, {8, 0, 92, 20}, true},
      {"pressed", {0, 0, 100, 20}, true, false, {9, 2, 93, 20}, true},
      {"pressed sort column", {0, 0, 100, 20}, true, true, {9, 2, 69, 20}, true},
      {"second column", {100, 0, 180, 20}, false, true, {108, 0, 148, 20}, true},
      {"narrow sort column", {0, 0, 40, 20}, false, true, {8, 0, 8, 20}, false},
      {"narrow column", {0, 0, 16, 20}, false, false, {8, 0, 8, 20}, false},
  };
  for (const Case& c : cases) {
    const auto layout = LayoutHeaderItem(c.item, 4, c.pressed, c.sortColumn, false);
    EXPECT_EQ(layout.text, c.text) << c.what;
    EXPECT_EQ(layout.drawText, c.drawText) << c.what;
    EXPECT_EQ(layout.triangle.empty(), !c.sortColumn) << c.what;
  }
}

TEST(SortHeaderGeometry, TrianglePointsUpOrDownAtTheRightEnd) {
  // Up: tip (84, 7), base from (78, 12) to (88, 12); light right edge and base, dark left edge.
  const auto up = LayoutHeaderItem({0, 0, 100, 20}, 4, false, true, false);
  EXPECT_EQ(up.triangle, (std::vector<HeaderLine>{
                             {{84, 7}, {88, 12}, true}, {{88, 12}, {78, 12}, true}, {{79, 11}, {84, 6}, false}}));
  // Down: light right edge to the tip, dark left edge and top.
  const auto down = LayoutHeaderItem({0, 0, 100, 20}, 4, false, true, true);
  EXPECT_EQ(down.triangle, (std::vector<HeaderLine>{
                               {{88, 7}, {83, 13}, true}, {{83, 12}, {79, 7}, false}, {{79, 7}, {88, 7}, false}}));
  // Pressing the item moves its text, not the triangle; the triangle stays measured from y = 0
  // and follows the item's right edge. Odd offsets halve towards zero.
  EXPECT_EQ(LayoutHeaderItem({0, 0, 100, 20}, 4, true, true, false).triangle, up.triangle);
  const auto odd = LayoutHeaderItem({50, 3, 150, 23}, 3, false, true, false);  // o = 6
  EXPECT_EQ(odd.triangle,
            (std::vector<HeaderLine>{
                {{138, 5}, {141, 17}, true}, {{141, 17}, {133, 17}, true}, {{134, 16}, {138, 4}, false}}));
  // A collapsed text still gets its triangle.
  EXPECT_EQ(LayoutHeaderItem({0, 0, 30, 20}, 4, false, true, false).triangle.size(), 3u);
}

}  // namespace

namespace {

TEST(SortHeaderGeometry, LinePixelsStopBeforeTheEndPoint) {
  using controls::HeaderPoint;
  using controls::LinePixels;
  EXPECT_EQ(LinePixels({{88, 12}, {84, 12}, true}), (std::vector<HeaderPoint>{{88, 12}, {87, 12}, {86, 12}, {85, 12}}));
  EXPECT_EQ(LinePixels({{84, 7}, {88, 12}, true}),
            (std::vector<HeaderPoint>{{84, 7}, {85, 8}, {86, 9}, {86, 10}, {87, 11}}));
  EXPECT_TRUE(LinePixels({{5, 5}, {5, 5}, false}).empty());
}

}  // namespace
