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

// Read-only first cleared (the add-on never sets it, a user might).
bool DeleteFileForced(const std::string& path) {
  if (InjectedWin32Fault(FileOp::kStat, path) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return false;
  }
  if (InjectedWin32Fault(FileOp::kDelete, path) || !SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    return false;
  }
  return !InjectedWin32Fault(FileOp::kDelete, path) && DeleteFileA(path.c_str());
}

namespace {

// A writer holds its day file open for one small write; a holder that
// keeps it longer (a hung browser) keeps the file for the next start.
constexpr int kOpenTries = 200;

// The handle the close decides through: it shares no writing, so it cannot
// be had while any writer holds the file open (the add-on's line is then
// still to come), and while it is held no writer can open the file.
class WritersBarred {
 public:
  explicit WritersBarred(const std::string& path) {
    for (int i = 0; i < kOpenTries; ++i) {
      if (i) Sleep(1);
      handle_ = CreateFileA(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) return;
    }
  }
  ~WritersBarred() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  WritersBarred(const WritersBarred&) = delete;
  WritersBarred& operator=(const WritersBarred&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

// Writers barred first, then the size read through that handle, then the
// delete (which shares the handle's delete access): no line can be written
// between the look and the delete. The name goes when the handle closes.
bool DeleteDayFileIfUnchanged(const std::string& path, uint64_t expectedSize) {
  if (InjectedWin32Fault(FileOp::kOpen, path)) return false;
  WritersBarred file(path);
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (InjectedWin32Fault(FileOp::kStat, path) || !GetFileSizeEx(file.get(), &size) ||
      uint64_t(size.QuadPart) != expectedSize) {
    return false;
  }
  return DeleteFileForced(path);
}

BusyCursor::BusyCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
BusyCursor::~BusyCursor() { SetCursor(static_cast<HCURSOR>(previous_)); }

}  // namespace krx
