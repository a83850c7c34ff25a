// Which addresses the add-on takes for a flash file or a media file.
#include <gtest/gtest.h>

#include "core/addon_media_kind.h"

namespace {

using krx::AddonMediaKind;

TEST(AddonMediaKind, ByExtensionOrStreamingScheme) {
  const struct {
    const char* address;
    AddonMediaKind kind;
  } cases[] = {
      {"http://www.example.com/media/intro.swf", AddonMediaKind::kFlash},
      {"HTTP://WWW.EXAMPLE.COM/MEDIA/INTRO.SWF", AddonMediaKind::kFlash},
      {"http://www.example.com/intro.swf?loop=1#start", AddonMediaKind::kFlash},
      {"file:///C:/Games/car.swf", AddonMediaKind::kFlash},
      {"C:\\Games\\car.swf", AddonMediaKind::kFlash},
      {"http://www.example.com/news/morning.wmv", AddonMediaKind::kMedia},
      {"http://media.example.com/sports/goal.ASX", AddonMediaKind::kMedia},
      {"http://radio.example.org/live.ram?x=.html", AddonMediaKind::kMedia},
      {"mms://media.example.com/news/morning", AddonMediaKind::kMedia},
      {"MMS://media.example.com/", AddonMediaKind::kMedia},
      {"rtsp://media.example.com/a.html", AddonMediaKind::kMedia},
      {"http://www.example.com/", AddonMediaKind::kNone},
      {"http://www.example.com/page.html", AddonMediaKind::kNone},
      {"http://www.example.com/intro.swf/page.html", AddonMediaKind::kNone},  // a folder named like a file
      {"http://www.example.com/page.html?movie=intro.swf", AddonMediaKind::kNone},
      {"http://www.example.com/page.html#intro.wmv", AddonMediaKind::kNone},
      {"http://intro.swf", AddonMediaKind::kNone},  // a host
      {"http://intro.swf:8080", AddonMediaKind::kNone},
      {"http://www.example.com/swf", AddonMediaKind::kNone},
      {"http://www.example.com/a.swfx", AddonMediaKind::kNone},
      {"http://www.example.com/.", AddonMediaKind::kNone},
      {"mmsx://example.com/a", AddonMediaKind::kNone},
      {"about:blank", AddonMediaKind::kNone},
      {"", AddonMediaKind::kNone},
      {".swf", AddonMediaKind::kFlash},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(krx::MediaKindOfAddress(c.address), c.kind) << c.address;
  }
}

}  // namespace
