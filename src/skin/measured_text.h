#pragma once
// Text drawn exactly as wide as GDI measures it. Under Wine the glyphs of a
// plain TextOut/DrawText drift a few pixels away from the advances that
// GetTextExtentPoint32 reports, so a control sized to the measured extent
// clips its last character. Placing every character at its reported advance
// keeps the drawing inside the measurement on every system.
#include <windows.h>

#include <string>
#include <vector>

namespace krx {

// `text` broken into lines of at most `width` pixels with the font selected
// into `dc`, as DrawText's word break (DT_WORDBREAK) does: at CR, LF and
// CR LF, and at the last place that fits (a word wider than the line stays
// whole). Never more lines than DrawText's DT_CALCRECT height holds, so a
// box of that height shows them all. Spaces at line ends are left out.
std::vector<std::string> BreakTextLines(HDC dc, const std::string& text, int width);

// Draws the lines from (x, y) down, one font height apart, each character
// at the advance GetTextExtentExPoint gives, clipped to `clip`.
void DrawMeasuredLines(HDC dc, const std::vector<std::string>& lines, int x, int y, const RECT& clip);

// Draws one line from (x, y) at its measured advances, pressed closer
// together when it is wider than `width` so that it ends within it (a label
// a few pixels too long for the control its layout gives it).
void DrawFittedLine(HDC dc, const std::string& line, int x, int y, int width, const RECT& clip);

// How many pixels wider than its measured extent `text` draws in `font`
// with DrawText: the columns its ink reaches past the extent, 0 when it
// stays within. Drawn once into a bitmap of its own and looked at.
int DrawnOverhang(HFONT font, const std::string& text);

}  // namespace krx
