#pragma once
// CMacCheckBox: the skinned check box. It draws a 12 x 12 box in its theme's
// colours, keeps its own check state and handles mouse and keyboard itself:
// a click toggles on release inside and posts BN_CLICKED to the parent;
// Space toggles on key up without a notification.
//
//   CMacCheckBox box;
//   box.Create("Start with Windows", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, rect, dialog, 1001);
//   box.SetTheme(theme);
//   box.SetCheck(TRUE);
#include "skin/mac_glyph_button.h"

namespace krx {

class CMacCheckBox : public CMacGlyphButton {
 public:
  void SetCheck(BOOL state);

  // What a state change repaints: the box and the two pixels of tick that
  // reach past it.
  RECT BoxArea() const;

 protected:
  RECT GlyphArea() const override { return BoxArea(); }
  std::vector<GlyphOp> Glyph(PixelPoint origin, const GlyphState& state, const CheckPalette& palette) const override;
  UINT TextFormat(HDC dc, const std::string& label, const RECT& text) const override;
  void OnButtonUp(POINT p) override;
  // The button's own Space handling would send BN_CLICKED; the keyboard
  // toggle is silent.
  void OnSpace(bool down) override;
};

}  // namespace krx
