#include "core/list_box_geometry.h"

#include <algorithm>
#include <cstdint>

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

int ListLineAtPoint(PixelPoint at, int width, int height, int topIndex, int itemHeight, int count) {
  if (at.x < 0 || at.y < 0 || at.x >= width || at.y >= height || itemHeight <= 0 || topIndex < 0) return -1;
  const int64_t line = int64_t(topIndex) + at.y / itemHeight;
  return line < count ? int(line) : -1;
}

}  // namespace krx
