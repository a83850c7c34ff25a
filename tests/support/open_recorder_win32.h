#pragma once
// Records what the program opens through the shell ("http:", "mailto:"):
// while it lives, the protocol's open command writes its argument into a
// file instead of starting a browser or mailer. The old command comes back
// at destruction. Link advapi32.
#include <windows.h>

#include <string>
#include <vector>

namespace krx_test {

class OpenRecorder {
 public:
  // protocol: "http" or "mailto"; file: where each opened address goes, one a line.
  OpenRecorder(std::string protocol, std::string file) : key_("Software\\Classes\\" + protocol + "\\shell\\open\\command"),
                                                        file_(std::move(file)) {
    DeleteFileA(file_.c_str());
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    char old[1024] = {};
    DWORD size = sizeof old;
    had_ = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    old_ = old;
    std::string command = "C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + file_ + "\"";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()), DWORD(command.size() + 1));
    RegCloseKey(key);
  }
  ~OpenRecorder() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    if (had_) {
      RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()), DWORD(old_.size() + 1));
    } else {
      RegDeleteValueA(key, nullptr);
    }
    RegCloseKey(key);
  }
  OpenRecorder(const OpenRecorder&) = delete;
  OpenRecorder& operator=(const OpenRecorder&) = delete;

  // The addresses opened so far; waits up to timeoutMs for at least one
  // (the command runs in a process of its own).
  std::vector<std::string> Opened(DWORD timeoutMs = 60000) const {
    std::vector<std::string> lines;
    for (DWORD waited = 0;; waited += 50) {
      lines = ReadLines();
      if (!lines.empty() || waited >= timeoutMs) return lines;
      Sleep(50);
    }
  }

 private:
  std::vector<std::string> ReadLines() const {
    std::vector<std::string> lines;
    HANDLE file = CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    char buffer[4096];
    DWORD read = 0;
    std::string text;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      std::string line = text.substr(start, end - start);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  std::string key_;
  std::string file_;
  bool had_ = false;
  std::string old_;
};

}  // namespace krx_test
