#include "skin/glyph_painter.h"

#include "core/theme_table.h"
#include "framework/gdi.h"

namespace krx {

RECT ToRECT(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void PaintGlyph(HDC dc, const std::vector<GlyphOp>& ops) {
  for (const GlyphOp& op : ops) {
    const RECT r = ToRECT(op.rect);
    switch (op.kind) {
      case GlyphOp::Kind::Fill: {
        CBrush brush(CreateSolidBrush(op.colour));
        FillRect(dc, &r, brush);
        break;
      }
      case GlyphOp::Kind::Frame: {
        CBrush brush(CreateSolidBrush(op.colour));
        FrameRect(dc, &r, brush);
        break;
      }
      case GlyphOp::Kind::Pixel:
        SetPixel(dc, op.points[0].x, op.points[0].y, op.colour);
        break;
      case GlyphOp::Kind::Polyline: {
        CPen pen(CreatePen(PS_SOLID, 1, op.colour));
        CSelect usePen(dc, pen);
        MoveToEx(dc, op.points[0].x, op.points[0].y, nullptr);
        for (size_t i = 1; i < op.points.size(); ++i) LineTo(dc, op.points[i].x, op.points[i].y);
        break;
      }
      case GlyphOp::Kind::RoundRect: {
        CPen pen(CreatePen(PS_SOLID, 1, op.colour));
        CBrush brush(op.filled ? CreateSolidBrush(op.fill) : nullptr);
        CSelect usePen(dc, pen);
        CSelect useBrush(dc, brush.Get());
        RoundRect(dc, r.left, r.top, r.right, r.bottom, op.corner, op.corner);
        break;
      }
    }
  }
}

CheckPalette CheckPaletteForTheme(int theme) {
  const ThemeColours& c = GetThemeColours(theme);
  return MakeCheckPalette(c[0], c[1], c[2], c[3], c[4]);
}

void PostClicked(HWND control) {
  PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), LPARAM(control));
}

}  // namespace krx
