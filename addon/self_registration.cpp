// DllRegisterServer and DllUnregisterServer: the class with its library and
// its AppContainer category, and its place among the browser's helper
// objects. The 64-bit build registers in the 64-bit view of the registry,
// the 32-bit one (by the system's redirection) in the 32-bit view.
// Unregistering removes exactly those two keys, and only while they name
// this file, and nothing the user or the manager made.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "addon_ids.h"
#include "com_module.h"

namespace {

using krx_addon::kHelperClassIdText;

LONG SetString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY h = nullptr;
  LONG rc = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                            nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
  RegCloseKey(h);
  return rc;
}

LONG CreateKey(HKEY root, const std::string& key) {
  HKEY h = nullptr;
  LONG rc = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                            nullptr);
  if (rc == ERROR_SUCCESS) RegCloseKey(h);
  return rc;
}

LONG SetDword(HKEY root, const std::string& key, const char* name, DWORD value) {
  HKEY h = nullptr;
  LONG rc = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &h,
                            nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(h);
  return rc;
}

// RegDeleteKeyA refuses a key with sub-keys: the children go first. A key
// that is already gone is no failure.
LONG DeleteTree(HKEY root, const std::string& key) {
  HKEY h = nullptr;
  LONG rc = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_WRITE, &h);
  if (rc == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (rc != ERROR_SUCCESS) return rc;
  char name[256];
  for (;;) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(h, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (DeleteTree(h, name) != ERROR_SUCCESS) break;
  }
  RegCloseKey(h);
  rc = RegDeleteKeyA(root, key.c_str());
  return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

// This library's own path; false when it cannot be learnt whole.
bool ThisLibrary(std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetModuleFileNameA(krx_addon::Module(), buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  path.assign(buffer, n);
  return true;
}

// The long form of a path, so that a short (8.3) name and its long name
// count as the same file; the path itself when the file is not there.
std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? path : std::string(buffer, n);
}

std::string ClassKey() { return std::string(krx_addon::kClassKeyParent) + "\\" + kHelperClassIdText; }
std::string CategoryKey() {
  return ClassKey() + "\\Implemented Categories\\" + krx_addon::kAppContainerCategoryText;
}
std::string HelperKey() { return std::string(krx_addon::kHelperObjectsKey) + "\\" + kHelperClassIdText; }

// The library the class key names, "" when it names none.
std::string RegisteredLibrary() {
  char value[1024] = {};
  DWORD size = sizeof value - 1, type = 0;
  HKEY h = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (ClassKey() + "\\InprocServer32").c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) {
    return std::string();
  }
  LONG rc = RegQueryValueExA(h, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
  return std::string(value);
}

HRESULT FromRegistry(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

}  // namespace

extern "C" HRESULT WINAPI DllRegisterServer() {
  try {
    std::string path;
    if (!ThisLibrary(path)) return SELFREG_E_CLASS;
    const std::string inproc = ClassKey() + "\\InprocServer32";
    LONG rc = SetString(HKEY_LOCAL_MACHINE, ClassKey(), "", krx_addon::kHelperClassName);
    if (rc == ERROR_SUCCESS) rc = SetString(HKEY_LOCAL_MACHINE, inproc, "", path);
    if (rc == ERROR_SUCCESS) rc = SetString(HKEY_LOCAL_MACHINE, inproc, "ThreadingModel", "Apartment");
    // Without the category an enhanced-protected-mode tab refuses to load
    // the class; it goes with the class key when unregistered.
    if (rc == ERROR_SUCCESS) rc = CreateKey(HKEY_LOCAL_MACHINE, CategoryKey());
    if (rc != ERROR_SUCCESS) return SELFREG_E_CLASS;
    // NoExplorer: the shell's own windows (Explorer) do not load the add-on,
    // only the browser's do.
    rc = SetString(HKEY_LOCAL_MACHINE, HelperKey(), "", krx_addon::kHelperClassName);
    if (rc == ERROR_SUCCESS) rc = SetDword(HKEY_LOCAL_MACHINE, HelperKey(), "NoExplorer", 1);
    return FromRegistry(rc);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  try {
    // The keys belong to the copy they name: when another copy of the
    // add-on (in another folder) registered itself since, it stays registered.
    std::string path;
    if (!ThisLibrary(path)) return SELFREG_E_CLASS;
    const std::string registered = RegisteredLibrary();
    if (!registered.empty() && lstrcmpiA(LongPath(registered).c_str(), LongPath(path).c_str()) != 0) return S_OK;
    // The browser's list first: a listed class without its library would
    // only cost the browser a failed load.
    LONG helper = DeleteTree(HKEY_LOCAL_MACHINE, HelperKey());
    LONG cls = DeleteTree(HKEY_LOCAL_MACHINE, ClassKey());
    return FromRegistry(helper != ERROR_SUCCESS ? helper : cls);
  } catch (...) {
    return E_UNEXPECTED;
  }
}
