#pragma once
// Window-test helpers: pixels, PNG screenshots, and message pumping for
// tests that drive real windows under Wine and Xvfb.
#include <windows.h>

#include <functional>
#include <string>

namespace krx_test {

// The colour of a pixel of a window, in window coordinates (0,0 = the
// window's top-left corner, frame included) or client coordinates.
COLORREF WindowPixel(HWND hwnd, int x, int y);
COLORREF ClientPixel(HWND hwnd, int x, int y);

// Saves what the window shows (frame included) as a 24-bit PNG. Paint the
// window first (PumpMessages). Returns false if it could not be written.
bool SaveWindowPng(HWND hwnd, const std::string& path);

// Dispatches every message waiting for this thread, repeatedly until none
// is left (messages that post further messages are followed up).
void PumpMessages();

// Pumps until `done` returns true or about `limitMs` passed; returns the
// last value of `done`. The limit only stops a hung test; nothing is
// asserted about time.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 10000);

// Runs `action` from whatever message loop this thread runs next (a
// dialog's modal loop, for instance), through a thread timer.
void RunInLoop(std::function<void()> action, UINT delayMs = 0);

// Sends what a mouse click at client point (x,y) would send.
void ClickClient(HWND hwnd, int x, int y);

// Posts a key press (down and up) to a window.
void PostKey(HWND hwnd, UINT virtualKey);

}  // namespace krx_test
