// Any bytes as KRX.cfg read by the add-on, and the decisions it takes on the
// values it finds: what a missing or short file gives, the pause key, and the
// switches that let every popup open or turn the forbidden list off.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/addon_rules.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const krx::SettingValues opt = krx::ReadAddonOptions(bytes);
  const krx::SettingValues parsed = krx::ParseSettings(bytes).values;
  if (parsed[krx::kAddOnEnabled] != 0) {
    Check(opt == parsed);
    const size_t whole = size / 4 < size_t(krx::kSettingCount) ? size / 4 : size_t(krx::kSettingCount);
    for (size_t i = whole; i < size_t(krx::kSettingCount); ++i) Check(opt[i] == krx::kDefaultSettings[i]);
  } else {
    // Switched off: nothing blocked, forbidden or written, whatever else the file says.
    Check(opt[krx::kPopupBlocking] == 0 && opt[krx::kExcludeForbidden] != 0 && opt[krx::kVisitLog] == 0 &&
          opt[krx::kBlockLog] == 0 && opt[krx::kFlashLog] == 0 && opt[krx::kMediaLog] == 0);
  }

  const int vk = krx::PauseModifierVirtualKey(opt);
  Check(vk == 0x11 || vk == 0x12);
  Check((vk == 0x12) == (opt[krx::kPauseModifier] == 18));

  static krx::AddressList white = [] {
    krx::AddressList l;
    l.Assign({"www.example.com", "http://ads.example.net/popup.html"});
    return l;
  }();
  for (int bits = 0; bits < 8; ++bits) {
    const long flags = ((bits & 2) ? krx::kNewWindowUserInitiated | krx::kNewWindowFirst : 0) |
                       ((bits & 4) ? krx::kNewWindowUnloading : 0);
    krx::PopupRequest r{"http://www.example.com/page", "http://ads.other.test/", (bits & 1) != 0, flags};
    const bool open = krx::MayOpenPopup(opt, white, r);
    if (opt[krx::kPopupBlocking] == 0 || r.modifierHeld) Check(open);
    Check(open);  // the opener's site is white
    r.openerUrl = "http://elsewhere.test/";
    if (opt[krx::kPopupBlocking] != 0 && !r.modifierHeld && !(flags & krx::kNewWindowUserInitiated) &&
        !((flags & krx::kNewWindowUnloading) && opt[krx::kCheckOnClose] == 0))
      Check(!krx::MayOpenPopup(opt, white, r));
  }

  const bool forbidden = krx::IsForbiddenNavigation(opt, white, "http://www.example.com/");
  Check(forbidden == (opt[krx::kExcludeForbidden] == 0));
  if (opt[krx::kExcludeForbidden] == 0)
    Check(krx::IsForbiddenNavigation(opt, white, "http://sub.www.example.com/") == (opt[krx::kMatchDomain] != 0));
  return 0;
}
