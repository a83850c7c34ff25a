#pragma once
// Drives the program's modal dialogs from inside their own loops: a script
// runs once the dialog is up, typing and reading as a user would.
#include <windows.h>

#include <functional>
#include <string>

#include "support/window_capture_win32.h"

namespace krx_test {

// Runs dlg modally; script runs inside its loop once it is up, and a dialog
// that the script left open is cancelled. Returns the modal result.
template <typename Dialog>
INT_PTR RunModal(Dialog& dlg, const std::function<void(Dialog&)>& script) {
  RunInLoop([&] {
    script(dlg);
    if (dlg.m_hWnd && !dlg.IsEnding()) dlg.SendMessage(WM_COMMAND, IDCANCEL);
  });
  return dlg.DoModal();
}

// Types text into an edit the way a user does, one WM_CHAR at a time.
void TypeText(HWND edit, const std::string& text);

std::string WindowText(HWND hwnd);

bool SameRect(const RECT& a, const RECT& b);

// Saves the window as KRX_SCREENSHOT_DIR\name.png for people to look at;
// without that variable nothing is saved. False only when saving failed.
bool SaveScreenshot(HWND hwnd, const std::string& name);

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

}  // namespace krx_test
