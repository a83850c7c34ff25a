// The real add-on's day files: made again when the manager deleted one,
// appended to by several windows and processes at once without a lost or
// torn line, a writer stuck holding the lock, and the manager that lists
// what was recorded day by day. The test program runs itself again as the
// second process (the AddonAppendChild tests).
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"

namespace {

using krx_test::AddonHost;
using krx_test::AllDayText;
using krx_test::ClearDayFiles;
using krx_test::DayFileName;
using krx_test::kAddonClass;
using krx_test::kNone;
using krx_test::kTop;
using krx_test::kTopTitle;
using krx_test::TestBrowser;
using krx_test::WaitUntil;

TEST_F(AddonHost, ADayFileTheManagerDeletedIsMadeAgainAndAnOpenOneGrows) {
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  browser->FireDocumentComplete(browser->dispatch(), "http://one.example.com/");
  // The manager reads a day file while the add-on appends to it.
  std::string first = AllDayText(folder_.tmp(), "vis");
  ASSERT_NE(first, "");
  SYSTEMTIME today;
  GetLocalTime(&today);
  HANDLE reader = CreateFileA((folder_.tmp() + DayFileName(today, "vis")).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  browser->FireDocumentComplete(browser->dispatch(), "http://two.example.com/");
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  std::string both = AllDayText(folder_.tmp(), "vis");
  EXPECT_EQ(both.substr(0, first.size()), first);
  EXPECT_NE(both.find("http://two.example.com/"), std::string::npos);

  ClearDayFiles(folder_.tmp());
  browser->FireDocumentComplete(browser->dispatch(), "http://three.example.com/");
  std::string again = AllDayText(folder_.tmp(), "vis");
  EXPECT_NE(again.find("http://three.example.com/ - "), std::string::npos);
  EXPECT_EQ(again.find("http://one.example.com/"), std::string::npos);
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

// Several browser windows of one process, each on its own thread, and a
// second browser process, all recording visits into the same day file.
const int kLinesPerWriter = 500;

void RecordVisits(const char* writer, int count) {
  if (FAILED(CoInitialize(nullptr))) return;
  IObjectWithSite* addon = nullptr;
  if (SUCCEEDED(CoCreateInstance(kAddonClass, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                                 reinterpret_cast<void**>(&addon)))) {
    TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
    addon->SetSite(browser->unknown());
    for (int i = 0; i < count; ++i) {
      browser->FireDocumentComplete(browser->dispatch(),
                                    "http://" + std::string(writer) + ".example.com/page" + std::to_string(i));
    }
    addon->SetSite(nullptr);
    addon->Release();
    browser->Release();
  }
  CoUninitialize();
}

// Run only as the second process of the test below.
TEST(AddonAppendChild, DISABLED_RecordsVisits) { RecordVisits("child", kLinesPerWriter); }

TEST_F(AddonHost, WindowsAndProcessesAppendingAtOnceLoseAndTearNoLine) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  HANDLE child = folder_.Run(self, "--gtest_also_run_disabled_tests --gtest_filter=AddonAppendChild.*RecordsVisits");
  ASSERT_NE(child, nullptr);
  const char* writers[] = {"one", "two", "three"};
  std::vector<std::thread> threads;
  for (const char* w : writers) threads.emplace_back(RecordVisits, w, kLinesPerWriter);
  for (std::thread& t : threads) t.join();
  ASSERT_EQ(WaitForSingleObject(child, 120000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(child, &code);
  EXPECT_EQ(code, 0u);

  const std::string text = AllDayText(folder_.tmp(), "vis");
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::multiset<std::string> seen;
  size_t torn = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 2;
    // "<mm/dd/yyyy hh:mm:ss> " address " - " title
    const size_t address = 22, dash = line.find(" - ");
    if (line.size() < address || line[0] != '<' || line[20] != '>' || dash == std::string::npos ||
        line.substr(dash + 3) != kTopTitle) {
      ++torn;
      continue;
    }
    seen.insert(line.substr(address, dash - address));
  }
  EXPECT_EQ(torn, 0u);
  EXPECT_EQ(seen.size(), size_t(4 * kLinesPerWriter));
  for (const char* w : {"one", "two", "three", "child"}) {
    for (int i = 0; i < kLinesPerWriter; ++i) {
      const std::string address = "http://" + std::string(w) + ".example.com/page" + std::to_string(i);
      EXPECT_EQ(seen.count(address), 1u) << address;
    }
  }
}

// The day file's lines without their CR LF, sorted.
std::vector<std::string> DayLines(const std::string& text) {
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

// Run only as the second process of the test below: holds the day file's
// writers' lock, as a writer hung in the middle of its line would.
TEST(AddonAppendChild, DISABLED_HoldsTheWritersLock) {
  char path[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("KRX_STUCK_DAY_FILE", path, MAX_PATH), 0u);
  HANDLE file = CreateFileA(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  OVERLAPPED at = {};
  at.OffsetHigh = 0x40000000;  // the add-on's lock byte, at 2^62
  ASSERT_TRUE(LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
  SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, "KrxStuckWriterHolds"));
  WaitForSingleObject(OpenEventA(SYNCHRONIZE, FALSE, "KrxStuckWriterMayGo"), 60000);
  CloseHandle(file);
}

// A writer that keeps the lock (hung, or set aside by a busy system): the
// browser's events wait a moment, write nothing out of turn (an append
// without the lock can land on another's where appends are not atomic) and
// keep their lines, in order, for the next line after the lock is free; a
// window that goes while the lock is still held writes its kept lines out of
// turn after a longer wait rather than lose them.
TEST_F(AddonHost, AWriterStuckWithTheLockDelaysButLosesNoLine) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  SetEnvironmentVariableA("KRX_STUCK_DAY_FILE", (folder_.tmp() + DayFileName(today, "vis")).c_str());
  HANDLE holds = CreateEventA(nullptr, TRUE, FALSE, "KrxStuckWriterHolds");
  HANDLE mayGo = CreateEventA(nullptr, TRUE, FALSE, "KrxStuckWriterMayGo");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const auto startHolder = [&] {
    ResetEvent(holds);
    ResetEvent(mayGo);
    HANDLE child = folder_.Run(self, "--gtest_also_run_disabled_tests --gtest_filter=AddonAppendChild.*Lock");
    EXPECT_NE(child, nullptr);
    EXPECT_EQ(WaitForSingleObject(holds, 30000), WAIT_OBJECT_0);
    return child;
  };
  const auto letGo = [&](HANDLE child) {
    SetEvent(mayGo);
    EXPECT_EQ(WaitForSingleObject(child, 30000), WAIT_OBJECT_0);
    CloseHandle(child);
  };
  // The day file's lines in the order they were written.
  const auto written = [&] {
    std::vector<std::string> lines;
    const std::string text = AllDayText(folder_.tmp(), "vis");
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
      end = text.find("\r\n", at);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(at, end - at).substr(20));
    }
    return lines;
  };
  const auto page = [](int i) { return "> http://stuck.example.com/" + std::to_string(i) + " - " + kTopTitle; };

  HANDLE child = startHolder();
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  for (int i = 0; i < 3; ++i) {
    browser->FireDocumentComplete(browser->dispatch(), "http://stuck.example.com/" + std::to_string(i));
  }
  EXPECT_TRUE(written().empty());
  letGo(child);
  browser->FireDocumentComplete(browser->dispatch(), "http://stuck.example.com/3");
  EXPECT_EQ(written(), (std::vector<std::string>{page(0), page(1), page(2), page(3)}));

  child = startHolder();
  browser->FireDocumentComplete(browser->dispatch(), "http://stuck.example.com/4");
  EXPECT_EQ(written().size(), 4u);
  addon->SetSite(nullptr);
  EXPECT_EQ(written(), (std::vector<std::string>{page(0), page(1), page(2), page(3), page(4)}));
  letGo(child);
  CloseHandle(holds);
  CloseHandle(mayGo);
  addon->Release();
  browser->Release();
}

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) lines.push_back(krx_test::ListLine(list, i));
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Shows a day's records in the manager's item list.
void ChooseDay(HWND main, HWND dates, int day) {
  SendMessageA(dates, LB_SETCURSEL, WPARAM(day), 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1007, LBN_SELCHANGE), LPARAM(dates));
}

TEST_F(AddonHost, TheManagerListsWhatTheAddonRecordedDayByDay) {
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  for (const char* page : {"http://www.example.com/", "http://www.example.com/a.html", "http://www.example.org/"}) {
    browser->FireDocumentComplete(browser->dispatch(), page);
  }
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/1.html"));
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/2.html"));
  const std::vector<std::string> visits = DayLines(AllDayText(folder_.tmp(), "vis"));
  const std::vector<std::string> blocks = DayLines(AllDayText(folder_.tmp(), "blc"));
  ASSERT_EQ(visits.size(), 3u);
  ASSERT_EQ(blocks.size(), 2u);

  HANDLE app = folder_.Start();
  HWND login = krx_test::WaitForWindow(app, "Kestrelix - Login");
  ASSERT_NE(login, nullptr);
  SendMessageA(GetDlgItem(login, 1000), WM_SETTEXT, 0, LPARAM("kestrel"));
  PostMessageA(login, WM_COMMAND, IDOK, 0);
  HWND main = krx_test::WaitForWindow(app, "Kestrelix");
  ASSERT_NE(main, nullptr);
  HWND dates = GetDlgItem(main, 1007), items = GetDlgItem(main, 1008);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));

  // Each day of the date list shows the add-on's lines of that day, whole.
  std::vector<std::string> listed;
  for (int day = 0; day < int(SendMessageA(dates, LB_GETCOUNT, 0, 0)); ++day) {
    const std::string date = krx_test::ListLine(dates, day);
    ChooseDay(main, dates, day);
    for (const std::string& line : ListLines(items)) {
      EXPECT_EQ(line.rfind("<" + date + " ", 0), 0u) << line;
      listed.push_back(line);
    }
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, visits);

  SendMessageA(main, WM_COMMAND, 180, 0);  // the block log
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(dates, LB_GETCOUNT, 0, 0) > 0; }));
  ChooseDay(main, dates, 0);
  EXPECT_EQ(ListLines(items), blocks);

  // A popup blocked while the manager runs shows after Refresh.
  EXPECT_TRUE(browser->FireNewWindow3(kNone, kTop, "http://ads.example.net/3.html"));
  const std::vector<std::string> more = DayLines(AllDayText(folder_.tmp(), "blc"));
  ASSERT_EQ(more.size(), 3u);
  HWND refresh = GetDlgItem(main, 1019);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), LPARAM(refresh));
  ChooseDay(main, dates, 0);
  EXPECT_EQ(ListLines(items), more);

  ASSERT_TRUE(krx_test::CloseManager(main, app));
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
}

}  // namespace
