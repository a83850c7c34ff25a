#include "config/config_settings.h"

#include <windows.h>

#include "config/integration.h"
#include "config/registry_key.h"
#include "core/integration_entries.h"
#include "records/file_io.h"
#include "records/folders.h"

namespace krx {

ConfigSettings::ConfigSettings() : values_(kDefaultSettings), configPath_(UserFolder() + "KRX.cfg") {}

void ConfigSettings::SaveConfig() {
  // The values held are not the user's when the file could not be read:
  // writing them would put the defaults over the user's options.
  if (loadFailed_) return;
  WriteSharedFile(configPath_, SerializeSettings(values_));
}

void ConfigSettings::SaveChosenConfig() {
  loadFailed_ = false;
  SaveConfig();
}

void ConfigSettings::LoadConfig() {
  std::string bytes;
  if (!ReadWholeFile(configPath_, bytes)) {
    // First use: the file starts with what the object holds. A file that
    // exists but cannot be read just now (the add-on has it open) is left
    // alone rather than overwritten with defaults.
    loadFailed_ = FileExists(configPath_);
    if (!loadFailed_) SaveConfig();
    return;
  }
  loadFailed_ = false;
  SettingsParse parse = ParseSettings(bytes, values_);
  values_ = parse.values;
  // A short file keeps what it had and gets the rest from the object.
  if (parse.valuesRead < kSettingCount) SaveConfig();
}

void ConfigSettings::LoadAndApply() {
  LoadConfig();
  // The registry follows the user's options, never defaults that stand in
  // for a file that could not be read.
  if (loadFailed_) return;
  ApplyAutorun();
  ApplyToolbarButton();
}

void ConfigSettings::ApplyAutorun() {
  CRegistryKey run(HKEY_CURRENT_USER, kRunKey);
  if (values_[kAutorun] == 1) {
    run.SetStringValue(kAutorunValueName, AutorunCommand(ProgramFolder()));
  } else {
    run.DeleteValue(kAutorunValueName);  // a value that is not there is fine
  }
}

void ConfigSettings::ApplyToolbarButton() { ApplyToolbarButtonEntries(values_[kToolbarButton] == 1); }

}  // namespace krx
