#include "config/registry_key.h"

#include <windows.h>

#include "config/error_log.h"

namespace krx {
namespace {

// Owns one handle for the length of one step of the recursive delete.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() { Close(); }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

LONG DeleteTree(HKEY parent, const std::string& name) {
  KeyHandle key;
  LONG rc = RegOpenKeyExA(parent, name.c_str(), 0, CRegistryKey::kAccess, key.out());
  if (rc != ERROR_SUCCESS) return rc;
  // Always take the first sub-key: each deletion shifts the rest down.
  for (;;) {
    char child[256];
    DWORD length = sizeof child;
    rc = RegEnumKeyExA(key.get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) return rc;
    rc = DeleteTree(key.get(), std::string(child, length));
    if (rc != ERROR_SUCCESS) return rc;
  }
  key.Close();
  return RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

bool CRegistryKey::Create(HKEY root, const std::string& subKey) {
  if (TryCreate(root, subKey) == ERROR_SUCCESS) return true;
  LogError("Can not open registry%s.", subKey.c_str());
  return false;
}

long CRegistryKey::TryCreate(HKEY root, const std::string& subKey) {
  Close();
  DWORD disposition = 0;
  LONG rc = RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key_,
                            &disposition);
  if (rc != ERROR_SUCCESS) key_ = nullptr;
  return rc;
}

void CRegistryKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool CRegistryKey::SetStringValue(const std::string& name, const std::string& text) {
  return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        DWORD(text.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistryKey::SetBinaryValue(const std::string& name, const char* bytes, unsigned long length) {
  LONG rc = RegSetValueExA(key_, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes), length);
  if (rc == ERROR_SUCCESS) return true;
  // The bytes carry no NUL of their own: log a terminated copy of exactly
  // length bytes rather than read past the caller's buffer.
  std::string asText(bytes ? bytes : "", bytes ? length : 0);
  LogError("SetValueEx Failed. Name:%s,Value:%s,Err:%d", name.c_str(), asText.c_str(), int(rc));
  return false;
}

bool CRegistryKey::DeleteValue(const std::string& name) {
  return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteKeyTree(const std::string& name) {
  // An empty name would open and delete this very key.
  if (!key_ || name.empty()) return false;
  return DeleteTree(key_, name) == ERROR_SUCCESS;
}

}  // namespace krx
