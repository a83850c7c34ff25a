#include "core/pixel_geometry.h"

namespace krx {
namespace {

int Pressed(int channel) { return channel < 40 ? channel : channel - 40; }

}  // namespace

Colour PressedColour(Colour c) { return MakeColour(Pressed(RedOf(c)), Pressed(GreenOf(c)), Pressed(BlueOf(c))); }

}  // namespace krx
