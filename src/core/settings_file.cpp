#include "core/settings_file.h"

namespace krx {

const SettingValues kDefaultSettings = {1, 1, 1, 1, 120, 120, 17, 1, 1, 1, 1, 0, 0,
                                        0, 620, 420, 1, 179, 1, 1, 1, 1, 1, 0, 1};

const std::array<const char*, kSettingCount> kSettingNames = {
    "PopupBlocking",  "BlockLog",        "VisitLog",     "FlashLog",          "FlashKey",
    "GifKey",         "PauseModifier",   "BlockStatusMessage", "BlockSound", "ThemeIndex",
    "Autorun",        "CaseSensitiveFind", "SpareValue", "PasswordOnShow",    "WindowWidth",
    "WindowHeight",   "AddOnEnabled",    "LastView",     "ToolbarButton",     "CheckOnClose",
    "MatchDomain",    "ForbiddenStatusMessage", "MediaLog", "ExcludeForbidden", "DetailedVisitLog"};

SettingsParse ParseSettings(const std::string& bytes, const SettingValues& base) {
  SettingsParse parse;
  parse.values = base;
  for (int i = 0; i < kSettingCount && size_t(i) * 4 + 4 <= bytes.size(); ++i) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + i * 4;
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    parse.values[i] = int32_t(v);
    parse.valuesRead = i + 1;
  }
  return parse;
}

std::string SerializeSettings(const SettingValues& values) {
  std::string out;
  out.reserve(kSettingsFileSize);
  for (int32_t value : values) {
    uint32_t v = uint32_t(value);
    for (int b = 0; b < 4; ++b) out.push_back(char(v >> (8 * b)));
  }
  return out;
}

}  // namespace krx
