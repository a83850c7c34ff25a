#include "config/config_settings.h"

#include <windows.h>

#include "config/registry_key.h"
#include "core/integration_entries.h"
#include "records/file_io.h"
#include "records/folders.h"

namespace krx {

ConfigSettings::ConfigSettings() : values_(kDefaultSettings), configPath_(UserFolder() + "KRX.cfg") {}

void ConfigSettings::SaveConfig() { WriteFileAtomic(configPath_, SerializeSettings(values_)); }

void ConfigSettings::LoadConfig() {
  std::string bytes;
  if (!ReadWholeFile(configPath_, bytes)) {
    // First use: the file starts with what the object holds. A file that
    // exists but cannot be read just now (the add-on has it open) is left
    // alone rather than overwritten with defaults.
    if (!FileExists(configPath_)) SaveConfig();
    return;
  }
  SettingsParse parse = ParseSettings(bytes, values_);
  values_ = parse.values;
  // A short file keeps what it had and gets the rest from the object.
  if (parse.valuesRead < kSettingCount) SaveConfig();
}

void ConfigSettings::LoadAndApply() {
  LoadConfig();
  ApplyAutorun();
  ApplyToolbarButton();
}

void ConfigSettings::ApplyAutorun() {
  CRegistryKey run(HKEY_CURRENT_USER, kRunKey);
  if (values_[kAutorun] == 1) {
    run.SetStringValue(kAutorunValueName, ProgramFolder() + kProgramFileName);
  } else {
    run.DeleteValue(kAutorunValueName);  // a value that is not there is fine
  }
}

void ConfigSettings::ApplyToolbarButton() {
  if (values_[kToolbarButton] == 1) {
    CRegistryKey button(HKEY_LOCAL_MACHINE, ToolbarButtonKey());
    for (const auto& value : ToolbarButtonValues(ProgramFolder())) button.SetStringValue(value.first, value.second);
  } else {
    CRegistryKey extensions(HKEY_LOCAL_MACHINE, kExtensionsKey);
    extensions.DeleteKeyTree(kToolbarButtonGuid);
  }
}

}  // namespace krx
