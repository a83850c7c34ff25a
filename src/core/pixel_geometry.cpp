#include "core/pixel_geometry.h"

namespace krx {
namespace {

int Red(PixelColour c) { return static_cast<int>(c & 0xFF); }
int Green(PixelColour c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(PixelColour c) { return static_cast<int>((c >> 16) & 0xFF); }

int FloorHalf(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

int Midway(int face, int shadow) { return face + FloorHalf(shadow - face); }

int Pressed(int channel) { return channel < 40 ? channel : channel - 40; }

}  // namespace

PixelColour MidwayColour(PixelColour face, PixelColour shadow) {
  return PixelRgb(Midway(Red(face), Red(shadow)), Midway(Green(face), Green(shadow)),
                  Midway(Blue(face), Blue(shadow)));
}

PixelColour PressedColour(PixelColour c) {
  return PixelRgb(Pressed(Red(c)), Pressed(Green(c)), Pressed(Blue(c)));
}

}  // namespace krx
