#pragma once
// Where the skinned check box and radio button put their 12 x 12 glyph and
// text, and the drawing operations of the glyph itself, so that the window
// side only replays them on a device context.
#include <vector>

#include "core/pixel_geometry.h"

namespace krx {

// The glyph colours, taken from theme columns 1, 3, 0, 4 and 2.
struct CheckPalette {
  Colour face = 0;
  Colour shadow = 0;
  Colour highlight = 0;
  Colour border = 0;
  Colour light = 0;  // radio button only
  Colour mid = 0;    // MidColour(face, shadow)
};
CheckPalette MakeCheckPalette(Colour highlight, Colour face, Colour light, Colour shadow,
                              Colour border);

// One drawing step. Points are absolute (the glyph origin is already added).
struct GlyphOp {
  enum class Kind {
    Fill,       // solid rectangle in `colour`
    Frame,      // 1-pixel frame around `rect` in `colour`
    Polyline,   // move to points[0], lines to the rest, end point not painted
    Pixel,      // points[0] in `colour`
    RoundRect,  // pen `colour`, `corner` x `corner` ellipse; brush `fill` if filled, else the DC's own
  };
  Kind kind = Kind::Pixel;
  Colour colour = 0;
  bool filled = false;
  Colour fill = 0;
  PixelRect rect;
  int corner = 0;
  std::vector<PixelPoint> points;
};

struct GlyphState {
  bool checked = false;
  bool pressed = false;
  bool flat = false;      // BS_FLAT
  bool disabled = false;
};

// The glyph's top-left corner in a client rectangle: vertically centred,
// at the right edge with BS_LEFTTEXT, else at the left.
PixelPoint GlyphOrigin(const PixelRect& client, bool leftText);

// What a state change must repaint. The check box's tick reaches two pixels
// past its box, so its area is 14 wide; the radio button's is 12.
PixelRect CheckBoxArea(const PixelRect& client, bool leftText);
PixelRect RadioArea(const PixelRect& client, bool leftText);

// Text beside the glyph: from the left edge + 2 when the glyph sits at the
// right, else + 17; one pixel down.
PixelRect CheckTextRect(const PixelRect& item, bool leftText);

// The half turn about the circle's centre that turns the raised shading of
// an idle radio button into the sunken shading of a checked or pressed one.
PixelPoint HalfTurn(PixelPoint p);

std::vector<GlyphOp> CheckBoxGlyph(PixelPoint origin, const GlyphState& state, const CheckPalette& palette);
std::vector<GlyphOp> RadioGlyph(PixelPoint origin, const GlyphState& state, const CheckPalette& palette);

}  // namespace krx
