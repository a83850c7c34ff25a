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
#include <string>

#include "framework/button.h"
#include "skin/themed.h"

namespace krx {

class CMacCheckBox : public CButton, public IThemed {
 public:
  void SetTheme(int index) override;
  int GetTheme() const { return theme_; }
  BOOL GetCheck() const { return check_; }
  void SetCheck(BOOL state);
  bool IsPressed() const { return pressed_; }

  // What a state change repaints: the box and the two pixels of tick that
  // reach past it.
  RECT BoxArea() const;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Created as an ordinary check box or radio button (or adopted from a
  // template), it draws itself: the button type becomes BS_OWNERDRAW.
  void PreSubclassWindow() override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  void OnButtonDown();
  void OnMouseMove(POINT p);
  void OnButtonUp(POINT p);
  void InvalidateBox();

  BOOL pressed_ = FALSE;
  BOOL check_ = FALSE;
  int theme_ = 5;
};

}  // namespace krx
