#include "address_text.h"

#include <string_view>
#include <utility>

#include "core/addon_rules.h"

namespace krx_addon {
namespace {

std::string Utf8Of(const wchar_t* text, int length) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring WideOf(const std::string& text, UINT codePage) {
  int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &out[0], n);
  return out;
}

// The text in the system code page when every character is there as
// itself; false when the system would put in a look-alike or its default.
bool ExactAnsi(const wchar_t* text, int length, std::string& out) {
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  out.assign(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, &out[0], n, nullptr, &lossy);
  return !lossy;
}

// The system's own conversion of an international label (kernel32 from
// Vista on; normaliz.dll where it was installed on older systems), looked
// up at run time. It normalises and folds case as the standard says, so
// that a decomposed or full-width form names the host it shows.
using IdnToAsciiFunction = int(WINAPI*)(DWORD flags, LPCWSTR text, int length, LPWSTR out, int outLength);
constexpr DWORD kIdnAllowUnassigned = 0x1;

IdnToAsciiFunction SystemIdnToAscii() {
  static const IdnToAsciiFunction found = [] {
    FARPROC f = nullptr;
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) f = GetProcAddress(kernel, "IdnToAscii");
    if (!f) {
      // By its full path: never a copy planted in the browser's folder.
      char system[MAX_PATH];
      const UINT n = GetSystemDirectoryA(system, MAX_PATH);
      if (n > 0 && n < MAX_PATH - 20) {
        if (HMODULE normaliz = LoadLibraryA((std::string(system, n) + "\\normaliz.dll").c_str())) {
          f = GetProcAddress(normaliz, "IdnToAscii");  // kept loaded for the process's life
        }
      }
    }
    return reinterpret_cast<IdnToAsciiFunction>(reinterpret_cast<void*>(f));
  }();
  return found;
}

bool SystemLabelToAscii(std::u32string_view label, std::string& ascii) {
  const IdnToAsciiFunction convert = SystemIdnToAscii();
  if (!convert) return false;
  std::wstring wide;
  for (char32_t c : label) {
    if (c < 0x10000) {
      wide += wchar_t(c);
    } else {
      wide += wchar_t(0xD800 + ((c - 0x10000) >> 10));
      wide += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  // The label holds at most 63 code points; its ASCII form more than 255
  // characters is no form at all.
  wchar_t out[256];
  const int n = convert(kIdnAllowUnassigned, wide.data(), int(wide.size()), out, 256);
  if (n <= 0 || n > 255) return false;
  std::string result;
  for (int i = 0; i < n; ++i) {
    if (out[i] == 0 && i == n - 1) break;
    if (out[i] == 0 || out[i] >= 0x80) return false;
    result += char(out[i]);
  }
  ascii = std::move(result);
  return true;
}

}  // namespace

std::string AddressText(const wchar_t* text, int length) {
  if (!text || length <= 0) return std::string();
  std::string out;
  int i = 0;
  while (i < length && text[i] < 0x80) ++i;
  if (i == length) return std::string(text, text + length);  // plain ASCII, as most are
  const std::wstring wide = WideOf(krx::AddressWithAsciiHost(Utf8Of(text, length), &SystemLabelToAscii), CP_UTF8);
  if (ExactAnsi(wide.data(), int(wide.size()), out)) return out;
  static const char kHex[] = "0123456789ABCDEF";
  out.clear();
  for (size_t at = 0; at < wide.size();) {
    const int n = IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() && IS_LOW_SURROGATE(wide[at + 1]) ? 2 : 1;
    std::string one;
    if (ExactAnsi(&wide[at], n, one)) {
      out += one;
    } else {
      for (unsigned char b : Utf8Of(&wide[at], n)) {
        out += '%';
        out += kHex[b >> 4];
        out += kHex[b & 15];
      }
    }
    at += size_t(n);
  }
  return out;
}

std::string AddressText(BSTR text) { return text ? AddressText(text, int(SysStringLen(text))) : std::string(); }

std::string AddressTextOfWide(const std::u16string& text) {
  return AddressText(reinterpret_cast<const wchar_t*>(text.data()), int(text.size()));
}

void ToAddressText(std::string& ansi) {
  size_t i = 0;
  while (i < ansi.size() && static_cast<unsigned char>(ansi[i]) < 0x80) ++i;
  if (i == ansi.size()) return;
  const std::wstring wide = WideOf(ansi, CP_ACP);
  ansi = AddressText(wide.data(), int(wide.size()));
}

}  // namespace krx_addon
