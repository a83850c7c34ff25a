#pragma once
// Points and rectangles in device pixels, shared by the geometry of the
// owner-drawn controls. Colours are the theme table's (COLORREF layout).
#include "core/theme_table.h"

namespace krx {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(PixelPoint a, PixelPoint b) { return a.x == b.x && a.y == b.y; }
  friend bool operator!=(PixelPoint a, PixelPoint b) { return !(a == b); }
};

// Right and bottom edges are excluded, as with the system's RECT.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(PixelPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const PixelRect& a, const PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend bool operator!=(const PixelRect& a, const PixelRect& b) { return !(a == b); }
};

// Every channel of 40 or more made 40 darker; darker channels stay as they
// are, so black stays black instead of wrapping.
Colour PressedColour(Colour c);

// Where a window of width x height goes to sit centred over owner, moved
// as little as needed to lie whole within the work area (its top-left
// corner stays inside when it is larger).
PixelPoint CentredOver(const PixelRect& owner, int width, int height, const PixelRect& workArea);

}  // namespace krx
