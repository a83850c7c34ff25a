#pragma once
// CKestrelixApp: the program's whole life runs inside InitInstance as a
// sequence of modal dialogs: the login (when a password is set or none was
// ever chosen), then the main window. InitInstance always returns FALSE, so
// no message loop of the application's own ever runs.
#include <windows.h>

#include <string>

#include "app/user_folder_lock.h"
#include "framework/win_app.h"

namespace krx {

// What a start says when another session's manager holds the User\ folder.
extern const char kRunningForAnotherUserText[];

class CKestrelixApp : public CWinApp {
 public:
  // Creates the single-instance mutex; a failure goes unnoticed (the 50 ms
  // wait then fails at once and this process runs as the only manager).
  CKestrelixApp();
  ~CKestrelixApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;
  void WinHelp(DWORD_PTR data, UINT command) override;

  const std::string& userFolder() const { return userFolder_; }

 private:
  static BOOL CALLBACK SearchWindow(HWND hwnd, LPARAM app);
  bool RaiseRunningManager(int theme);

  HANDLE mutex_ = nullptr;
  UserFolderLock userFolderLock_;
  char searchName_[260] = {};
  HWND foundWindow_ = nullptr;
  int foundFlag_ = 0;
  std::string userFolder_;
  std::string currentPassword_;
};

}  // namespace krx
