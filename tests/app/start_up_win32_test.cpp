// Kestrelix.exe as a user meets it: started in a program folder of its
// own, driven from this process, its files checked afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "core/record_file.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace {

class ProgramFolder {
 public:
  ProgramFolder() {
    CopyFileA(krx_test::WinePath(KRX_EXE_PATH).c_str(), (dir_.path() + "Kestrelix.exe").c_str(), FALSE);
    // The add-on stand-in lies beside the program, as installed; the
    // manager registers it at start while the add-on is enabled.
    CopyFileA(krx_test::WinePath(KRX_ADDON_PATH).c_str(), (dir_.path() + "Kestrelix.dll").c_str(), FALSE);
    CreateDirectoryA((dir_.path() + "User").c_str(), nullptr);
    CreateDirectoryA((dir_.path() + "tmp").c_str(), nullptr);
  }
  ~ProgramFolder() {
    for (PROCESS_INFORMATION& p : started_) {
      if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
      WaitForSingleObject(p.hProcess, 5000);
      CloseHandle(p.hProcess);
      CloseHandle(p.hThread);
    }
  }
  std::string user() const { return dir_.path() + "User\\"; }
  std::string tmp() const { return dir_.path() + "tmp\\"; }
  std::string path() const { return dir_.path(); }

  HANDLE Run(const std::string& exe, const std::string& args = "") {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir_.path().c_str(), &si, &pi)) {
      return nullptr;
    }
    started_.push_back(pi);
    return pi.hProcess;
  }
  HANDLE Start() { return Run(dir_.path() + "Kestrelix.exe"); }

 private:
  krx_test::TempFolder dir_;
  std::vector<PROCESS_INFORMATION> started_;
};

// Waits for a top-level window with this title owned by process pid.
HWND WaitForWindow(const char* title, DWORD pid, int timeoutMs = 30000) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    HWND found = nullptr;
    for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, title); h; h = FindWindowExA(nullptr, h, nullptr, title)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(h, &owner);
      if (owner == pid && IsWindowVisible(h)) found = h;
    }
    if (found) return found;
    Sleep(50);
  }
  return nullptr;
}

// Gives a window of the program a command and waits until the program ends.
bool AnswerAndWaitForExit(HWND window, WPARAM command, HANDLE process) {
  PostMessageA(window, WM_COMMAND, command, 0);
  return WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
}

// Closes the manager window as a user does: Close, then "Yes" to the exit
// question; waits until the program ends.
bool CloseManager(HWND main, HANDLE process) {
  PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
  HWND question = WaitForWindow("Please select", GetProcessId(process));
  if (!question) return false;
  return AnswerAndWaitForExit(question, IDOK, process);
}

size_t CountFiles(const std::string& folder, const char* pattern) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((folder + pattern).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return 0;
  size_t n = 0;
  do ++n; while (FindNextFileA(h, &data));
  FindClose(h);
  return n;
}

TEST(StartUp, MergesDayFilesAndSavesThemWhenClosed) {
  ProgramFolder folder;
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));  // no password: no login
  HANDLE writer = folder.Run(krx_test::WinePath(KRX_DAYWRITER_PATH), folder.tmp());
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(WaitForSingleObject(writer, 30000), WAIT_OBJECT_0);
  ASSERT_GT(CountFiles(folder.tmp(), "*.vis"), 0u);

  HANDLE app = folder.Start();
  ASSERT_NE(app, nullptr);
  HWND main = WaitForWindow("Kestrelix", GetProcessId(app));
  ASSERT_NE(main, nullptr);
  // The first start writes the settings file with its defaults.
  EXPECT_EQ(krx_test::ReadFileBytes(folder.user() + "KRX.cfg").size(), 100u);

  ASSERT_TRUE(CloseManager(main, app));

  krx::RecordCollections records;
  krx::RecordLoadReport report = krx::LoadRecordFiles(folder.user(), "", records);
  EXPECT_EQ(report.outcome[krx::kVisitRecords], krx::RecordFileOutcome::kLoaded);
  EXPECT_FALSE(records[krx::kVisitRecords].empty());
  EXPECT_FALSE(records[krx::kBlockRecords].empty());
  // Merged and saved, the day files are gone; *.ins files stay.
  EXPECT_EQ(CountFiles(folder.tmp(), "*.vis"), 0u);
  EXPECT_EQ(CountFiles(folder.tmp(), "*.blc"), 0u);
  EXPECT_GT(CountFiles(folder.tmp(), "*.ins"), 0u);
}

TEST(StartUp, ASecondStartRaisesTheFirstAndEnds) {
  ProgramFolder folder;
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));
  HANDLE first = folder.Start();
  HWND main = WaitForWindow("Kestrelix", GetProcessId(first));
  ASSERT_NE(main, nullptr);

  HANDLE second = folder.Start();
  ASSERT_NE(second, nullptr);
  HWND notice = WaitForWindow("Message", GetProcessId(second));
  ASSERT_NE(notice, nullptr);
  char text[256] = {};
  for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    GetWindowTextA(child, text, sizeof(text));
    if (std::string(text) == "Kestrelix is running now.") break;
  }
  EXPECT_STREQ(text, "Kestrelix is running now.");
  EXPECT_TRUE(AnswerAndWaitForExit(notice, IDOK, second));
  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT);  // the first one lives on

  EXPECT_TRUE(CloseManager(main, first));
}

TEST(StartUp, ACancelledLoginEndsWithoutTouchingTheRecords) {
  ProgramFolder folder;
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), "secret"));
  HANDLE app = folder.Start();
  HWND login = WaitForWindow("Kestrelix - Login", GetProcessId(app));
  ASSERT_NE(login, nullptr);
  ASSERT_TRUE(AnswerAndWaitForExit(login, IDCANCEL, app));
  EXPECT_FALSE(krx::FileExists(folder.user() + "visit.log"));
  EXPECT_FALSE(krx::FileExists(folder.user() + "white.log"));
}

}  // namespace
