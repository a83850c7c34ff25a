#pragma once
// What the manager window does with Windows and the browser at its start and
// after the configuration dialog: the install path and the add-on's
// self-registration. Failures to load the add-on are shown and logged.
#include <functional>
#include <string>

#include "core/integration_entries.h"

namespace krx {

// HKLM\SOFTWARE\Marrowin\Kestrelix "InstallPath": the program folder's
// bytes without a NUL. A failure is logged by the registry layer.
void WriteInstallPath();

// Shows the user one registration failure; the program's skinned message box
// in the manager window's theme.
using AddOnMessage = std::function<void(const std::string& text)>;
AddOnMessage SkinnedAddOnMessage(int themeIndex);

// Loads program folder + "Kestrelix.dll", calls its DllRegisterServer /
// DllUnregisterServer once and unloads it. 1 when the entry point was
// called (its own result is not examined), 0 when the library did not load
// or lacks the entry point; those failures are shown and logged.
int RegisterAddOn(int themeIndex);
int UnregisterAddOn(int themeIndex);

// The same for any library path and any way of showing the message.
int CallAddOnEntry(AddOnCall call, const std::string& libraryPath, const AddOnMessage& show);

}  // namespace krx
