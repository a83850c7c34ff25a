#pragma once
// CMeasuredComboBox: a drop-down list whose lines are drawn letter by letter
// at their measured advances. Wine draws a plain combo box's text wider than
// it measures, so a narrow box lost the end of its choice under the arrow
// ("CTRL"); measured, a text that fits the field stays in it.
//
//   CMeasuredComboBox keys;
//   keys.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rect, dialog, id);
//   keys.AddString("CTRL");
#include "framework/combo_box.h"

namespace krx {

class CMeasuredComboBox : public CComboBox {
 public:
  // Adds CBS_OWNERDRAWFIXED | CBS_HASSTRINGS to style, and sets the line
  // heights from the font once it is made (the parent is asked for them
  // while the box is created, before it is bound here).
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id);
  // Line heights for the font it has now: call after WM_SETFONT.
  void FitItemHeights();

 protected:
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace krx
