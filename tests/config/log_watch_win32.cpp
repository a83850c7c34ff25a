#include "log_watch.h"

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

}  // namespace krx_test
