#pragma once
// CMacGlyphButton: what the skinned check box and radio button share: a
// 12 x 12 glyph beside the text in the theme's colours, the check state
// kept in the object rather than in the system button, and the press that
// follows the mouse while it holds the capture. The two controls differ
// only in their glyph, their text format and what their input does.
#include <string>
#include <vector>

#include "core/check_geometry.h"
#include "skin/owner_draw_button.h"
#include "skin/themed.h"

namespace krx {

class CMacGlyphButton : public COwnerDrawButton, public IThemed {
 public:
  void SetTheme(int index) override;
  int GetTheme() const { return theme_; }
  BOOL GetCheck() const { return check_; }
  bool IsPressed() const { return pressed_; }

 protected:
  // What a state change repaints (erasing).
  virtual RECT GlyphArea() const = 0;
  virtual std::vector<GlyphOp> Glyph(PixelPoint origin, const GlyphState& state, const CheckPalette& palette) const = 0;
  virtual UINT TextFormat(HDC dc, const std::string& label, const RECT& text) const = 0;

  // What a release of the left button and Space do differ between the two.
  virtual void OnButtonUp(POINT p) = 0;
  virtual void OnSpace(bool down) = 0;
  // Whether the system button still sees mouse moves after ours.
  virtual bool MouseMoveGoesOn() const { return false; }

  // Presses, releases and Space are ours alone: the system button would
  // click on them.
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) final;
  void DrawItem(const DRAWITEMSTRUCT& item) final;

  void InvalidateGlyph();
  // Stores the check and repaints the glyph if it changed.
  void StoreCheck(BOOL state);
  // Left button down: pressed, focus and capture.
  void BeginPress();
  // Mouse move while holding the capture: pressed while the point is inside.
  void TrackPress(POINT p);
  bool IsInside(POINT p) const;

  BOOL pressed_ = FALSE;
  BOOL check_ = FALSE;
  int theme_ = 5;
};

}  // namespace krx
