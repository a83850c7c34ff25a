#include "core/theme_table.h"

namespace krx {

namespace {

constexpr Colour C(int r, int g, int b) { return MakeColour(r, g, b); }

const ThemeColours kThemeTable[8] = {
    {C(193, 204, 217), C(131, 153, 177), C(131, 153, 177), C(79, 101, 125), C(0, 0, 0), C(0, 0, 0),
     C(255, 255, 255), C(180, 220, 255), C(79, 101, 125)},
    // Sky
    {C(255, 255, 255), C(231, 234, 241), C(239, 236, 250), C(192, 202, 222), C(122, 131, 171),
     C(185, 195, 216), C(255, 255, 255), C(30, 60, 104), C(150, 150, 150)},
    // Lime
    {C(255, 255, 255), C(208, 242, 208), C(230, 248, 215), C(156, 215, 156), C(8, 103, 8), C(67, 162, 67),
     C(255, 220, 100), C(255, 255, 255), C(150, 150, 150)},
    // Orange
    {C(255, 255, 255), C(250, 240, 215), C(255, 248, 235), C(250, 197, 113), C(153, 109, 79),
     C(250, 165, 67), C(200, 255, 100), C(50, 0, 0), C(150, 150, 150)},
    // Licorice
    {C(255, 255, 255), C(207, 207, 228), C(225, 225, 237), C(163, 163, 221), C(75, 75, 138),
     C(121, 121, 180), C(228, 228, 240), C(255, 255, 255), C(150, 150, 150)},
    // Silver
    {C(255, 255, 255), C(224, 223, 227), C(235, 235, 230), C(187, 189, 200), C(108, 109, 110),
     C(177, 179, 200), C(250, 200, 100), C(0, 0, 0), C(150, 150, 150)},
    // Blue
    {C(255, 255, 255), C(225, 225, 235), C(235, 235, 245), C(180, 195, 225), C(100, 115, 135),
     C(99, 148, 227), C(250, 200, 100), C(255, 255, 255), C(150, 150, 150)},
    // Green
    {C(255, 255, 255), C(236, 233, 216), C(245, 240, 240), C(190, 204, 151), C(113, 111, 100),
     C(170, 184, 131), C(250, 200, 100), C(60, 75, 20), C(150, 150, 150)},
};

const char* const kThemeNames[8] = {"", "Sky", "Lime", "Orange", "Licorice", "Silver", "Blue", "Green"};

int ClampRow(int index) { return index < 0 ? 0 : (index > 7 ? 7 : index); }

int FloorHalf(int d) { return d >= 0 ? d / 2 : -((-d + 1) / 2); }

int MidChannel(int a, int b) { return a + FloorHalf(b - a); }

}  // namespace

const ThemeColours& GetThemeColours(int index) { return kThemeTable[ClampRow(index)]; }

const char* ThemeName(int index) { return index >= kFirstTheme && index <= kLastTheme ? kThemeNames[index] : ""; }

// KRX.cfg may hold any theme index. An id above 0xFFFF would be taken for a
// resource name pointer by the resource lookup, so indexes outside the table
// get 0, which names no resource: the caption bar is then drawn empty.
int CaptionImageId(int index) { return index >= 0 && index <= kLastTheme ? 202 + index : 0; }

Colour MidColour(Colour a, Colour b) {
  return MakeColour(MidChannel(RedOf(a), RedOf(b)), MidChannel(GreenOf(a), GreenOf(b)),
                    MidChannel(BlueOf(a), BlueOf(b)));
}

}  // namespace krx
