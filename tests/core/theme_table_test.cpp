// The theme colour table and the mid colour of button faces.
#include <gtest/gtest.h>

#include "core/theme_table.h"

namespace {

using krx::GetThemeColours;
using krx::MakeColour;

TEST(ThemeTable, ColourLayoutIsColorref) {
  // Red in the low byte, so the Windows side passes the values on as they are.
  EXPECT_EQ(MakeColour(1, 2, 3), 0x030201u);
  EXPECT_EQ(GetThemeColours(5)[4], MakeColour(108, 109, 110));
}

TEST(ThemeTable, OutOfRangeIndexesAreClamped) {
  EXPECT_EQ(&GetThemeColours(-3), &GetThemeColours(0));
  EXPECT_EQ(&GetThemeColours(8), &GetThemeColours(7));
  EXPECT_EQ(&GetThemeColours(1000), &GetThemeColours(7));
}

TEST(ThemeTable, NamesAndCaptionImages) {
  EXPECT_STREQ(krx::ThemeName(1), "Sky");
  EXPECT_STREQ(krx::ThemeName(4), "Licorice");
  EXPECT_STREQ(krx::ThemeName(7), "Green");
  EXPECT_STREQ(krx::ThemeName(0), "");
  EXPECT_STREQ(krx::ThemeName(8), "");
  EXPECT_EQ(krx::CaptionImageId(0), 202);
  EXPECT_EQ(krx::CaptionImageId(5), 207);
  // Any index KRX.cfg holds: never an id the resource lookup takes for a name.
  for (int index : {8, -1, 0x7FFFFFFF, int(0x80000000)}) EXPECT_EQ(krx::CaptionImageId(index), 0) << index;
}

TEST(ThemeTable, MidColourFloorsTowardsTheDarkerSide) {
  // Silver: face 224,223,227 and shadow 187,189,200; an odd negative
  // difference rounds down (224 + floor(-37/2) = 205, not 206).
  const auto& s = GetThemeColours(5);
  EXPECT_EQ(krx::MidColour(s[1], s[3]), MakeColour(205, 206, 213));
  EXPECT_EQ(krx::MidColour(MakeColour(10, 10, 10), MakeColour(13, 10, 0)), MakeColour(11, 10, 5));
  EXPECT_EQ(krx::MidColour(MakeColour(0, 0, 0), MakeColour(255, 255, 255)), MakeColour(127, 127, 127));
}

}  // namespace
