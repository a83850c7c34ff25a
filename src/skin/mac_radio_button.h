#pragma once
// CMacRadioButton: the skinned radio button. It draws a 12 x 12 circle in
// its theme's colours and keeps its own selection. A click inside selects it,
// clears the rest of its dialog group (WS_GROUP as usual) and posts
// BN_CLICKED; the arrow keys move the selection through the group silently,
// while the dialog moves the focus.
#include <string>

#include "framework/button.h"
#include "skin/themed.h"

namespace krx {

class CMacRadioButton : public CButton, public IThemed {
 public:
  void SetTheme(int index) override;
  int GetTheme() const { return theme_; }
  BOOL GetCheck() const { return check_; }
  // Stores the state and repaints the circle; sends nothing.
  void SetCheck(BOOL state);
  bool IsPressed() const { return pressed_; }

  RECT CircleArea() const;

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Created as an ordinary check box or radio button (or adopted from a
  // template), it draws itself: the button type becomes BS_OWNERDRAW.
  void PreSubclassWindow() override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  void OnButtonDown();
  void OnButtonUp(POINT p);
  void OnArrowKey(UINT key);
  // Unchecks every other radio-like member of this button's dialog group.
  void ClearGroup();
  void InvalidateCircle();

  BOOL pressed_ = FALSE;
  BOOL check_ = FALSE;
  int theme_ = 5;
};

}  // namespace krx
