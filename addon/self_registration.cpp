// DllRegisterServer and DllUnregisterServer: the class with its library, and
// its place among the browser's helper objects. Unregistering removes
// exactly those two keys and nothing the user or the manager made.
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

std::string ClassKey() { return std::string(krx_addon::kClassKeyParent) + "\\" + kHelperClassIdText; }
std::string HelperKey() { return std::string(krx_addon::kHelperObjectsKey) + "\\" + kHelperClassIdText; }

HRESULT FromRegistry(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

}  // namespace

extern "C" HRESULT WINAPI DllRegisterServer() {
  try {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(krx_addon::Module(), path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
    const std::string inproc = ClassKey() + "\\InprocServer32";
    LONG rc = SetString(HKEY_LOCAL_MACHINE, ClassKey(), "", krx_addon::kHelperClassName);
    if (rc == ERROR_SUCCESS) rc = SetString(HKEY_LOCAL_MACHINE, inproc, "", std::string(path, n));
    if (rc == ERROR_SUCCESS) rc = SetString(HKEY_LOCAL_MACHINE, inproc, "ThreadingModel", "Apartment");
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
    // The browser's list first: a listed class without its library would
    // only cost the browser a failed load.
    LONG helper = DeleteTree(HKEY_LOCAL_MACHINE, HelperKey());
    LONG cls = DeleteTree(HKEY_LOCAL_MACHINE, ClassKey());
    return FromRegistry(helper != ERROR_SUCCESS ? helper : cls);
  } catch (...) {
    return E_UNEXPECTED;
  }
}
