// manager_screenshots.exe <folder>: pictures of the manager window for
// people to look at - every view in three themes, the quick filter and
// several days chosen, the About box and the exit question - from sample
// records in a program folder of its own. Run by
// scripts/screenshots_manager.sh, which compresses the PNGs afterwards.
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/quick_filter.h"
#include "core/settings_file.h"
#include "core/theme_table.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

StringArray Day(const char* date, std::initializer_list<const char*> rest) {
  StringArray lines;
  int minute = 0;
  for (const char* r : rest) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "<%s %02d:%02d:%02d> ", date, 9 + minute / 60, minute % 60, minute * 7 % 60);
    lines.push_back(stamp + std::string(r));
    minute += 13;
  }
  return lines;
}

void Append(StringArray& to, const StringArray& from) { to.insert(to.end(), from.begin(), from.end()); }

RecordCollections SampleRecords() {
  RecordCollections r;
  for (const char* date : {"12/01/2004", "12/02/2004", "12/03/2004"}) {
    Append(r[kVisitRecords], Day(date, {"http://www.example.com/news/today.html - Example News - Today",
                                        "http://www.example.org/weather/ - Weather for the week",
                                        "http://shop.example.net/cart?id=42 - Your cart",
                                        "http://www.example.com/news/sports.html - Example News - Sports",
                                        "http://mail.example.org/inbox - Inbox (3)"}));
    Append(r[kBlockRecords], Day(date, {"http://ads.example.biz/popup.html - Popup blocked",
                                        "http://win.example.info/prize - Popup blocked"}));
    Append(r[kFlashRecords], Day(date, {"http://games.example.com/play - C:\\Cache\\game.swf",
                                        "http://www.example.com/intro - C:\\Cache\\intro.swf"}));
    Append(r[kMediaRecords], Day(date, {"http://video.example.com/clip.wmv - Holiday clip",
                                        "http://radio.example.org/live.asx - Live radio"}));
  }
  r[kWhiteList] = {"http://www.example.com/", "http://mail.example.org/", "http://bank.example.net/"};
  r[kForbiddenList] = {"http://ads.example.biz/", "http://win.example.info/"};
  return r;
}

void Settle(HWND window) {
  krx_test::PumpMessages();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  krx_test::PumpMessages();
  Sleep(150);
  krx_test::PumpMessages();
}

bool Save(HWND window, const std::string& dir, const std::string& name) {
  Settle(window);
  const bool ok = krx_test::SaveWindowPng(window, dir + "\\" + name + ".png");
  std::printf("%s %s\n", ok ? "saved" : "FAILED", name.c_str());
  return ok;
}

// Pictures a skinned box of this thread once it shows, then answers it.
struct BoxShot {
  static inline std::string dir, name;
  static inline WPARAM answer = IDCANCEL;
  static inline bool done = false;
  static BOOL CALLBACK Find(HWND hwnd, LPARAM out) {
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    const std::string t = title;
    if (IsWindowVisible(hwnd) && (t == "Please select" || t == "About Kestrelix")) *reinterpret_cast<HWND*>(out) = hwnd;
    return TRUE;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&box));
    if (!box || done) return;
    done = true;
    KillTimer(nullptr, id);
    Save(box, dir, name);
    PostMessageA(box, WM_COMMAND, answer, 0);
  }
  static void Arm(const std::string& d, const std::string& n, WPARAM a) {
    dir = d;
    name = n;
    answer = a;
    done = false;
    SetTimer(nullptr, 0, 200, &OnTimer);
  }
};

int Run(const std::string& out) {
  krx_test::TempFolder folder;
  const std::string user = folder.path() + "User\\", tmp = folder.path() + "tmp\\";
  CreateDirectoryA(user.c_str(), nullptr);
  CreateDirectoryA(tmp.c_str(), nullptr);
  std::string password;
  SaveRecordFiles(user, password, SampleRecords());
  int failures = 0;
  for (int theme : {1, 3, 6}) {
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    values[kThemeIndex] = theme;
    krx_test::WriteFileBytes(user + "KRX.cfg", SerializeSettings(values));
    CManagerDlg dlg(user, tmp, password);
    dlg.Settings().SetConfigPath(user + "KRX.cfg");
    if (!dlg.Create(CManagerDlg::kTemplateId, nullptr)) return 2;
    const std::string suffix = "_" + std::to_string(theme) + "_" + std::string(ThemeName(theme));
    for (const ViewInfo& view : kViews) {
      dlg.ViewSelector().SelectById(UINT(view.id));
      dlg.SendMessage(WM_COMMAND, WPARAM(view.id), 0);
      krx_test::PumpMessages();
      if (IsLogView(view.id) && dlg.DateList().GetCount() > 0) {
        dlg.DateList().SetCurSel(dlg.DateList().GetCount() - 1);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdDateList, LBN_SELCHANGE), LPARAM(HWND(dlg.DateList())));
      }
      if (dlg.ItemList().GetCount() > 1) {
        dlg.ItemList().SetSel(1, TRUE);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdItemList, LBN_SELCHANGE), LPARAM(HWND(dlg.ItemList())));
      }
      std::string name = view.label;
      for (char& c : name) c = c == ' ' ? '_' : char(tolower(c));
      failures += !Save(dlg, out, "manager_" + name + suffix);
    }
    // The quick filter with text typed, over two chosen days of the visit log.
    dlg.ViewSelector().SelectById(UINT(IDC_TAB_VISIT));
    dlg.SendMessage(WM_COMMAND, WPARAM(IDC_TAB_VISIT), 0);
    krx_test::PumpMessages();
    dlg.DateList().SetCurSel(1);
    dlg.DateList().SetSel(2, TRUE);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdDateList, LBN_SELCHANGE), LPARAM(HWND(dlg.DateList())));
    failures += !Save(dlg, out, "manager_days_range" + suffix);
    dlg.SendMessage(WM_COMMAND, kIdShowQuickFilter, 0);
    failures += !Save(dlg, out, "manager_quick_filter_empty" + suffix);
    for (char c : std::string("news")) dlg.QuickFilter().SendMessage(WM_CHAR, WPARAM(c), 1);
    krx_test::PumpUntil([&] { return dlg.QuickFilterOn(); });
    failures += !Save(dlg, out, "manager_quick_filter" + suffix);
    MSG escape = {dlg.QuickFilter().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    dlg.PreTranslateMessage(&escape);
    if (theme == 1) {
      BoxShot::Arm(out, "manager_about" + suffix, IDOK);
      dlg.SendMessage(WM_COMMAND, kIdAbout, 0);
      BoxShot::Arm(out, "manager_exit_question" + suffix, IDCANCEL);
      dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
    }
    dlg.DestroyWindow();
  }
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::fprintf(stderr, "usage: manager_screenshots <folder>\n");
    return 2;
  }
  return Run(argv[1]);
}
