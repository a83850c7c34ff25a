#include "skin/owner_draw_button.h"

namespace krx {

void COwnerDrawButton::PreSubclassWindow() { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }

bool COwnerDrawButton::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

}  // namespace krx
