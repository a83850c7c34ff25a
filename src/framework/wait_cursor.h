#pragma once
// The hourglass for the length of a busy scope, as users expect of a window
// that reads, fills or waits; the previous cursor comes back at the end (and
// the window's own with the next mouse move).
#include <windows.h>

namespace krx {

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace krx
