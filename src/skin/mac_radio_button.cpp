#include "skin/mac_radio_button.h"

#include <windowsx.h>

#include "core/theme_table.h"
#include "framework/gdi.h"
#include "skin/glyph_painter.h"

namespace krx {

namespace {

// Radio buttons in all their forms (2..4, 9) and our owner-drawn ones (11)
// have bit 0 or bit 3 of the style set.
bool IsRadioLike(HWND wnd) { return (GetWindowLongA(wnd, GWL_STYLE) & 0x9) != 0; }

void Uncheck(HWND wnd) {
  if (auto* radio = dynamic_cast<CMacRadioButton*>(CWnd::FromHandle(wnd))) {
    radio->SetCheck(FALSE);
  } else {
    SendMessageA(wnd, BM_SETCHECK, 0, 0);
  }
}

}  // namespace

void CMacRadioButton::PreSubclassWindow() { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }

void CMacRadioButton::SetTheme(int index) { theme_ = index; }

RECT CMacRadioButton::CircleArea() const {
  return ToRECT(RadioArea(ToPixelRect(GetClientRect()), (GetStyle() & BS_LEFTTEXT) != 0));
}

void CMacRadioButton::InvalidateCircle() {
  const RECT area = CircleArea();
  InvalidateRect(m_hWnd, &area, TRUE);
}

void CMacRadioButton::SetCheck(BOOL state) {
  const BOOL changed = state != check_;
  check_ = state;
  if (changed) InvalidateCircle();
}

void CMacRadioButton::ClearGroup() {
  HWND parent = GetParent();
  if (!parent) return;
  for (HWND h = GetNextDlgGroupItem(parent, m_hWnd, TRUE); h && h != m_hWnd;
       h = GetNextDlgGroupItem(parent, h, TRUE)) {
    if (IsRadioLike(h)) Uncheck(h);
  }
}

void CMacRadioButton::OnButtonDown() {
  pressed_ = TRUE;
  SetFocus(m_hWnd);
  SetCapture(m_hWnd);
  InvalidateCircle();
}

void CMacRadioButton::OnButtonUp(POINT p) {
  if (GetCapture() == m_hWnd) ReleaseCapture();
  if (!pressed_) return;
  const RECT client = GetClientRect();
  if (PtInRect(&client, p)) {
    check_ = TRUE;
    ClearGroup();
  }
  PostClicked(m_hWnd);
  InvalidateCircle();
  pressed_ = FALSE;
}

void CMacRadioButton::OnArrowKey(UINT key) {
  HWND parent = GetParent();
  if (!parent) return;
  ClearGroup();
  const BOOL backwards = key == VK_LEFT || key == VK_UP;
  HWND next = GetNextDlgGroupItem(parent, m_hWnd, backwards);
  if (next && next != m_hWnd && IsRadioLike(next)) {
    if (auto* radio = dynamic_cast<CMacRadioButton*>(CWnd::FromHandle(next))) {
      radio->SetCheck(TRUE);
    } else {
      ::SendMessageA(next, BM_SETCHECK, 1, 0);
    }
  }
  if (next && next != m_hWnd) SetCheck(FALSE);
}

bool CMacRadioButton::PreTranslateMessage(MSG* msg) {
  if (msg->hwnd == m_hWnd && msg->message == WM_KEYDOWN && msg->wParam >= VK_LEFT && msg->wParam <= VK_DOWN &&
      GetCapture() != m_hWnd) {
    OnArrowKey(UINT(msg->wParam));
  }
  // The dialog still gets the key and moves the focus along the group.
  return CButton::PreTranslateMessage(msg);
}

bool CMacRadioButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      if (GetCapture() == m_hWnd) {
        const RECT client = GetClientRect();
        const BOOL inside = PtInRect(&client, p);
        if (inside != pressed_) {
          pressed_ = inside;
          InvalidateCircle();
        }
      }
      return false;
    case WM_LBUTTONUP:
      OnButtonUp(p);
      result = 0;
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam != VK_SPACE) return false;
      // Space only shows the press; it does not select, and the button's
      // own handling (which would click) never sees it.
      if (msg == WM_KEYUP || !pressed_) {
        pressed_ = msg == WM_KEYDOWN;
        InvalidateCircle();
      }
      result = 0;
      return true;
    case WM_SYSCOLORCHANGE:
      SetTheme(theme_);
      return false;
    default:
      return false;
  }
}

bool CMacRadioButton::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

void CMacRadioButton::Draw(const DRAWITEMSTRUCT& item) {
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
  PaintGlyph(dc, RadioGlyph(GlyphOrigin(r, leftText), state, CheckPaletteForTheme(theme_)));

  RECT text = ToRECT(CheckTextRect(r, leftText));
  SetBkMode(dc, TRANSPARENT);
  if (state.disabled) SetTextColor(dc, GetThemeColours(theme_)[kThemeTitleInactive]);
  const std::string label = GetWindowText();
  DrawTextA(dc, label.c_str(), int(label.size()), &text, 0);
}

}  // namespace krx
