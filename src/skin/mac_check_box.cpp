#include "skin/mac_check_box.h"

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

void CMacCheckBox::OnSpace(bool down) {
  pressed_ = down;
  if (!down) check_ = !check_;
  InvalidateGlyph();
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
