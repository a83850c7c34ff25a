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
  CRegistryKey key(HKEY_LOCAL_MACHINE, kInstallPathKey);
  key.SetBinaryValue(kInstallPathValueName, folder.data(), DWORD(folder.size()));
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
  entry();
  return 1;
}

int RegisterAddOn(int themeIndex) {
  return CallAddOnEntry(AddOnCall::kRegister, ProgramFolder() + kAddOnFileName, SkinnedAddOnMessage(themeIndex));
}

int UnregisterAddOn(int themeIndex) {
  return CallAddOnEntry(AddOnCall::kUnregister, ProgramFolder() + kAddOnFileName, SkinnedAddOnMessage(themeIndex));
}

}  // namespace krx
