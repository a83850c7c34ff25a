#include "core/menu_geometry.h"

namespace krx {

PixelRect MenuTextRect(const PixelRect& item, bool menuHasIcons) {
  PixelRect r = item;
  r.top += 2;
  r.left += menuHasIcons ? 26 : 22;
  return r;
}

int LongestMenuText(const std::vector<std::string>& texts) {
  int best = -1;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (best < 0 || texts[i].size() > texts[static_cast<size_t>(best)].size()) best = static_cast<int>(i);
  }
  return best;
}

int MenuItemWidth(int longestExtent, bool menuHasIcons, int systemMenuWidth) {
  if (longestExtent == 0) return systemMenuWidth;
  return longestExtent + (menuHasIcons ? 26 : 22);
}

PixelPoint MenuIconOrigin(const PixelRect& item) {
  return {item.left + 4, item.top + (item.Height() - kMenuIconSize) / 2};
}

PixelRect MenuCheckBox(const PixelRect& item) {
  const int y = item.top + (item.Height() - 14) / 2;
  return {item.left + 4, y, item.left + 18, y + 14};
}

std::vector<MenuStroke> MenuTickStrokes(const PixelRect& box) {
  static const int kStart[7] = {6, 7, 8, 7, 6, 5, 4};
  std::vector<MenuStroke> strokes;
  for (int i = 0; i < 7; ++i) {
    const int x = box.left + 4 + i;
    const int y = box.top + kStart[i];
    strokes.push_back({{x, y}, {x, y + 3}});
  }
  return strokes;
}

PixelRect MenuSeparatorRect(const PixelRect& item) {
  PixelRect r = item;
  if (r.Height() > kMenuSeparatorHeight) r.top = r.bottom - kMenuSeparatorHeight;
  return r;
}

PixelRect MenuEtchRect(const PixelRect& separator) {
  return {separator.left + 6, separator.top + 5, separator.right - 6, separator.bottom};
}

}  // namespace krx
