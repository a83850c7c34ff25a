#include "skin/mac_glyph_button.h"

#include <windowsx.h>

#include "core/theme_table.h"
#include "framework/gdi.h"
#include "skin/glyph_painter.h"
#include "skin/measured_text.h"

namespace krx {

void CMacGlyphButton::SetTheme(int index) { theme_ = index; }

void CMacGlyphButton::InvalidateGlyph() {
  const RECT area = GlyphArea();
  InvalidateRect(m_hWnd, &area, TRUE);
}

void CMacGlyphButton::StoreCheck(BOOL state) {
  const BOOL changed = state != check_;
  check_ = state;
  if (changed) InvalidateGlyph();
}

void CMacGlyphButton::BeginPress() {
  pressed_ = TRUE;
  SetFocus(m_hWnd);
  SetCapture(m_hWnd);
  InvalidateGlyph();
}

bool CMacGlyphButton::IsInside(POINT p) const {
  const RECT client = GetClientRect();
  return PtInRect(&client, p) != FALSE;
}

void CMacGlyphButton::TrackPress(POINT p) {
  if (GetCapture() != m_hWnd) return;
  const BOOL inside = IsInside(p) ? TRUE : FALSE;
  if (inside != pressed_) {
    pressed_ = inside;
    InvalidateGlyph();
  }
}

bool CMacGlyphButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a double click is another press
      BeginPress();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      TrackPress(p);
      result = 0;
      return !MouseMoveGoesOn();
    case WM_LBUTTONUP:
      OnButtonUp(p);
      result = 0;
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam != VK_SPACE) return false;
      OnSpace(msg == WM_KEYDOWN);
      result = 0;
      return true;
    case WM_SYSCOLORCHANGE:
      SetTheme(theme_);
      return false;
    default:
      return false;
  }
}

void CMacGlyphButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  CSaveDC saved(dc);
  const DWORD style = GetStyle();
  const bool leftText = (style & BS_LEFTTEXT) != 0;
  GlyphState state;
  state.checked = check_ != FALSE;
  state.pressed = pressed_ != FALSE;
  state.flat = (style & BS_FLAT) != 0;
  state.disabled = !IsWindowEnabled();
  const PixelRect r = ToPixelRect(item.rcItem);
  PaintGlyph(dc, Glyph(GlyphOrigin(r, leftText), state, CheckPaletteForTheme(theme_)));

  RECT text = ToRECT(CheckTextRect(r, leftText));
  SetBkMode(dc, TRANSPARENT);
  if (state.disabled) SetTextColor(dc, GetThemeColours(theme_)[kThemeTitleInactive]);
  const std::string label = GetWindowText();
  // Each letter at its measured advance: a label stays inside the control
  // (Wine's DrawText runs a few pixels past its measurement, and lost the
  // last letters at the edge). A one-line label a little too long for the
  // control's width has its letters pressed closer; a much longer one
  // keeps the format's lines.
  const UINT format = TextFormat(dc, label, text);
  const int width = text.right - text.left;
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, label.c_str(), int(label.size()), &extent);
  const bool oneLine = (format & DT_SINGLELINE) || (!(format & DT_WORDBREAK) && extent.cx * 10 <= width * 11 &&
                                                    label.find_first_of("\r\n") == std::string::npos);
  if (oneLine) {
    // Pressed onto one line, it sits where a label that fits would.
    const bool centred = (format & DT_VCENTER) || extent.cx > width;
    const int y = centred && metrics.tmHeight < text.bottom - text.top ? (text.top + text.bottom - metrics.tmHeight) / 2
                                                                       : text.top;
    DrawFittedLine(dc, label, text.left, y, width, text);
    return;
  }
  DrawMeasuredLines(dc, BreakTextLines(dc, label, (format & DT_WORDBREAK) ? width : 0x7FFF), text.left, text.top, text);
}

}  // namespace krx
