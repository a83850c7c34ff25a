// The Statistics window opened for real from the manager window (F7) over a
// few days of block-log records: its figures checked against the records,
// its page against what krxtool writes for the saved log, and the chart
// scrolled to the newest days when there are many. With KRX_SCREENSHOT_DIR
// set it leaves pictures in two themes for the guide.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "manager/stats_dlg.h"
#include "records/record_store.h"
#include "manager/dialog_driver.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"
#include "tools/krxtool/krxtool.h"

namespace {

using namespace krx;

std::string Block(const char* day, const char* opener) {
  return std::string("<") + day + " 10:00:00> " + opener + " - http://popup.example/ad";
}

BOOL CALLBACK FindStatsWindow(HWND w, LPARAM found) {
  CStatsDlg*& stats = *reinterpret_cast<CStatsDlg**>(found);
  stats = dynamic_cast<CStatsDlg*>(CWnd::FromHandle(w));
  return stats ? FALSE : TRUE;
}

// A dialog opened from another window may capture black until it is
// drawn again; the picture waits for that. Nothing without a folder.
void Picture(HWND window, const std::string& name) {
  if (!std::getenv("KRX_SCREENSHOT_DIR")) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  krx_test::PumpMessages();
  Sleep(150);
  krx_test::PumpMessages();
  krx_test::SaveScreenshot(window, name);
}

class ManagerStats : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    values[kThemeIndex] = 1;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(values));
    RecordCollections records;
    // Four days, the last year's first (after the others as text), and the
    // openers in any case.
    records[kBlockRecords] = {Block("12/05/2026", "http://a.example/"), Block("12/31/2025", "http://c.example/x"),
                              Block("12/05/2026", "http://A.EXAMPLE/p"), Block("12/06/2026", "http://b.example/"),
                              Block("12/07/2026", "http://a.example/q"), Block("12/07/2026", "https://c.example/"),
                              Block("12/07/2026", "http://a.example/r")};
    // Sixty days of one to nine visits to four sites.
    for (int day = 0; day < 60; ++day) {
      for (int visit = 0; visit <= day * 7 % 9; ++visit) {
        char line[80];
        snprintf(line, sizeof line, "<%02d/%02d/2026 09:00:%02d> http://site%d.example/ - V", 10 + day / 30,
                 day % 30 + 1, visit, (day + visit) % 4);
        records[kVisitRecords].push_back(line);
      }
    }
    SaveRecordFiles(user(), password_, records);
    dlg_ = std::make_unique<CManagerDlg>(user(), tmp(), password_);
    dlg_->Settings().SetConfigPath(user() + "KRX.cfg");
    ASSERT_TRUE(dlg_->Create(CManagerDlg::kTemplateId, nullptr));
    dlg_->ShowWindow(SW_SHOW);
    krx_test::PumpMessages();
  }
  std::string user() const { return folder_.path() + "User\\"; }
  std::string tmp() const { return folder_.path() + "tmp\\"; }

  // Presses F7 in the view and runs `script` on the window it opens.
  void OpenStatistics(int view, const std::function<void(CStatsDlg&)>& script) {
    dlg_->ViewSelector().SelectById(UINT(view));
    dlg_->SendMessage(WM_COMMAND, WPARAM(view), 0);
    krx_test::PumpMessages();
    bool opened = false;
    krx_test::RunInLoop([&] {
      CStatsDlg* stats = nullptr;
      EnumThreadWindows(GetCurrentThreadId(), FindStatsWindow, LPARAM(&stats));
      if (stats) {
        opened = true;
        krx_test::PumpMessages();
        script(*stats);
        stats->SendMessage(WM_COMMAND, IDCANCEL);
      }
    });
    MSG f7 = {dlg_->DateList().m_hWnd, WM_KEYDOWN, VK_F7, 0, 0, {0, 0}};
    EXPECT_TRUE(dlg_->PreTranslateMessage(&f7));
    EXPECT_TRUE(opened);
  }

  krx_test::TempFolder folder_;
  std::string password_;
  std::unique_ptr<CManagerDlg> dlg_;
};

TEST_F(ManagerStats, ShowsTheRecordsFiguresAndExportsWhatKrxtoolWrites) {
  for (int theme : {1, 3}) {
    dlg_->ApplyTheme(theme);
    OpenStatistics(IDC_TAB_BLOCK, [&](CStatsDlg& stats) {
      EXPECT_EQ(stats.GetWindowText(), "Statistics: Block log");
      EXPECT_EQ(stats.SummaryText(), "7 popups blocked over 4 days. Busiest day: 12/07/2026 with 3.");
      // The pages that opened the popups, not the popups' own site.
      EXPECT_EQ(stats.HostColumn(), "a.example\r\nc.example\r\nb.example");
      EXPECT_EQ(stats.CountColumn(), "4\r\n2\r\n1");
      const StatsChart& chart = stats.Chart().Chart();
      ASSERT_EQ(chart.bars.size(), 4u);
      std::string days;
      for (const ChartBar& b : chart.bars)
        days += b.day + (b.year.empty() ? "" : "/" + b.year) + "=" + b.count + (b.busiest ? "*" : "") + " ";
      EXPECT_EQ(days, "12/31/2025=1 12/05/2026=2 12/06=1 12/07=3* ");
      // Four days fit: nothing to scroll.
      EXPECT_EQ(stats.Chart().ScrollPos(), 0);
      Picture(stats, std::string("statistics_") + (theme == 1 ? "1_Sky" : "3_Orange"));
      // Export... asks where in the user's Documents at first, then where the last page went.
      const std::string page = folder_ / (theme == 1 ? "block-statistics.htm" : "again.htm");
      std::string openedIn;
      krx_test::RunInLoop([&] {
        HWND dialog = FindWindowA(nullptr, "Save As");
        char folder[MAX_PATH] = {};
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, LPARAM(folder));
        openedIn = folder;
        if (!SetDlgItemTextA(dialog, 1148, page.c_str())) SetDlgItemTextA(dialog, 1152, page.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      }, 500);
      stats.SendMessage(WM_COMMAND, CStatsDlg::kIdExportPage);
      char documents[MAX_PATH] = {};
      SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
      EXPECT_EQ(openedIn + "\\", theme == 1 ? std::string(documents) + "\\" : folder_.path());
      if (theme != 1) return;
      // The window's page is krxtool's for the saved log in the same theme.
      std::istringstream in;
      std::ostringstream out, err;
      ASSERT_EQ(RunKrxTool({"stats", user() + "block.log", "--password", "", "--format", "html"}, in, out, err, nullptr), 0)
          << err.str();
      EXPECT_EQ(krx_test::ReadFileBytes(page), out.str());
      // The page too, for the pictures' script to render.
      if (const char* dir = std::getenv("KRX_SCREENSHOT_DIR")) stats.ExportTo(std::string(dir) + "\\statistics_page.htm");
    });
  }
  // Sixty days do not fit: the chart opens on the newest.
  dlg_->ApplyTheme(1);
  OpenStatistics(IDC_TAB_VISIT, [&](CStatsDlg& stats) {
    EXPECT_EQ(stats.Chart().Chart().bars.size(), 60u);
    EXPECT_GT(stats.Chart().ScrollPos(), 0);
    const int end = stats.Chart().Chart().width - stats.Chart().GetClientRect().right;
    EXPECT_EQ(stats.Chart().ScrollPos(), end);
    // The keys scroll it wherever the focus is.
    for (auto key : {std::pair<UINT, int>{VK_HOME, 0}, {VK_RIGHT, ChartMetrics::kPitch}, {VK_END, end}}) {
      MSG press = {::GetFocus(), WM_KEYDOWN, key.first, 0, 0, {0, 0}};
      EXPECT_TRUE(stats.PreTranslateMessage(&press));
      EXPECT_EQ(stats.Chart().ScrollPos(), key.second);
    }
    Picture(stats, "statistics_many_days_1_Sky");
  });
}

}  // namespace
