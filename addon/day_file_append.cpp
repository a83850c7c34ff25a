#include "day_file_append.h"

#include <windows.h>

namespace krx_addon {
namespace {

// The lock byte: at 2^62, beyond any day file, so a reader's range never
// meets it. The manager's reads take no lock; its close takes this byte to
// decide whether a file grew and to delete it, never while a line is written.
constexpr DWORD kLockOffsetHigh = 0x40000000;

// Other writers hold the lock for one small write; a writer that cannot
// have it within about 50 ms (a hung process holding the handle) does not
// get to stall the browser, and writes without it.
constexpr int kLockTries = 50;

class FileLock {
 public:
  explicit FileLock(HANDLE h) : h_(h) {
    for (int i = 0; i < kLockTries; ++i) {
      OVERLAPPED at = {};
      at.OffsetHigh = kLockOffsetHigh;
      if (LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        held_ = true;
        return;
      }
      Sleep(1);
    }
  }
  ~FileLock() {
    if (!held_) return;
    OVERLAPPED at = {};
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(h_, 0, 1, 0, &at);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  HANDLE h_;
  bool held_ = false;
};

}  // namespace

bool AppendDayLine(const std::string& path, const std::string& line) {
  if (line.empty() || line.size() > 0x7FFFFFFF) return false;
  // GENERIC_READ beside FILE_APPEND_DATA: the lock needs a handle with read
  // or write access, and without FILE_WRITE_DATA every write still goes to
  // the end of the file. A file that the manager deleted a moment ago may
  // refuse an open until its last handle closes: a few quick retries.
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 3 && h == INVALID_HANDLE_VALUE; ++attempt) {
    if (attempt) Sleep(1);
    h = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok;
  {
    FileLock lock(h);
    DWORD put = 0;
    ok = WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr) && put == line.size();
  }
  CloseHandle(h);
  return ok;
}

}  // namespace krx_addon
