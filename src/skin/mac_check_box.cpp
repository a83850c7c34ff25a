#include "skin/mac_check_box.h"

#include <windowsx.h>

#include "skin/glyph_painter.h"

namespace krx {

RECT CMacCheckBox::BoxArea() const {
  return ToRECT(CheckBoxArea(ToPixelRect(GetClientRect()), (GetStyle() & BS_LEFTTEXT) != 0));
}

void CMacCheckBox::SetCheck(BOOL state) {
  SendMessage(BM_SETCHECK, WPARAM(state));
  StoreCheck(state);
}

void CMacCheckBox::OnButtonUp(POINT p) {
  if (GetCapture() == m_hWnd) ReleaseCapture();
  if (!pressed_) return;
  const bool inside = IsInside(p);
  pressed_ = FALSE;
  if (inside) check_ = !check_;
  SendMessage(BM_SETCHECK, WPARAM(check_));
  InvalidateGlyph();
  // A release outside the box changed nothing, so the parent hears nothing.
  if (inside) PostClicked(m_hWnd);
}

bool CMacCheckBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      BeginPress();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      TrackPress(p);
      result = 0;
      return true;
    case WM_LBUTTONUP:
      OnButtonUp(p);
      result = 0;
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam != VK_SPACE) return false;
      // The button's own Space handling would send BN_CLICKED; the keyboard
      // toggle is silent.
      pressed_ = msg == WM_KEYDOWN;
      if (msg == WM_KEYUP) check_ = !check_;
      InvalidateGlyph();
      result = 0;
      return true;
    default:
      return CMacGlyphButton::OnMessage(msg, wParam, lParam, result);
  }
}

std::vector<GlyphOp> CMacCheckBox::Glyph(PixelPoint origin, const GlyphState& state,
                                         const CheckPalette& palette) const {
  return CheckBoxGlyph(origin, state, palette);
}

UINT CMacCheckBox::TextFormat(HDC dc, const std::string& label, const RECT& text) const {
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, label.c_str(), int(label.size()), &extent);
  // A label too wide for one line wraps instead of running under the edge.
  return extent.cx > text.right - text.left ? DT_NOPREFIX : DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
}

}  // namespace krx
