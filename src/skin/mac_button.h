#pragma once
// CMacButton: the toolkit's owner-drawn push button: a rounded, bevelled
// face in its theme's colours, a coloured ring while the mouse is over it,
// an optional icon beside or above the text, push / toggle / latch
// behaviour and an optional tooltip. Create it like any button (BS_OWNERDRAW
// is added when the window is bound), or adopt a template's button:
//
//   CMacButton ok;
//   ok.Create("&OK", WS_CHILD | WS_VISIBLE, rect, dialog, IDOK);
//   ok.SetTheme(theme);
//   ok.SetIcon16(IDI_SOMETHING);
//   ok.SetTooltipText("Saves the list");
//
// It sends the usual BN_CLICKED. BS_FLAT makes the flat, frame-less form
// (the caption close button); SetFlatFrame(TRUE) gives it the frame colour.
#include "core/theme_table.h"
#include "framework/gdi.h"
#include "skin/owner_draw_button.h"
#include "skin/themed.h"

namespace krx {

class CMacButton : public COwnerDrawButton, public IThemed {
 public:
  enum State { kNormal = 0, kHover = 1, kPressed = 2 };
  enum Behaviour { kPush = 0, kToggle = 1, kLatch = 2 };

  CMacButton();
  ~CMacButton() override;

  void SetTheme(int index) override;
  int GetTheme() const { return theme_; }
  const ThemeColours& GetThemeColours() const { return krx::GetThemeColours(theme_); }

  void SetBehaviour(int behaviour) { behaviour_ = behaviour; }
  void SetCorner(int width, int height) {
    cornerWidth_ = width;
    cornerHeight_ = height;
  }
  int CornerWidth() const { return cornerWidth_; }
  // Load the icon resource at 16 x 16 or 32 x 32 (owned by the button).
  void SetIcon16(UINT id) { LoadButtonIcon(id, 16); }
  void SetIcon32(UINT id) { LoadButtonIcon(id, 32); }

  int GetState() const { return state_; }
  // Stores a new state (also as the latched state for toggle and latch
  // buttons); with redraw the whole face is repainted.
  void SetState(int state, BOOL redraw);

  void SetTooltipText(const std::string& text);
  HWND TooltipWindow() const { return tooltip_; }

  void SetColouredText(BOOL on) { colouredText_ = on != FALSE; }
  void SetFlatFrame(BOOL on) { flatFrame_ = on != FALSE; }
  void SetIconAbove(BOOL on) { iconAbove_ = on != FALSE; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  struct Colours {
    COLORREF highlight, face, light, shadow, border, darkLine, mid;
  };

  void LoadColours();
  void LoadButtonIcon(UINT id, int size);
  void PaintFace(HDC dc, const RECT& r, bool selected, bool disabled);
  void PaintFlatFace(HDC dc, const RECT& r, bool selected);
  void PaintIcon(HDC dc, const RECT& r, bool flat, bool disabled);
  void DrawRing(HDC dc, const RECT& r);
  void RedrawRing();
  void DrawCaption(HDC dc, const RECT& r, bool disabled);
  bool IsFlat() const { return (GetStyle() & BS_FLAT) != 0; }

  bool OnMouseMove(POINT at);
  bool OnLButtonDown();
  void OnCaptureChanged();

  bool colouredText_ = false;
  bool flatFrame_ = false;
  bool iconAbove_ = false;
  int theme_ = kDefaultTheme;
  int state_ = kNormal;
  bool entering_ = false;
  int behaviour_ = kPush;
  Colours colours_ = {};
  CIcon icon_;
  int iconWidth_ = 0, iconHeight_ = 0;
  int cornerWidth_ = 6, cornerHeight_ = 6;
  int latched_ = kNormal;
  HWND tooltip_ = nullptr;
  std::string tooltipText_;

  // The tooltip window, adopted so that the dialog reflects its
  // NM_CUSTOMDRAW and TTN_SHOW here (a popup's notifications go to the
  // top-level window).
  class CTipWindow : public CWnd {
   protected:
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  };
  CTipWindow tipWindow_;
};

}  // namespace krx
