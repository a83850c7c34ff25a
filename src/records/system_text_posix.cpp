// The native build stands in for a Western Windows system: record bytes
// that are not already UTF-8 are read as windows-1252.
#include "records/system_text.h"

#include <ctime>

#include "core/log_export.h"

namespace krx {
namespace {

// windows-1252 0x80..0x9F; 0 where the code page leaves a hole (kept as C1).
const char16_t kWindows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
    if (extra == 9 || (extra && c < 0xC2) || c > 0xF4 || i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

void AppendUtf8(std::string& to, char32_t c) {
  if (c < 0x80) {
    to += char(c);
  } else if (c < 0x800) {
    to += char(0xC0 | (c >> 6));
    to += char(0x80 | (c & 0x3F));
  } else {
    to += char(0xE0 | (c >> 12));
    to += char(0x80 | ((c >> 6) & 0x3F));
    to += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string SystemTextToUtf8(std::string_view text) {
  if (IsUtf8(text)) return std::string(text);
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 2);
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    char32_t u = c;
    if (c >= 0x80 && c < 0xA0 && kWindows1252High[c - 0x80]) u = kWindows1252High[c - 0x80];
    AppendUtf8(utf8, u);
  }
  return utf8;
}

LeadBytePredicate SystemLeadBytes() { return nullptr; }

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return ExportTimeText(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

unsigned SystemCodePage() { return kCodePageUtf8; }

}  // namespace krx
