// Any text a web page can hand the add-on: the page's address, an address it
// names relative to itself, an element's tag and attributes. Lines of the
// input, in that order: base, ref, tag, src, type, classid.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/addon_media_kind.h"
#include "core/addon_page_elements.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool HasScheme(const std::string& s) {
  size_t colon = s.find(':');
  if (colon == 0 || colon == std::string::npos) return false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = s[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!(letter || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))) return false;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  size_t at = 0;
  while (parts.size() < 6) {
    size_t end = text.find('\n', at);
    parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  parts.resize(6);
  const std::string& base = parts[0];
  const std::string& ref = parts[1];

  const std::string full = krx::ResolveAddress(base, ref);
  // An address that names its scheme stands as it is.
  if (HasScheme(ref) && ref.find_first_of(" \t\r\n") == std::string::npos) Check(full == ref);
  // Resolving the result against the same page changes nothing more.
  if (HasScheme(full) && full.find_first_of(" \t\r\n") == std::string::npos) {
    Check(krx::ResolveAddress(base, full) == full);
  }

  const krx::PageElementKind kind = krx::ClassifyPageElement({parts[2], parts[3], parts[4], parts[5]});
  if (kind == krx::PageElementKind::kGif) Check(parts[2].find_first_of("iI") != std::string::npos);
  const krx::AddonMediaKind file = krx::MediaKindOfAddress(parts[3]);
  if (file == krx::AddonMediaKind::kFlash && kind != krx::PageElementKind::kOther) {
    Check(kind == krx::PageElementKind::kFlash);
  }
  return 0;
}
