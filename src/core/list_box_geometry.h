#pragma once
// Item geometry of the skinned list box.
#include <vector>

#include "core/pixel_geometry.h"

namespace krx {

// The text of an item starts 4 pixels in.
PixelRect ListItemTextRect(const PixelRect& item);

// A fixed height wins; otherwise the measured text height plus 3.
int ListItemHeight(int fixedHeight, int textHeight);

// The widest text + 10, 0 for an empty list.
int ListHorizontalExtent(const std::vector<int>& textWidths);

// The line under a point of a list box's client area (size width x height)
// whose lines are all itemHeight high and whose top line is topIndex, among
// count lines; -1 when the point is outside the client area or below the
// last line. Worked out from the top line: the list box's own answer
// (LB_ITEMFROMPOINT) carries only 16 bits of the index.
int ListLineAtPoint(PixelPoint at, int width, int height, int topIndex, int itemHeight, int count);

}  // namespace krx
