// The flash objects, media and GIF pictures the add-on finds in a page, and the
// full addresses of the files a page names relative to itself.
#include <gtest/gtest.h>

#include "core/addon_page_elements.h"

namespace {

using krx::PageElementKind;

TEST(AddonPageElements, FlashObjectsMediaAndGifPictures) {
  const struct {
    krx::PageElement element;
    PageElementKind kind;
  } cases[] = {
      {{"EMBED", "intro.swf", "", ""}, PageElementKind::kFlash},
      {{"embed", "/play?id=4", "application/x-shockwave-flash", ""}, PageElementKind::kFlash},
      {{"EMBED", "clip.mov", "video/quicktime", ""}, PageElementKind::kMedia},
      {{"EMBED", "/stream?id=3", "application/x-mplayer2", ""}, PageElementKind::kMedia},
      {{"EMBED", "song", "Audio/MPEG", ""}, PageElementKind::kMedia},
      {{"EMBED", "mms://media.example.com/live", "", ""}, PageElementKind::kMedia},
      {{"OBJECT", "news.wmv", "", ""}, PageElementKind::kMedia},
      {{"OBJECT", "", "", "CLSID:6bf52a52-394a-11d3-b153-00c04f79faa6"}, PageElementKind::kMedia},
      {{"OBJECT", "", "", "clsid:CFCDAA03-8BE4-11cf-B84B-0020AFBBCCFA"}, PageElementKind::kMedia},
      {{"EMBED", "page.html", "text/html", ""}, PageElementKind::kOther},
      {{"IMG", "clip.mov", "", ""}, PageElementKind::kOther},
      {{"OBJECT", "", "", "clsid:d27cdb6e-ae6d-11cf-96b8-444553540000"}, PageElementKind::kFlash},
      {{"OBJECT", "movie.SWF?x=1", "", ""}, PageElementKind::kFlash},
      {{"OBJECT", "", " Application/X-Shockwave-Flash ", ""}, PageElementKind::kFlash},
      {{"IMG", "http://www.example.com/anim.GIF", "", ""}, PageElementKind::kGif},
      {{"IMG", "anim.gif?frame=2#x", "", ""}, PageElementKind::kGif},
      {{"IMG", "photo.jpg", "", ""}, PageElementKind::kOther},
      {{"IMG", "gif", "", ""}, PageElementKind::kOther},
      {{"IMG", "x.gif.png", "", ""}, PageElementKind::kOther},
      {{"DIV", "intro.swf", "application/x-shockwave-flash", ""}, PageElementKind::kOther},
      {{"A", "anim.gif", "", ""}, PageElementKind::kOther},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(krx::ClassifyPageElement(c.element), c.kind) << c.element.tag << " " << c.element.src;
  }
}

TEST(AddonPageElements, RelativeAddressesResolveAsABrowserReadsThem) {
  const char* base = "http://www.example.com/news/today/page.html?x=1#top";
  const struct {
    const char* base;
    const char* ref;
    const char* full;
  } cases[] = {
      {base, "intro.swf", "http://www.example.com/news/today/intro.swf"},
      {base, "./media/intro.swf", "http://www.example.com/news/today/media/intro.swf"},
      {base, "../intro.swf", "http://www.example.com/news/intro.swf"},
      {base, "../../../../intro.swf", "http://www.example.com/intro.swf"},
      {base, "/flash/intro.swf?v=2", "http://www.example.com/flash/intro.swf?v=2"},
      {base, "//cdn.example.net/a.swf", "http://cdn.example.net/a.swf"},
      {base, "https://secure.example.org/b.swf", "https://secure.example.org/b.swf"},
      {base, "?y=2", "http://www.example.com/news/today/page.html?y=2"},
      {base, "#part", "http://www.example.com/news/today/page.html?x=1#part"},
      {base, "", "http://www.example.com/news/today/page.html?x=1"},
      {base, "  intro.swf  ", "http://www.example.com/news/today/intro.swf"},
      {"http://www.example.com", "intro.swf", "http://www.example.com/intro.swf"},
      {"http://www.example.com?q=/a/b", "intro.swf", "http://www.example.com/intro.swf"},
      {"http://www.example.com/dir/", "sub/", "http://www.example.com/dir/sub/"},
      {"http://www.example.com/a/b/", "..", "http://www.example.com/a/"},
      {"file:///C:/Pages/a.html", "b.swf", "file:///C:/Pages/b.swf"},
      {"", "intro.swf", "intro.swf"},
      {"not an address", "intro.swf", "intro.swf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(krx::ResolveAddress(c.base, c.ref), c.full) << c.base << " + " << c.ref;
  }
}

}  // namespace
