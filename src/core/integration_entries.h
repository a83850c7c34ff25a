#pragma once
// The registry entries through which Windows and the browser learn about the
// program, and the texts of the add-on registration failures. Fixed: the
// browser, the add-on's installer and older versions of the program all
// rely on these exact names.
#include <string>
#include <utility>
#include <vector>

namespace krx {

// HKEY_CURRENT_USER: the value that starts the program with Windows.
extern const char kRunKey[];             // SOFTWARE\Microsoft\Windows\CurrentVersion\Run
extern const char kAutorunValueName[];   // "Kestrelix"

// The autorun value's data: the program's path in quotes, so that a folder
// with blanks ("C:\Program Files\...") starts the program and nothing else.
std::string AutorunCommand(const std::string& programFolder);

// HKEY_LOCAL_MACHINE: the browser's toolbar button; where a standard user
// may not write there, the same key under HKEY_CURRENT_USER, which the
// browser reads as well.
extern const char kExtensionsKey[];      // Software\Microsoft\Internet Explorer\Extensions
extern const char kToolbarButtonGuid[];  // {5A3C91E2-7B40-4D8F-A6E1-3C92B07D4F15}
std::string ToolbarButtonKey();          // kExtensionsKey + "\" + kToolbarButtonGuid

// HKEY_LOCAL_MACHINE: where the program is installed, as raw bytes.
extern const char kInstallPathKey[];     // SOFTWARE\Marrowin\Kestrelix
extern const char kInstallPathValueName[];

extern const char kProgramFileName[];    // "Kestrelix.exe"
extern const char kAddOnFileName[];      // "Kestrelix.dll"

// The toolbar button's six values, name and data, in the order written.
std::vector<std::pair<std::string, std::string>> ToolbarButtonValues(const std::string& programFolder);

// The add-on's two self-registration entry points.
enum class AddOnCall { kRegister, kUnregister };
const char* AddOnEntryName(AddOnCall call);  // "DllRegisterServer" / "DllUnregisterServer"
// What the user is shown, and the log keeps, when the library does not load
// or lacks its entry point.
std::string AddOnLoadFailureText(AddOnCall call, const std::string& libraryPath, unsigned long errorCode);
std::string AddOnMissingEntryText(AddOnCall call);
// What the log keeps when the entry point ran and answered a failure (a
// standard user may not write the browser's class keys): the registration
// stays as it was, and the add-on follows its enabled option in KRX.cfg.
std::string AddOnEntryFailedText(AddOnCall call, long result);

}  // namespace krx
