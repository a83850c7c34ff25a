#pragma once
// Drives the program's modal dialogs from inside their own loops: a script
// runs once the dialog is up, and skinned message boxes that open meanwhile
// are read and answered.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace krx_test {

// Answers every skinned message box ("Message") that this thread opens
// while it lives, recording its text.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
  std::vector<std::string> texts_;
};

// Types text into an edit the way a user does, one WM_CHAR at a time.
void TypeText(HWND edit, const std::string& text);

// Saves the window as KRX_SCREENSHOT_DIR\name.png for people to look at;
// without that variable nothing is saved. False only when saving failed.
bool SaveScreenshot(HWND hwnd, const std::string& name);

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

}  // namespace krx_test
