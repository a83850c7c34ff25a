#include "address_text.h"

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

}  // namespace

std::string AddressText(const wchar_t* text, int length) {
  if (!text || length <= 0) return std::string();
  std::string out;
  int i = 0;
  while (i < length && text[i] < 0x80) ++i;
  if (i == length) return std::string(text, text + length);  // plain ASCII, as most are
  const std::wstring wide = WideOf(krx::AddressWithAsciiHost(Utf8Of(text, length)), CP_UTF8);
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
