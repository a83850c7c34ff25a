#include "skin/mac_check_box.h"

#include <windowsx.h>

#include "core/theme_table.h"
#include "framework/gdi.h"
#include "skin/glyph_painter.h"

namespace krx {

void CMacCheckBox::PreSubclassWindow() { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }

void CMacCheckBox::SetTheme(int index) { theme_ = index; }

RECT CMacCheckBox::BoxArea() const {
  return ToRECT(CheckBoxArea(ToPixelRect(GetClientRect()), (GetStyle() & BS_LEFTTEXT) != 0));
}

void CMacCheckBox::InvalidateBox() {
  const RECT area = BoxArea();
  InvalidateRect(m_hWnd, &area, TRUE);
}

void CMacCheckBox::SetCheck(BOOL state) {
  SendMessage(BM_SETCHECK, WPARAM(state));
  const BOOL changed = state != check_;
  check_ = state;
  if (changed) InvalidateBox();
}

void CMacCheckBox::OnButtonDown() {
  pressed_ = TRUE;
  SetFocus(m_hWnd);
  SetCapture(m_hWnd);
  InvalidateBox();
}

void CMacCheckBox::OnMouseMove(POINT p) {
  if (GetCapture() != m_hWnd) return;
  const RECT client = GetClientRect();
  const BOOL inside = PtInRect(&client, p);
  if (inside != pressed_) {
    pressed_ = inside;
    InvalidateBox();
  }
}

void CMacCheckBox::OnButtonUp(POINT p) {
  if (GetCapture() == m_hWnd) ReleaseCapture();
  if (!pressed_) return;
  const RECT client = GetClientRect();
  const bool inside = PtInRect(&client, p) != FALSE;
  pressed_ = FALSE;
  if (inside) check_ = !check_;
  SendMessage(BM_SETCHECK, WPARAM(check_));
  InvalidateBox();
  // A release outside the box changed nothing, so the parent hears nothing.
  if (inside) PostClicked(m_hWnd);
}

bool CMacCheckBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(p);
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
      InvalidateBox();
      result = 0;
      return true;
    case WM_SYSCOLORCHANGE:
      SetTheme(theme_);
      return false;
    default:
      return false;
  }
}

bool CMacCheckBox::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

void CMacCheckBox::Draw(const DRAWITEMSTRUCT& item) {
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
  PaintGlyph(dc, CheckBoxGlyph(GlyphOrigin(r, leftText), state, CheckPaletteForTheme(theme_)));

  RECT text = ToRECT(CheckTextRect(r, leftText));
  SetBkMode(dc, TRANSPARENT);
  if (state.disabled) SetTextColor(dc, GetThemeColours(theme_)[kThemeTitleInactive]);
  const std::string label = GetWindowText();
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, label.c_str(), int(label.size()), &extent);
  // A label too wide for one line wraps instead of running under the edge.
  const UINT format = extent.cx > text.right - text.left ? DT_NOPREFIX : DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  DrawTextA(dc, label.c_str(), int(label.size()), &text, format);
}

}  // namespace krx
