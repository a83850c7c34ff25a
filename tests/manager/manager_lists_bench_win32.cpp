// manager_lists_bench.exe [day-lines] [white-entries]: how long the manager
// window takes to list a day of 50,000 log lines after its date is chosen,
// and to show a white list of 100,000 entries of which a quarter repeat,
// each beside the plain way of filling its list box. Prints figures and
// ratios; judges nothing.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/item_list.h"
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

// Log lines of about 110 bytes as the add-on writes them; mixed case and
// punctuation so the list's case-blind word sort has work to do.
std::string LogLine(const char* date, long i) {
  char line[200];
  std::snprintf(line, sizeof line, "<%s %02ld:%02ld:%02ld> http://www.Example-%ld.com/News/section-%ld/article_%ld.html - %s",
                date, (i / 3600) % 24, (i / 60) % 60, i % 60, (i * 7919) % 1000, i % 37, i, "Example News - Article");
  return line;
}

std::string WhiteEntry(long i) {
  char line[120];
  std::snprintf(line, sizeof line, "http://www.site-%ld.example.org/welcome/Index_%ld.html", (i * 104729) % 1000003, i);
  return line;
}

struct Bench {
  krx_test::TempFolder folder;
  std::string password;
  std::string user() const { return folder.path() + "User\\"; }
  std::string tmp() const { return folder.path() + "tmp\\"; }

  void Write(long dayLines, long whiteEntries) {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    SettingValues settings = kDefaultSettings;
    settings[kAddOnEnabled] = 0;
    settings[kLastView] = IDC_TAB_VISIT;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(settings));
    RecordCollections records;
    for (long i = 0; i < dayLines; ++i) records[kVisitRecords].push_back(LogLine("07/01/2004", i));
    for (long i = 0; i < dayLines / 5; ++i) records[kVisitRecords].push_back(LogLine("07/02/2004", i));
    const long distinct = whiteEntries - whiteEntries / 4;
    for (long i = 0; i < distinct; ++i) records[kWhiteList].push_back(WhiteEntry(i));
    for (long i = distinct; i < whiteEntries; ++i) records[kWhiteList].push_back(WhiteEntry((i * 31) % distinct));
    SaveRecordFiles(user(), password, records);
  }
};

void ChooseDate(CManagerDlg& dlg, const std::string& date) {
  for (int i = 0; i < dlg.DateList().GetCount(); ++i) {
    if (dlg.DateList().GetText(i) == date) dlg.DateList().SetCurSel(i);
  }
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdDateList, LBN_SELCHANGE), LPARAM(dlg.DateList().m_hWnd));
}

void ShowView(CManagerDlg& dlg, int view) {
  dlg.ViewSelector().SelectById(UINT(view));
  dlg.SendMessage(WM_COMMAND, WPARAM(view), 0);
}

// The plain way: line by line through LB_ADDSTRING, each line's presence
// checked (when asked) by comparing the list's lines from the last one.
double PlainFill(CSkinListBox& list, const StringArray& lines, size_t count, bool redraw, bool scan) {
  list.ResetContent();
  krx_test::PumpMessages();
  const double start = Now();
  if (!redraw) list.SetRedraw(FALSE);
  for (size_t i = 0; i < count && i < lines.size(); ++i) {
    if (scan) {
      bool held = false;
      for (int k = list.GetCount() - 1; k >= 0 && !held; --k) held = list.GetText(k) == lines[i];
      if (held) continue;
    }
    list.AddString(lines[i]);
    if (redraw) list.UpdateWindow();
  }
  if (!redraw) list.SetRedraw(TRUE);
  list.UpdateHorizontalExtent();
  list.UpdateWindow();
  return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const long dayLines = argc > 1 ? std::atol(argv[1]) : 50000;
  const long whiteEntries = argc > 2 ? std::atol(argv[2]) : 100000;
  const long baselineLines = dayLines < 2000 ? dayLines : 2000;
  Bench bench;
  bench.Write(dayLines, whiteEntries);

  CManagerDlg dlg(bench.user(), bench.tmp(), bench.password);
  dlg.Settings().SetConfigPath(bench.user() + "KRX.cfg");
  if (!dlg.Create(CManagerDlg::kTemplateId, nullptr)) {
    std::printf("the manager window did not open\n");
    return 1;
  }
  SetWindowPos(dlg, nullptr, 0, 0, 1024, 768, SWP_NOZORDER | SWP_NOMOVE);
  krx_test::PumpMessages();

  // A day chosen: the item list emptied, the day listed and painted once.
  ShowView(dlg, IDC_TAB_VISIT);
  krx_test::PumpMessages();
  double start = Now();
  ChooseDate(dlg, "07/01/2004");
  dlg.ItemList().UpdateWindow();
  const double fast = Now() - start;
  const int listed = dlg.ItemList().GetCount();
  start = Now();
  ChooseDate(dlg, "07/01/2004");  // the same day again: a full list emptied first
  dlg.ItemList().UpdateWindow();
  const double again = Now() - start;

  const StringArray day = ItemListLines(IDC_TAB_VISIT, dlg.Collections()[kVisitRecords], "07/01/2004");
  const double slow = PlainFill(dlg.ItemList(), day, size_t(baselineLines), true, false);
  const double slowScaled = slow * double(day.size()) / double(baselineLines);
  const double quiet = PlainFill(dlg.ItemList(), day, day.size(), false, false);
  std::printf("day of %d lines listed after choosing its date: %.3f s (the same day chosen again: %.3f s)\n", listed,
              fast, again);
  std::printf("  line by line with redraw on: %.3f s for %ld lines, %.1f s scaled to %zu lines: %.0fx faster\n", slow,
              baselineLines, slowScaled, day.size(), slowScaled / fast);
  std::printf("  line by line with redraw off: %.3f s: %.1fx faster\n", quiet, quiet / fast);

  // The white list: every entry once.
  ShowView(dlg, IDC_TAB_BLOCK);
  krx_test::PumpMessages();
  start = Now();
  ShowView(dlg, IDC_TAB_WHITE);
  dlg.ItemList().UpdateWindow();
  const double white = Now() - start;
  const int shown = dlg.ItemList().GetCount();
  const StringArray& entries = dlg.Collections()[kWhiteList];
  const size_t scanCount = entries.size() < 800 ? entries.size() : 800;
  const double scanned = PlainFill(dlg.ItemList(), entries, scanCount, false, true);
  const double scannedScaled = scanned * double(entries.size()) * double(entries.size()) / double(scanCount * scanCount);
  std::printf("white list of %zu entries (%d distinct) shown: %.3f s\n", entries.size(), shown, white);
  std::printf("  line by line, each entry looked for from the last line, redraw off: %.3f s for %zu entries, "
              "about %.0f s at %zu (the scan grows with the square): %.0fx faster\n",
              scanned, scanCount, scannedScaled, entries.size(), scannedScaled / white);

  dlg.DestroyWindow();
  return 0;
}
