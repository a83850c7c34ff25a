#include "core/idn_host.h"

#include <cstdint>

namespace krx {

namespace {

// RFC 3492 section 5: the parameters for IDNA.
constexpr uint32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700, kInitialBias = 72, kInitialN = 128;

char Digit(uint32_t d) { return char(d < 26 ? 'a' + d : '0' + (d - 26)); }

uint32_t Adapt(uint32_t delta, uint32_t points, bool first) {
  delta = first ? delta / kDamp : delta / 2;
  delta += delta / points;
  uint32_t k = 0;
  while (delta > ((kBase - kTMin) * kTMax) / 2) {
    delta /= kBase - kTMin;
    k += kBase;
  }
  return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

// One code point of UTF-8 at text[i], moving i past it; false for a byte
// sequence that is not UTF-8 (overlong forms and surrogates included).
bool NextCodePoint(std::string_view text, size_t& i, char32_t& c) {
  const unsigned char b = static_cast<unsigned char>(text[i++]);
  if (b < 0x80) {
    c = b;
    return true;
  }
  const int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
  if (extra < 0 || (extra == 2 && b >= 0xF0) || i + size_t(extra) > text.size()) return false;
  c = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    const unsigned char t = static_cast<unsigned char>(text[i++]);
    if ((t & 0xC0) != 0x80) return false;
    c = (c << 6) | (t & 0x3F);
  }
  static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  return c >= kLeast[extra] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// Lower case for the scripts whose names people type in either case; the
// others have no case or are left as written.
char32_t Lower(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F)) {
    return c + 0x20;
  }
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (((c >= 0x100 && c <= 0x137 && c != 0x130) || (c >= 0x14A && c <= 0x177)) && c % 2 == 0) {
    return c + 1;
  }
  return c;
}

bool IsDot(char32_t c) { return c == '.' || c == 0x3002 || c == 0xFF0E || c == 0xFF61; }

}  // namespace

bool PunycodeEncode(std::u32string_view input, std::string& out) {
  out.clear();
  for (char32_t c : input)
    if (c < 0x80) out += char(c);
  const uint32_t basic = uint32_t(out.size());
  if (basic > 0) out += '-';
  uint32_t n = kInitialN, delta = 0, bias = kInitialBias, handled = basic;
  while (handled < input.size()) {
    char32_t m = 0x10FFFF + 1;
    for (char32_t c : input)
      if (c >= n && c < m) m = c;
    if ((m - n) > (UINT32_MAX - delta) / (handled + 1)) return false;
    delta += (m - n) * (handled + 1);
    n = m;
    for (char32_t c : input) {
      if (c < n && ++delta == 0) return false;
      if (c != n) continue;
      uint32_t q = delta;
      for (uint32_t k = kBase;; k += kBase) {
        const uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
        if (q < t) break;
        out += Digit(t + (q - t) % (kBase - t));
        q = (q - t) / (kBase - t);
      }
      out += Digit(q);
      bias = Adapt(delta, handled + 1, handled == basic);
      delta = 0;
      ++handled;
    }
    ++delta;
    ++n;
  }
  return true;
}

bool PunycodeLabel(std::u32string_view label, std::string& ascii) {
  std::string code;
  if (!PunycodeEncode(label, code)) return false;
  ascii = "xn--" + code;
  return true;
}

bool AsciiHost(std::string_view host, std::string& out, LabelToAscii toAscii) {
  // Counted before anything is encoded: each code point is at least one
  // byte in any form, so a host of more code points can never be real.
  size_t points = 0;
  for (size_t i = 0; i < host.size(); ++i) points += (static_cast<unsigned char>(host[i]) & 0xC0) != 0x80;
  if (points > kMostHostBytes + 1) return false;
  std::string result;
  std::u32string label;
  bool ascii = true;
  auto append = [&result](char32_t c) {
    if (c < 0x80) {
      result += char(c);
    } else if (c < 0x800) {
      result += char(0xC0 | (c >> 6));
      result += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      result += char(0xE0 | (c >> 12));
      result += char(0x80 | ((c >> 6) & 0x3F));
      result += char(0x80 | (c & 0x3F));
    } else {
      result += char(0xF0 | (c >> 18));
      result += char(0x80 | ((c >> 12) & 0x3F));
      result += char(0x80 | ((c >> 6) & 0x3F));
      result += char(0x80 | (c & 0x3F));
    }
  };
  auto endLabel = [&]() {
    if (ascii || label.size() > kMostLabelBytes) {
      for (char32_t c : label) append(c);
    } else {
      std::string code;
      if (!(toAscii && toAscii(label, code)) && !PunycodeLabel(label, code)) return false;
      result += code;
    }
    label.clear();
    ascii = true;
    return true;
  };
  for (size_t i = 0; i < host.size();) {
    char32_t c = 0;
    if (!NextCodePoint(host, i, c)) return false;
    if (IsDot(c)) {
      if (!endLabel()) return false;
      result += '.';
      continue;
    }
    c = Lower(c);
    if (c >= 0x80) ascii = false;
    label += c;
  }
  if (!endLabel()) return false;
  out = std::move(result);
  return true;
}

bool IsRefusedHost(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  bool international = false, tooLong = host.size() > kMostHostBytes;
  size_t label = 0;
  for (char c : host) {
    international = international || c == '%' || static_cast<unsigned char>(c) >= 0x80;
    label = c == '.' ? 0 : label + 1;
    tooLong = tooLong || label > kMostLabelBytes;
  }
  return international && tooLong;
}

}  // namespace krx
