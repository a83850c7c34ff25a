// The add-on in a program folder whose tmp\ takes no file (run by
// refusing_tmp_test.sh, which makes the folder refuse): every line goes to
// Kestrelix\tmp\ in the user's low folder, the manager lists it from there,
// and its close saves it and deletes the day files there.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"
#include "core/record_cipher.h"
#include "records/folders.h"
#include "records/record_store.h"

namespace {

using krx_test::AllDayText;
using krx_test::TestBrowser;

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(AddonRefusingTmp, DISABLED_EveryLineReachesTheManagersLogThroughTheLowFolder) {
  char given[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("KRX_REFUSING_PROGRAM", given, MAX_PATH), 0u);
  const std::string program = std::string(given) + "\\", tmp = program + "tmp\\", user = program + "User\\";
  HANDLE probe = CreateFileA((tmp + "probe.vis").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE) << "tmp\\ takes files";
  ASSERT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  const std::string low = krx::LowTmpFolder(false);
  ASSERT_NE(low, "");
  krx_test::ClearDayFiles(low);  // the prefix's user is shared with other runs

  ASSERT_TRUE(CopyFileA(krx_test::WinePath(KRX_EXE_PATH).c_str(), (program + "Kestrelix.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(krx_test::WinePath(KRX_ADDON_PATH).c_str(), (program + "Kestrelix.dll").c_str(), FALSE));
  ASSERT_TRUE(CreateDirectoryA(user.c_str(), nullptr));
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  const std::string dll = program + "Kestrelix.dll";
  ASSERT_EQ(krx_test::CallEntry(dll, "DllRegisterServer"), S_OK);

  IObjectWithSite* addon = nullptr;
  ASSERT_EQ(CoCreateInstance(krx_test::kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                             reinterpret_cast<void**>(&addon)),
            S_OK);
  TestBrowser* browser = new TestBrowser(krx_test::kTop, krx_test::kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  const int pages = 40;
  for (int i = 0; i < pages; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://low.example.com/page" + std::to_string(i));
  }
  EXPECT_TRUE(browser->FireNewWindow3(krx_test::kNone, krx_test::kTop, "http://ads.example.net/1.html"));
  EXPECT_EQ(AllDayText(tmp, "vis"), "");
  const std::vector<std::string> visits = SortedLines(AllDayText(low, "vis"));
  ASSERT_EQ(visits.size(), size_t(pages));
  ASSERT_EQ(SortedLines(AllDayText(low, "blc")).size(), 1u);

  krx_test::ProgramFolder started;  // ends the manager if the test fails before its close
  HANDLE app = started.Run(program + "Kestrelix.exe");
  ASSERT_NE(app, nullptr);
  HWND login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  SendMessageA(GetDlgItem(login, 1000), WM_SETTEXT, 0, LPARAM("kestrel"));
  PostMessageA(login, WM_COMMAND, IDOK, 0);
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008);
  ASSERT_TRUE(krx_test::WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  SendMessageA(dates, LB_SETCURSEL, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
  std::vector<std::string> listed;
  for (int i = 0; i < int(SendMessageA(items, LB_GETCOUNT, 0, 0)); ++i) listed.push_back(krx_test::ListLine(items, i));
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, visits);
  ASSERT_TRUE(krx_test::CloseManager(main, app));

  // The close saved the lines and deleted the low folder's day files.
  EXPECT_EQ(AllDayText(low, "vis"), "");
  EXPECT_EQ(AllDayText(low, "blc"), "");
  krx::RecordCollections saved;
  krx::LoadRecordFiles(user, "kestrel", saved);
  krx::StringArray log = saved[krx::kVisitRecords];
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, visits);
  EXPECT_EQ(saved[krx::kBlockRecords].size(), 1u);

  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  krx_test::CallEntry(dll, "DllUnregisterServer");
  CoFreeUnusedLibraries();
  CoUninitialize();
  krx_test::ClearDayFiles(low);
}

}  // namespace
