#pragma once
// CSkinProgress: a flat progress bar, a window of its own class: the done
// part filled in one colour inside an optional sunken 1-pixel edge.
//
//   bar.SetRange(0, total);
//   bar.SetBarColour(colours[kThemeShadow]);
//   bar.Create(RECT{30, 85, 270, 100}, dialog);
//   bar.SetBorder(TRUE);
//   bar.SetPos(step);   // refused outside the range
#include "framework/wnd.h"

namespace krx {

class CSkinProgress : public CWnd {
 public:
  void SetRange(int min, int max) {
    min_ = min;
    max_ = max;
  }
  void SetBarColour(COLORREF colour) { colour_ = colour; }
  void SetBorder(BOOL border) { border_ = border != FALSE; }
  BOOL Create(const RECT& rect, HWND parent);
  // FALSE, changing nothing, for a position outside the range.
  BOOL SetPos(int pos);
  int GetPos() const { return pos_; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint();

  COLORREF colour_ = RGB(0, 0, 100);
  int min_ = 0, max_ = 100;
  int pos_ = 0;
  bool border_ = false;
};

}  // namespace krx
