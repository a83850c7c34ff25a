// The manager window's lists, driven on the real window: a day chosen, the
// lists listed whole, a refresh topping up the chosen day, a line chosen,
// and the cache filter's controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/settings_file.h"
#include "dialog_driver.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using krx::CManagerDlg;
using krx::StringArray;
using krx_test::WindowText;

struct ManagerListsTest : ::testing::Test {
  // The window over records written beforehand, in a program folder of its
  // own, with the add-on disabled so no library is registered.
  void Run(const std::function<void(CManagerDlg&)>& script) {
    CreateDirectoryA(user().c_str(), nullptr);
    CreateDirectoryA(tmp().c_str(), nullptr);
    krx::SettingValues settings = krx::kDefaultSettings;
    settings[krx::kAddOnEnabled] = 0;
    settings[krx::kLastView] = krx::IDC_TAB_VISIT;
    krx_test::WriteFileBytes(user() + "KRX.cfg", krx::SerializeSettings(settings));
    ASSERT_TRUE(krx::SaveRecordFiles(user(), password, records).empty());
    CManagerDlg dlg(user(), tmp(), password);
    dlg.Settings().SetConfigPath(user() + "KRX.cfg");
    ASSERT_TRUE(dlg.Create(CManagerDlg::kTemplateId, nullptr));
    krx_test::PumpMessages();
    script(dlg);
    dlg.DestroyWindow();
  }
  std::string user() const { return folder.path() + "User\\"; }
  std::string tmp() const { return folder.path() + "tmp\\"; }

  static void ShowView(CManagerDlg& dlg, int view) {
    dlg.ViewSelector().SelectById(UINT(view));
    dlg.SendMessage(WM_COMMAND, WPARAM(view), 0);
    krx_test::PumpMessages();
  }
  static StringArray Lines(const krx::CSkinListBox& list) {
    StringArray lines;
    for (int i = 0; i < list.GetCount(); ++i) lines.push_back(list.GetText(i));
    return lines;
  }
  // As a click on the date would: the selection moves, the window hears of it.
  static void ChooseDate(CManagerDlg& dlg, const std::string& date) {
    const StringArray dates = Lines(dlg.DateList());
    int index = -1;
    for (size_t i = 0; i < dates.size(); ++i) {
      if (dates[i] == date) index = int(i);
    }
    ASSERT_GE(index, 0) << date;
    dlg.DateList().SetCurSel(index);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(krx::kIdDateList, LBN_SELCHANGE), LPARAM(dlg.DateList().m_hWnd));
  }
  static void ClickLine(CManagerDlg& dlg, int index) {
    RECT r = {};
    dlg.ItemList().GetItemRect(index, &r);
    krx_test::ClickClient(dlg.ItemList(), r.left + 5, (r.top + r.bottom) / 2);
    krx_test::PumpMessages();
  }
  static std::string Status(CManagerDlg& dlg) { return WindowText(dlg.StatusLine()); }

  krx_test::TempFolder folder;
  std::string password;
  krx::RecordCollections records;
};

TEST_F(ManagerListsTest, ADayListsEveryLineQuotingItOnceWithItsCount) {
  const StringArray visits = {"<07/01/2004 09:00:00> http://a.example/ - A",
                              "<<07/01/2004 10:00:00> http://b.example/ - B",
                              "<12/31/2003 23:59:59> http://c.example/ - see <07/01/2004",
                              "<01/02/2004 08:00:00> http://d.example/ - D",
                              "<nospace",  // a record without a readable date: "nospace" alone is damage
                              "<13/45/2026 25:61:61> http://e.example/ - no real date",
                              "<07/01/2004 11:00:00> http://A.example/ - a"};
  records[krx::kVisitRecords] = visits;
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_VISIT);
    // Days list by date across the year's end; a line without a blank, or
    // whose date is no real date, gives the empty date, which comes first.
    EXPECT_EQ(Lines(dlg.DateList()), (StringArray{"", "12/31/2003", "01/02/2004", "07/01/2004"}));
    // The view opens on the newest day by date, not the last line.
    EXPECT_EQ(dlg.DateList().GetText(dlg.DateList().GetCurSel()), "07/01/2004");
    EXPECT_EQ(dlg.ItemList().GetCount(), 4);
    EXPECT_EQ(Status(dlg), "The number of web pages visited on 07/01/2004 is: 4");
    for (int again = 0; again < 2; ++again) {
      ChooseDate(dlg, "07/01/2004");
      EXPECT_EQ(dlg.ItemList().GetCount(), 4);
      EXPECT_EQ(Status(dlg), "The number of web pages visited on 07/01/2004 is: 4");
    }
    for (size_t i : {0, 1, 2, 6}) EXPECT_TRUE(dlg.ListContains(dlg.ItemList(), visits[i])) << i;
    EXPECT_FALSE(dlg.ListContains(dlg.ItemList(), visits[3]));
    EXPECT_FALSE(dlg.ListContains(dlg.ItemList(), "<07/01/2004 09:00:00> HTTP://A.EXAMPLE/ - A"));
    // The empty date lists every line with "<".
    ChooseDate(dlg, "");
    EXPECT_EQ(dlg.ItemList().GetCount(), 7);
    EXPECT_EQ(Status(dlg), "The number of web pages visited on  is: 7");
  });
}

TEST_F(ManagerListsTest, AnEmptyLogHasNoDatesAndTheMediaCountHasNoDate) {
  records[krx::kMediaRecords] = {"<07/01/2004 09:00:00> http://m.example/1.mp3 - x",
                                 "<07/01/2004 09:00:01> http://m.example/2.mp3 - x",
                                 "<07/01/2004 09:00:02> http://m.example/3.mp3 - x"};
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_BLOCK);
    EXPECT_EQ(dlg.DateList().GetCount(), 0);
    EXPECT_EQ(dlg.ItemList().GetCount(), 0);
    EXPECT_EQ(Status(dlg), "");
    ShowView(dlg, krx::IDC_TAB_MEDIA);
    ChooseDate(dlg, "07/01/2004");
    EXPECT_EQ(Status(dlg), "The number of media address is: 3");
  });
}

TEST_F(ManagerListsTest, TheListsShowDuplicatesOnceAndAChosenLineGoesToTheInputBox) {
  records[krx::kWhiteList] = {"a", "b", "a"};
  records[krx::kForbiddenList] = {"http://x.example/", "http://X.example/"};
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_WHITE);
    EXPECT_EQ(Lines(dlg.ItemList()), (StringArray{"a", "b"}));
    EXPECT_EQ(Status(dlg), "The number of addresses in white list is: 2");
    ClickLine(dlg, 1);
    EXPECT_EQ(WindowText(dlg.InputBox()), "b");
    ShowView(dlg, krx::IDC_TAB_FORBID);
    EXPECT_EQ(Status(dlg), "The number of forbidden sites is: 2");  // case tells them apart
    ClickLine(dlg, 0);
    EXPECT_EQ(WindowText(dlg.InputBox()), dlg.ItemList().GetText(0));
  });
}

TEST_F(ManagerListsTest, ARefreshTopsUpTheChosenDayWithItsNewLinesOnly) {
  const std::string old1 = "<07/01/2004 09:00:00> http://a.example/ - A";
  const std::string old2 = "<07/01/2004 09:30:00> http://b.example/ - B";
  records[krx::kVisitRecords] = {old1, old2};
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_VISIT);
    ChooseDate(dlg, "07/01/2004");
    ASSERT_EQ(dlg.ItemList().GetCount(), 2);
    const std::string fresh = "<07/01/2004 12:00:00> http://c.example/ - C";
    krx_test::WriteFileBytes(tmp() + "day.vis", old2 + "\r\n" + fresh + "\r\n<07/02/2004 08:00:00> http://d.example/ - D");
    dlg.MergeDayFiles();
    EXPECT_EQ(Lines(dlg.DateList()), (StringArray{"07/01/2004", "07/02/2004"}));
    EXPECT_EQ(dlg.DateList().GetText(dlg.DateList().GetCurSel()), "07/01/2004");
    EXPECT_EQ(dlg.ItemList().GetCount(), 3);
    EXPECT_TRUE(dlg.ListContains(dlg.ItemList(), fresh));
    EXPECT_EQ(Status(dlg), "The number of web pages visited on 07/01/2004 is: 3");
  });
}

// A merge brings days older and newer than those listed, across a year's
// end: each goes to its place by date, and the chosen day stays chosen.
TEST_F(ManagerListsTest, AMergePutsNewDaysInDateOrderAndKeepsTheChosenDay) {
  records[krx::kVisitRecords] = {"<01/05/2026 09:00:00> http://a.example/ - A",
                                 "<01/02/2026 09:00:00> http://b.example/ - B"};
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_VISIT);
    ChooseDate(dlg, "01/02/2026");
    krx_test::WriteFileBytes(tmp() + "day.vis",
                             "<12/31/2025 23:00:00> http://c.example/ - C\r\n<02/29/2024 08:00:00> http://d.example/ - D\r\n"
                             "<01/03/2026 08:00:00> http://e.example/ - E\r\n<nospace\r\n<01/10/2026 08:00:00> http://f/ - F");
    dlg.MergeDayFiles();
    EXPECT_EQ(Lines(dlg.DateList()),
              (StringArray{"", "02/29/2024", "12/31/2025", "01/02/2026", "01/03/2026", "01/05/2026", "01/10/2026"}));
    EXPECT_EQ(dlg.DateList().GetText(dlg.DateList().GetCurSel()), "01/02/2026");
    EXPECT_EQ(Status(dlg), "The number of web pages visited on 01/02/2026 is: 1");
    // Back in the view later, the same day is chosen again.
    ShowView(dlg, krx::IDC_TAB_WHITE);
    ShowView(dlg, krx::IDC_TAB_VISIT);
    EXPECT_EQ(dlg.DateList().GetText(dlg.DateList().GetCurSel()), "01/02/2026");
  });
}

TEST_F(ManagerListsTest, TheCacheFieldEnablesItsFilterAndAsksTimeFieldsForADate) {
  Run([&](CManagerDlg& dlg) {
    ShowView(dlg, krx::IDC_TAB_CACHE);
    auto choose = [&](int field) {
      dlg.CacheField().SetCurSel(field);
      dlg.SendMessage(WM_COMMAND, MAKEWPARAM(krx::kIdCacheField, CBN_SELCHANGE), LPARAM(dlg.CacheField().m_hWnd));
    };
    dlg.CacheValue().SetWindowText("abc");
    choose(0);
    EXPECT_FALSE(dlg.CacheOperator().IsWindowEnabled());
    EXPECT_FALSE(dlg.CacheValue().IsWindowEnabled());
    choose(2);
    EXPECT_TRUE(dlg.CacheOperator().IsWindowEnabled());
    EXPECT_TRUE(dlg.CacheValue().IsWindowEnabled());
    EXPECT_EQ(WindowText(dlg.CacheValue()), "abc");
    choose(5);
    EXPECT_EQ(WindowText(dlg.CacheValue()), "mm/dd/yyyy");
    // The cache view lists nothing by itself and leaves the status line be.
    EXPECT_EQ(dlg.ItemList().GetCount(), 0);
  });
}

}  // namespace
