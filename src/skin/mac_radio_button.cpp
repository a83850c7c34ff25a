#include "skin/mac_radio_button.h"

#include <windowsx.h>

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

RECT CMacRadioButton::CircleArea() const {
  return ToRECT(RadioArea(ToPixelRect(GetClientRect()), (GetStyle() & BS_LEFTTEXT) != 0));
}

void CMacRadioButton::ClearGroup() {
  HWND parent = GetParent();
  if (!parent) return;
  for (HWND h = GetNextDlgGroupItem(parent, m_hWnd, TRUE); h && h != m_hWnd;
       h = GetNextDlgGroupItem(parent, h, TRUE)) {
    if (IsRadioLike(h)) Uncheck(h);
  }
}

void CMacRadioButton::OnButtonUp(POINT p) {
  if (GetCapture() == m_hWnd) ReleaseCapture();
  if (!pressed_) return;
  if (IsInside(p)) {
    check_ = TRUE;
    ClearGroup();
  }
  PostClicked(m_hWnd);
  InvalidateGlyph();
  pressed_ = FALSE;
}

void CMacRadioButton::OnArrowKey(UINT key) {
  HWND parent = GetParent();
  if (!parent) return;
  const BOOL backwards = key == VK_LEFT || key == VK_UP;
  HWND next = GetNextDlgGroupItem(parent, m_hWnd, backwards);
  // The selection moves only when another member can take it: a group of
  // one, or a neighbour that is no radio (a label sharing the group), must
  // not be left with nothing selected.
  if (!next || next == m_hWnd || !IsRadioLike(next)) return;
  ClearGroup();
  if (auto* radio = dynamic_cast<CMacRadioButton*>(CWnd::FromHandle(next))) {
    radio->SetCheck(TRUE);
  } else {
    ::SendMessageA(next, BM_SETCHECK, 1, 0);
  }
  SetCheck(FALSE);
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
      BeginPress();
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      TrackPress(p);
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
        InvalidateGlyph();
      }
      result = 0;
      return true;
    default:
      return CMacGlyphButton::OnMessage(msg, wParam, lParam, result);
  }
}

std::vector<GlyphOp> CMacRadioButton::Glyph(PixelPoint origin, const GlyphState& state,
                                            const CheckPalette& palette) const {
  return RadioGlyph(origin, state, palette);
}

}  // namespace krx
