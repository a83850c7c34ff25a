#include "config/integration.h"

#include <windows.h>

#include "config/error_log.h"
#include "config/registry_key.h"
#include "records/folders.h"
#include "skin/skin_message_box.h"

namespace krx {
namespace {

// Frees the library on every way out.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {}
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

void ShowAndLog(const AddOnMessage& show, const std::string& text) {
  if (show) show(text);
  // Logged as the argument of "%s": a "%" in the path stays as it is.
  LogErrorText(text);
}

}  // namespace

void WriteInstallPath() {
  const std::string folder = ProgramFolder();
  CRegistryKey key;
  const long rc = key.TryCreate(HKEY_LOCAL_MACHINE, kInstallPathKey);
  // A standard user may not write there; setup, which runs as an
  // administrator, has written the value already.
  if (rc == ERROR_ACCESS_DENIED) return;
  if (rc != ERROR_SUCCESS) {
    LogError("Can not open registry%s.", kInstallPathKey);
    return;
  }
  key.SetBinaryValue(kInstallPathValueName, folder.data(), DWORD(folder.size()));
}

namespace {

// The six values under root; false when the key or any value was refused.
// A refusal under HKEY_LOCAL_MACHINE is what a standard user meets, and has
// its way round: only other failures are logged there.
bool WriteToolbarButton(HKEY root) {
  CRegistryKey button;
  const long rc = button.TryCreate(root, ToolbarButtonKey());
  if (rc != ERROR_SUCCESS) {
    if (root != HKEY_LOCAL_MACHINE || rc != ERROR_ACCESS_DENIED) {
      LogError("Can not open registry%s.", ToolbarButtonKey().c_str());
    }
    return false;
  }
  bool all = true;
  for (const auto& value : ToolbarButtonValues(ProgramFolder())) {
    all = button.SetStringValue(value.first, value.second) && all;
  }
  return all;
}

void RemoveToolbarButton(HKEY root) {
  CRegistryKey extensions;
  const long rc = extensions.TryCreate(root, kExtensionsKey);
  if (rc == ERROR_SUCCESS) {
    extensions.DeleteKeyTree(kToolbarButtonGuid);
  } else if (root != HKEY_LOCAL_MACHINE || rc != ERROR_ACCESS_DENIED) {
    LogError("Can not open registry%s.", kExtensionsKey);
  }
}

}  // namespace

void ApplyToolbarButtonEntries(bool shown) {
  if (shown) {
    if (!WriteToolbarButton(HKEY_LOCAL_MACHINE)) WriteToolbarButton(HKEY_CURRENT_USER);
  } else {
    RemoveToolbarButton(HKEY_LOCAL_MACHINE);
    RemoveToolbarButton(HKEY_CURRENT_USER);
  }
}

AddOnMessage SkinnedAddOnMessage(int themeIndex) {
  return [themeIndex](const std::string& text) { SkinMessageBox(text, themeIndex); };
}

int CallAddOnEntry(AddOnCall call, const std::string& libraryPath, const AddOnMessage& show) {
  LoadedLibrary library(libraryPath);
  if (!library.get()) {
    // Read at once: the message box would overwrite it.
    DWORD code = GetLastError();
    ShowAndLog(show, AddOnLoadFailureText(call, libraryPath, code));
    return 0;
  }
  typedef HRESULT(WINAPI * EntryPoint)();
  EntryPoint entry = reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), AddOnEntryName(call))));
  if (!entry) {
    ShowAndLog(show, AddOnMissingEntryText(call));
    return 0;
  }
  // A refusal (a standard user may not write the browser's class keys) is
  // not a registration: it is logged, and not shown, since the add-on
  // follows its option in KRX.cfg all the same.
  const HRESULT result = entry();
  if (FAILED(result)) {
    LogErrorText(AddOnEntryFailedText(call, long(result)));
    return 0;
  }
  return 1;
}

int RegisterAddOn(int themeIndex) {
  return CallAddOnEntry(AddOnCall::kRegister, ProgramFolder() + kAddOnFileName, SkinnedAddOnMessage(themeIndex));
}

int UnregisterAddOn(int themeIndex) {
  return CallAddOnEntry(AddOnCall::kUnregister, ProgramFolder() + kAddOnFileName, SkinnedAddOnMessage(themeIndex));
}

}  // namespace krx
