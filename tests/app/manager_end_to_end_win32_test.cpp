// The real Kestrelix.exe from its first start to its close, driven from
// this process as a user would: a new password, the manager window with its
// defaults, the add-on's day files listed day by day, and what closing and
// starting leave in the files and the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program_folder_win32.h"
#include "core/record_file.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace {

// Another process's list box line: its ANSI LB_GETTEXT is not marshalled
// reliably, the wide one is.
std::string ListLine(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return "";
  std::wstring wide(size_t(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, WPARAM(index), LPARAM(&wide[0]));
  wide.resize(size_t(length));
  std::string text(wide.size() * 2 + 1, '\0');
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), int(wide.size()), &text[0], int(text.size()), nullptr, nullptr);
  text.resize(size_t(n > 0 ? n : 0));
  return text;
}

std::string Text(HWND hwnd) {
  char buffer[512] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, LPARAM(buffer));
  return buffer;
}

bool WaitUntil(const std::function<bool()>& done) {
  for (int waited = 0; waited < 20000 && !done(); waited += 50) Sleep(50);
  return done();
}

int CountDayFiles(const std::string& tmp) {
  int n = 0;
  for (const char* pattern : {"*.vis", "*.blc", "*.fla", "*.mms"}) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((tmp + pattern).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) continue;
    do ++n; while (FindNextFileA(h, &data));
    FindClose(h);
  }
  return n;
}

// Answers the program's next "Please select" question with Yes.
bool AnswerYes(HANDLE process) {
  for (int waited = 0; waited < 30000; waited += 50) {
    std::vector<HWND> boxes = krx_test::WindowsOf(GetProcessId(process), "Please select");
    if (!boxes.empty()) return PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0) != FALSE;
    Sleep(50);
  }
  return false;
}

// The item list of the log's only day, after choosing that day.
std::vector<std::string> LinesOfTheDay(HWND main) {
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008);
  WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) == 1; });
  SendMessageA(dates, LB_SETCURSEL, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
  std::vector<std::string> lines;
  for (int i = 0; i < int(SendMessageA(items, LB_GETCOUNT, 0, 0)); ++i) lines.push_back(ListLine(items, i));
  return lines;
}

TEST(ManagerEndToEnd, ADeletedLineStaysDeletedWhileItsDayFileLivesAndAfterTheClose) {
  const std::string a = "<12/07/2026 09:00:00> http://a.example/ - A", b = "<12/07/2026 09:05:00> http://b.example/ - B",
                    c = "<12/07/2026 09:10:00> http://c.example/ - C";
  krx_test::ProgramFolder folder;
  folder.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));
  const std::string dayFile = folder.tmp() + "20261207.vis";
  krx_test::WriteFileBytes(dayFile, a + "\r\n" + b + "\r\n");
  HANDLE app = folder.Start();
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(LinesOfTheDay(main), (std::vector<std::string>{a, b}));

  // Delete A, as a user does: select it, Delete, Yes.
  HWND items = GetDlgItem(main, 1008);
  SendMessageA(items, LB_SETSEL, TRUE, 0);
  PostMessageA(main, WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), 0);
  ASSERT_TRUE(AnswerYes(app));
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(items, LB_GETCOUNT, 0, 0) == 1; }));

  // The add-on writes C; Refresh, and a switch away and back, read the day
  // file again: C comes in, A stays deleted.
  krx_test::WriteFileBytes(dayFile, a + "\r\n" + b + "\r\n" + c + "\r\n");
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), 0);
  EXPECT_EQ(LinesOfTheDay(main), (std::vector<std::string>{b, c}));
  SendMessageA(main, WM_COMMAND, 180, 0);
  SendMessageA(main, WM_COMMAND, 179, 0);
  EXPECT_EQ(LinesOfTheDay(main), (std::vector<std::string>{b, c}));

  // The close merges once more before it saves: still without A.
  ASSERT_TRUE(krx_test::CloseManager(main, app));
  krx::RecordCollections saved;
  krx::LoadRecordFiles(folder.user(), "", saved);
  EXPECT_EQ(saved[krx::kVisitRecords], (krx::StringArray{b, c}));
  EXPECT_FALSE(krx::FileExists(dayFile));
}

TEST(ManagerEndToEnd, FirstStartListsTheAddOnsDaysAndClosingKeepsEverything) {
  krx_test::ProgramFolder folder;
  folder.MakeFolders(false);
  HANDLE writer = folder.Run(krx_test::WinePath(KRX_DAYWRITER_PATH), folder.tmp());
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(WaitForSingleObject(writer, 30000), WAIT_OBJECT_0);
  ASSERT_GT(CountDayFiles(folder.tmp()), 0);

  // First use: no User folder, no password yet; the login asks for a new one.
  HANDLE app = folder.Start();
  HWND login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  SendMessageA(GetDlgItem(login, 1000), WM_SETTEXT, 0, LPARAM("kestrel"));
  PostMessageA(login, WM_COMMAND, IDOK, 0);

  // The manager window with the defaults: 620 x 420 at the top-left corner,
  // the visit log, its days in the date list.
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 620);
  EXPECT_EQ(r.bottom - r.top, 420);
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008), status = GetDlgItem(main, 1011);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  EXPECT_TRUE(IsWindowVisible(dates));
  EXPECT_EQ(Text(status), "");

  // Each day lists its lines and counts them in the status line.
  const int days = int(SendMessageA(dates, LB_GETCOUNT, 0, 0));
  for (int day = 0; day < days; ++day) {
    const std::string date = ListLine(dates, day);
    SendMessageA(dates, LB_SETCURSEL, WPARAM(day), 0);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
    const int lines = int(SendMessageA(items, LB_GETCOUNT, 0, 0));
    EXPECT_GT(lines, 0) << date;
    EXPECT_EQ(Text(status), "The number of web pages visited on " + date + " is: " + std::to_string(lines));
    EXPECT_NE(ListLine(items, 0).find("<" + date), std::string::npos);
  }
  // The block log reads its own days.
  SendMessageA(main, WM_COMMAND, 180, 0);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  SendMessageA(dates, LB_SETCURSEL, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
  EXPECT_EQ(Text(status).rfind("The number of popup windows blocked on " + ListLine(dates, 0) + " is: ", 0), 0u);

  // Start-up wrote where the program lies and registered the add-on.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Marrowin\\Kestrelix", 0, KEY_READ, &key), ERROR_SUCCESS);
  char value[MAX_PATH] = {};
  DWORD type = 0, size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "InstallPath", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, DWORD(REG_BINARY));
  EXPECT_EQ(std::string(value, size), folder.path());
  EXPECT_NE(krx_test::ReadFileBytes(folder.path() + "addon-calls.txt").find("DllRegisterServer"), std::string::npos);

  // Close, and Yes to the exit question.
  ASSERT_TRUE(krx_test::CloseManager(main, app));

  // The six record files under the new password, the settings with the last
  // view, and no day file left.
  krx::RecordCollections saved;
  const krx::RecordLoadReport report = krx::LoadRecordFiles(folder.user(), "kestrel", saved);
  for (int c = 0; c < krx::kRecordCollectionCount; ++c) {
    EXPECT_TRUE(krx::FileExists(folder.user() + krx::kRecordFileNames[size_t(c)])) << krx::kRecordFileNames[size_t(c)];
  }
  EXPECT_EQ(report.outcome[krx::kVisitRecords], krx::RecordFileOutcome::kLoaded);
  EXPECT_FALSE(saved[krx::kVisitRecords].empty());
  EXPECT_FALSE(saved[krx::kBlockRecords].empty());
  const std::string config = krx_test::ReadFileBytes(folder.user() + "KRX.cfg");
  ASSERT_EQ(config.size(), krx::kSettingsFileSize);
  EXPECT_EQ(krx::ParseSettings(config).values[krx::kLastView], 180);
  EXPECT_EQ(krx::ParseSettings(config).values[krx::kWindowWidth], 620);
  EXPECT_EQ(CountDayFiles(folder.tmp()), 0);
}

}  // namespace
