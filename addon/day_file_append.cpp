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
// millisecond). A writer that cannot have it within kMostWaitMs (a holder
// the system set aside for a while, or a process hung while holding it)
// does not get to stall the browser: it writes nothing now and says the
// file is busy, and its caller keeps the line for later. Writing out of
// turn instead is safe only where the file system makes every append
// atomic, which a network share or Wine does not: two writers can then
// land on the same end and one line is lost. The wait is measured on the
// clock, not counted in sleeps, which last a whole scheduler tick (15.6 ms
// on many systems).
constexpr LONGLONG kMostWaitMs = 50;
// The last try for a line kept that long, when its browser window goes:
// longer, and then out of turn rather than never.
constexpr LONGLONG kLastWaitMs = 1000;

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
  FileLock(HANDLE h, LONGLONG waitMs) : h_(h) {
    LONGLONG started = 0;
    for (int tries = 0;; ++tries) {
      OVERLAPPED at = {};
      at.OffsetHigh = kLockOffsetHigh;
      if (LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        held_ = true;
        return;
      }
      // Only another writer's turn is worth waiting for; a file system
      // that takes no locks never gives one, and is written without it.
      if (GetLastError() != ERROR_LOCK_VIOLATION) return;
      if (!tries) {
        started = NowMs();
      } else if (NowMs() - started >= waitMs) {
        busy_ = true;
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
  // Another writer kept the lock for the whole wait.
  bool busy() const { return busy_; }

 private:
  HANDLE h_;
  bool held_ = false;
  bool busy_ = false;
};

// A create refused in a folder that takes new files is a file in the middle
// of its deletion (it exists until its last handle closes, and refuses
// every open meanwhile). One refused for a name that is not there, or with
// a fresh name beside it, is a folder that refuses writes: no wait helps.
bool FolderRefuses(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return true;
  FindClose(find);
  const size_t slash = path.find_last_of('\\');
  char probe[48];
  wsprintfA(probe, "~krx%lx-%lx.tmp", GetCurrentProcessId(), GetCurrentThreadId());
  HANDLE h = CreateFileA((path.substr(0, slash + 1) + probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
  CloseHandle(h);
  return false;
}

}  // namespace

AppendOutcome AppendDayLine(const std::string& path, const std::string& line, LockWait wait) {
  if (line.empty() || line.size() > 0x7FFFFFFF) return AppendOutcome::kFailed;
  // GENERIC_READ beside FILE_APPEND_DATA: the lock needs a handle with read
  // or write access, and without FILE_WRITE_DATA every write still goes to
  // the end of the file. A file the manager's close is deleting refuses an
  // open for a moment (a deleted file refuses opens until its last handle
  // closes; the close's own handle shares no writing): retried within the
  // wait the lock allows. A folder that refuses writes ends the attempt at
  // once.
  HANDLE h = INVALID_HANDLE_VALUE;
  bool deleting = false;
  for (LONGLONG started = NowMs();;) {
    h = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) break;
    const DWORD error = GetLastError();
    if (error == ERROR_PATH_NOT_FOUND) return AppendOutcome::kNoFolder;
    if (error == ERROR_ACCESS_DENIED && !deleting) {
      if (FolderRefuses(path)) return AppendOutcome::kFolderRefuses;
      deleting = true;
    }
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || NowMs() - started >= kMostWaitMs) {
      return AppendOutcome::kFailed;
    }
    Sleep(1);
  }
  AppendOutcome outcome = AppendOutcome::kBusy;
  {
    FileLock lock(h, wait == LockWait::kBrief ? kMostWaitMs : kLastWaitMs);
    if (!lock.busy() || wait == LockWait::kThenOutOfTurn) {
      DWORD put = 0;
      const bool ok = WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr) && put == line.size();
      outcome = ok ? AppendOutcome::kWritten : AppendOutcome::kFailed;
    }
  }
  CloseHandle(h);
  return outcome;
}

}  // namespace krx_addon
