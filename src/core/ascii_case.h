#pragma once
// Case rules for the ASCII parts of addresses and page markup (schemes, hosts,
// extensions, tag names): only A-Z change, whatever the code page, so bytes
// of national characters are compared as they stand.
#include <cstddef>
#include <string>
#include <string_view>

namespace krx {

inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

inline bool EqualNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace krx
