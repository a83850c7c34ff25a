#pragma once
// KRX.cfg: exactly 25 signed 32-bit little-endian integers, shared with the
// browser add-on, which reads it at any time.
#include <array>
#include <cstdint>
#include <string>

namespace krx {

constexpr int kSettingCount = 25;
constexpr size_t kSettingsFileSize = kSettingCount * 4;

enum Setting {
  kPopupBlocking,
  kBlockLog,
  kVisitLog,
  kFlashLog,
  kFlashKey,
  kGifKey,
  kPauseModifier,
  kBlockStatusMessage,
  kBlockSound,
  kThemeIndex,
  kAutorun,
  kCaseSensitiveFind,
  kSpareValue,
  kPasswordOnShow,
  kWindowWidth,
  kWindowHeight,
  kAddOnEnabled,
  kLastView,
  kToolbarButton,
  kCheckOnClose,
  kMatchDomain,
  kForbiddenStatusMessage,
  kMediaLog,
  kExcludeForbidden,
  kDetailedVisitLog,
};

using SettingValues = std::array<int32_t, kSettingCount>;

extern const SettingValues kDefaultSettings;
// Short names for people reading a dump of the file (krxtool config).
extern const std::array<const char*, kSettingCount> kSettingNames;

struct SettingsParse {
  SettingValues values;
  int valuesRead = 0;  // whole integers found in the file
};

// Values beyond what the file holds keep what base holds (the defaults
// unless told otherwise); bytes after the 25th value are ignored. Nothing is
// validated: an out-of-range value is kept as it stands.
SettingsParse ParseSettings(const std::string& bytes, const SettingValues& base = kDefaultSettings);
std::string SerializeSettings(const SettingValues& values);

}  // namespace krx
