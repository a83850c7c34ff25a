// Start-up at its edges, with the real Kestrelix.exe driven from this
// process: a program folder with nothing beside the program, a second start
// while the first still asks for the password or sits hidden in the tray,
// and a start after a manager that died without letting go of the
// single-instance mutex.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/program_folder_win32.h"
#include "core/record_cipher.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "support/test_support.h"

namespace {

using krx_test::CloseManager;
using krx_test::WaitForWindow;
using krx_test::WindowsOf;

constexpr int kTimeoutMs = 30000;
constexpr UINT kLoginEditId = 1000;      // the login's password edit
constexpr UINT kTrayHideCommand = 2215;  // the tray menu's "Hide"

// Waits for the process to end on its own, collecting the titles of the
// message boxes and logins it showed meanwhile.
bool EndsShowingNothing(HANDLE process, std::vector<std::string>& shown) {
  const DWORD pid = GetProcessId(process);
  for (int waited = 0; waited < kTimeoutMs; waited += 20) {
    for (const char* title : {"Message", "Please select", "Kestrelix - Login"}) {
      if (!WindowsOf(pid, title).empty()) shown.push_back(title);
    }
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) return true;
  }
  return false;
}

std::string ChildText(HWND parent, const std::string& wanted) {
  char text[256] = {};
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    GetWindowTextA(child, text, sizeof(text));
    if (wanted == text) return text;
  }
  return "";
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(StartUpEdges, FirstStartWithNoUserFolderAtAll) {
  krx_test::ProgramFolder install;
  HANDLE app = install.Start();
  ASSERT_NE(app, nullptr);
  // The folders come first, silently; then the login in its first-use form.
  HWND login = WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(IsFolder(install.user()));
  EXPECT_TRUE(IsFolder(install.path() + "tmp"));
  EXPECT_EQ(ChildText(login, "Please initialize a new password:"), "Please initialize a new password:");
  EXPECT_EQ(krx_test::ReadFileBytes(install.user() + "KRX.cfg"), krx::SerializeSettings(krx::kDefaultSettings));
  EXPECT_FALSE(krx::FileExists(install.user() + "user.sav"));

  HWND edit = GetDlgItem(login, kLoginEditId);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, LPARAM("owl"));
  PostMessageA(login, WM_COMMAND, IDOK, 0);
  HWND main = WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(krx_test::Hex(krx_test::ReadFileBytes(install.user() + "user.sav")),
            krx_test::Hex(krx::SealedCopy("owl")));

  ASSERT_TRUE(CloseManager(main, app));
  // The six record files, each opening with the new password's stamp.
  for (const char* name : {"visit.log", "media.log", "block.log", "flash.log", "white.log", "forbid.log"}) {
    EXPECT_EQ(krx_test::Hex(krx_test::ReadFileBytes(install.user() + name)),
              krx_test::Hex(std::string(1, '\x08') + krx::SealedCopy("owl") + std::string(2, '\0')))
        << name;
  }
}

TEST(StartUpEdges, ASecondStartWhileTheFirstIsAtItsLoginEndsSilently) {
  krx_test::ProgramFolder install;
  install.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(install.user(), "secret"));
  HANDLE first = install.Start();
  HWND login = WaitForWindow(first, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);

  // No manager window exists yet to be found: nothing is said, nothing raised.
  HANDLE second = install.Start();
  ASSERT_NE(second, nullptr);
  std::vector<std::string> shown;
  EXPECT_TRUE(EndsShowingNothing(second, shown));
  EXPECT_TRUE(shown.empty()) << shown.front();

  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(IsWindowVisible(login));
  PostMessageA(login, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(WaitForSingleObject(first, kTimeoutMs), WAIT_OBJECT_0);
}

TEST(StartUpEdges, AStartAfterAManagerDiedHoldingTheMutexRuns) {
  krx_test::ProgramFolder install;
  install.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(install.user(), ""));  // no password: straight to the manager
  HANDLE dead = install.Start();
  ASSERT_NE(WaitForWindow(dead, "Kestrelix"), nullptr);
  // Killed with the mutex held: the next wait on it is WAIT_ABANDONED.
  ASSERT_TRUE(TerminateProcess(dead, 9));
  ASSERT_EQ(WaitForSingleObject(dead, kTimeoutMs), WAIT_OBJECT_0);

  HANDLE next = install.Start();
  HWND main = WaitForWindow(next, "Kestrelix");
  ASSERT_NE(main, nullptr) << "the next start ended instead of running";
  EXPECT_TRUE(WindowsOf(GetProcessId(next), "Message").empty());
  EXPECT_TRUE(CloseManager(main, next));
}

TEST(StartUpEdges, ASecondStartFindsTheFirstHiddenInTheTrayAndLeavesItHidden) {
  krx_test::ProgramFolder install;
  install.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(install.user(), ""));
  HANDLE first = install.Start();
  HWND main = WaitForWindow(first, "Kestrelix");
  ASSERT_NE(main, nullptr);
  PostMessageA(main, WM_COMMAND, kTrayHideCommand, 0);
  for (int waited = 0; waited < kTimeoutMs && IsWindowVisible(main); waited += 50) Sleep(50);
  ASSERT_FALSE(IsWindowVisible(main));

  // The search finds the hidden window by its title, says so, and brings it
  // forward without showing it: showing is the tray's (and the password's) business.
  HANDLE second = install.Start();
  HWND notice = WaitForWindow(second, "Message");
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(ChildText(notice, "Kestrelix is running now."), "Kestrelix is running now.");
  PostMessageA(notice, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForSingleObject(second, kTimeoutMs), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT);
  EXPECT_FALSE(IsWindowVisible(main));

  EXPECT_TRUE(CloseManager(main, first));
}

}  // namespace

TEST(StartUpEdges, AnUnreadableConfigurationNeitherRegistersTheAddOnNorIsOverwritten) {
  krx_test::ProgramFolder install;
  install.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(install.user(), ""));
  // The user turned the add-on off; then something holds KRX.cfg with no
  // sharing at all while the manager starts and closes.
  krx::SettingValues values = krx::kDefaultSettings;
  values[krx::kAddOnEnabled] = 0;
  const std::string stored = krx::SerializeSettings(values);
  ASSERT_TRUE(krx::WriteFileAtomic(install.user() + "KRX.cfg", stored));
  HANDLE held = CreateFileA((install.user() + "KRX.cfg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  HANDLE app = install.Start();
  HWND main = WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(CloseManager(main, app));
  CloseHandle(held);
  EXPECT_EQ(krx_test::ReadFileBytes(install.path() + "addon-calls.txt").find("DllRegisterServer"), std::string::npos);
  EXPECT_EQ(krx_test::Hex(krx_test::ReadFileBytes(install.user() + "KRX.cfg")), krx_test::Hex(stored));
}
