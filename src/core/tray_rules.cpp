#include "core/tray_rules.h"

#include <cstring>

#include "core/manager_views.h"

namespace krx {

const std::array<TrayMenuItem, 11> kTrayMenuItems = {{
    {ID_TRAY_SHOW, "Show me", 128},
    {ID_TRAY_HIDE, "Hide me", 134},
    {0, "", 0},
    {ID_TRAY_CONFIG, "Config", 133},
    {ID_TRAY_WEBSITE, "Visit our web site", 143},
    {ID_TRAY_UPDATE, "Online Update", 144},
    {ID_TRAY_EMAIL, "Send email to us", 136},
    {ID_TRAY_ABOUT, "About...", 132},
    {ID_TRAY_HELP, "Help", 130},
    {0, "", 0},
    {ID_TRAY_EXIT, "Exit", 142},
}};

std::array<char, kTrayTipSize> TrayTip(const std::string& text) {
  std::array<char, kTrayTipSize> tip{};
  if (!text.empty() && text.size() < kTrayTipSize) std::memcpy(tip.data(), text.data(), text.size());
  return tip;
}

WindowKey KeyCommand(unsigned vk, bool focusInItemList, bool shiftDown) {
  switch (vk) {
    case 0x72: return shiftDown ? WindowKey::kFindAllDays : WindowKey::kFind;  // F3
    case 0x74: return WindowKey::kRefresh;  // F5
    case 0x76: return WindowKey::kStatistics;  // F7
    case 0x2E: return focusInItemList ? WindowKey::kDelete : WindowKey::kNone;
    default: return WindowKey::kNone;
  }
}

WindowKey InputBoxEnterCommand(int view) {
  if (IsListView(view)) return WindowKey::kAddNewItem;
  if (IsLogView(view)) return WindowKey::kFind;
  return WindowKey::kNone;
}

}  // namespace krx
