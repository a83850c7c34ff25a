#pragma once
// The 25 options of KRX.cfg held in memory, with their file and the
// registry entries that follow them. The configuration dialog holds its
// settings in one of these; start-up and the manager window use it alone.
#include <string>

#include "core/settings_file.h"

namespace krx {

class ConfigSettings {
 public:
  // The defaults, kept in user folder + "KRX.cfg".
  ConfigSettings();
  virtual ~ConfigSettings() = default;

  int Get(Setting s) const { return values_[s]; }
  void Set(Setting s, int value) { values_[s] = value; }
  const SettingValues& values() const { return values_; }

  const std::string& configPath() const { return configPath_; }
  void SetConfigPath(const std::string& path) { configPath_ = path; }

  // Rewrites the whole file through a temporary file and a one-step
  // replace, so the add-on, which reads the file at any time, never sees
  // it half written; when a reader blocks the replace, over the old bytes
  // in one write. A file that cannot be written is skipped silently, and
  // so is every save after a load that found the file but could not read it.
  void SaveConfig();
  // The user has just chosen the options (the options window's OK): they
  // are written even when the file could not be read at load.
  void SaveChosenConfig();
  // Reads the file (first use: writes the values held), then applies the
  // autorun value and the toolbar button, unless the file could not be read.
  void LoadAndApply();
  // The file part of LoadAndApply alone.
  void LoadConfig();
  // The file is there but could not be read at the last load.
  bool LoadFailed() const { return loadFailed_; }

  // HKCU Run value "Kestrelix" (the program's quoted path) set or removed
  // after the autorun setting.
  void ApplyAutorun();
  // The browser's toolbar button key written (under HKCU where HKLM is
  // refused) or removed from both with its sub-keys after the setting.
  void ApplyToolbarButton();

 protected:
  SettingValues values_;

 private:
  std::string configPath_;
  bool loadFailed_ = false;
};

}  // namespace krx
