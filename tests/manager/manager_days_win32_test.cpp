// Several days at once on the real window: Shift+click and Ctrl+click in
// the date list, "Last 7 days", "Last 30 days" and "All days" from its menu;
// the item list lists the chosen days day by day, the status line counts
// them as a range, and Delete this day asks once, naming how many days.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/context_menu.h"
#include "core/chosen_days.h"
#include "core/quick_filter.h"
#include "dialog_driver.h"
#include "manager_fixture_win32.h"
#include "support/box_answerer_win32.h"

namespace {

using namespace krx;
using krx_test::WindowText;

// The date key of the day `back` days before today.
std::string DayBack(int back) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  const long day = DaysBefore(long(now.wYear) * 10000 + now.wMonth * 100 + now.wDay, back);
  char key[16];
  std::snprintf(key, sizeof key, "%02ld/%02ld/%04ld", (day / 100) % 100, day % 100, day / 10000);
  return key;
}

class ManagerDays : public krx_test::ManagerWindowTest {
 protected:
  void Open(const RecordCollections& records) {
    WriteUserFolder(kDefaultSettings, records);
    dlg_ = OpenManager();
    dlg_->ViewSelector().SelectById(UINT(IDC_TAB_VISIT));
    dlg_->SendMessage(WM_COMMAND, WPARAM(IDC_TAB_VISIT), 0);
    krx_test::PumpMessages();
  }

  // A click on a day of the date list, with Shift or Ctrl held as asked.
  void ClickDay(int index, WPARAM keys = 0) {
    CSkinListBox& dates = dlg_->DateList();
    RECT r = {};
    dates.GetItemRect(index, &r);
    dates.SetTopIndex(0);
    const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = (keys & MK_SHIFT) ? 0x80 : 0;
    state[VK_CONTROL] = (keys & MK_CONTROL) ? 0x80 : 0;
    SetKeyboardState(state);
    dates.SendMessage(WM_MOUSEMOVE, keys, at);
    dates.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    dates.SendMessage(WM_LBUTTONUP, keys, at);
    state[VK_SHIFT] = state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    krx_test::PumpMessages();
  }

  StringArray Lines() {
    StringArray lines;
    for (int i = 0; i < dlg_->ItemList().GetCount(); ++i) lines.push_back(dlg_->ItemList().GetText(i));
    return lines;
  }
  std::string Status() { return WindowText(dlg_->StatusLine()); }

  std::unique_ptr<CManagerDlg> dlg_;
};

TEST_F(ManagerDays, ShiftAndCtrlClickChooseSeveralDaysListedDayByDay) {
  RecordCollections records;
  const StringArray v = {"<12/30/2025 10:00:00> http://a.example/ - A", "<12/31/2025 10:00:00> http://z.example/ - B",
                         "<12/31/2025 09:00:00> http://b.example/ - C", "<01/01/2026 08:00:00> http://y.example/ - D",
                         "<01/02/2026 08:00:00> http://c.example/ - E", "<01/05/2026 08:00:00> http://d.example/ - F"};
  records[kVisitRecords] = v;
  Open(records);
  ASSERT_EQ(dlg_->DateList().GetCount(), 5);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{"01/05/2026"}));  // the newest, as before

  ClickDay(1);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{"12/31/2025"}));
  EXPECT_EQ(Lines(), (StringArray{v[2], v[1]}));  // one day: the list's own order
  EXPECT_EQ(Status(), "The number of web pages visited on 12/31/2025 is: 2");

  // Shift+click spans to 01/02/2026: the old year's lines come first,
  // though "<01/..." sorts before "<12/..." as text.
  ClickDay(3, MK_SHIFT);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{"12/31/2025", "01/01/2026", "01/02/2026"}));
  EXPECT_EQ(Lines(), (StringArray{v[2], v[1], v[3], v[4]}));
  EXPECT_EQ(Status(), "The number of web pages visited from 12/31/2025 to 01/02/2026 is: 4");
  krx_test::SaveScreenshot(*dlg_, "days_range");

  // Ctrl+click adds a day, and takes one away.
  ClickDay(0, MK_CONTROL);
  ClickDay(2, MK_CONTROL);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{"12/30/2025", "12/31/2025", "01/02/2026"}));
  EXPECT_EQ(Lines(), (StringArray{v[0], v[2], v[1], v[4]}));
  EXPECT_EQ(Status(), "The number of web pages visited from 12/30/2025 to 01/02/2026 is: 4");

  // The quick filter narrows the chosen days' lines.
  dlg_->SendMessage(WM_COMMAND, kIdShowQuickFilter, 0);
  krx_test::TypeText(dlg_->QuickFilter(), "z.example");
  EXPECT_TRUE(krx_test::PumpUntil([&] { return Lines() == StringArray{v[1]}; }));
  EXPECT_EQ(Status(), "The number of lines holding \"z.example\" is: 1 of 4");
  MSG escape = {dlg_->QuickFilter().m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(dlg_->PreTranslateMessage(&escape));
  EXPECT_EQ(Lines().size(), 4u);

  // "All days" from the date list's menu; then a plain click chooses one again.
  dlg_->SendMessage(WM_COMMAND, kIdAllDays, 0);
  EXPECT_EQ(dlg_->ChosenDays().size(), 5u);
  EXPECT_EQ(Lines(), (StringArray{v[0], v[2], v[1], v[3], v[4], v[5]}));
  EXPECT_EQ(Status(), "The number of web pages visited from 12/30/2025 to 01/05/2026 is: 6");
  ClickDay(4);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{"01/05/2026"}));
  EXPECT_EQ(Lines(), (StringArray{v[5]}));

  // Delete this day over two days: one question naming them; No keeps all.
  ClickDay(3, MK_SHIFT);
  for (int answer : {IDCANCEL, IDOK}) {
    krx_test::BoxAnswerer boxes({answer});
    dlg_->SendMessage(WM_COMMAND, kIdDeleteDay, 0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Do you want to delete the records of the 2 selected days?"});
  }
  EXPECT_EQ(dlg_->CollectionOf(kVisitRecords), (StringArray{v[0], v[1], v[2], v[3]}));
  EXPECT_EQ(dlg_->DateList().GetCount(), 3);
  EXPECT_TRUE(dlg_->ChosenDays().empty());
  EXPECT_EQ(dlg_->ItemList().GetCount(), 0);
}

// "Last 7 days" and "Last 30 days" count back from today, today included;
// a span that holds no day of the log leaves the chosen days and says so.
TEST_F(ManagerDays, TheLastNDaysCountBackFromToday) {
  RecordCollections records;
  for (int back : {40, 29, 7, 6, 0}) records[kVisitRecords].push_back("<" + DayBack(back) + " 10:00:00> http://x/ - " + std::to_string(back));
  Open(records);
  dlg_->SendMessage(WM_COMMAND, kIdLast7Days, 0);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{DayBack(6), DayBack(0)}));
  EXPECT_EQ(Status(), "The number of web pages visited from " + DayBack(6) + " to " + DayBack(0) + " is: 2");
  dlg_->SendMessage(WM_COMMAND, kIdLast30Days, 0);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{DayBack(29), DayBack(7), DayBack(6), DayBack(0)}));
  EXPECT_EQ(dlg_->ItemList().GetCount(), 4);

}

TEST_F(ManagerDays, ASpanWithoutADayOfTheLogKeepsTheChosenDaysAndSaysSo) {
  RecordCollections records;
  records[kVisitRecords] = {"<" + DayBack(100) + " 10:00:00> http://x/ - old"};
  Open(records);
  dlg_->SendMessage(WM_COMMAND, kIdLast7Days, 0);
  EXPECT_EQ(dlg_->ChosenDays(), (StringArray{DayBack(100)}));
  EXPECT_EQ(Status(), "No day of the log falls in the last 7 days.");
}

}  // namespace
