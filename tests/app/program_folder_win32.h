#pragma once
// The real Kestrelix.exe in a program folder of its own, as installed, and
// the few things a second process does to drive it: start it, find its
// windows by title, close it as a user does.
#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

// The add-on's file name in the program folder: Kestrelix64.dll for the
// 64-bit build.
#ifndef KRX_ADDON_FILE
#define KRX_ADDON_FILE "Kestrelix.dll"
#endif

namespace krx_test {

// Kestrelix.exe and the add-on stand-in, which the manager registers at
// start; User\ and tmp\ only when a test asks (a first start makes them).
class ProgramFolder {
 public:
  ProgramFolder() {
    CopyFileA(WinePath(KRX_EXE_PATH).c_str(), (dir_.path() + "Kestrelix.exe").c_str(), FALSE);
    CopyFileA(WinePath(KRX_ADDON_PATH).c_str(), (dir_.path() + KRX_ADDON_FILE).c_str(), FALSE);
#ifdef KRX_ADDON32_PATH
    // The 64-bit add-on's folder holds the 32-bit one too, which the
    // manager registers at its start.
    CopyFileA(WinePath(KRX_ADDON32_PATH).c_str(), (dir_.path() + "Kestrelix.dll").c_str(), FALSE);
#endif
  }
  ~ProgramFolder() {
    for (PROCESS_INFORMATION& p : started_) {
      if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
      WaitForSingleObject(p.hProcess, 5000);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::string path() const { return dir_.path(); }
  std::string user() const { return dir_.path() + "User\\"; }
  std::string tmp() const { return dir_.path() + "tmp\\"; }
  void MakeFolders(bool withUser = true) const {
    if (withUser) CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
  }

  // Starts exe with the program folder as its current folder; the process
  // is ended with the folder if it still runs.
  HANDLE Run(const std::string& exe, const std::string& args = "") {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.path().c_str(), &si, &pi)) {
      return nullptr;
    }
    started_.push_back(pi);
    return pi.hProcess;
  }
  HANDLE Start() { return Run(dir_.path() + "Kestrelix.exe"); }
  // The first thread of a process this folder started: the program's user
  // interface thread.
  HANDLE MainThread(HANDLE process) const {
    for (const PROCESS_INFORMATION& p : started_) {
      if (p.hProcess == process) return p.hThread;
    }
    return nullptr;
  }

 private:
  TempFolder dir_;
  std::vector<PROCESS_INFORMATION> started_;
};

// The visible top-level windows of process pid with this title.
inline std::vector<HWND> WindowsOf(DWORD pid, const char* title) {
  std::vector<HWND> out;
  for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, title); h; h = FindWindowExA(nullptr, h, nullptr, title)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid && IsWindowVisible(h)) out.push_back(h);
  }
  return out;
}

// The first visible window of process with this title; nullptr after the
// time-out or as soon as the process has ended.
inline HWND WaitForWindow(HANDLE process, const char* title, int timeoutMs = 30000) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    std::vector<HWND> found = WindowsOf(GetProcessId(process), title);
    if (!found.empty()) return found.front();
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
    Sleep(50);
  }
  return nullptr;
}

// Another process's list box line: its ANSI LB_GETTEXT is not marshalled
// reliably, the wide one is.
inline std::string ListLine(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return "";
  std::wstring wide(size_t(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, WPARAM(index), LPARAM(&wide[0]));
  wide.resize(size_t(length));
  std::string text(wide.size() * 2 + 1, '\0');
  const int n =
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), &text[0], int(text.size()), nullptr, nullptr);
  text.resize(size_t(n > 0 ? n : 0));
  return text;
}

// Gives a window of the program a command and waits until the program ends.
inline bool AnswerAndWaitForExit(HWND window, WPARAM command, HANDLE process) {
  PostMessageA(window, WM_COMMAND, command, 0);
  return WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
}

// Closes the manager window as a user does, answering "Yes" to the exit
// question; true once the program has ended.
inline bool CloseManager(HWND main, HANDLE process) {
  PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
  for (int waited = 0; waited < 30000; waited += 50) {
    if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) return true;
    for (HWND question : WindowsOf(GetProcessId(process), "Please select")) {
      PostMessageA(question, WM_COMMAND, IDOK, 0);
    }
  }
  return false;
}

}  // namespace krx_test
