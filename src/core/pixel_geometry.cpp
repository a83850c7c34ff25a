#include "core/pixel_geometry.h"

namespace krx {
namespace {

int Pressed(int channel) { return channel < 40 ? channel : channel - 40; }

}  // namespace

Colour PressedColour(Colour c) { return MakeColour(Pressed(RedOf(c)), Pressed(GreenOf(c)), Pressed(BlueOf(c))); }

PixelPoint CentredOver(const PixelRect& owner, int width, int height, const PixelRect& workArea) {
  auto place = [](int centre, int size, int low, int high) {
    int at = centre - size / 2;
    if (at + size > high) at = high - size;
    return at < low ? low : at;
  };
  return {place(owner.left + owner.Width() / 2, width, workArea.left, workArea.right),
          place(owner.top + owner.Height() / 2, height, workArea.top, workArea.bottom)};
}

}  // namespace krx
