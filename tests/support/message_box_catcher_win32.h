#pragma once
// Answers the program's skinned message boxes ("Message") that the code
// under test opens on this thread, recording each one's text. A thread timer
// does the looking, so it works from inside whatever modal loop runs.
#include <windows.h>

#include <string>
#include <vector>

namespace krx_test {

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
  // One entry per box answered: the texts of its static controls.
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
  std::vector<std::string> texts_;
};

}  // namespace krx_test
