// The quick filter on the real window: Ctrl+Q shows it in a row of its own,
// the list narrows as the user types, commands act on the lines on show,
// and Escape clears it with the chosen line still chosen.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/item_text.h"
#include "core/quick_filter.h"
#include "dialog_driver.h"
#include "manager_fixture_win32.h"

namespace {

using namespace krx;
using krx_test::WindowText;

class ManagerFilter : public krx_test::ManagerWindowTest {
 protected:
  void Open(const RecordCollections& records) {
    WriteUserFolder(kDefaultSettings, records);
    dlg_ = OpenManager();
  }

  void ShowView(int view) {
    dlg_->ViewSelector().SelectById(UINT(view));
    dlg_->SendMessage(WM_COMMAND, WPARAM(view), 0);
    krx_test::PumpMessages();
  }

  // A key as the user gives it, through the window's own key handling
  // (with Ctrl held when asked); true when the window took it.
  bool Key(HWND target, UINT key, bool ctrl = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {target, WM_KEYDOWN, WPARAM(key), 0, 0, {0, 0}};
    const bool taken = dlg_->PreTranslateMessage(&msg);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return taken;
  }

  // Types into the filter and waits for the list to follow it.
  void Type(const std::string& text, const std::string& status) {
    krx_test::TypeText(dlg_->QuickFilter(), text);
    EXPECT_TRUE(krx_test::PumpUntil([&] { return Status() == status; })) << Status();
  }

  std::string Status() { return WindowText(dlg_->StatusLine()); }

  StringArray Lines() {
    StringArray lines;
    for (int i = 0; i < dlg_->ItemList().GetCount(); ++i) lines.push_back(dlg_->ItemList().GetText(i));
    return lines;
  }

  std::unique_ptr<CManagerDlg> dlg_;
};

TEST_F(ManagerFilter, TheListNarrowsAsTheUserTypesAndEscapeBringsItBackWithTheChosenLine) {
  RecordCollections records;
  const std::string chosen = "<12/01/2004 10:03:00> http://news.example/b - Sport";
  records[kVisitRecords] = {"<12/01/2004 10:00:00> http://a.example/ - Home",
                            "<12/01/2004 10:01:00> http://News.example/a - World",
                            "<12/01/2004 10:02:00> http://c.example/ - other news",
                            chosen,
                            "<12/01/2004 10:04:00> http://d.example/ - D",
                            "<12/01/2004 10:05:00> http://e.example/ - E",
                            "<12/02/2004 09:00:00> http://news.example/ - next day"};
  Open(records);
  ShowView(IDC_TAB_VISIT);
  CSkinListBox& list = dlg_->ItemList();
  const auto find = [&](const std::string& line) {
    const StringArray lines = Lines();
    return int(std::find(lines.begin(), lines.end(), line) - lines.begin());
  };
  // The view opens on its newest day; the user chooses the first.
  dlg_->DateList().SetCurSel(0);
  dlg_->OnDateChosen();
  ASSERT_EQ(list.GetCount(), 6);
  list.SetSel(-1, FALSE);
  list.SetSel(find(chosen), TRUE);
  list.SetCaretIndex(find(chosen), TRUE);
  const RECT input = krx_test::ChildRect(dlg_->InputBox()), find1 = krx_test::ChildRect(dlg_->GetDlgItem(kIdFind));
  const RECT listWas = krx_test::ChildRect(list);
  EXPECT_FALSE(dlg_->QuickFilter().IsWindowVisible());

  // Ctrl+Q from the list: the field shows in a row of its own and has the
  // focus; the toolbar row stays as it was, the list gives up the row.
  ::SetFocus(list);
  ASSERT_TRUE(Key(list, 'Q', true));
  krx_test::PumpMessages();
  EXPECT_TRUE(dlg_->QuickFilter().IsWindowVisible());
  EXPECT_EQ(GetFocus(), dlg_->QuickFilter().m_hWnd);
  EXPECT_TRUE(krx_test::SameRect(krx_test::ChildRect(dlg_->InputBox()), input));
  EXPECT_TRUE(krx_test::SameRect(krx_test::ChildRect(dlg_->GetDlgItem(kIdFind)), find1));
  const RECT field = krx_test::ChildRect(dlg_->QuickFilter()), listNow = krx_test::ChildRect(list);
  EXPECT_GE(field.top, input.bottom);
  EXPECT_GT(listNow.top, field.bottom - 1);
  EXPECT_EQ(listNow.bottom, listWas.bottom);
  krx_test::SaveScreenshot(*dlg_, "quick_filter_empty");

  // Typing narrows the list, case as Find compares it (ignored here).
  Type("NEWS", "The number of lines holding \"NEWS\" is: 3 of 6");
  EXPECT_EQ(Lines(), (StringArray{records[kVisitRecords][1], records[kVisitRecords][2], chosen}));
  EXPECT_GT(list.GetSel(find(chosen)), 0);  // the chosen line, shown, stays chosen
  EXPECT_EQ(dlg_->QuickFilter().GetWindowText(), "NEWS");
  krx_test::SaveScreenshot(*dlg_, "quick_filter_typed");
  Type(".example/B", "The number of lines holding \"NEWS.example/B\" is: 1 of 6");
  EXPECT_EQ(Lines(), (StringArray{chosen}));
  // Backspace widens it again.
  for (int i = 0; i < 10; ++i) dlg_->QuickFilter().SendMessage(WM_CHAR, VK_BACK, 1);
  EXPECT_TRUE(krx_test::PumpUntil([&] { return list.GetCount() == 3; }));

  // Select all and Copy take the lines on show.
  ::SetFocus(list);
  ASSERT_TRUE(Key(list, 'A', true));
  EXPECT_EQ(list.GetSelCount(), 3);
  ASSERT_TRUE(Key(list, 'C', true));
  std::string copied;
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* text = static_cast<const char*>(GlobalLock(data))) copied = text;
      GlobalUnlock(data);
    }
    CloseClipboard();
  }
  EXPECT_EQ(copied, records[kVisitRecords][1] + "\r\n" + records[kVisitRecords][2] + "\r\n" + chosen);

  // Delete takes a shown line from the log and from the whole list.
  list.SetSel(-1, FALSE);
  list.SetSel(1, TRUE);
  dlg_->RemoveSelectedLines();
  dlg_->RefreshStatusText();
  EXPECT_EQ(Status(), "The number of lines holding \"NEWS\" is: 2 of 5");
  EXPECT_EQ(dlg_->WholeListLines().size(), 5u);
  const StringArray& log = dlg_->Collections()[kVisitRecords];
  EXPECT_EQ(std::count(log.begin(), log.end(), records[kVisitRecords][2]), 0);

  // Escape in the field clears and hides it (no question to exit), and the
  // whole day comes back with the chosen line chosen and in sight.
  list.SetSel(-1, FALSE);
  list.SetSel(find(chosen), TRUE);
  list.SetCaretIndex(find(chosen), TRUE);
  ::SetFocus(dlg_->QuickFilter());
  ASSERT_TRUE(Key(dlg_->QuickFilter(), VK_ESCAPE));
  krx_test::PumpMessages();
  ASSERT_TRUE(IsWindow(*dlg_));
  EXPECT_TRUE(dlg_->IsWindowVisible());
  EXPECT_FALSE(dlg_->QuickFilter().IsWindowVisible());
  EXPECT_EQ(dlg_->QuickFilter().GetWindowText(), "");
  EXPECT_EQ(list.GetCount(), 5);
  EXPECT_EQ(list.GetSelCount(), 1);
  EXPECT_GT(list.GetSel(find(chosen)), 0);
  EXPECT_EQ(list.GetCaretIndex(), find(chosen));
  EXPECT_EQ(Status(), "The number of web pages visited on 12/01/2004 is: 5");
  EXPECT_TRUE(krx_test::SameRect(krx_test::ChildRect(list), listWas));
  EXPECT_EQ(GetFocus(), list.m_hWnd);

  // The item list's menu shows it too; Enter lists what was typed at once.
  dlg_->SendMessage(WM_COMMAND, kIdShowQuickFilter, 0);
  EXPECT_TRUE(dlg_->QuickFilter().IsWindowVisible());
  dlg_->QuickFilter().SetWindowText("sport");
  ASSERT_TRUE(Key(dlg_->QuickFilter(), VK_RETURN));
  EXPECT_EQ(Lines(), (StringArray{chosen}));
  // Another day keeps the filter and lists its own matching lines.
  dlg_->DateList().SetCurSel(1);
  dlg_->OnDateChosen();
  EXPECT_EQ(Status(), "The number of lines holding \"sport\" is: 0 of 1");
  // Another view starts without it.
  ShowView(IDC_TAB_BLOCK);
  EXPECT_FALSE(dlg_->QuickFilter().IsWindowVisible());
  EXPECT_FALSE(dlg_->QuickFilterOn());
}

// In the lists the input box keeps its Enter (Add new item) while a filter
// is on; the new entry is checked against the whole list, and the filter
// then shows it if it holds the text.
TEST_F(ManagerFilter, TheListsInputBoxAddsToTheWholeListWhileFiltered) {
  RecordCollections records;
  records[kWhiteList] = {"http://alpha.example/", "http://beta.example/", "http://alps.example/"};
  Open(records);
  ShowView(IDC_TAB_WHITE);
  dlg_->SendMessage(WM_COMMAND, kIdShowQuickFilter, 0);
  Type("alp", "The number of lines holding \"alp\" is: 2 of 3");
  // An entry the list holds, though hidden, is not added again.
  dlg_->InputBox().SetWindowText("http://beta.example/");
  ASSERT_TRUE(Key(dlg_->InputBox(), VK_RETURN));
  EXPECT_EQ(dlg_->Collections()[kWhiteList].size(), 3u);
  EXPECT_EQ(WindowText(dlg_->InputBox()), "http://beta.example/");
  dlg_->InputBox().SetWindowText("http://alpine.example/");
  ASSERT_TRUE(Key(dlg_->InputBox(), VK_RETURN));
  EXPECT_EQ(dlg_->Collections()[kWhiteList].size(), 4u);
  EXPECT_EQ(WindowText(dlg_->InputBox()), "");
  EXPECT_EQ(Status(), "The number of lines holding \"alp\" is: 3 of 4");
  ::SetFocus(dlg_->QuickFilter());
  ASSERT_TRUE(Key(dlg_->QuickFilter(), VK_ESCAPE));
  EXPECT_EQ(Status(), "The number of addresses in white list is: 4");
  EXPECT_EQ(dlg_->ItemList().GetCount(), 4);
}

}  // namespace
