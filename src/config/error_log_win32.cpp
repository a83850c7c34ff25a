#include "config/error_log.h"

#include <windows.h>

#include <cstdarg>

#include "records/folders.h"

namespace krx {
namespace {

// wvsprintfA never writes more than 1,024 characters with the NUL; the extra
// room is only a guard against a runtime that counts differently.
constexpr int kLogBufferSize = 1024;

void AppendLine(const std::string& line) {
  // No sharing: two writers at the same moment lose a line rather than
  // interleave their bytes.
  HANDLE h = CreateFileA(ErrorLogPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  // A failure before the program made User\ (a tool run beside it, say)
  // still gets its line.
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND &&
      CreateDirectoryA(UserFolder().c_str(), nullptr)) {
    h = CreateFileA(ErrorLogPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (h == INVALID_HANDLE_VALUE) return;
  if (SetFilePointer(h, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR) {
    DWORD put = 0;
    WriteFile(h, line.data(), DWORD(line.size()), &put, nullptr);
  }
  CloseHandle(h);
}

}  // namespace

std::string ErrorLogPath() { return UserFolder() + "ErrorMsg.txt"; }

void LogError(const char* format, ...) {
  char buffer[kLogBufferSize + 8] = {};
  va_list args;
  va_start(args, format);
  int n = wvsprintfA(buffer, format, args);
  va_end(args);
  if (n < 0) n = 0;
  if (n > kLogBufferSize - 1) n = kLogBufferSize - 1;
  std::string line(buffer, size_t(n));
  line += "\r\n";
  AppendLine(line);
}

void LogErrorText(const std::string& text) { LogError("%s", text.c_str()); }

}  // namespace krx
