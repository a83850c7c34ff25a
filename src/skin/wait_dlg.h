#pragma once
// CWaitDlg: the "Please Wait..." window: a line of text over a progress bar
// in the theme's shadow colour, topmost, without a close button. Reaching
// the end of the range hides it.
//
// Driven by the caller (who polls it for Escape):
//   CWaitDlg wait;
//   wait.SetRange(0, count);  wait.SetText("Deleting...");  wait.SetThemeIndex(theme);
//   wait.Create(129, m_hWnd);
//   for (int a = 1; a <= count; ++a) { Work(a); if (!wait.StepAndPoll(a)) break; }
//   wait.DestroyWindow();
// Or from a thread of its own while the caller works: wait_window.h.
#include <string>

#include "skin/skin_dialog.h"
#include "skin/skin_progress.h"
#include "skin/skin_static.h"

namespace krx {

class CWaitDlg : public CSkinDialog {
 public:
  CWaitDlg() : CSkinDialog(nullptr) {}
  ~CWaitDlg() override { DestroyWindow(); }

  void SetRange(int min, int max) {
    min_ = min;
    max_ = max;
  }
  void SetText(const std::string& text) { text_ = text; }
  // Moves the bar and repaints it at once; the last step ends the dialog.
  void SetStep(int pos);
  // The caller-driven step: SetStep, repaint, then dispatch the window's
  // pending messages. False when Escape was pressed among them.
  bool StepAndPoll(int pos);

  CSkinProgress& Bar() { return bar_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  std::string text_ = "Please Wait...";
  int min_ = 0, max_ = 100;
  CSkinStatic textControl_;
  CSkinProgress bar_;
};

}  // namespace krx
