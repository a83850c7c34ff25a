#include "core/addon_page_elements.h"

#include <vector>

#include "core/addon_media_kind.h"
#include "core/ascii_case.h"

namespace krx {
namespace {

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (EqualNoCaseAscii(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
    s.remove_suffix(1);
  }
  return s;
}

// The flash player's class and its content type.
constexpr std::string_view kFlashClassId = "D27CDB6E-AE6D-11CF-96B8-444553540000";
constexpr std::string_view kFlashType = "application/x-shockwave-flash";

// Players that pages embed for movies and sound: Windows Media Player (its
// two classes), RealPlayer, QuickTime.
constexpr std::string_view kMediaClassIds[] = {
    "6BF52A52-394A-11D3-B153-00C04F79FAA6",
    "22D6F312-B0F6-11D0-94AB-0080C74C7E95",
    "CFCDAA03-8BE4-11CF-B84B-0020AFBBCCFA",
    "02BF25D5-8C17-4B23-BC80-D3488ABDDC6B",
};

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCaseAscii(text.substr(0, prefix.size()), prefix);
}

bool IsGifFile(std::string_view address) {
  std::string_view path = Trim(address);
  path = path.substr(0, path.find_first_of("?#"));
  return path.size() > 4 && EqualNoCaseAscii(path.substr(path.size() - 4), ".gif");
}

// "scheme:" at the start: letters, then letters, digits, + - . up to the colon.
size_t SchemeLength(std::string_view s) {
  if (s.empty() || !((s[0] >= 'a' && s[0] <= 'z') || (s[0] >= 'A' && s[0] <= 'Z'))) return 0;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ':') return i;
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                    c == '-' || c == '.';
    if (!ok) return 0;
  }
  return 0;
}

// "a/b/../c/./d" -> "a/c/d", as browsers read a path's dot segments.
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> out;
  const bool rooted = !path.empty() && path.front() == '/';
  size_t at = rooted ? 1 : 0;
  bool trailing = false;
  while (at <= path.size()) {
    size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view seg = path.substr(at, end - at);
    trailing = false;
    if (seg == "..") {
      if (!out.empty()) out.pop_back();
      trailing = true;
    } else if (seg == ".") {
      trailing = true;
    } else {
      out.push_back(seg);
    }
    at = end + 1;
  }
  std::string result = rooted ? "/" : "";
  for (size_t i = 0; i < out.size(); ++i) {
    if (i) result += '/';
    result += out[i];
  }
  if (trailing && !out.empty()) result += '/';
  return result;
}

}  // namespace

PageElementKind ClassifyPageElement(const PageElement& e) {
  const std::string_view tag = Trim(e.tag);
  if (EqualNoCaseAscii(tag, "img")) return IsGifFile(e.src) ? PageElementKind::kGif : PageElementKind::kOther;
  if (!EqualNoCaseAscii(tag, "embed") && !EqualNoCaseAscii(tag, "object")) return PageElementKind::kOther;
  const std::string_view type = Trim(e.type);
  const AddonMediaKind file = MediaKindOfAddress(Trim(e.src));
  if (ContainsNoCase(e.classId, kFlashClassId) || EqualNoCaseAscii(type, kFlashType) || file == AddonMediaKind::kFlash) {
    return PageElementKind::kFlash;
  }
  for (std::string_view id : kMediaClassIds) {
    if (ContainsNoCase(e.classId, id)) return PageElementKind::kMedia;
  }
  if (StartsNoCase(type, "video/") || StartsNoCase(type, "audio/") || StartsNoCase(type, "application/x-mplayer2") ||
      file == AddonMediaKind::kMedia) {
    return PageElementKind::kMedia;
  }
  return PageElementKind::kOther;
}

std::string ResolveAddress(std::string_view base, std::string_view ref) {
  base = Trim(base);
  ref = Trim(ref);
  base = base.substr(0, base.find('#'));
  if (ref.empty()) return std::string(base);
  if (SchemeLength(ref) > 0) return std::string(ref);
  const size_t schemeEnd = SchemeLength(base);
  if (schemeEnd == 0) return std::string(ref);  // no base to go by
  const std::string_view scheme = base.substr(0, schemeEnd + 1);  // with the colon
  std::string_view rest = base.substr(schemeEnd + 1);
  std::string_view authority;
  if (rest.substr(0, 2) == "//") {
    const size_t end = rest.find_first_of("/?", 2);
    authority = rest.substr(0, end == std::string_view::npos ? rest.size() : end);
    rest.remove_prefix(authority.size());
  }
  const std::string_view query = rest.substr(rest.find('?') == std::string_view::npos ? rest.size() : rest.find('?'));
  const std::string_view path = rest.substr(0, rest.size() - query.size());
  const std::string prefix = std::string(scheme) + std::string(authority);
  if (ref.substr(0, 2) == "//") return std::string(scheme) + std::string(ref);
  if (ref.front() == '#') return std::string(base) + std::string(ref);
  if (ref.front() == '?') return prefix + std::string(path) + std::string(ref);
  const size_t refEnd = ref.find_first_of("?#");
  const std::string_view refPath = ref.substr(0, refEnd == std::string_view::npos ? ref.size() : refEnd);
  const std::string_view refTail = ref.substr(refPath.size());
  std::string merged;
  if (refPath.front() == '/') {
    merged = std::string(refPath);
  } else {
    const size_t slash = path.find_last_of('/');
    merged = (slash == std::string_view::npos ? std::string(authority.empty() ? "" : "/")
                                              : std::string(path.substr(0, slash + 1))) +
             std::string(refPath);
  }
  return prefix + RemoveDotSegments(merged) + std::string(refTail);
}

}  // namespace krx
