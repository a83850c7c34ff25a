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
