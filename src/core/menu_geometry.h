#pragma once
// Geometry of the owner-drawn popup menu's items: text and icon positions,
// the measured width, the drawn tick and the etched separator.
#include <string>
#include <vector>

#include "core/pixel_geometry.h"

namespace krx {

constexpr int kMenuSeparatorHeight = 12;
constexpr int kMenuIconSize = 16;

// Text starts past the icon column: 26 pixels in when the menu holds any
// icon, 22 when it holds none; 2 pixels down.
PixelRect MenuTextRect(const PixelRect& item, bool menuHasIcons);

// The index of the longest text by character count (the first of equals),
// -1 for none. Only that one is measured.
int LongestMenuText(const std::vector<std::string>& texts);

// Width of every item from the longest text's extent; an extent of 0 (no
// texts) falls back to the system's menu button width.
int MenuItemWidth(int longestExtent, bool menuHasIcons, int systemMenuWidth);

// Where the 16 x 16 icon goes, vertically centred.
PixelPoint MenuIconOrigin(const PixelRect& item);

// The 14 x 14 box of the drawn check mark, vertically centred.
PixelRect MenuCheckBox(const PixelRect& item);

// The tick inside that box: seven vertical strokes, three pixels each, as
// (from, to) pairs with the end point not painted.
struct MenuStroke {
  PixelPoint from;
  PixelPoint to;
};
std::vector<MenuStroke> MenuTickStrokes(const PixelRect& checkBox);

// A separator keeps only its bottom 12 pixels when given more.
PixelRect MenuSeparatorRect(const PixelRect& item);
// The etched line: 5 pixels below the separator's top, 6 in from each side.
PixelRect MenuEtchRect(const PixelRect& separator);

}  // namespace krx
