#pragma once
// What the add-on looks for in a page it walks: the flash objects (for the
// flash log and the flash hotkey), the movies and sounds a player plays in
// the page (for the media log), the GIF pictures (for the GIF hotkey), and
// the full address of a file a page names relative to itself.
#include <string>
#include <string_view>

namespace krx {

enum class PageElementKind { kOther, kFlash, kMedia, kGif };

// An element by its tag name and the attributes that tell (as the page
// writes them, "" when absent): an EMBED or OBJECT of the flash player's
// type or class, or whose file is a .swf; an EMBED or OBJECT of an audio or
// video type, of a media player's class, or whose file is a movie or sound
// (see addon_media_kind.h); an IMG whose file is a .gif.
struct PageElement {
  std::string_view tag;
  std::string_view src;     // EMBED and IMG: src; OBJECT: data, or its movie/src/url/filename parameter
  std::string_view type;
  std::string_view classId;
};
PageElementKind ClassifyPageElement(const PageElement& e);

// The address a page at base means by ref: ref itself when it names its
// scheme; otherwise put together with base's scheme, host and folder as a
// browser does ("//host/x", "/x", "x", "../x", "?q", "#f"). An empty ref is
// the base without its fragment.
std::string ResolveAddress(std::string_view base, std::string_view ref);

}  // namespace krx
