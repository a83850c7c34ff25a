// The Windows build of the file layer.
#include <windows.h>

#include "records/file_io.h"
#include "records/file_io_system.h"

namespace krx {
namespace {
HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

bool FileExists(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
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
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart < 0x7FFFFFFF;
  if (ok) {
    out.resize(size_t(size.QuadPart));
    DWORD done = 0;
    while (ok && done < out.size()) {
      DWORD got = 0;
      ok = ReadFile(h, &out[done], DWORD(out.size() - done), &got, nullptr) != FALSE;
      // The end came early: the file shrank while it was read; keep what was there.
      if (ok && got == 0) out.resize(done);
      done += got;
    }
  }
  CloseHandle(h);
  return ok;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

FileSource::~FileSource() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

std::unique_ptr<FileSource> FileSource::Open(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return nullptr;
  }
  std::unique_ptr<FileSource> source(new FileSource());
  source->handle_ = reinterpret_cast<intptr_t>(h);
  source->remaining_ = uint64_t(size.QuadPart);
  return source;
}

size_t FileSource::ReadSome(char* dst, size_t n) {
  if (n > remaining_) n = size_t(remaining_);
  DWORD got = 0;
  if (n == 0) return 0;
  if (!ReadFile(AsHandle(handle_), dst, DWORD(n), &got, nullptr)) {
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
  HANDLE h = CreateFileA(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

bool AtomicFileWriter::Write(const char* data, size_t n) {
  if (handle_ == -1 || failed_) return false;
  while (n > 0) {
    DWORD put = 0;
    if (!WriteFile(AsHandle(handle_), data, DWORD(n), &put, nullptr) || put == 0) {
      failed_ = true;
      return false;
    }
    data += put;
    n -= put;
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (handle_ == -1) return false;
  bool ok = !failed_ && FlushFileBuffers(AsHandle(handle_));
  ok = CloseHandle(AsHandle(handle_)) && ok;
  handle_ = -1;
  if (ok) {
    ok = MoveFileExA(tempPath_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
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
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size() &&
            FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

Replace ReplaceWith(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Replace::kDone;
  return TargetBusy(GetLastError()) ? Replace::kTargetBusy : Replace::kFailed;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool OverwriteInPlace(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size() && SetEndOfFile(h) &&
            FlushFileBuffers(h);
  return CloseHandle(h) && ok;
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
