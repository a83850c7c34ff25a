// Record text in the system's ANSI code page, converted through Windows.
#include <windows.h>

#include "records/system_text.h"

#include "core/log_export.h"

namespace krx {

std::string SystemTextToUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  if (i == text.size() || text.size() > 0x7FFFFFF) return std::string(text);
  int n = int(text.size());
  int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
  if (wide <= 0) return std::string(text);
  std::wstring w(size_t(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), n, &w[0], wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

unsigned SystemCodePage() { return GetACP(); }

namespace {
bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
}  // namespace

LeadBytePredicate SystemLeadBytes() {
  CPINFO info;
  if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1) return nullptr;
  return &SystemLeadByte;
}

std::string LocalTimeText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return ExportTimeText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

}  // namespace krx
