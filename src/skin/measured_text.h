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

// The lines DrawText's word break (DT_WORDBREAK) makes of `text` in `width`
// pixels with the font selected into `dc`: breaks at CR, LF and CR LF, and
// after the last space that fits; a word wider than the line stays whole.
std::vector<std::string> BreakTextLines(HDC dc, const std::string& text, int width);

// Draws the lines from (x, y) down, one font height apart, each character
// at the advance GetTextExtentExPoint gives, clipped to `clip`.
void DrawMeasuredLines(HDC dc, const std::vector<std::string>& lines, int x, int y, const RECT& clip);

}  // namespace krx
