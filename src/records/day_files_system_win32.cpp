// The day files' system side on Windows: the folder walk, sizes, the
// forced delete, the code page's lead bytes and the wait cursor.
#include <windows.h>

#include <cstring>

#include "records/busy_cursor.h"
#include "records/day_files.h"
#include "records/file_fault_hook.h"

namespace krx {

namespace {

class FindHandle {
 public:
  FindHandle(const std::string& pattern, WIN32_FIND_DATAA& data)
      : handle_(FindFirstFileA(pattern.c_str(), &data)) {}
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(handle_, &data) != FALSE; }

 private:
  HANDLE handle_;
};

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
  return folder;
}

bool IsFolder(const WIN32_FIND_DATAA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

}  // namespace

int CountFilesInTree(const std::string& folder) {
  if (folder.empty() || InjectedWin32Fault(FileOp::kOpen, folder)) return 0;
  const std::string base = WithBackslash(folder);
  WIN32_FIND_DATAA data;
  FindHandle find(base + "*.*", data);
  if (!find.valid()) return 0;
  int count = 0;
  do {
    if (!IsFolder(data)) {
      ++count;
    } else if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0 &&
               (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      // A junction could lead back up the tree; the add-on never makes one.
      count += CountFilesInTree(base + data.cFileName);
    }
  } while (find.Next(data));
  return count;
}

namespace {

// Read-only first cleared (the add-on never sets it, a user might), then
// `remove` does the deleting.
template <typename Remove>
bool DeleteClearingReadOnly(const std::string& path, Remove remove) {
  if (InjectedWin32Fault(FileOp::kStat, path) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  if (InjectedWin32Fault(FileOp::kDelete, path) || !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    return false;
  }
  return !InjectedWin32Fault(FileOp::kDelete, path) && remove(path.c_str());
}

// A writer that opened the file before the close took the lock waits for
// the lock with its line unwritten; that line must not go with the file.
// A handle for deleting that shares no writing cannot be had while any
// writer holds the file open, so the file then stays for the next start.
// The file goes when the last handle to it closes.
bool DeleteUnlessOpenForWriting(const char* path) {
  HANDLE doomed = CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return doomed != INVALID_HANDLE_VALUE && CloseHandle(doomed);
}

}  // namespace

bool DeleteFileForced(const std::string& path) {
  return DeleteClearingReadOnly(path, [](const char* p) { return DeleteFileA(p) != FALSE; });
}

namespace {

// The add-on holds its lock byte for one small write; a holder that keeps
// it longer (a hung browser) keeps its file for the next start.
constexpr int kLockTries = 200;

class DayFileLock {
 public:
  explicit DayFileLock(HANDLE file) : file_(file) {
    for (int i = 0; i < kLockTries && !held_; ++i) {
      if (i) Sleep(1);
      OVERLAPPED at = {};
      at.OffsetHigh = 0x40000000;  // 2^62, as the add-on takes it
      held_ = LockFileEx(file_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != FALSE;
    }
  }
  ~DayFileLock() {
    if (!held_) return;
    OVERLAPPED at = {};
    at.OffsetHigh = 0x40000000;
    UnlockFileEx(file_, 0, 1, 0, &at);
  }
  DayFileLock(const DayFileLock&) = delete;
  DayFileLock& operator=(const DayFileLock&) = delete;
  bool held() const { return held_; }

 private:
  HANDLE file_;
  bool held_ = false;
};

class OpenFile {
 public:
  explicit OpenFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

// Size read and delete asked for while this handle holds the lock: a line
// the add-on is writing is either in the size seen (the file stays) or not
// begun. The name goes when the last handle closes.
bool DeleteDayFileIfUnchanged(const std::string& path, uint64_t expectedSize) {
  if (InjectedWin32Fault(FileOp::kOpen, path)) return false;
  OpenFile file(path);
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  DayFileLock lock(file.get());
  LARGE_INTEGER size;
  if (!lock.held() || InjectedWin32Fault(FileOp::kStat, path) || !GetFileSizeEx(file.get(), &size) ||
      uint64_t(size.QuadPart) != expectedSize) {
    return false;
  }
  return DeleteClearingReadOnly(path, &DeleteUnlessOpenForWriting);
}

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
BusyCursor::~BusyCursor() { SetCursor(static_cast<HCURSOR>(previous_)); }

}  // namespace krx
