#include "framework/ansi_text.h"

#include <windows.h>

namespace krx {

std::wstring AnsiToWide(const char* text, size_t length) {
  if (length == 0) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text, int(length), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, int(length), &wide[0], n);
  return wide;
}

std::string WideToAnsi(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int n = WideCharToMultiByte(CP_ACP, 0, text, int(length), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, int(length), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace krx
