#pragma once
// Helpers of the configuration tests: the error log, scratch registry keys
// and reading registry values back.
#include <windows.h>

#include <string>
#include <utility>

namespace krx_test {

// What a test added to ErrorMsg.txt: the size at construction is the mark,
// NewText() returns everything written after it.
class LogWatch {
 public:
  LogWatch();
  std::string NewText() const;

 private:
  size_t mark_ = 0;
};

// A registry path under HKCU that belongs to this test process only, and
// is removed with everything below it at destruction.
class ScratchKey {
 public:
  explicit ScratchKey(const std::string& leaf);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

bool KeyExists(HKEY root, const std::string& path);
// A value's type and exact bytes, or type 0 when it is missing.
std::pair<DWORD, std::string> ReadValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace krx_test
