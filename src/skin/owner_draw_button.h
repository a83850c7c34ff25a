#pragma once
// COwnerDrawButton: what every skinned button shares: it may be created as
// an ordinary button (or adopted from a template) and still draws itself,
// because its button type becomes BS_OWNERDRAW when the window is bound, and
// the parent's reflected WM_DRAWITEM reaches DrawItem.
#include "framework/button.h"

namespace krx {

class COwnerDrawButton : public CButton {
 protected:
  void PreSubclassWindow() override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT& item) = 0;
};

}  // namespace krx
