#include "config_test_support.h"

#include <windows.h>
#include <shlwapi.h>

#include "config/error_log.h"
#include "support/test_support.h"

namespace krx_test {

LogWatch::LogWatch() : mark_(ReadFileBytes(krx::ErrorLogPath()).size()) {}

std::string LogWatch::NewText() const {
  std::string all = ReadFileBytes(krx::ErrorLogPath());
  return all.size() > mark_ ? all.substr(mark_) : std::string();
}

ScratchKey::ScratchKey(const std::string& leaf)
    : path_("Software\\KestrelixTests\\" + std::to_string(GetCurrentProcessId()) + "\\" + leaf) {
  SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
  // Make the parents now, non-volatile: a test that creates its leaf
  // volatile would otherwise make them volatile too, and Wine reuses process
  // ids, so a later test program would find a volatile parent under which no
  // ordinary key can be made.
  HKEY parent;
  const std::string parentPath = path_.substr(0, path_.rfind('\\'));
  if (RegCreateKeyExA(HKEY_CURRENT_USER, parentPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &parent, nullptr) == ERROR_SUCCESS) {
    RegCloseKey(parent);
  }
}

ScratchKey::~ScratchKey() { SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str()); }

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::pair<DWORD, std::string> ReadValue(HKEY root, const std::string& path, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {0, ""};
  char data[4096];
  DWORD type = 0, size = sizeof data;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return {0, ""};
  return {type, std::string(data, size)};
}

}  // namespace krx_test
