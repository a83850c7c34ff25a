#pragma once
// What a test added to ErrorMsg.txt: the size at construction is the mark,
// NewText() returns everything written after it.
#include <string>

namespace krx_test {

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

}  // namespace krx_test
