// The Windows build of the file layer. Each system call first asks the test
// seam whether it is to fail, at the same points as the POSIX build.
#include <windows.h>

#include "records/file_fault_hook.h"
#include "records/file_io.h"
#include "records/file_io_system.h"

namespace krx {
namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0) {
  if (InjectedWin32Fault(FileOp::kOpen, path)) return INVALID_HANDLE_VALUE;
  return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

bool SizeOf(HANDLE h, const std::string& path, LARGE_INTEGER& size) {
  return !InjectedWin32Fault(FileOp::kStat, path) && GetFileSizeEx(h, &size);
}

bool ReadFrom(HANDLE h, const std::string& path, char* dst, DWORD n, DWORD& got) {
  got = 0;
  return !InjectedWin32Fault(FileOp::kRead, path) && ReadFile(h, dst, n, &got, nullptr);
}

bool WriteAll(HANDLE h, const std::string& path, const char* data, size_t n) {
  while (n > 0) {
    DWORD put = 0;
    if (InjectedWin32Fault(FileOp::kWrite, path) || !WriteFile(h, data, DWORD(n), &put, nullptr) || put == 0) {
      return false;
    }
    data += put;
    n -= put;
  }
  return true;
}

bool Sync(HANDLE h, const std::string& path) { return !InjectedWin32Fault(FileOp::kFlush, path) && FlushFileBuffers(h); }

// The close that ends a write, as the POSIX build asks about it.
bool CloseWritten(HANDLE h, const std::string& path) {
  const bool injected = InjectedWin32Fault(FileOp::kFlush, path);
  return CloseHandle(h) && !injected;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return !InjectedWin32Fault(FileOp::kReplace, to) &&
         MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace

bool FileExists(const std::string& path) {
  if (!InjectedWin32Fault(FileOp::kStat, path) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return true;
  }
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return false;
    default:
      return true;
  }
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  HANDLE h = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = SizeOf(h, path, size) && size.QuadPart < 0x7FFFFFFF;
  if (ok) {
    out.resize(size_t(size.QuadPart));
    DWORD done = 0;
    while (ok && done < out.size()) {
      DWORD got = 0;
      // An early end is a file that shrank while it was read: what came is
      // not the whole file, as in the POSIX build.
      ok = ReadFrom(h, path, &out[done], DWORD(out.size() - done), got) && got > 0;
      done += got;
    }
  }
  CloseHandle(h);
  return ok;
}

FileSource::~FileSource() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  HANDLE h = OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!SizeOf(h, path, size)) {
    CloseHandle(h);
    return nullptr;
  }
  std::unique_ptr<FileSource> source(new FileSource());
  source->handle_ = reinterpret_cast<intptr_t>(h);
  source->path_ = path;
  source->remaining_ = uint64_t(size.QuadPart);
  return source;
}

size_t FileSource::ReadSome(char* dst, size_t n) {
  if (n > remaining_) n = size_t(remaining_);
  DWORD got = 0;
  if (n == 0) return 0;
  if (!ReadFrom(AsHandle(handle_), path_, dst, DWORD(n), got)) {
    failed_ = true;
    return 0;
  }
  remaining_ -= got;
  return got;
}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Open(const std::string& path) {
  Abort();
  path_ = path;
  tempPath_ = path + ".tmp";
  failed_ = false;
  HANDLE h = OpenFile(tempPath_, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

bool AtomicFileWriter::Write(const char* data, size_t n) {
  if (handle_ == -1 || failed_) return false;
  if (!WriteAll(AsHandle(handle_), tempPath_, data, n)) failed_ = true;
  return !failed_;
}

bool AtomicFileWriter::Commit() {
  if (handle_ == -1) return false;
  bool ok = !failed_ && Sync(AsHandle(handle_), tempPath_);
  ok = CloseWritten(AsHandle(handle_), tempPath_) && ok;
  handle_ = -1;
  if (ok) ok = MoveOver(tempPath_, path_);
  if (!ok) DeleteFileA(tempPath_.c_str());
  return ok;
}

void AtomicFileWriter::Abort() {
  if (handle_ == -1) return;
  CloseHandle(AsHandle(handle_));
  handle_ = -1;
  DeleteFileA(tempPath_.c_str());
}

namespace file_system {

namespace {
bool TargetBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}
}  // namespace

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  HANDLE h = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, path, bytes.data(), bytes.size()) && Sync(h, path);
  ok = CloseWritten(h, path) && ok;
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

Replace ReplaceWith(const std::string& from, const std::string& to) {
  if (MoveOver(from, to)) return Replace::kDone;
  return TargetBusy(GetLastError()) ? Replace::kTargetBusy : Replace::kFailed;
}

bool RemoveFile(const std::string& path) {
  return !InjectedWin32Fault(FileOp::kDelete, path) && DeleteFileA(path.c_str());
}

bool OverwriteInPlace(const std::string& path, const std::string& bytes) {
  HANDLE h = OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(h, path, bytes.data(), bytes.size()) && !InjectedWin32Fault(FileOp::kWrite, path) &&
            SetEndOfFile(h) && Sync(h, path);
  return CloseWritten(h, path) && ok;
}

void PauseBeforeRetry() { Sleep(20); }

}  // namespace file_system

std::string SystemWideToMultiByte(const std::u16string& wide) {
  if (wide.empty()) return std::string();
  const wchar_t* w = reinterpret_cast<const wchar_t*>(wide.data());
  int n = WideCharToMultiByte(CP_ACP, 0, w, int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, int(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace krx
