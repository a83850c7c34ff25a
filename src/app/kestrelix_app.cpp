#include "app/kestrelix_app.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstring>

#include "config/config_dlg.h"
#include "config/error_log.h"
#include "config/html_help.h"
#include "config/user_notice.h"
#include "core/settings_file.h"
#include "framework/handler_fault.h"
#include "manager/login_dlg.h"
#include "manager/manager_dlg.h"
#include "records/file_io.h"
#include "records/folders.h"
#include "records/plain_message_box.h"
#include "skin/skin_dialog.h"
#include "skin/skin_message_box.h"

namespace krx {

CKestrelixApp::CKestrelixApp() {
  mutex_ = CreateMutexA(nullptr, FALSE, kProductName);
  std::strncpy(searchName_, kProductName, sizeof(searchName_) - 1);
  foundFlag_ = 0;
}

CKestrelixApp::~CKestrelixApp() {
  if (mutex_) CloseHandle(mutex_);
}

BOOL CALLBACK CKestrelixApp::SearchWindow(HWND hwnd, LPARAM param) {
  CKestrelixApp* app = reinterpret_cast<CKestrelixApp*>(param);
  char title[260] = {};
  GetWindowTextA(hwnd, title, 259);
  if (std::strcmp(title, app->searchName_) != 0) return TRUE;
  app->foundWindow_ = hwnd;
  app->foundFlag_ = 1;
  return FALSE;
}

// Another manager owns the mutex: find its main window (hidden ones too),
// say so and bring it forward (restored, when it was minimised). Its login dialog has another title, so a
// manager still at its login is not found and nothing is said.
bool CKestrelixApp::RaiseRunningManager(int theme) {
  EnumWindows(&CKestrelixApp::SearchWindow, reinterpret_cast<LPARAM>(this));
  if (!foundFlag_) return false;
  SkinMessageBox(std::string(kProductName) + " is running now.", theme);
  // A minimised window comes back as it was; one hidden in the tray stays
  // hidden. Asynchronously: the window belongs to the other process.
  if (IsIconic(foundWindow_) && IsWindowVisible(foundWindow_)) ShowWindowAsync(foundWindow_, SW_RESTORE);
  SetForegroundWindow(foundWindow_);
  BringWindowToTop(foundWindow_);
  return true;
}

namespace {

// The theme of KRX.cfg as it stands, the default when it cannot be read;
// the file is only read, never made or completed.
int ThemeWithoutWriting(const std::string& userFolder) {
  std::string bytes;
  if (!ReadWholeFile(userFolder + "KRX.cfg", bytes)) return kDefaultSettings[kThemeIndex];
  return ParseSettings(bytes).values[kThemeIndex];
}

}  // namespace

const char kRunningForAnotherUserText[] =
    "Kestrelix is already running for another user of this computer, on the same records. Only one user at a "
    "time can use them: close Kestrelix in the other user's session first.";

namespace {
// The caption pictures are OLE pictures: COM comes first, before any skinned
// window (the "is running now." notice included), and goes last.
class OleSession {
 public:
  OleSession() { OleInitialize(nullptr); }
  ~OleSession() { OleUninitialize(); }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
};
}  // namespace

BOOL CKestrelixApp::InitInstance() {
  InstallParameterErrorBox();
  SetHandlerFaultReporter(&ReportFailedCommand);
  OleSession ole;

  userFolder_ = UserFolder();
  CreateFolderPath(userFolder_, nullptr);
  CreateFolderPath(TmpFolder(), nullptr);

  // The folder's lock first: a manager of another session or account on
  // these records is not seen by this session's mutex, and this start must
  // then leave every file as it is, KRX.cfg included.
  const UserFolderLock::State lock = userFolderLock_.Take(userFolder_);
  if (lock == UserFolderLock::State::kHeldElsewhere && WaitForSingleObject(mutex_, 50) != WAIT_TIMEOUT) {
    SkinMessageBox(kRunningForAnotherUserText, ThemeWithoutWriting(userFolder_));
    return FALSE;
  }

  // A settings object that is never shown: it reads KRX.cfg (writing the
  // defaults on first use) and re-applies autorun and the toolbar button,
  // in a second instance too.
  CConfigDlg settings;
  settings.LoadAndApply();
  const int theme = settings.Get(kThemeIndex);

  // Held elsewhere and the mutex owned: the other manager is this session's.
  if (lock == UserFolderLock::State::kHeldElsewhere || WaitForSingleObject(mutex_, 50) == WAIT_TIMEOUT) {
    RaiseRunningManager(theme);
    return FALSE;
  }

  // A cancelled login ends the program: no record file is read or written.
  if (!LoginAtStartup(userFolder_, currentPassword_, theme)) return FALSE;

  {
    CManagerDlg manager(userFolder_, TmpFolder(), currentPassword_);
    manager.DoModal();  // it makes itself the main window while it lives
  }
  CloseAllHelp();  // help windows opened from the program go with it
  return FALSE;
}

int CKestrelixApp::ExitInstance() {
  userFolderLock_.Release();
  if (mutex_) ReleaseMutex(mutex_);
  return CWinApp::ExitInstance();
}

void CKestrelixApp::WinHelp(DWORD_PTR, UINT) {
  ShellExecuteA(nullptr, "open", (ProgramFolder() + "Kestrelix.chm").c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace krx
