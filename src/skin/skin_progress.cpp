#include "skin/skin_progress.h"

#include "core/skin_geometry.h"
#include "framework/gdi.h"

namespace krx {

namespace {
const char kClassName[] = "KrxSkinProgress";
}

BOOL CSkinProgress::Create(const RECT& rect, HWND parent) {
  if (!RegisterWndClass(kClassName, CS_SAVEBITS)) return FALSE;
  return CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect, parent, 0xFFFF);
}

BOOL CSkinProgress::SetPos(int pos) {
  if (!ProgressAccepts(pos, min_, max_)) return FALSE;
  pos_ = pos;
  if (!m_hWnd) return TRUE;
  RECT r = GetWindowRect();
  HWND parent = GetParent();
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  Rect dirty = ProgressParentInvalidRect({r.left, r.top, r.right, r.bottom}, pos, min_, max_);
  RECT d = {dirty.left, dirty.top, dirty.right, dirty.bottom};
  InvalidateRect(parent, &d, TRUE);
  Invalidate(FALSE);
  return TRUE;
}

bool CSkinProgress::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_PAINT) return false;
  result = Default();  // validates the window
  Paint();
  return true;
}

void CSkinProgress::Paint() {
  CClientDC dc(m_hWnd);
  RECT c = GetClientRect();
  Rect fill = ProgressFillRect({c.left, c.top, c.right, c.bottom}, pos_, min_, max_);
  if (fill.right > fill.left) {
    RECT f = {fill.left, fill.top, fill.right, fill.bottom};
    CBrush brush(CreateSolidBrush(colour_));
    FillRect(dc, &f, brush);
  }
  if (border_) DrawEdge(dc, &c, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace krx
