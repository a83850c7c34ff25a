// manager_days_bench.exe [day-lines] [records]: the quick filter and several
// days at once, timed on the real window. Prints figures; judges nothing.
//
// The quick filter, over a day of 50,000 lines of which 5,000 carry a word:
// from a key sent to the field until the field has painted it, and until
// the item list has followed and painted (the field's short wait included);
// the whole list back, beside the fill of that day when its date is chosen.
//
// Several days: a log of 1,000,000 records over 365 days, one of them the
// large day; "All days" from the date list's menu, per line, beside the
// large day alone, per line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/chosen_days.h"
#include "core/quick_filter.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

// Log lines of about 110 bytes as the add-on writes them; every tenth
// carries the word the filter looks for ("Zebra": no other line holds a z).
std::string LogLine(const std::string& date, long i) {
  char line[220];
  std::snprintf(line, sizeof line, "<%s %02ld:%02ld:%02ld> http://www.Example-%ld.com/News/section-%ld/article_%ld.html - %s%s",
                date.c_str(), (i / 3600) % 24, (i / 60) % 60, i % 60, (i * 7919) % 1000, i % 37, i,
                "Example News - Article", i % 10 == 0 ? (i % 70 == 0 ? " Zebra-7" : " Zebra") : "");
  return line;
}

// The processor time this thread has had, in seconds: on a shared, loaded
// machine it tells the work apart from the waiting.
double ThreadTime() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}

std::string DateOf(long yyyymmdd) {
  char key[16];
  std::snprintf(key, sizeof key, "%02ld/%02ld/%04ld", (yyyymmdd / 100) % 100, yyyymmdd % 100, yyyymmdd / 10000);
  return key;
}

constexpr long kLargeDay = 20260701;

struct Bench {
  krx_test::TempFolder folder;
  std::string password;
  std::string user() const { return folder.path() + "User\\"; }
  std::string tmp() const { return folder.path() + "tmp\\"; }

  void Write(long dayLines, long records) {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    SettingValues settings = kDefaultSettings;
    settings[kAddOnEnabled] = 0;
    settings[kLastView] = IDC_TAB_VISIT;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(settings));
    RecordCollections logs;
    StringArray& visits = logs[kVisitRecords];
    visits.reserve(size_t(records > dayLines ? records : dayLines));
    for (long i = 0; i < dayLines; ++i) visits.push_back(LogLine(DateOf(kLargeDay), i));
    // The rest spread over the other 364 days of the year up to the large day.
    const long rest = records > dayLines ? records - dayLines : 0;
    for (long i = 0; i < rest; ++i) visits.push_back(LogLine(DateOf(DaysBefore(kLargeDay, int(1 + i % 364))), i));
    SaveRecordFiles(user(), password, logs);
  }
};

void ChooseDate(CManagerDlg& dlg, const std::string& date) {
  for (int i = 0; i < dlg.DateList().GetCount(); ++i) {
    if (dlg.DateList().GetText(i) == date) dlg.DateList().SetCurSel(i);
  }
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdDateList, LBN_SELCHANGE), LPARAM(dlg.DateList().m_hWnd));
}

// A key to the field: the time until the field has painted it, and until
// the list has followed (its count is `expected`) and painted.
void TimeKey(CManagerDlg& dlg, WPARAM key, int expected, const char* what) {
  krx_test::PumpMessages();
  const double start = Now(), cpuStart = ThreadTime();
  dlg.QuickFilter().SendMessage(WM_CHAR, key, 1);
  dlg.QuickFilter().UpdateWindow();
  const double field = Now() - start;
  // The list has followed once the status line counts what the field holds.
  const std::string text = dlg.QuickFilter().GetWindowText();
  const std::string status = text.empty() ? std::string("The number of web pages visited on ")
                                          : "The number of lines holding \"" + text + "\" is: " + std::to_string(expected);
  krx_test::PumpUntil([&] { return dlg.StatusLine().GetWindowText().compare(0, status.size(), status) == 0; }, 60000);
  dlg.ItemList().UpdateWindow();
  const double list = Now() - start, cpu = ThreadTime() - cpuStart;
  std::printf("  %-34s field painted %6.1f ms, list of %5d lines painted %6.1f ms (processor %5.1f ms + the %u ms wait)\n",
              what, field * 1000, dlg.ItemList().GetCount(), list * 1000, cpu * 1000, kQuickFilterDelayMs);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const long dayLines = argc > 1 ? std::atol(argv[1]) : 50000;
  const long records = argc > 2 ? std::atol(argv[2]) : 1000000;
  Bench bench;
  bench.Write(dayLines, records);

  CManagerDlg dlg(bench.user(), bench.tmp(), bench.password);
  dlg.Settings().SetConfigPath(bench.user() + "KRX.cfg");
  if (!dlg.Create(CManagerDlg::kTemplateId, nullptr)) {
    std::printf("the manager window did not open\n");
    return 1;
  }
  SetWindowPos(dlg, nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_NOMOVE);
  dlg.ShowWindow(SW_SHOW);
  dlg.ViewSelector().SelectById(UINT(IDC_TAB_VISIT));
  dlg.SendMessage(WM_COMMAND, WPARAM(IDC_TAB_VISIT), 0);
  krx_test::PumpMessages();

  // The large day chosen: today's fill, the baseline.
  ChooseDate(dlg, DateOf(DaysBefore(kLargeDay, 1)));
  krx_test::PumpMessages();
  double start = Now(), cpu = ThreadTime();
  ChooseDate(dlg, DateOf(kLargeDay));
  dlg.ItemList().UpdateWindow();
  const double dayFill = Now() - start;
  cpu = ThreadTime() - cpu;
  const int listed = dlg.ItemList().GetCount();
  std::printf("day of %d lines listed after choosing its date: %.3f s (%.2f us a line; processor %.3f s)\n", listed,
              dayFill, dayFill * 1e6 / listed, cpu);

  std::printf("quick filter over that day (the list follows %u ms after the last key):\n", kQuickFilterDelayMs);
  // Ctrl+Q reads the whole day aside before the first key.
  start = Now();
  dlg.SendMessage(WM_COMMAND, kIdShowQuickFilter, 0);
  dlg.UpdateWindow();
  std::printf("  Ctrl+Q: the field shown and the day read aside in %.1f ms\n", (Now() - start) * 1000);
  const int tenth = (listed + 9) / 10, seventieth = (listed + 69) / 70;
  TimeKey(dlg, 'z', tenth, "'z' (50,000 lines to a tenth)");
  TimeKey(dlg, 'e', tenth, "'e' (the same lines)");
  TimeKey(dlg, VK_BACK, tenth, "Backspace (the same lines)");
  TimeKey(dlg, VK_BACK, listed, "Backspace (the whole day back)");
  TimeKey(dlg, 'z', tenth, "'z' again");
  for (char c : std::string("ebra-")) dlg.QuickFilter().SendMessage(WM_CHAR, WPARAM(c), 1);
  TimeKey(dlg, '7', seventieth, "'7' after a burst of five keys");
  TimeKey(dlg, VK_BACK, seventieth, "Backspace (the same lines)");
  TimeKey(dlg, VK_BACK, tenth, "Backspace (widening to a tenth)");
  start = Now();
  double cpuBack = ThreadTime();
  MSG escape = {dlg.QuickFilter().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  dlg.PreTranslateMessage(&escape);
  dlg.ItemList().UpdateWindow();
  const double back = Now() - start;
  cpuBack = ThreadTime() - cpuBack;
  std::printf("  Escape: the whole day back in %.3f s (processor %.3f s), beside %.3f s (%.3f s) for its fill: %.2fx\n",
              back, cpuBack, dayFill, cpu, back / dayFill);

  if (records > dayLines) {
    std::printf("several days: a log of %ld records over 365 days\n", long(dlg.Collections()[kVisitRecords].size()));
    start = Now();
    double cpuAll = ThreadTime();
    dlg.SendMessage(WM_COMMAND, kIdAllDays, 0);
    dlg.ItemList().UpdateWindow();
    const double all = Now() - start;
    cpuAll = ThreadTime() - cpuAll;
    std::printf("  All days: processor %.3f s, %.2f us a line beside %.2f us for the large day\n", cpuAll,
                cpuAll * 1e6 / dlg.ItemList().GetCount(), cpu * 1e6 / listed);
    const int lines = dlg.ItemList().GetCount();
    std::printf("  All days: %d lines over %zu days listed in %.3f s (%.2f us a line), beside %.2f us a line for the "
                "large day alone (%.2fx)\n",
                lines, dlg.ChosenDays().size(), all, all * 1e6 / lines, dayFill * 1e6 / listed,
                (all / lines) / (dayFill / listed));
    ChooseDate(dlg, DateOf(kLargeDay));
    krx_test::PumpMessages();
    start = Now();
    ChooseDate(dlg, DateOf(kLargeDay));
    dlg.ItemList().UpdateWindow();
    const double again = Now() - start;
    std::printf("  the large day alone again, in the large log: %.3f s (%.2f us a line)\n", again,
                again * 1e6 / dlg.ItemList().GetCount());
  }
  dlg.DestroyWindow();
  return 0;
}
