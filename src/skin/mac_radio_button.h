#pragma once
// CMacRadioButton: the skinned radio button. It draws a 12 x 12 circle in
// its theme's colours and keeps its own selection. A click inside selects it,
// clears the rest of its dialog group (WS_GROUP as usual) and posts
// BN_CLICKED; the arrow keys move the selection through the group silently,
// while the dialog moves the focus.
#include "skin/mac_glyph_button.h"

namespace krx {

class CMacRadioButton : public CMacGlyphButton {
 public:
  // Stores the state and repaints the circle; sends nothing.
  void SetCheck(BOOL state) { StoreCheck(state); }

  RECT CircleArea() const;

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  RECT GlyphArea() const override { return CircleArea(); }
  std::vector<GlyphOp> Glyph(PixelPoint origin, const GlyphState& state, const CheckPalette& palette) const override;
  // Top-left, prefix characters processed.
  UINT TextFormat(HDC, const std::string&, const RECT&) const override { return 0; }

  void OnButtonUp(POINT p) override;
  // Space only shows the press; it does not select.
  void OnSpace(bool down) override;
  bool MouseMoveGoesOn() const override { return true; }

 private:
  void OnArrowKey(UINT key);
  // Unchecks every other radio-like member of this button's dialog group.
  void ClearGroup();
};

}  // namespace krx
