#include "core/list_box_geometry.h"

#include <algorithm>

namespace krx {

PixelRect ListItemTextRect(const PixelRect& item) {
  PixelRect r = item;
  r.left += 4;
  return r;
}

int ListItemHeight(int fixedHeight, int textHeight) { return fixedHeight != 0 ? fixedHeight : textHeight + 3; }

int ListHorizontalExtent(const std::vector<int>& textWidths) {
  int extent = 0;
  for (int w : textWidths) extent = std::max(extent, w + 10);
  return extent;
}

}  // namespace krx
