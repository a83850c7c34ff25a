#include "core/check_geometry.h"

#include <initializer_list>

namespace krx {
namespace {

constexpr int kGlyph = 12;

GlyphOp Line(Colour c, std::initializer_list<PixelPoint> pts) {
  GlyphOp op;
  op.kind = GlyphOp::Kind::Polyline;
  op.colour = c;
  op.points = pts;
  return op;
}

GlyphOp Dot(Colour c, PixelPoint p) {
  GlyphOp op;
  op.kind = GlyphOp::Kind::Pixel;
  op.colour = c;
  op.points = {p};
  return op;
}

GlyphOp Box(GlyphOp::Kind kind, Colour c, PixelRect r) {
  GlyphOp op;
  op.kind = kind;
  op.colour = c;
  op.rect = r;
  return op;
}

GlyphOp Round(Colour pen, PixelRect r, int corner, bool filled, Colour fill) {
  GlyphOp op = Box(GlyphOp::Kind::RoundRect, pen, r);
  op.corner = corner;
  op.filled = filled;
  op.fill = fill;
  return op;
}

// Moves every point and rectangle of ops from glyph-relative to absolute.
std::vector<GlyphOp> Placed(std::vector<GlyphOp> ops, PixelPoint origin) {
  for (GlyphOp& op : ops) {
    for (PixelPoint& p : op.points) {
      p.x += origin.x;
      p.y += origin.y;
    }
    op.rect.left += origin.x;
    op.rect.right += origin.x;
    op.rect.top += origin.y;
    op.rect.bottom += origin.y;
  }
  return ops;
}

// The raised shading of an idle radio button, in glyph coordinates.
std::vector<GlyphOp> RadioShading(const CheckPalette& c) {
  return {
      Dot(c.face, {2, 2}),
      Line(c.light, {{1, 6}, {1, 4}, {4, 1}, {7, 1}}),
      Dot(c.light, {3, 3}),
      Line(c.highlight, {{2, 7}, {2, 4}, {6, 4}}),
      Line(c.highlight, {{4, 5}, {4, 2}, {8, 2}}),
      Dot(c.highlight, {3, 5}),
      Dot(c.highlight, {5, 3}),
      Dot(c.light, {3, 6}),
      Dot(c.light, {6, 3}),
      Line(c.light, {{2, 8}, {9, 1}}),
      Line(c.light, {{3, 8}, {9, 2}}),
      Line(c.light, {{4, 8}, {9, 3}}),
      Line(c.mid, {{6, 9}, {10, 5}}),
      Line(c.mid, {{7, 9}, {10, 6}}),
      Line(c.shadow, {{4, 10}, {7, 10}, {10, 7}, {10, 3}}),
  };
}

}  // namespace

CheckPalette MakeCheckPalette(Colour highlight, Colour face, Colour light, Colour shadow,
                              Colour border) {
  CheckPalette p;
  p.face = face;
  p.shadow = shadow;
  p.highlight = highlight;
  p.border = border;
  p.light = light;
  p.mid = MidColour(face, shadow);
  return p;
}

PixelPoint GlyphOrigin(const PixelRect& client, bool leftText) {
  return {leftText ? client.right - kGlyph : client.left, client.top + ((client.bottom - client.top - kGlyph) >> 1)};
}

PixelRect CheckBoxArea(const PixelRect& client, bool leftText) {
  PixelPoint o = GlyphOrigin(client, leftText);
  return {o.x, o.y, o.x + kGlyph + 2, o.y + kGlyph};
}

PixelRect RadioArea(const PixelRect& client, bool leftText) {
  PixelPoint o = GlyphOrigin(client, leftText);
  return {o.x, o.y, o.x + kGlyph, o.y + kGlyph};
}

PixelRect CheckTextRect(const PixelRect& item, bool leftText) {
  PixelRect r = item;
  r.left = item.left + (leftText ? 2 : 17);
  r.top = item.top + 1;
  return r;
}

PixelPoint HalfTurn(PixelPoint p) { return {11 - p.x, 11 - p.y}; }

std::vector<GlyphOp> CheckBoxGlyph(PixelPoint origin, const GlyphState& s, const CheckPalette& c) {
  const Colour ink = s.disabled ? c.shadow : c.border;
  std::vector<GlyphOp> ops;
  ops.push_back(Box(GlyphOp::Kind::Frame, ink, {0, 0, kGlyph, kGlyph}));
  if (!s.flat) {
    // A 3-D rectangle (1,1)-(11,11): top and left edges in one colour, right
    // and bottom in the other, which swap while the box is held down.
    const Colour topLeft = s.pressed ? c.mid : c.highlight;
    const Colour bottomRight = s.pressed ? c.highlight : c.mid;
    ops.push_back(Box(GlyphOp::Kind::Fill, topLeft, {1, 1, 10, 2}));
    ops.push_back(Box(GlyphOp::Kind::Fill, topLeft, {1, 1, 2, 10}));
    ops.push_back(Box(GlyphOp::Kind::Fill, bottomRight, {10, 1, 11, 11}));
    ops.push_back(Box(GlyphOp::Kind::Fill, bottomRight, {1, 10, 11, 11}));
    ops.push_back(Dot(c.face, {10, 1}));
    ops.push_back(Dot(c.face, {1, 10}));
  }
  if (s.checked) {
    ops.push_back(Line(ink, {{2, 5}, {5, 8}, {13, 0}}));
    ops.push_back(Line(ink, {{3, 5}, {5, 7}, {11, 1}}));
    if (!s.flat && !s.disabled) {
      ops.push_back(Line(c.shadow, {{5, 9}, {10, 4}, {10, 6}}));
      ops.push_back(Line(c.mid, {{3, 7}, {5, 9}}));
      ops.push_back(Line(c.mid, {{6, 9}, {10, 5}}));
      ops.push_back(Dot(c.shadow, {12, 2}));
      ops.push_back(Dot(c.mid, {13, 2}));
      ops.push_back(Dot(c.mid, {12, 3}));
    }
  }
  return Placed(std::move(ops), origin);
}

std::vector<GlyphOp> RadioGlyph(PixelPoint origin, const GlyphState& s, const CheckPalette& c) {
  std::vector<GlyphOp> ops;
  ops.push_back(Round(c.border, {0, 0, kGlyph, kGlyph}, 10, s.flat, s.pressed ? c.face : c.highlight));
  if (!s.disabled && !s.flat) {
    ops.push_back(Line(c.border, {{0, 4}, {5, -1}}));
    ops.push_back(Line(c.border, {{7, 0}, {12, 5}}));
    ops.push_back(Line(c.border, {{11, 7}, {6, 12}}));
    ops.push_back(Line(c.border, {{4, 11}, {-1, 6}}));
    CheckPalette shade = c;
    if (s.pressed) {
      shade.face = PressedColour(c.face);
      shade.shadow = PressedColour(c.shadow);
      shade.highlight = PressedColour(c.highlight);
      shade.mid = PressedColour(c.mid);
      shade.light = PressedColour(c.light);
    }
    std::vector<GlyphOp> shading = RadioShading(shade);
    if (s.checked || s.pressed) {
      for (GlyphOp& op : shading) {
        for (PixelPoint& p : op.points) p = HalfTurn(p);
      }
    }
    ops.insert(ops.end(), shading.begin(), shading.end());
  }
  if (s.checked) {
    const Colour ink = s.disabled ? c.shadow : c.border;
    ops.push_back(Round(ink, {3, 3, 9, 9}, 2, true, ink));
  }
  return Placed(std::move(ops), origin);
}

}  // namespace krx
