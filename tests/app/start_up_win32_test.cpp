// Kestrelix.exe as a user meets it: started in a program folder of its
// own, driven from this process, its files checked afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "app/program_folder_win32.h"
#include "core/record_file.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/test_support.h"

namespace {

using krx_test::AnswerAndWaitForExit;
using krx_test::CloseManager;
using krx_test::ProgramFolder;
using krx_test::WaitForWindow;

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
  folder.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));  // no password: no login
  HANDLE writer = folder.Run(krx_test::WinePath(KRX_DAYWRITER_PATH), folder.tmp());
  ASSERT_NE(writer, nullptr);
  ASSERT_EQ(WaitForSingleObject(writer, 30000), WAIT_OBJECT_0);
  ASSERT_GT(CountFiles(folder.tmp(), "*.vis"), 0u);

  HANDLE app = folder.Start();
  ASSERT_NE(app, nullptr);
  HWND main = WaitForWindow(app, "Kestrelix");
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

// Shown or minimised, the first window is brought back; the second ends.
TEST(StartUp, ASecondStartRaisesTheFirstAndEnds) {
  for (bool minimised : {false, true}) {
    ProgramFolder folder;
    folder.MakeFolders();
    ASSERT_TRUE(krx::WritePasswordFile(folder.user(), ""));
    HANDLE first = folder.Start();
    HWND main = WaitForWindow(first, "Kestrelix");
    ASSERT_NE(main, nullptr);
    if (minimised) {
      PostMessageA(main, WM_COMMAND, 101, 0);  // the caption's Minimize button
      for (int i = 0; i < 500 && !IsIconic(main); ++i) Sleep(20);
      ASSERT_TRUE(IsIconic(main));
    }

    HANDLE second = folder.Start();
    ASSERT_NE(second, nullptr);
    HWND notice = WaitForWindow(second, "Message");
    ASSERT_NE(notice, nullptr);
    char text[256] = {};
    for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      GetWindowTextA(child, text, sizeof(text));
      if (std::string(text) == "Kestrelix is running now.") break;
    }
    EXPECT_STREQ(text, "Kestrelix is running now.");
    EXPECT_TRUE(AnswerAndWaitForExit(notice, IDOK, second));
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_TIMEOUT);  // the first one lives on
    for (int i = 0; i < 500 && IsIconic(main); ++i) Sleep(20);
    EXPECT_FALSE(IsIconic(main)) << "minimised: " << minimised;
    EXPECT_TRUE(IsWindowVisible(main));

    EXPECT_TRUE(CloseManager(main, first));
  }
}

TEST(StartUp, ACancelledLoginEndsWithoutTouchingTheRecords) {
  ProgramFolder folder;
  folder.MakeFolders();
  ASSERT_TRUE(krx::WritePasswordFile(folder.user(), "secret"));
  HANDLE app = folder.Start();
  HWND login = WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  ASSERT_TRUE(AnswerAndWaitForExit(login, IDCANCEL, app));
  EXPECT_FALSE(krx::FileExists(folder.user() + "visit.log"));
  EXPECT_FALSE(krx::FileExists(folder.user() + "white.log"));
}

}  // namespace
