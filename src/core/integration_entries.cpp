#include "core/integration_entries.h"

#include <cstdint>

namespace krx {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kAutorunValueName[] = "Kestrelix";
const char kExtensionsKey[] = "Software\\Microsoft\\Internet Explorer\\Extensions";
const char kToolbarButtonGuid[] = "{5A3C91E2-7B40-4D8F-A6E1-3C92B07D4F15}";
const char kInstallPathKey[] = "SOFTWARE\\Marrowin\\Kestrelix";
const char kInstallPathValueName[] = "InstallPath";
const char kProgramFileName[] = "Kestrelix.exe";
const char kAddOnFileName[] = "Kestrelix.dll";

// The browser's class for toolbar buttons that run a program.
static const char kRunProgramButtonClass[] = "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}";

std::string ToolbarButtonKey() { return std::string(kExtensionsKey) + "\\" + kToolbarButtonGuid; }

std::vector<std::pair<std::string, std::string>> ToolbarButtonValues(const std::string& programFolder) {
  const std::string icon = programFolder + "Kestrelix.ico";
  return {{"ButtonText", "Kestrelix"},
          {"CLSID", kRunProgramButtonClass},
          {"Default Visible", "Yes"},
          {"Exec", programFolder + kProgramFileName},
          {"HotIcon", icon},
          {"Icon", icon}};
}

std::string AutorunCommand(const std::string& programFolder) {
  return "\"" + programFolder + kProgramFileName + "\"";
}

const char* AddOnEntryName(AddOnCall call) {
  return call == AddOnCall::kRegister ? "DllRegisterServer" : "DllUnregisterServer";
}

std::string AddOnLoadFailureText(AddOnCall call, const std::string& libraryPath, unsigned long errorCode) {
  std::string text = "Unable to load " + libraryPath;
  // Only registration names the system's reason.
  if (call == AddOnCall::kRegister) text += ". Error code:" + std::to_string(int32_t(errorCode));
  return text;
}

std::string AddOnMissingEntryText(AddOnCall call) {
  return call == AddOnCall::kRegister ? "Dll register error!" : "Dll Unregister error!";
}

std::string AddOnEntryFailedText(AddOnCall call, long result) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) hex += kDigits[(uint32_t(result) >> shift) & 0xF];
  return std::string(AddOnEntryName(call)) + " answered " + hex + ": the add-on was not " +
         (call == AddOnCall::kRegister ? "registered" : "unregistered") +
         "; it follows the option \"Enable Kestrelix\" in KRX.cfg.";
}

}  // namespace krx
