#pragma once
// Which addresses the add-on records in the flash log and the media log when
// the browser opens them itself (a flash file or a movie followed as a link,
// or loaded into a frame): by the extension of the address's path, or by a
// streaming scheme that only media players speak.
#include <string_view>

namespace krx {

enum class AddonMediaKind { kNone, kFlash, kMedia };

// The path's extension is compared without regard to case and without the
// query ("?...") and the fragment ("#..."): "http://a/b/Intro.SWF?x=1" is
// flash, "http://a/b.swf/page.html" is not. mms:, mmst:, mmsu:, rtsp: and
// pnm: addresses are media whatever their path.
AddonMediaKind MediaKindOfAddress(std::string_view address);

}  // namespace krx
