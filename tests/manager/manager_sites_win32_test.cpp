// The grouped view opened for real from the manager window (Ctrl+G) over a
// few days of visits: its rows against the records, the new site marked,
// its Export against what krxtool writes for the saved log, a row's host
// put on the White list, a double-click on a row showing that site's lines,
// and the Statistics window's new sites. With KRX_SCREENSHOT_DIR set it
// leaves pictures of both windows in two themes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "core/context_menu.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "manager/dialog_driver.h"
#include "manager/manager_fixture_win32.h"
#include "manager/sites_dlg.h"
#include "manager/stats_dlg.h"
#include "support/message_box_catcher_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"
#include "tools/krxtool/krxtool.h"

namespace {

using namespace krx;

std::string Visit(const char* day, const char* address) {
  return std::string("<") + day + " 10:00:00> " + address + " - Page";
}

template <class Window>
BOOL CALLBACK FindWindowOf(HWND w, LPARAM found) {
  Window*& window = *reinterpret_cast<Window**>(found);
  window = dynamic_cast<Window*>(CWnd::FromHandle(w));
  return window ? FALSE : TRUE;
}

// Runs `script` on the first window of that class this thread opens while
// `open` runs, then closes it (Cancel) unless the script closes it itself.
template <class Window>
bool WithWindow(const std::function<void()>& open, const std::function<void(Window&)>& script, bool cancel = true) {
  bool found = false;
  krx_test::RunInLoop([&] {
    Window* window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindWindowOf<Window>, LPARAM(&window));
    if (!window) return;
    found = true;
    krx_test::PumpMessages();
    script(*window);
    if (cancel) window->SendMessage(WM_COMMAND, IDCANCEL);
  });
  open();
  return found;
}

void Picture(HWND window, const std::string& name) {
  if (!std::getenv("KRX_SCREENSHOT_DIR")) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  krx_test::PumpMessages();
  Sleep(150);
  krx_test::PumpMessages();
  krx_test::SaveScreenshot(window, name);
}

class ManagerSites : public krx_test::ManagerWindowTest {
 protected:
  void SetUp() override {
    SettingValues values = kDefaultSettings;
    values[kThemeIndex] = 1;
    RecordCollections records;
    // a.example and b.example were seen before 12/07; n.example is new on it.
    records[kVisitRecords] = {
        Visit("11/02/2026", "http://a.example/"),      Visit("12/05/2026", "http://a.example/x"),
        Visit("12/05/2026", "http://b.example/"),      Visit("12/07/2026", "http://N.example/1"),
        Visit("12/07/2026", "http://A.example:8080/"), Visit("12/07/2026", "http://n.example/2"),
        Visit("12/07/2026", "http://u@b.example/"),    Visit("12/07/2026", "https://n.example/3"),
        Visit("12/07/2026", "http://a.example/q")};
    WriteUserFolder(values, records);
    dlg_ = OpenManager();
    dlg_->ViewSelector().SelectById(UINT(IDC_TAB_VISIT));
    dlg_->SendMessage(WM_COMMAND, WPARAM(IDC_TAB_VISIT), 0);
    krx_test::PumpMessages();
  }

  // Ctrl+G as the keyboard gives it: Ctrl held while G goes down.
  void PressCtrlG() {
    BYTE keys[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    memcpy(keys, saved, sizeof keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG g = {dlg_->ItemList().m_hWnd, WM_KEYDOWN, 'G', 0, 0, {0, 0}};
    const bool taken = dlg_->PreTranslateMessage(&g);
    SetKeyboardState(saved);
    EXPECT_TRUE(taken);
  }

  std::unique_ptr<CManagerDlg> dlg_;
};

TEST_F(ManagerSites, GroupsTheChosenDayMarksTheNewAndShowsASitesLines) {
  ASSERT_EQ(dlg_->ChosenDays(), std::vector<std::string>{"12/07/2026"});
  for (int theme : {1, 3}) {
    dlg_->ApplyTheme(theme);
    const bool opened = WithWindow<CSitesDlg>([&] { PressCtrlG(); }, [&](CSitesDlg& sites) {
      EXPECT_EQ(sites.GetWindowText(), "Sites: Visit log, 12/07/2026");
      EXPECT_EQ(sites.SummaryText(), "3 sites, 1 new");
      std::string rows;
      for (const SiteRow& r : sites.Rows())
        rows += r.host + ":" + std::to_string(r.records) + ":" + r.firstDay + (r.isNew ? ":new" : "") + " ";
      EXPECT_EQ(rows, "n.example:3:12/07/2026:new a.example:2:11/02/2026 b.example:1:12/05/2026 ");
      EXPECT_EQ(sites.List().GetCount(), 3);
      Picture(sites, std::string("sites_") + (theme == 1 ? "1_Sky" : "3_Orange"));
    });
    EXPECT_TRUE(opened);
  }
  dlg_->ApplyTheme(1);

  // Export writes krxtool's bytes for the saved log and the same day; the
  // row's host goes on the White list.
  const std::string csv = folder_ / "sites.csv";
  WithWindow<CSitesDlg>([&] { PressCtrlG(); }, [&](CSitesDlg& sites) {
    krx_test::RunInLoop([&] {
      HWND dialog = FindWindowA(nullptr, "Save As");
      if (!SetDlgItemTextA(dialog, 1148, csv.c_str())) SetDlgItemTextA(dialog, 1152, csv.c_str());
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }, 500);
    sites.SendMessage(WM_COMMAND, CSitesDlg::kIdExport);
    krx_test::MessageBoxCatcher boxes;
    sites.List().SetCurSel(2);
    sites.SendMessage(WM_COMMAND, CSitesDlg::kIdWhite);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("1 address added to the White list."), std::string::npos);
  });
  std::istringstream in;
  std::ostringstream out, err;
  ASSERT_EQ(RunKrxTool({"sites", user() + "visit.log", "--password", "", "--format", "csv", "--days", "12/07/2026"},
                       in, out, err, nullptr),
            0)
      << err.str();
  EXPECT_EQ(krx_test::ReadFileBytes(csv), out.str());
  EXPECT_EQ(dlg_->CollectionOf(kWhiteList), StringArray{"b.example"});

  // Enter on a row closes the view on that site's lines.
  WithWindow<CSitesDlg>([&] { PressCtrlG(); }, [&](CSitesDlg& sites) {
    sites.List().SetCurSel(2);
    ::SetFocus(sites.List());
    sites.List().PostMessage(WM_KEYDOWN, VK_RETURN, 0);
  }, false);
  krx_test::PumpMessages();
  EXPECT_EQ(dlg_->ItemList().GetSelCount(), 1);
  EXPECT_EQ(dlg_->StatusLine().GetWindowText(), "Lines of b.example: 1 of 1");

  // A double-click on a row closes the view on that site's lines.
  WithWindow<CSitesDlg>([&] { PressCtrlG(); }, [&](CSitesDlg& sites) {
    CSkinListBox& list = sites.List();
    RECT row = {};
    list.GetItemRect(0, &row);
    const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    list.SendMessage(WM_LBUTTONUP, 0, at);
    list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    list.SendMessage(WM_LBUTTONUP, 0, at);
  }, false);
  krx_test::PumpMessages();
  CSkinListBox& items = dlg_->ItemList();
  std::string selected;
  for (int i = 0; i < items.GetCount(); ++i)
    if (items.GetSel(i) > 0) selected += items.GetText(i).substr(22) + "|";
  EXPECT_EQ(selected, "http://N.example/1 - Page|http://n.example/2 - Page|https://n.example/3 - Page|");
  EXPECT_EQ(dlg_->StatusLine().GetWindowText(), "Lines of n.example: 3 of 3");

  // A merge keeps the first days up to date: a site the add-on noted since
  // is new, one it noted again for an earlier day is not.
  krx_test::WriteFileBytes(tmp() + "day.vis", Visit("12/07/2026", "http://m.example/") + "\r\n" +
                                                  Visit("12/07/2026", "http://b.example/z") + "\r\n");
  dlg_->SendMessage(WM_COMMAND, kIdRefresh);
  krx_test::PumpMessages();
  WithWindow<CSitesDlg>([&] { PressCtrlG(); }, [&](CSitesDlg& sites) {
    EXPECT_EQ(sites.SummaryText(), "4 sites, 2 new");
    std::string fresh;
    for (const SiteRow& r : sites.Rows()) fresh += r.isNew ? r.host + " " : "";
    EXPECT_EQ(fresh, "n.example m.example ");
  });

  // The Statistics window names the sites new on the chosen day.
  for (int theme : {1, 3}) {
    dlg_->ApplyTheme(theme);
    const bool opened = WithWindow<CStatsDlg>(
        [&] { dlg_->SendMessage(WM_COMMAND, kIdStatistics); },
        [&](CStatsDlg& stats) {
          EXPECT_EQ(stats.NewSitesHeading(), "New sites on 12/07/2026");
          EXPECT_EQ(stats.NewSiteColumn(), "m.example\r\nn.example");
          EXPECT_EQ(stats.NewDayColumn(), "12/07/2026\r\n12/07/2026");
          // Three days, eleven months apart at most: they fit, no scroll bar.
          EXPECT_EQ(GetWindowLongA(stats.Chart(), GWL_STYLE) & WS_HSCROLL, 0);
          EXPECT_EQ(stats.Chart().Chart().breaks.size(), 1u);
          Picture(stats, std::string("statistics_new_") + (theme == 1 ? "1_Sky" : "3_Orange"));
        });
    EXPECT_TRUE(opened);
  }
}

}  // namespace
