// One manager per User\ folder across sessions: the folder's lock held by
// another process (as a manager of another Windows session holds it) stops
// a start before it touches anything; a lock file left behind by an ended
// manager stops nothing. And the autorun command of a folder with blanks.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "app/program_folder_win32.h"
#include "records/password_store.h"
#include "support/test_support.h"

namespace {

using krx_test::ProgramFolder;
using krx_test::WaitForWindow;

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kOtherUserText[] =
    "Kestrelix is already running for another user of this computer, on the same records. Only one user at a "
    "time can use them: close Kestrelix in the other user's session first.";

// Every file under folder, by its path, with its bytes.
void Snapshot(const std::string& folder, std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out[folder + name + "\\"] = "<folder>";
      Snapshot(folder + name + "\\", out);
    } else {
      out[folder + name] = krx_test::ReadFileBytes(folder + name);
    }
  } while (FindNextFileA(h, &data));
  FindClose(h);
}

bool ShowsText(HWND box, const std::string& wanted) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (wanted == text) return true;
  }
  return false;
}

bool RunValuePresent() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  const bool present = RegQueryValueExA(key, "Kestrelix", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return present;
}

void DeleteRunValue() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "Kestrelix");
  RegCloseKey(key);
}

}  // namespace

TEST(SingleInstance, AFolderLockedElsewhereIsSaidInTheBoxAndNothingIsTouched) {
  struct Row {
    const char* name;
    bool holdLock;  // the lock file open without write sharing, as a running manager holds it
  } const rows[] = {{"held by another session's manager", true}, {"left behind, held by nobody", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ProgramFolder folder;
    folder.MakeFolders();
    ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));  // no login: a free start opens the manager at once
    krx_test::WriteFileBytes(folder.tmp() + "20260101.vis", "<01/01/2026 10:00:00> http://a.example/ - A\r\n");
    HANDLE lock = CreateFileA((folder.user() + "Kestrelix.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    if (!row.holdLock) CloseHandle(lock);
    DeleteRunValue();
    std::map<std::string, std::string> before, after;
    Snapshot(folder.path(), before);

    HANDLE app = folder.Start();
    ASSERT_NE(app, nullptr);
    if (row.holdLock) {
      HWND box = WaitForWindow(app, "Message");
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(ShowsText(box, kOtherUserText));
      EXPECT_TRUE(krx_test::AnswerAndWaitForExit(box, IDOK, app));
      Snapshot(folder.path(), after);
      EXPECT_EQ(after, before);  // no KRX.cfg made, no day file merged, byte for byte
      EXPECT_FALSE(RunValuePresent());  // nor the autorun value applied
      CloseHandle(lock);
    } else {
      HWND main = WaitForWindow(app, "Kestrelix");
      ASSERT_NE(main, nullptr);
      EXPECT_TRUE(RunValuePresent());
      EXPECT_TRUE(krx_test::CloseManager(main, app));
    }
  }
}

// A program folder with blanks in its name: the autorun value holds the
// program's path in quotes, and that very command line starts the program
// (here a second start, which finds the first).
TEST(Autorun, AFolderWithBlanksIsQuotedAndItsCommandStartsTheProgram) {
  ProgramFolder install;
  const std::string folder = install.path() + "Program Files x\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder + "User").c_str(), nullptr));
  ASSERT_TRUE(CopyFileA((install.path() + "Kestrelix.exe").c_str(), (folder + "Kestrelix.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((install.path() + "Kestrelix.dll").c_str(), (folder + "Kestrelix.dll").c_str(), FALSE));
  ASSERT_TRUE(krx::WritePasswordFile(folder + "User\\", ""));
  DeleteRunValue();

  HANDLE app = install.Run(folder + "Kestrelix.exe");
  ASSERT_NE(app, nullptr);
  HWND main = WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  char command[MAX_PATH * 2] = {};
  DWORD size = sizeof command - 1;
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Kestrelix", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(std::string(command), "\"" + folder + "Kestrelix.exe\"");

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
  HWND notice = WaitForWindow(pi.hProcess, "Message");
  EXPECT_NE(notice, nullptr);
  if (notice) {
    EXPECT_TRUE(ShowsText(notice, "Kestrelix is running now."));
    EXPECT_TRUE(krx_test::AnswerAndWaitForExit(notice, IDOK, pi.hProcess));
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_TRUE(krx_test::CloseManager(main, app));
  DeleteRunValue();
}
