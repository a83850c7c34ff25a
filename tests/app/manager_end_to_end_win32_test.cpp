// The real Kestrelix.exe from its first start to its close, driven from
// this process as a user would: a new password, the manager window with its
// defaults, the add-on's day files listed day by day, and what closing and
// starting leave in the files and the registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/manager_user_actions_win32.h"
#include "app/program_folder_win32.h"
#include "core/context_menu.h"
#include "core/record_file.h"
#include "core/settings_file.h"
#include "core/theme_table.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace {

using krx_test::CountDayFiles;
using krx_test::DeleteFirstLine;
using krx_test::HasChildText;
using krx_test::LinesOfTheDay;
using krx_test::Prepare;
using krx_test::SavedVisits;
using krx_test::Text;
using krx_test::TypeAndOk;
using krx_test::WaitUntil;

const std::string kA = "<12/07/2026 09:00:00> http://a.example/ - A", kB = "<12/07/2026 09:05:00> http://b.example/ - B",
                  kC = "<12/07/2026 09:10:00> http://c.example/ - C";

// The program started over one day file of kA and kB (and the records
// saved before, when given), with that day chosen; nullptr when its window
// or the day's two lines do not come.
HWND StartOverOneDay(krx_test::ProgramFolder& folder, HANDLE& app, const krx::RecordCollections& saved = {}) {
  Prepare(folder, "");
  const bool any = std::any_of(saved.lists.begin(), saved.lists.end(), [](const auto& l) { return !l.empty(); });
  if (any && !krx::SaveRecordFiles(folder.user(), "", saved).empty()) return nullptr;
  krx_test::WriteFileBytes(folder.tmp() + "20261207.vis", kA + "\r\n" + kB + "\r\n");
  app = folder.Start();
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  return main && LinesOfTheDay(main, "12/07/2026").size() == 2 ? main : nullptr;
}

TEST(ManagerEndToEnd, ADeletedLineStaysDeletedWhileItsDayFileLivesAndAfterTheClose) {
  krx_test::ProgramFolder folder;
  Prepare(folder, "");
  const std::string dayFile = folder.tmp() + "20261207.vis";
  krx_test::WriteFileBytes(dayFile, kA + "\r\n" + kB + "\r\n");
  HANDLE app = folder.Start();
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(LinesOfTheDay(main), (std::vector<std::string>{kA, kB}));
  ASSERT_TRUE(DeleteFirstLine(main, app));

  // The add-on writes C; Refresh, and a switch away and back, read the day
  // file again: C comes in, A stays deleted - and so at the close.
  krx_test::WriteFileBytes(dayFile, kA + "\r\n" + kB + "\r\n" + kC + "\r\n");
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), 0);
  EXPECT_EQ(LinesOfTheDay(main), (std::vector<std::string>{kB, kC}));
  SendMessageA(main, WM_COMMAND, 180, 0);
  SendMessageA(main, WM_COMMAND, 179, 0);
  EXPECT_EQ(LinesOfTheDay(main), (std::vector<std::string>{kB, kC}));
  ASSERT_TRUE(krx_test::CloseManager(main, app));
  EXPECT_EQ(SavedVisits(folder, ""), (krx::StringArray{kB, kC}));
  EXPECT_FALSE(krx::FileExists(dayFile));
}

// The close saves while the add-on appends C to the day file whose A the
// user deleted, and media.log cannot be written (its temporary file is held
// open elsewhere). The close names media.log; the day file stays; the next
// start lists C and not A.
TEST(ManagerEndToEnd, TheCloseWhileTheAddOnWritesKeepsItsLineNotTheDeletedOneAndNamesWhatWasNotSaved) {
  krx_test::ProgramFolder folder;
  krx::RecordCollections old;
  for (int i = 0; i < 50000; ++i) {  // a save long enough to append during it
    old[krx::kVisitRecords].push_back("<12/06/2026 08:00:00> http://old.example/" + std::to_string(i) + " - O");
  }
  HANDLE app = nullptr;
  HWND main = StartOverOneDay(folder, app, old);
  ASSERT_NE(main, nullptr);
  const std::string dayFile = folder.tmp() + "20261207.vis";
  ASSERT_EQ(LinesOfTheDay(main, "12/07/2026"), (std::vector<std::string>{kA, kB}));
  ASSERT_TRUE(DeleteFirstLine(main, app));

  HANDLE mediaTemp = CreateFileA((folder.user() + "media.log.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 0, nullptr);
  ASSERT_NE(mediaTemp, INVALID_HANDLE_VALUE);
  PostMessageA(main, WM_COMMAND, IDCANCEL, 0);
  HWND question = krx_test::WaitForWindow(app, "Please select");
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDOK, 0);
  // As soon as visit.log is being saved: after the close's last merge.
  for (int spins = 0; spins < 2000000 && !krx::FileExists(folder.user() + "visit.log.tmp"); ++spins) Sleep(0);
  std::FILE* addOn = std::fopen(dayFile.c_str(), "ab");
  std::fputs((kC + "\r\n").c_str(), addOn);
  std::fclose(addOn);
  HWND notice = krx_test::WaitForWindow(app, "Message");
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(HasChildText(notice, "These record files could not be saved:\nmedia.log: its new records stay in the "
                                   "add-on's day files and come in at the next start; lines deleted from it since "
                                   "the start may come back.\nTheir old contents are kept."));
  PostMessageA(notice, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(app, 30000), WAIT_OBJECT_0);
  CloseHandle(mediaTemp);
  EXPECT_TRUE(krx::FileExists(dayFile));
  EXPECT_TRUE(krx::FileExists(folder.user() + "dayfiles.mrk"));

  app = folder.Start();
  main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(LinesOfTheDay(main, "12/07/2026"), (std::vector<std::string>{kB, kC}));
  ASSERT_TRUE(krx_test::CloseManager(main, app));
  EXPECT_FALSE(krx::FileExists(dayFile));
  EXPECT_FALSE(krx::FileExists(folder.user() + "dayfiles.mrk"));
}

// Saves through the program's Save As dialog: the name it proposed, and
// where the dialog stood; the type chosen (from 1; 0 leaves the proposed
// one) and the name the box then shows; the typed name then Save.
struct SaveAsSeen {
  std::string proposed, renamed;
  RECT rect = {};
};
SaveAsSeen SaveAs(HANDLE app, const std::string& typed, int type) {
  SaveAsSeen seen;
  HWND dialog = krx_test::WaitForWindow(app, "Save As");
  if (!dialog) return seen;
  HWND name = GetDlgItem(dialog, 1148) ? GetDlgItem(dialog, 1148) : GetDlgItem(dialog, 1152);
  WaitUntil([&] { return !Text(name).empty(); });
  seen.proposed = Text(name);
  GetWindowRect(dialog, &seen.rect);
  if (type > 0) {
    // As a choice in the list gives it: the selection, then its notices.
    HWND types = GetDlgItem(dialog, 1136);
    SendMessageA(types, CB_SETCURSEL, WPARAM(type - 1), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), LPARAM(types));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), LPARAM(types));
    WaitUntil([&] { return Text(name) != seen.proposed; });
    seen.renamed = Text(name);
  }
  SendMessageA(name, WM_SETTEXT, 0, LPARAM(typed.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return krx_test::WindowsOf(GetProcessId(app), "Save As").empty(); });
  return seen;
}

// Save As opens over the window, in Documents the first time, then where
// the user saved last; it proposes the log's name and the day's. The type
// chosen renames the name in the box and decides the format, whatever
// ending is typed.
TEST(ManagerEndToEnd, SaveAsProposesTheDaysNameAndOpensWhereTheUserSavedLast) {
  krx_test::ProgramFolder folder;
  HANDLE app = nullptr;
  HWND main = StartOverOneDay(folder, app);
  ASSERT_NE(main, nullptr);
  SetWindowPos(main, nullptr, 320, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  char documents[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
  const std::string first = std::string(documents) + "\\krx-" + std::to_string(GetCurrentProcessId()) + ".csv";

  const struct {
    WPARAM command;
    int type;
    std::string typed, proposed, renamed, written, begins;
  } steps[] = {
      {krx::kIdExportDay, 0, "krx-" + std::to_string(GetCurrentProcessId()) + ".csv", "visit-2026-12-07.csv", "",
       first, "Date,Time"},
      {krx::kIdExport, 3, folder.path() + "all.htm", "visit.csv", "visit.htm", folder.path() + "all.htm",
       "<!DOCTYPE html>"},
      {krx::kIdExportDay, 1, "day.csv", "visit-2026-12-07.htm", "visit-2026-12-07.txt", folder.path() + "day.txt",
       "Visit log, 12/07/2026"},
  };
  for (const auto& step : steps) {
    PostMessageA(main, WM_COMMAND, step.command, 0);
    const SaveAsSeen seen = SaveAs(app, step.typed, step.type);
    EXPECT_EQ(seen.proposed, step.proposed);
    EXPECT_EQ(seen.renamed, step.renamed);
    EXPECT_TRUE(WaitUntil([&] { return krx::FileExists(step.written); })) << step.written;
    EXPECT_EQ(krx_test::ReadFileBytes(step.written).rfind(step.begins, 0), 0u) << step.written;
    RECT window;
    GetWindowRect(main, &window);
    EXPECT_LE(std::abs((seen.rect.left + seen.rect.right) - (window.left + window.right)), 2) << step.typed;
    EXPECT_LE(std::abs((seen.rect.top + seen.rect.bottom) - (window.top + window.bottom)), 2) << step.typed;
  }
  EXPECT_FALSE(krx::FileExists(folder.path() + "day.csv"));
  DeleteFileA(first.c_str());
  EXPECT_TRUE(krx_test::CloseManager(main, app));
}

// The date list's chosen day as the user sees it ("" for none).
std::string ChosenDate(HWND main) {
  HWND dates = GetDlgItem(main, 1007);
  const int chosen = int(SendMessageA(dates, LB_GETCURSEL, 0, 0));
  return chosen < 0 ? "" : krx_test::ListLine(dates, chosen);
}

// Text in the input box, a click into it, then a key as the keyboard gives
// it; false when the click never gave the box the focus.
bool TypeAndPress(HWND main, const std::string& text, BYTE key, bool shift = false) {
  HWND input = GetDlgItem(main, 1012);
  SendMessageA(input, WM_SETTEXT, 0, LPARAM(text.c_str()));
  if (!krx_test::ClickToFocus(main, input)) return false;
  krx_test::PressKey(key, shift);
  return true;
}

// A log opens on a day: the newest by date at the start and when a Refresh
// brings its first days, the day the user went to when coming back. Enter in
// the input box finds in a log and adds to a list; Shift+F3 finds on
// through the days.
TEST(ManagerEndToEnd, ALogOpensOnItsDayAndEnterActsOnTheInputBox) {
  krx_test::ProgramFolder folder;
  Prepare(folder, "");
  krx_test::WriteFileBytes(folder.tmp() + "20251231.vis", "<12/31/2025 10:00:00> http://old.example/ - Old\r\n");
  krx_test::WriteFileBytes(folder.tmp() + "20261207.vis", kA + "\r\n" + kB + "\r\n");
  HANDLE app = folder.Start();
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  HWND items = GetDlgItem(main, 1008), status = GetDlgItem(main, 1011);
  EXPECT_EQ(ChosenDate(main), "12/07/2026");  // the newest, listed last by date
  EXPECT_EQ(Text(status), "The number of web pages visited on 12/07/2026 is: 2");

  ASSERT_TRUE(TypeAndPress(main, "b.example", VK_RETURN));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(items, LB_GETSEL, 1, 0) > 0; }));
  // The older day is listed before the chosen one: Find in all days asks
  // before it goes round to it.
  ASSERT_TRUE(TypeAndPress(main, "old.example", VK_F3, true));
  HWND again = krx_test::WaitForWindow(app, "Please select");
  ASSERT_NE(again, nullptr);
  PostMessageA(again, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return ChosenDate(main) == "12/31/2025"; }));

  SendMessageA(main, WM_COMMAND, 180, 0);
  EXPECT_EQ(ChosenDate(main), "");
  krx_test::WriteFileBytes(folder.tmp() + "20261207.blc", "<12/07/2026 09:01:00> http://p.example/ - http://a.example/\r\n");
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), 0);
  EXPECT_EQ(ChosenDate(main), "12/07/2026");
  SendMessageA(main, WM_COMMAND, 179, 0);
  EXPECT_EQ(ChosenDate(main), "12/31/2025");

  SendMessageA(main, WM_COMMAND, 182, 0);
  ASSERT_TRUE(TypeAndPress(main, "http://friend.example/", VK_RETURN));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(items, LB_GETCOUNT, 0, 0) == 1; }));
  EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(main, 1012)).empty(); }));
  ASSERT_TRUE(krx_test::CloseManager(main, app));
}

TEST(ManagerEndToEnd, ShowingFromTheTrayAsksForTheSessionsPasswordEvenWithUserSavGone) {
  krx_test::ProgramFolder folder;
  Prepare(folder, "secret", {{krx::kPasswordOnShow, 1}});
  HANDLE app = folder.Start();
  HWND login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  TypeAndOk(login, "secret");
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);

  // Hidden in the tray; meanwhile user.sav goes. A click on the tray icon
  // asks for the password - not for a new one - and refuses any other text.
  PostMessageA(main, WM_COMMAND, 2215, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
  ASSERT_TRUE(DeleteFileA((folder.user() + "user.sav").c_str()));
  PostMessageA(main, 8101, 0, WM_LBUTTONDOWN);
  login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(HasChildText(login, "Please input your password:"));
  TypeAndOk(login, "intruder");
  HWND refused = krx_test::WaitForWindow(app, "Message");
  ASSERT_NE(refused, nullptr);
  EXPECT_TRUE(HasChildText(refused, "Incorrect password, please input again."));
  PostMessageA(refused, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(krx::FileExists(folder.user() + "user.sav"));

  // The session's own password shows the window; the close stamps the
  // records with it and seals nothing new.
  ASSERT_TRUE(WaitUntil([&] { return krx_test::WindowsOf(GetProcessId(app), "Message").empty(); }));
  TypeAndOk(login, "secret");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  ASSERT_TRUE(krx_test::CloseManager(main, app));
  EXPECT_FALSE(krx::FileExists(folder.user() + "user.sav"));
  krx::RecordCollections saved;
  EXPECT_EQ(krx::LoadRecordFiles(folder.user(), "secret", saved).outcome[krx::kVisitRecords],
            krx::RecordFileOutcome::kLoaded);
}

// Logging off with the manager hidden in the tray: Windows asks, then says
// the session ends, and may end the process as soon as that returns.
TEST(ManagerEndToEnd, TheEndOfTheWindowsSessionSavesWhatTheCloseSaves) {
  krx_test::ProgramFolder folder;
  HANDLE app = nullptr;
  HWND main = StartOverOneDay(folder, app);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(DeleteFirstLine(main, app));
  SetWindowPos(main, nullptr, 0, 0, 700, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(main, WM_COMMAND, 180, 0);
  PostMessageA(main, WM_COMMAND, 2215, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer));
  EXPECT_EQ(answer, DWORD_PTR(TRUE));
  ASSERT_TRUE(SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 30000, &answer));
  TerminateProcess(app, 0);
  ASSERT_EQ(WaitForSingleObject(app, 30000), WAIT_OBJECT_0);

  const krx::SettingValues settings = krx::ParseSettings(krx_test::ReadFileBytes(folder.user() + "KRX.cfg")).values;
  EXPECT_EQ(settings[krx::kLastView], 180);
  EXPECT_EQ(settings[krx::kWindowWidth], 700);
  EXPECT_EQ(settings[krx::kWindowHeight], 480);
  EXPECT_EQ(SavedVisits(folder, ""), krx::StringArray{kB});
  EXPECT_EQ(CountDayFiles(folder.tmp()), 0);
}

// The start-up merge's wait window, in the theme of KRX.cfg, read from the
// screen beside its text while it shows. The merge runs on the program's
// main thread and the window on a thread of its own, which on a busy
// machine may come only after a short merge has ended: the test holds the
// main thread most of the time (it runs a moment in every fifty
// milliseconds) until the window has been seen, so the window always has
// its time on the screen.
TEST(ManagerEndToEnd, TheStartUpWaitWindowWearsTheUsersTheme) {
  krx_test::ProgramFolder folder;
  Prepare(folder, "", {{krx::kThemeIndex, 3}});
  for (int i = 0; i < 1000; ++i) {
    krx_test::WriteFileBytes(folder.tmp() + std::to_string(i) + ".vis",
                             "<12/07/2026 09:00:00> http://a.example/" + std::to_string(i) + " - A\r\n");
  }
  const COLORREF wanted = krx::GetThemeColours(3)[krx::kThemeBackground];
  ASSERT_NE(wanted, krx::GetThemeColours(krx::kDefaultTheme)[krx::kThemeBackground]);
  HANDLE app = folder.Start();
  HANDLE mainThread = folder.MainThread(app);
  ASSERT_NE(mainThread, nullptr);
  COLORREF seen = CLR_INVALID;
  bool shown = false, over = false;
  while (seen != wanted && !over && WaitForSingleObject(app, 0) == WAIT_TIMEOUT) {
    SuspendThread(mainThread);
    for (int i = 0; i < 10 && seen != wanted && !over; ++i) {
      std::vector<HWND> wait = krx_test::WindowsOf(GetProcessId(app), "Please Wait...");
      if (wait.empty()) {
        over = shown || !krx_test::WindowsOf(GetProcessId(app), "Kestrelix").empty();
        Sleep(5);
        continue;
      }
      shown = true;
      POINT at = {10, 40};
      ClientToScreen(wait.front(), &at);
      HDC screen = GetDC(nullptr);
      seen = GetPixel(screen, at.x, at.y);
      ReleaseDC(nullptr, screen);
      if (seen != wanted) Sleep(5);  // shown, not yet painted
    }
    ResumeThread(mainThread);
    Sleep(1);
  }
  ASSERT_TRUE(shown);
  EXPECT_EQ(seen, wanted);
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(krx_test::CloseManager(main, app));
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
  // It opens on a day: the status line counts it.
  EXPECT_NE(SendMessageA(dates, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_NE(Text(status), "");

  // Each day lists its lines and counts them in the status line.
  const int days = int(SendMessageA(dates, LB_GETCOUNT, 0, 0));
  for (int day = 0; day < days; ++day) {
    const std::string date = krx_test::ListLine(dates, day);
    SendMessageA(dates, LB_SETCURSEL, WPARAM(day), 0);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
    const int lines = int(SendMessageA(items, LB_GETCOUNT, 0, 0));
    EXPECT_GT(lines, 0) << date;
    EXPECT_EQ(Text(status), "The number of web pages visited on " + date + " is: " + std::to_string(lines));
    EXPECT_NE(krx_test::ListLine(items, 0).find("<" + date), std::string::npos);
  }
  // The block log reads its own days.
  SendMessageA(main, WM_COMMAND, 180, 0);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  SendMessageA(dates, LB_SETCURSEL, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
  EXPECT_EQ(Text(status).rfind("The number of popup windows blocked on " + krx_test::ListLine(dates, 0) + " is: ", 0), 0u);

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
