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

}  // namespace krx
