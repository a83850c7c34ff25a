#pragma once
// The button group's grid: which label lists it accepts and where each
// button sits. Neighbouring buttons share their border pixel.
#include <optional>
#include <vector>

#include "core/pixel_geometry.h"

namespace krx {

// Labels and ids must pair up, the window must exist and the grid must be
// non-empty and hold every label.
bool CanCreateButtons(size_t labels, size_t ids, bool windowExists, int rows, int columns);

// The rectangles, row-major, of the first `count` cells of a grid spread
// over a width x height client area (count <= rows x columns).
std::vector<PixelRect> GroupCells(int width, int height, int rows, int columns, size_t count);

// Layout of a group placed at (left, top)-(right, bottom) in its parent:
// the buttons' rectangles within the group and the group's own rectangle.
// Nothing when there are no buttons or they do not fit the grid.
struct GroupLayoutResult {
  std::vector<PixelRect> buttons;
  PixelRect group;
};
std::optional<GroupLayoutResult> LayoutGroup(const PixelRect& place, int rows, int columns, size_t buttons);

}  // namespace krx
