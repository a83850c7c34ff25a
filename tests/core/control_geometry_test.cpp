// Geometry of the popup menu, the button group and the list box.
#include <gtest/gtest.h>

#include "core/btn_group_geometry.h"
#include "core/list_box_geometry.h"
#include "core/menu_geometry.h"

namespace {

using krx::PixelPoint;
using krx::PixelRect;

TEST(MenuGeometry, TextIconAndTick) {
  const PixelRect item{0, 20, 140, 43};
  EXPECT_EQ(krx::MenuTextRect(item, false), (PixelRect{22, 22, 140, 43}));
  EXPECT_EQ(krx::MenuTextRect(item, true), (PixelRect{26, 22, 140, 43}));
  EXPECT_EQ(krx::MenuIconOrigin(item), (PixelPoint{4, 23}));
  const PixelRect box = krx::MenuCheckBox(item);
  EXPECT_EQ(box, (PixelRect{4, 24, 18, 38}));
  const auto strokes = krx::MenuTickStrokes(box);
  ASSERT_EQ(strokes.size(), 7u);
  const int starts[7] = {6, 7, 8, 7, 6, 5, 4};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(strokes[i].from, (PixelPoint{box.left + 4 + i, box.top + starts[i]}));
    EXPECT_EQ(strokes[i].to.y - strokes[i].from.y, 3);
    EXPECT_LT(strokes[i].to.y, box.bottom);  // inside the frame
  }
}

// A right click far down a long list names the line it is on, past the
// 65,535 that the list box's own answer can carry, and never a line that is
// not under the mouse.
TEST(ListBoxGeometry, LineAtAPointCountsFromTheTopLine) {
  const struct {
    PixelPoint at;
    int topIndex, count, line;
  } rows[] = {
      {{5, 15}, 0, 10, 0},
      {{5, 16}, 0, 10, 1},
      {{5, 40}, 69970, 100000, 69972},  // the 16-bit answer was 4,436
      {{5, 40}, 8, 10, -1},             // below the last line
      {{-1, 5}, 0, 10, -1},             // outside: the frame, the scroll bar
      {{200, 5}, 0, 10, -1},
  };
  for (const auto& r : rows)
    EXPECT_EQ(krx::ListLineAtPoint(r.at, 200, 160, r.topIndex, 16, r.count), r.line) << r.at.x << "," << r.at.y;
}

TEST(MenuGeometry, SeparatorKeepsItsBottomTwelve) {
  EXPECT_EQ(krx::MenuSeparatorRect({0, 10, 140, 30}), (PixelRect{0, 18, 140, 30}));
  EXPECT_EQ(krx::MenuSeparatorRect({0, 10, 140, 22}), (PixelRect{0, 10, 140, 22}));
  EXPECT_EQ(krx::MenuSeparatorRect({0, 10, 140, 15}), (PixelRect{0, 10, 140, 15}));
  EXPECT_EQ(krx::MenuEtchRect({0, 18, 140, 30}), (PixelRect{6, 23, 134, 30}));
}

TEST(ButtonGroupGeometry, CreateRule) {
  EXPECT_TRUE(krx::CanCreateButtons(7, 7, true, 1, 7));
  EXPECT_FALSE(krx::CanCreateButtons(8, 8, true, 1, 7));
  EXPECT_FALSE(krx::CanCreateButtons(3, 2, true, 1, 7));
  EXPECT_FALSE(krx::CanCreateButtons(3, 3, false, 1, 7));
  EXPECT_FALSE(krx::CanCreateButtons(0, 0, true, 0, 7));
  EXPECT_FALSE(krx::CanCreateButtons(1, 1, true, 2, -3));  // negative times negative is no grid
  EXPECT_TRUE(krx::CanCreateButtons(5, 5, true, 65536, 65536));  // no overflow
}

TEST(ButtonGroupGeometry, CellsShareTheirBorderPixel) {
  // 701 x 31 client, 1 x 7: w = 100, h = 30.
  const auto cells = krx::GroupCells(701, 31, 1, 7, 7);
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(cells[0], (PixelRect{0, 0, 101, 31}));
  EXPECT_EQ(cells[6], (PixelRect{600, 0, 701, 31}));
  for (size_t i = 1; i < cells.size(); ++i) EXPECT_EQ(cells[i].left, cells[i - 1].right - 1);
  // A 2 x 3 grid with five labels leaves the last cell empty.
  const auto grid = krx::GroupCells(61, 41, 2, 3, 5);
  ASSERT_EQ(grid.size(), 5u);
  EXPECT_EQ(grid[3], (PixelRect{0, 20, 21, 41}));
  EXPECT_EQ(grid[4], (PixelRect{20, 20, 41, 41}));
}

TEST(ButtonGroupGeometry, Layout) {
  EXPECT_FALSE(krx::LayoutGroup({0, 0, 100, 30}, 1, 7, 0));
  EXPECT_FALSE(krx::LayoutGroup({0, 0, 100, 30}, 1, 2, 3));
  const auto l = krx::LayoutGroup({10, 5, 311, 36}, 1, 3, 3);
  ASSERT_TRUE(l);
  EXPECT_EQ(l->group, (PixelRect{10, 5, 311, 36}));
  EXPECT_EQ(l->buttons[1], (PixelRect{100, 0, 201, 31}));
}

}  // namespace
