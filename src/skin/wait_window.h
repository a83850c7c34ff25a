#pragma once
// The threaded "Please Wait..." window. A long operation on the user
// interface thread shows progress without pumping messages itself:
//
//   WaitWindowStart(m_hWnd, "Merging...", total, theme);
//   for (int i = 1; i <= total; ++i) { Work(i); WaitWindowStep(i); }
//   WaitWindowDone();   // exactly once, also when total is 0
//
// The window lives in a thread of its own that repaints it every 10 ms from
// the shared step; it hides when the step reaches the total and closes at
// WaitWindowDone, which returns once the window is gone. One wait window
// at a time (one shared state).
#include <string>

typedef struct HWND__* HWND;

namespace krx {

void WaitWindowStart(HWND owner, const std::string& text, int total, int theme);
void WaitWindowStep(int step);
void WaitWindowDone();

// For tests and diagnostics: the wait thread's window while it exists
// (null before it is created and after it is destroyed), and whether the
// wait thread still runs.
HWND WaitWindowHandle();
bool WaitWindowRunning();

}  // namespace krx
