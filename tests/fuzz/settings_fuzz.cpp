// Any bytes as KRX.cfg, and every value it holds through the readers that
// act on it: the hotkey lists, the theme table, the last view.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/config_mappings.h"
#include "core/date_list.h"
#include "core/settings_file.h"
#include "core/theme_table.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const krx::SettingsParse parse = krx::ParseSettings(bytes);
  const size_t whole = size / 4 < size_t(krx::kSettingCount) ? size / 4 : size_t(krx::kSettingCount);
  Check(parse.valuesRead == int(whole));

  // Read values as they stand, the rest the defaults; a save writes all 25.
  const std::string saved = krx::SerializeSettings(parse.values);
  Check(saved.size() == krx::kSettingsFileSize);
  Check(saved.compare(0, whole * 4, bytes, 0, whole * 4) == 0);
  Check(saved.compare(whole * 4, std::string::npos,
                      krx::SerializeSettings(krx::kDefaultSettings), whole * 4, std::string::npos) == 0);
  krx::SettingsParse reread = krx::ParseSettings(saved);
  Check(reread.valuesRead == krx::kSettingCount && reread.values == parse.values);

  // A value no list entry stands for shows no selection and is kept by OK.
  for (krx::HotkeyList list : {krx::HotkeyList::kPause, krx::HotkeyList::kFlash, krx::HotkeyList::kGif}) {
    int value = parse.values[krx::HotkeySetting(list)];
    int selection = krx::HotkeySelection(list, value);
    Check(krx::HotkeyValueFor(list, selection, value) == value);
  }
  int theme = parse.values[krx::kThemeIndex];
  (void)krx::GetThemeColours(theme);
  (void)krx::ThemeName(theme);
  (void)krx::CaptionImageId(theme);
  (void)krx::FindLogView(parse.values[krx::kLastView]);
  return 0;
}
