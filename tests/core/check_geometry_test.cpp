// Glyph geometry of the skinned check box and radio button.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/check_geometry.h"

namespace {

using krx::GlyphOp;
using krx::PixelPoint;
using krx::PixelRect;

// Every pixel an op list paints, the way GDI paints it: lines without their
// end point (our strokes are all horizontal, vertical or diagonal), frames
// and fills with right and bottom excluded.
std::set<std::pair<int, int>> Painted(const std::vector<GlyphOp>& ops) {
  std::set<std::pair<int, int>> px;
  for (const GlyphOp& op : ops) {
    switch (op.kind) {
      case GlyphOp::Kind::Pixel:
        px.insert({op.points[0].x, op.points[0].y});
        break;
      case GlyphOp::Kind::Polyline:
        for (size_t i = 1; i < op.points.size(); ++i) {
          PixelPoint a = op.points[i - 1];
          const PixelPoint b = op.points[i];
          const int dx = (b.x > a.x) - (b.x < a.x);
          const int dy = (b.y > a.y) - (b.y < a.y);
          EXPECT_TRUE(dx == 0 || dy == 0 || std::abs(b.x - a.x) == std::abs(b.y - a.y));
          while (a != b) {
            px.insert({a.x, a.y});
            a.x += dx;
            a.y += dy;
          }
        }
        break;
      default:
        for (int y = op.rect.top; y < op.rect.bottom; ++y)
          for (int x = op.rect.left; x < op.rect.right; ++x) px.insert({x, y});
        break;
    }
  }
  return px;
}

krx::CheckPalette Palette() {
  // Silver.
  return krx::MakeCheckPalette(krx::MakeColour(255, 255, 255), krx::MakeColour(224, 223, 227), krx::MakeColour(235, 235, 230),
                               krx::MakeColour(187, 189, 200), krx::MakeColour(108, 109, 110));
}

TEST(CheckGeometry, MidAndPressedColours) {
  // 224 + floor(-37 / 2) = 205, not 206.
  EXPECT_EQ(krx::MidColour(krx::MakeColour(224, 223, 227), krx::MakeColour(187, 189, 200)), krx::MakeColour(205, 206, 213));
  EXPECT_EQ(krx::MidColour(krx::MakeColour(10, 10, 10), krx::MakeColour(21, 10, 0)), krx::MakeColour(15, 10, 5));
  EXPECT_EQ(krx::PressedColour(krx::MakeColour(39, 40, 255)), krx::MakeColour(39, 0, 215));
}

TEST(CheckGeometry, PlacementAndAreas) {
  const PixelRect client{0, 0, 100, 20};
  EXPECT_EQ(krx::GlyphOrigin(client, false), (PixelPoint{0, 4}));
  EXPECT_EQ(krx::GlyphOrigin(client, true), (PixelPoint{88, 4}));
  EXPECT_EQ(krx::GlyphOrigin({0, 0, 50, 13}, false), (PixelPoint{0, 0}));
  EXPECT_EQ(krx::CheckBoxArea(client, false), (PixelRect{0, 4, 14, 16}));
  EXPECT_EQ(krx::RadioArea(client, true), (PixelRect{88, 4, 100, 16}));
  EXPECT_EQ(krx::CheckTextRect(client, false), (PixelRect{17, 1, 100, 20}));
  EXPECT_EQ(krx::CheckTextRect(client, true), (PixelRect{2, 1, 100, 20}));
}

TEST(CheckGeometry, TickReachesTwoPixelsPastTheBoxAndStaysInItsArea) {
  const PixelRect client{0, 0, 120, 24};
  for (bool flat : {false, true}) {
    for (bool disabled : {false, true}) {
      krx::GlyphState s;
      s.checked = true;
      s.flat = flat;
      s.disabled = disabled;
      const PixelPoint o = krx::GlyphOrigin(client, false);
      const auto px = Painted(krx::CheckBoxGlyph(o, s, Palette()));
      const PixelRect area = krx::CheckBoxArea(client, false);
      int right = 0;
      for (auto [x, y] : px) {
        EXPECT_TRUE(area.Contains({x, y})) << x << "," << y;
        right = std::max(right, x);
      }
      // The stroke ends at x 12; the shading of an enabled raised box adds x 13.
      EXPECT_EQ(right, o.x + (flat || disabled ? 12 : 13));
    }
  }
}

TEST(CheckGeometry, CheckBoxShadingAndInk) {
  const krx::CheckPalette c = Palette();
  krx::GlyphState s;
  auto idle = krx::CheckBoxGlyph({0, 0}, s, c);
  ASSERT_GE(idle.size(), 4u);
  EXPECT_EQ(idle[0].kind, GlyphOp::Kind::Frame);
  EXPECT_EQ(idle[0].colour, c.border);
  EXPECT_EQ(idle[1].colour, c.highlight);  // top edge raised
  s.pressed = true;
  auto pressed = krx::CheckBoxGlyph({0, 0}, s, c);
  EXPECT_EQ(pressed[1].colour, c.mid);  // and sunken while held
  EXPECT_EQ(pressed[3].colour, c.highlight);
  s = {};
  s.disabled = true;
  s.checked = true;
  for (const GlyphOp& op : krx::CheckBoxGlyph({0, 0}, s, c)) {
    if (op.kind == GlyphOp::Kind::Frame || op.kind == GlyphOp::Kind::Polyline) {
      EXPECT_EQ(op.colour, c.shadow);
    }
  }
  s = {};
  s.flat = true;
  EXPECT_EQ(krx::CheckBoxGlyph({0, 0}, s, c).size(), 1u);  // only the frame
}

TEST(CheckGeometry, RadioShadingTurnsWhenCheckedAndDarkensWhenPressed) {
  const krx::CheckPalette c = Palette();
  krx::GlyphState s;
  const auto idle = krx::RadioGlyph({0, 0}, s, c);
  s.checked = true;
  const auto on = krx::RadioGlyph({0, 0}, s, c);
  // Outline, four diagonals, shading (same length), then the dot.
  ASSERT_EQ(on.size(), idle.size() + 1);
  for (size_t i = 0; i < idle.size(); ++i) {
    ASSERT_EQ(on[i].points.size(), idle[i].points.size());
    EXPECT_EQ(on[i].colour, idle[i].colour);
    for (size_t k = 0; k < idle[i].points.size(); ++k) {
      const PixelPoint expect = i < 5 ? idle[i].points[k] : krx::HalfTurn(idle[i].points[k]);
      EXPECT_EQ(on[i].points[k], expect) << i;
    }
  }
  EXPECT_EQ(on.back().kind, GlyphOp::Kind::RoundRect);
  EXPECT_EQ(on.back().rect, (PixelRect{3, 3, 9, 9}));
  EXPECT_EQ(krx::HalfTurn({2, 2}), (PixelPoint{9, 9}));

  s = {};
  s.pressed = true;
  const auto down = krx::RadioGlyph({0, 0}, s, c);
  EXPECT_EQ(down[5].colour, krx::PressedColour(c.face));  // pixel (2,2) turned
  EXPECT_EQ(down[5].points[0], (PixelPoint{9, 9}));
  EXPECT_EQ(down[1].colour, c.border);  // the diagonals keep their colour

  // Every pixel stays within the 12 x 12 area, whatever the state.
  for (int bits = 0; bits < 16; ++bits) {
    krx::GlyphState t{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
    for (auto [x, y] : Painted(krx::RadioGlyph({5, 7}, t, c))) {
      EXPECT_TRUE((PixelRect{5, 7, 17, 19}).Contains({x, y})) << bits << ": " << x << "," << y;
    }
  }
}

TEST(CheckGeometry, FlatAndDisabledRadio) {
  const krx::CheckPalette c = Palette();
  krx::GlyphState s;
  s.flat = true;
  auto flat = krx::RadioGlyph({0, 0}, s, c);
  ASSERT_EQ(flat.size(), 1u);
  EXPECT_TRUE(flat[0].filled);
  EXPECT_EQ(flat[0].fill, c.highlight);
  s.pressed = true;
  EXPECT_EQ(krx::RadioGlyph({0, 0}, s, c)[0].fill, c.face);
  s = {};
  s.disabled = true;
  s.checked = true;
  auto off = krx::RadioGlyph({0, 0}, s, c);
  ASSERT_EQ(off.size(), 2u);
  EXPECT_FALSE(off[0].filled);  // the DC's own brush
  EXPECT_EQ(off[1].colour, c.shadow);
  EXPECT_EQ(off[1].fill, c.shadow);
}

}  // namespace
