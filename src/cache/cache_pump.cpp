#include "cache/cache_pump.h"

namespace krx {

Drained DrainMessages(HWND window) {
  Drained drained;
  MSG msg;
  while (IsWindow(window) && PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      drained.escape = true;
      return drained;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      drained.escape = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++drained.dispatched;
  }
  return drained;
}

std::string WindowText(HWND window) {
  if (window == nullptr) return "";
  std::string text(size_t(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(window, &text[0], int(text.size()))));
  return text;
}

int ComboSelection(HWND combo) {
  if (combo == nullptr) return -1;
  return int(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

}  // namespace krx
