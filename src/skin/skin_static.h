#pragma once
// CSkinStatic: a static control with its own text and background colours,
// or transparent over its parent (optionally drawing an icon at its origin).
// It answers the control-colour message reflected from its parent; on a
// CSkinDialog the dialog then puts its own background under it.
//
//   title.Create(text, WS_CHILD | WS_VISIBLE, rect, parent);
//   title.SetFont(font);
//   title.SetTransparent(TRUE);
//   title.SetColours(RGB(0, 0, 0), RGB(255, 255, 255));
#include "framework/gdi.h"
#include "framework/static.h"

namespace krx {

class CSkinStatic : public CStatic {
 public:
  // Stores the text colour; unless transparent also the background colour
  // and a brush of it.
  void SetColours(COLORREF text, COLORREF background);
  void SetTransparent(BOOL transparent) { transparent_ = transparent != FALSE; }
  // The icon is not owned; it must outlive the control. Makes it transparent.
  void SetIcon(HICON icon, int width, int height);
  // Remembers the font and sends WM_SETFONT with redraw.
  void SetFont(HFONT font);
  // Sets the text; a transparent control first has its parent repaint the
  // area under it, or the old text would stay visible beneath the new.
  void SetText(const std::string& text);

  // Paints the text itself, word-wrapped at the control's width with every
  // character at its measured advance, so a control sized to the text's
  // GetTextExtentPoint32 / DrawText(DT_CALCRECT) extent shows all of it.
  // The system static draws glyphs where the font engine puts them, which
  // under Wine runs a few pixels past that extent and clips the last letter.
  // Left-aligned text only, '&' shown as it is (SS_NOPREFIX), no grey look
  // when disabled: what a message text needs.
  void SetMeasuredText(BOOL measured) { measured_ = measured != FALSE; }

  COLORREF TextColour() const { return textColour_; }
  BOOL IsTransparent() const { return transparent_; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void PaintMeasuredText(HDC dc);

  COLORREF textColour_ = RGB(0, 0, 0);
  COLORREF backgroundColour_ = RGB(255, 255, 255);
  bool transparent_ = false;
  bool measured_ = false;
  CBrush background_;
  HICON icon_ = nullptr;
  int iconWidth_ = 0, iconHeight_ = 0;
  HFONT font_ = nullptr;
};

}  // namespace krx
