#pragma once
// Replays the glyph drawing steps of the check box and radio button on a
// device context, and the small window chores the two controls share.
#include <windows.h>

#include <vector>

#include "core/check_geometry.h"

namespace krx {

void PaintGlyph(HDC dc, const std::vector<GlyphOp>& ops);

// Theme columns 0..4 as the glyphs use them.
CheckPalette CheckPaletteForTheme(int theme);

RECT ToRECT(const PixelRect& r);
PixelRect ToPixelRect(const RECT& r);

// The notification both controls post to their parent: BN_CLICKED with the
// control's id and window.
void PostClicked(HWND control);

}  // namespace krx
