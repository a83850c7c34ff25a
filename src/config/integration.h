#pragma once
// What the manager window does with Windows and the browser at its start and
// after the configuration dialog: the install path and the add-on's
// self-registration. Failures to load the add-on are shown and logged.
#include <functional>
#include <string>

#include "core/integration_entries.h"

namespace krx {

// HKLM\SOFTWARE\Marrowin\Kestrelix "InstallPath": the program folder's
// bytes without a NUL. Where a standard user is refused, nothing happens
// (setup wrote it); other failures are logged by the registry layer.
void WriteInstallPath();

// The browser's toolbar button: shown, its six values under
// HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER where the machine's key is
// refused; not shown, its key removed from both.
void ApplyToolbarButtonEntries(bool shown);

// Shows the user one registration failure; the program's skinned message box
// in the manager window's theme.
using AddOnMessage = std::function<void(const std::string& text)>;
AddOnMessage SkinnedAddOnMessage(int themeIndex);

// Loads program folder + "Kestrelix.dll", calls its DllRegisterServer /
// DllUnregisterServer once and unloads it. 1 when the entry point was
// called and succeeded; 0 when the library did not load or lacks the entry
// point (shown and logged) or the entry point failed (logged only).
int RegisterAddOn(int themeIndex);
int UnregisterAddOn(int themeIndex);

// The same for any library path and any way of showing the message.
int CallAddOnEntry(AddOnCall call, const std::string& libraryPath, const AddOnMessage& show);

}  // namespace krx
