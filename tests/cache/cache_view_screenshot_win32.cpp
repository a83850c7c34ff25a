// cache_view_screenshot.exe <folder>: pictures of the manager window's
// browser-cache view after "Fetch Cache" with a line's details, in three
// themes, from a cache this program fills (and empties afterwards). Run by
// scripts/screenshots_cache.sh, which compresses the PNGs.
#include <windows.h>

#include <cstdio>
#include <string>

#include "cache_fill_win32.h"
#include "core/manager_views.h"
#include "core/settings_file.h"
#include "core/theme_table.h"
#include "manager/manager_dlg.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

void FillSampleCache() {
  cache_test::ClearCache();
  const struct {
    const char* url;
    size_t size;
    const char* ext;
  } content[] = {
      {"http://www.example.com/index.html", 18342, "html"},
      {"http://www.example.com/style/site.css", 5120, "css"},
      {"http://www.example.com/images/logo.gif", 3046, "gif"},
      {"http://www.example.com/images/banner.jpg", 48211, "jpg"},
      {"http://news.example.org/today/headlines.htm", 27450, "htm"},
      {"http://news.example.org/scripts/menu.js", 9214, "js"},
      {"http://video.example.net/clips/holiday.wmv", 1536000, "wmv"},
      {"http://games.example.com/play/intro.swf", 214700, "swf"},
      {"http://shop.example.net/catalog/page2.html", 12007, "html"},
  };
  for (const auto& c : content) {
    cache_test::AddEntry(c.url, c.size, c.ext, NORMAL_CACHE_ENTRY, cache_test::Utc(2030, 1, 1),
                         cache_test::Utc(2004, 11, 20, 9, 30, 0));
  }
  cache_test::AddHistory("http://www.example.com/index.html");
  cache_test::AddHistory("http://news.example.org/today/headlines.htm");
  cache_test::AddCookie("http://shop.example.net/", "cart=42");
  cache_test::AddCookie("http://shop.example.net/", "lang=en");
}

bool Save(HWND window, const std::string& dir, const std::string& name) {
  krx_test::PumpMessages();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  krx_test::PumpMessages();
  Sleep(150);
  krx_test::PumpMessages();
  const bool ok = krx_test::SaveWindowPng(window, dir + "\\" + name + ".png");
  std::printf("%s %s\n", ok ? "saved" : "FAILED", name.c_str());
  return ok;
}

void ChooseLine(CManagerDlg& dlg, const std::string& text) {
  CSkinListBox& list = dlg.ItemList();
  const int i = list.FindStringExact(-1, text);
  if (i < 0) return;
  list.SetCaretIndex(i);
  list.SetSel(i, TRUE);
  dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdItemList, LBN_SELCHANGE), LPARAM(HWND(list)));
}

int Run(const std::string& out) {
  krx_test::TempFolder folder;
  const std::string user = folder.path() + "User\\", tmp = folder.path() + "tmp\\";
  CreateDirectoryA(user.c_str(), nullptr);
  CreateDirectoryA(tmp.c_str(), nullptr);
  std::string password;
  FillSampleCache();
  int failures = 0;
  for (int theme : {1, 3, 6}) {
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    values[kThemeIndex] = theme;
    values[kLastView] = IDC_TAB_CACHE;
    krx_test::WriteFileBytes(user + "KRX.cfg", SerializeSettings(values));
    CManagerDlg dlg(user, tmp, password);
    dlg.Settings().SetConfigPath(user + "KRX.cfg");
    if (!dlg.Create(CManagerDlg::kTemplateId, nullptr)) return 2;
    dlg.ViewSelector().SelectById(IDC_TAB_CACHE);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TAB_CACHE, BN_CLICKED), 0);
    krx_test::PumpMessages();
    const std::string suffix = "_" + std::to_string(theme) + "_" + std::string(ThemeName(theme));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
    ChooseLine(dlg, "http://www.example.com/images/banner.jpg");
    failures += !Save(dlg, out, "cache_view" + suffix);
    if (theme == 1) {
      // The cookies alone, a cookie's details with its content.
      dlg.Radio(500)->SetCheck(FALSE);
      dlg.Radio(502)->SetCheck(TRUE);
      dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
      if (dlg.ItemList().GetCount() > 0) ChooseLine(dlg, dlg.ItemList().GetText(0));
      dlg.DetailsBox().SendMessage(EM_LINESCROLL, 0, 8);  // down to the cookie's content
      failures += !Save(dlg, out, "cache_view_cookies" + suffix);
    }
    dlg.DestroyWindow();
  }
  cache_test::ClearCache();
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) {
    std::fprintf(stderr, "usage: cache_view_screenshot <folder>\n");
    return 2;
  }
  return Run(argv[1]);
}
