#include "support/message_box_catcher_win32.h"

namespace krx_test {

namespace {

MessageBoxCatcher* g_catcher = nullptr;

std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
  if (IsWindowVisible(hwnd) && TextOf(hwnd) == "Message") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND hwnd, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  std::string text = TextOf(hwnd);
  if (lstrcmpiA(cls, "Static") == 0 && !text.empty() && text != "Message") {
    *reinterpret_cast<std::string*>(out) += text;
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher() {
  g_catcher = this;
  timer_ = SetTimer(nullptr, 0, 20, &MessageBoxCatcher::OnTimer);
}

MessageBoxCatcher::~MessageBoxCatcher() {
  KillTimer(nullptr, timer_);
  g_catcher = nullptr;
}

void CALLBACK MessageBoxCatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_catcher) return;
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  std::string text;
  EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&text));
  g_catcher->texts_.push_back(text);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace krx_test
