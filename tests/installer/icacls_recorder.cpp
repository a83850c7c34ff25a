// A stand-in for icacls.exe (Wine's changes nothing): appends its arguments,
// the program's own name left out, as one line to icacls-calls.txt beside
// itself, and exits 0, so that a test can read what setup asked for.
#include <windows.h>

#include <cstring>
#include <string>

int main() {
  const char* line = GetCommandLineA();
  // The program's name, quoted or not, then the blanks after it.
  if (*line == '"') {
    const char* close = std::strchr(line + 1, '"');
    line = close ? close + 1 : line + std::strlen(line);
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  char self[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string log(self, n);
  log = log.substr(0, log.find_last_of('\\') + 1) + "icacls-calls.txt";
  HANDLE h = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 1;
  const std::string text = std::string(line) + "\r\n";
  DWORD put = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &put, nullptr);
  CloseHandle(h);
  return 0;
}
