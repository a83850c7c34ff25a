#include "core/tray_rules.h"

#include <cstring>

namespace krx {

const std::array<TrayMenuItem, 11> kTrayMenuItems = {{
    {kTrayShow, "Show me", 128},
    {kTrayHide, "Hide me", 134},
    {0, "", 0},
    {kTrayConfig, "Config", 133},
    {kTrayWebSite, "Visit our web site", 143},
    {kTrayUpdate, "Online Update", 144},
    {kTrayEmail, "Send email to us", 136},
    {kTrayAbout, "About...", 132},
    {kTrayHelp, "Help", 130},
    {0, "", 0},
    {kTrayExit, "Exit", 142},
}};

std::array<char, kTrayTipSize> TrayTip(const std::string& text) {
  std::array<char, kTrayTipSize> tip{};
  if (!text.empty() && text.size() < kTrayTipSize) std::memcpy(tip.data(), text.data(), text.size());
  return tip;
}

WindowKey KeyCommand(unsigned vk, bool focusInItemList) {
  switch (vk) {
    case 0x72: return WindowKey::kFind;     // F3
    case 0x74: return WindowKey::kRefresh;  // F5
    case 0x2E: return focusInItemList ? WindowKey::kDelete : WindowKey::kNone;
    default: return WindowKey::kNone;
  }
}

}  // namespace krx
