#include "dialog_driver.h"

#include <cstdlib>

namespace krx_test {

void TypeText(HWND edit, const std::string& text) {
  for (char c : text) SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
}

std::string WindowText(HWND hwnd) {
  char buffer[256] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SaveScreenshot(HWND hwnd, const std::string& name) {
  const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
  if (!dir || !*dir) return true;
  return SaveWindowPng(hwnd, std::string(dir) + "\\" + name + ".png");
}

RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace krx_test
