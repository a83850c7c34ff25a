#include "day_file_append.h"

#include <windows.h>

#include "core/addon_rules.h"

namespace krx_addon {
namespace {

// The lock byte: at 2^62, beyond any day file, so a reader's range never
// meets it. The manager's reads take no lock; its close takes this byte to
// decide whether a file grew and to delete it, never while a line is written.
constexpr DWORD kLockOffsetHigh = 0x40000000;

// Other writers hold the lock for one small write (well under a
// millisecond). A writer that cannot have it within kMostWaitMs (a process
// hung while holding it) does not get to stall the browser: it writes out
// of turn. The wait is measured on the clock, not counted in sleeps, which
// last a whole scheduler tick (15.6 ms on many systems).
constexpr LONGLONG kMostWaitMs = 50;

// Milliseconds on the performance counter.
LONGLONG NowMs() {
  static LARGE_INTEGER frequency = {};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return frequency.QuadPart ? krx::CounterMilliseconds(now.QuadPart, frequency.QuadPart) : LONGLONG(GetTickCount());
}

class FileLock {
 public:
  explicit FileLock(HANDLE h) : h_(h) {
    LONGLONG started = 0;
    for (int tries = 0;; ++tries) {
      OVERLAPPED at = {};
      at.OffsetHigh = kLockOffsetHigh;
      if (LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        held_ = true;
        return;
      }
      // Only another writer's turn is worth waiting for; a file system
      // that takes no locks never gives one.
      if (GetLastError() != ERROR_LOCK_VIOLATION) return;
      if (!tries) {
        started = NowMs();
      } else if (NowMs() - started >= kMostWaitMs) {
        return;
      }
      // The first few retries only yield: the holder is usually writing
      // right now on the other core.
      Sleep(tries < 4 ? 0 : 1);
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
  // the end of the file. A file the manager's close is deleting refuses an
  // open for a moment (its delete shares no writing, and a deleted file
  // refuses opens until its last handle closes): retried within the wait
  // the lock allows.
  HANDLE h = INVALID_HANDLE_VALUE;
  for (LONGLONG started = NowMs();;) {
    h = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || NowMs() - started >= kMostWaitMs) {
      return false;
    }
    Sleep(1);
  }
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
