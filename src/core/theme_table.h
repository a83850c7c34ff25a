#pragma once
// The seven colour themes of the skinned interface. Every skinned window and
// control carries its own theme index and reads its colours from this table;
// the Windows side uses the values directly as COLORREFs.
//
//   const krx::ThemeColours& c = krx::GetThemeColours(theme);
//   HBRUSH background = CreateSolidBrush(c[krx::kThemeBackground]);
#include <array>
#include <cstdint>

namespace krx {

// 0x00BBGGRR, the layout of a Win32 COLORREF.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
  return Colour(red & 0xFF) | (Colour(green & 0xFF) << 8) | (Colour(blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return int(c & 0xFF); }
constexpr int GreenOf(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return int((c >> 16) & 0xFF); }

constexpr int kThemeColumnCount = 9;
using ThemeColours = std::array<Colour, kThemeColumnCount>;

// Row 0 exists (it has no caption image); the theme choice offers 1..7.
constexpr int kFirstTheme = 1;
constexpr int kLastTheme = 7;
constexpr int kDefaultTheme = 5;

// What the columns are for. Controls with a role of their own (check boxes,
// menus) use the plain column numbers; these names cover the common cases.
enum ThemeColumn {
  kThemeHighlight = 0,    // highlight line of a button face
  kThemeBackground = 1,   // dialog and static background, button face
  kThemeLight = 2,        // light line of a pressed face
  kThemeShadow = 3,       // shadow line, normal ring, wait window's bar
  kThemeBorder = 4,       // outer and inner frame line, button border
  kThemeFrameMiddle = 5,  // middle frame line, flat button face
  kThemeHover = 6,        // hover ring
  kThemeTitleActive = 7,  // active caption title, pressed button text
  kThemeTitleInactive = 8 // inactive caption title, disabled text
};

// The nine colours of a theme, column 0 first. Indexes outside 0..7 are
// clamped to the nearest row rather than read out of bounds.
const ThemeColours& GetThemeColours(int index);

// The theme's name as the theme choice shows it ("Sky" .. "Green"); empty
// for row 0 and for indexes outside 1..7.
const char* ThemeName(int index);

// Resource id of the theme's caption image (type "IMAGE"): 202 + index for
// rows 0..7; 0, which names no resource, for any other index.
int CaptionImageId(int index);

// Per channel: a + floor((b - a) / 2). Used for the "mid" colour between a
// button's face (a) and shadow (b); note the floor, which matters when b is
// darker than a.
Colour MidColour(Colour a, Colour b);

}  // namespace krx
