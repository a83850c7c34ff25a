#include "skin/mac_radio_button.h"

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

void CMacRadioButton::OnSpace(bool down) {
  if (down && pressed_) return;  // the key's repeats
  pressed_ = down;
  InvalidateGlyph();
}

std::vector<GlyphOp> CMacRadioButton::Glyph(PixelPoint origin, const GlyphState& state,
                                            const CheckPalette& palette) const {
  return RadioGlyph(origin, state, palette);
}

}  // namespace krx
