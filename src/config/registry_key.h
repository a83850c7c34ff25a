#pragma once
// One open registry key. Failures to create a key or to write a REG_BINARY
// value go to the error log, never to the screen; the other operations fail
// silently and say so only in their result.
#include <string>

typedef struct HKEY__* HKEY;

namespace krx {

class CRegistryKey {
 public:
  // KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY.
  static constexpr unsigned long kAccess = 0x2001F;

  CRegistryKey() = default;
  // Creates or opens root\subKey at once, as every use in the program does.
  CRegistryKey(HKEY root, const std::string& subKey) { Create(root, subKey); }
  ~CRegistryKey() { Close(); }
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;

  // Creates or opens root\subKey (non-volatile). On failure logs
  // "Can not open registry<subKey>." and holds no key.
  bool Create(HKEY root, const std::string& subKey);
  // The same without the log line: the system's result (0 on success), for
  // a caller that has a way round a refusal.
  long TryCreate(HKEY root, const std::string& subKey);
  void Close();
  bool IsOpen() const { return key_ != nullptr; }
  HKEY handle() const { return key_; }

  // REG_SZ: the text and its terminating NUL.
  bool SetStringValue(const std::string& name, const std::string& text);
  // REG_BINARY of exactly length bytes; a failure is logged with the bytes
  // read as text.
  bool SetBinaryValue(const std::string& name, const char* bytes, unsigned long length);
  // A missing value is a failure like any other, and silent.
  bool DeleteValue(const std::string& name);
  // Deletes the sub-key name of this key and everything beneath it. Stops
  // at the first nested key that cannot be deleted.
  bool DeleteKeyTree(const std::string& name);

 private:
  HKEY key_ = nullptr;
};

}  // namespace krx
