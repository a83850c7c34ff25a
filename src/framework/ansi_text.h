#pragma once
// The program's text is ANSI (the system code page); a few Win32 and COM
// calls want UTF-16. These convert between the two.
#include <cstddef>
#include <string>

namespace krx {

std::wstring AnsiToWide(const char* text, size_t length);
inline std::wstring AnsiToWide(const std::string& text) { return AnsiToWide(text.data(), text.size()); }
std::string WideToAnsi(const wchar_t* text, size_t length);

}  // namespace krx
