#include "core/addon_media_kind.h"

#include <cstddef>

#include "core/ascii_case.h"

namespace krx {
namespace {

// Movies, sound and their play lists, as the browser hands them to a player.
constexpr std::string_view kMediaExtensions[] = {
    "asf", "asx", "wax", "wm",  "wma", "wmv",  "wmx", "wvx",  "avi", "mpg", "mpeg", "mpe", "m1v", "mp2",
    "mp3", "mp4", "m4a", "m4v", "mov", "qt",   "ra",  "ram",  "rm",  "rmvb", "rpm", "mid", "midi", "rmi",
    "wav", "au",  "snd", "aif", "aiff", "aifc", "ogg", "flv", "3gp", "aac", "m3u", "pls", "smil",
};
constexpr std::string_view kStreamingSchemes[] = {"mms", "mmst", "mmsu", "rtsp", "pnm"};

}  // namespace

AddonMediaKind MediaKindOfAddress(std::string_view address) {
  while (!address.empty() && (address.front() == ' ' || address.front() == '\t')) address.remove_prefix(1);
  const size_t colon = address.find(':');
  if (colon != std::string_view::npos) {
    for (std::string_view scheme : kStreamingSchemes) {
      if (EqualNoCaseAscii(address.substr(0, colon), scheme)) return AddonMediaKind::kMedia;
    }
  }
  std::string_view path = address.substr(0, address.find_first_of("?#"));
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) return AddonMediaKind::kNone;
  // "http://host.swf" names a host, not a file.
  const size_t authority = path.find("://");
  if (authority != std::string_view::npos && (slash == std::string_view::npos || slash < authority + 3)) {
    return AddonMediaKind::kNone;
  }
  const std::string_view extension = path.substr(dot + 1);
  if (EqualNoCaseAscii(extension, "swf")) return AddonMediaKind::kFlash;
  for (std::string_view media : kMediaExtensions) {
    if (EqualNoCaseAscii(extension, media)) return AddonMediaKind::kMedia;
  }
  return AddonMediaKind::kNone;
}

}  // namespace krx
