// The context menus of the manager window's lists, opened for real: one
// table of commands per view; Copy and Select all from the menu and from
// Ctrl+C and Ctrl+A, the clipboard read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <sstream>
#include <vector>

#include "core/context_menu.h"
#include "core/chosen_days.h"
#include "core/quick_filter.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "manager/manager_fixture_win32.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"
#include "tools/krxtool/krxtool.h"

namespace {

using namespace krx;

class ManagerContext : public krx_test::ManagerWindowTest {
 protected:
  void SetUp() override {
    RecordCollections records;
    records[kVisitRecords] = {"<12/01/2004 10:00:00> http://a.example/ - A", "<12/01/2004 10:01:00> http://b.example/ - B",
                              "<12/02/2004 11:00:00> http://c.example/ - C"};
    records[kBlockRecords] = {"<12/01/2004 10:00:00> http://pop.example/ - P"};
    records[kFlashRecords] = {"<12/01/2004 10:00:00> http://f.example/ - C:\\f.swf"};
    records[kMediaRecords] = {"<12/01/2004 10:00:00> http://m.example/clip.wmv - M"};
    records[kWhiteList] = {"http://w.example/"};
    records[kForbiddenList] = {"http://x.example/"};
    WriteUserFolder(kDefaultSettings, records);
    dlg_ = OpenManager();
  }

  void ShowView(int view) {
    dlg_->ViewSelector().SelectById(UINT(view));
    dlg_->SendMessage(WM_COMMAND, WPARAM(view), 0);
    if (IsLogView(view) && dlg_->DateList().GetCount() > 0) {
      dlg_->DateList().SetCurSel(0);
      dlg_->OnDateChosen();
    }
    krx_test::PumpMessages();
  }

  // Opens the list's context menu as the menu key would, and returns the
  // command ids of the menu while it is on the screen (0 for a separator).
  std::vector<int> OpenMenu(HWND list, const char* shot = nullptr) {
    std::vector<int> ids;
    krx_test::RunInLoop([&] {
      if (CSkinMenu* menu = dlg_->ContextMenu()) {
        for (int i = 0, n = GetMenuItemCount(*menu); i < n; ++i) ids.push_back(int(GetMenuItemID(*menu, i)));
      }
      if (shot) SaveMenuShot(shot);
      EndMenu();
    }, 300);
    dlg_->SendMessage(WM_CONTEXTMENU, WPARAM(list), MAKELPARAM(-1, -1));
    krx_test::PumpMessages();
    return ids;
  }

  // The open menu's window and the manager, as one picture for the guide.
  void SaveMenuShot(const char* name) {
    const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
    if (!dir) return;
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu) return;
    RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    krx_test::SaveWindowPng(*dlg_, std::string(dir) + "\\" + name + ".png");
  }

  // One format of the clipboard's text: CF_TEXT in chars, CF_UNICODETEXT in wchar_ts.
  template <class Char = char>
  static std::basic_string<Char> ClipboardText(UINT format = CF_TEXT) {
    std::basic_string<Char> text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(format)) {
      if (const Char* chars = static_cast<const Char*>(GlobalLock(data))) text = chars;
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }

  // A key pressed with Ctrl held, through the window's own key handling.
  void CtrlKey(char key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg = {dlg_->ItemList().m_hWnd, WM_KEYDOWN, WPARAM(key), 0, 0, {0, 0}};
    EXPECT_TRUE(dlg_->PreTranslateMessage(&msg));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }

  std::unique_ptr<CManagerDlg> dlg_;
};

constexpr int S = 0;  // separator
const int kPlay = kIdVisitPlay, kFind = kIdFind, kDel = kIdDelete, kWhite = kIdAddToWhite,
          kForbid = kIdAddToForbidden, kFlash = kIdSaveFlash, kCache = kIdDeleteCacheFiles, kAll = kIdFindAllDays,
          kCopy = kIdCopy, kSel = kIdSelectAll, kExp = kIdExport, kDay = kIdDeleteDay, kExpDay = kIdExportDay, kStat = kIdStatistics,
          kGroup = kIdGroupBySite, kQf = kIdShowQuickFilter, k7 = kIdLast7Days, k30 = kIdLast30Days,
          kAllDays = kIdAllDays;

// Each view's two menus: the toolbar's commands of that view, then the
// commands without a button.
TEST_F(ManagerContext, EachViewsMenusOfferItsToolbarCommandsAndTheListCommands) {
  const struct {
    int view;
    std::vector<int> items, dates;
  } table[] = {
      {IDC_TAB_VISIT, {kPlay, kFind, kDel, kWhite, kForbid, kCache, kAll, S, kCopy, kSel, kQf, S, kExp, kGroup}, {k7, k30, kAllDays, S, kDay, kAll, S, kExpDay, kExp, S, kStat}},
      {IDC_TAB_BLOCK, {kPlay, kFind, kDel, kWhite, kForbid, kAll, S, kCopy, kSel, kQf, S, kExp, kGroup}, {k7, k30, kAllDays, S, kDay, kAll, S, kExpDay, kExp, S, kStat}},
      {IDC_TAB_FLASH, {kFind, kDel, kFlash, kCache, kAll, S, kCopy, kSel, kQf, S, kExp, kGroup}, {k7, k30, kAllDays, S, kDay, kAll, S, kExpDay, kExp, S, kStat}},
      {IDC_TAB_MEDIA, {kPlay, kFind, kDel, kAll, S, kCopy, kSel, kQf, S, kExp, kGroup}, {k7, k30, kAllDays, S, kDay, kAll, S, kExpDay, kExp, S, kStat}},
      {IDC_TAB_WHITE, {kPlay, kFind, kDel, kAll, S, kCopy, kSel, kQf, S, kExp}, {}},
      {IDC_TAB_FORBID, {kPlay, kFind, kDel, kAll, S, kCopy, kSel, kQf, S, kExp}, {}},
      {IDC_TAB_CACHE, {kPlay, kFind, kDel, kWhite, kForbid, kCache, S, kCopy, kSel}, {}},
  };
  for (const auto& row : table) {
    ShowView(row.view);
    const bool first = row.view == IDC_TAB_VISIT;
    EXPECT_EQ(OpenMenu(dlg_->ItemList(), first ? "context_menu_items" : nullptr), row.items) << row.view;
    if (!row.dates.empty()) {
      EXPECT_EQ(OpenMenu(dlg_->DateList(), first ? "context_menu_dates" : nullptr), row.dates) << row.view;
    }
  }
}

TEST_F(ManagerContext, CopyAndSelectAllFromTheMenuAndTheKeys) {
  ShowView(IDC_TAB_VISIT);
  ASSERT_EQ(dlg_->ItemList().GetCount(), 2);
  const std::string both = dlg_->ItemList().GetText(0) + "\r\n" + dlg_->ItemList().GetText(1);
  // The menu's commands.
  dlg_->SendMessage(WM_COMMAND, kIdSelectAll, 0);
  EXPECT_EQ(dlg_->ItemList().GetSelCount(), 2);
  dlg_->SendMessage(WM_COMMAND, kIdCopy, 0);
  EXPECT_EQ(ClipboardText(), both);
  // The keys, in the item list.
  dlg_->ItemList().SetSel(-1, FALSE);
  dlg_->ItemList().SetSel(1, TRUE);
  ::SetFocus(dlg_->ItemList());
  CtrlKey('C');
  EXPECT_EQ(ClipboardText(), dlg_->ItemList().GetText(1));
  CtrlKey('A');
  EXPECT_EQ(dlg_->ItemList().GetSelCount(), 2);
  // A line beyond ASCII, copied while the keyboard's code page is another
  // one (Cyrillic): a Unicode program reads it in the system's code page.
  HKL keyboard = GetKeyboardLayout(0);
  ActivateKeyboardLayout(LoadKeyboardLayoutA("00000419", 0), 0);
  const int added = dlg_->ItemList().AddString("caf\xE9 \xC0");
  dlg_->ItemList().SetSel(-1, FALSE);
  dlg_->ItemList().SetSel(added, TRUE);
  dlg_->SendMessage(WM_COMMAND, kIdCopy, 0);
  ActivateKeyboardLayout(keyboard, 0);
  wchar_t expected[16] = {};
  MultiByteToWideChar(CP_ACP, 0, "caf\xE9 \xC0", -1, expected, 16);
  EXPECT_EQ(ClipboardText(), "caf\xE9 \xC0");
  EXPECT_EQ(ClipboardText<wchar_t>(CF_UNICODETEXT), expected);
  dlg_->ItemList().DeleteString(added);
  // A right click on an unselected line selects it alone first.
  dlg_->ItemList().SetSel(-1, FALSE);
  RECT line = {};
  dlg_->ItemList().SendMessage(LB_GETITEMRECT, 0, LPARAM(&line));
  POINT at = {line.left + 5, line.top + 2};
  ClientToScreen(dlg_->ItemList(), &at);
  // A real right click: the list box passes its WM_CONTEXTMENU up.
  SetCursorPos(at.x, at.y);
  bool opened = false;
  krx_test::RunInLoop([&] {
    opened = dlg_->ContextMenu() && GetMenuItemCount(*dlg_->ContextMenu()) > 0;
    EndMenu();
  }, 300);
  const LPARAM client = MAKELPARAM(line.left + 5, line.top + 2);
  dlg_->ItemList().SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, client);
  dlg_->ItemList().SendMessage(WM_RBUTTONUP, 0, client);
  krx_test::PumpMessages();
  EXPECT_TRUE(opened);
  EXPECT_EQ(dlg_->ItemList().GetSelCount(), 1);
  EXPECT_GT(dlg_->ItemList().GetSel(0), 0);
}

// "Delete this day" asks once; No keeps everything, Yes takes every record
// whose date key is the day (not a line of another day quoting the date)
// from the log, and the day from the date list; a refresh over the day
// file that held them brings none back.
TEST_F(ManagerContext, DeleteThisDayTakesTheWholeDayAndItStaysDeleted) {
  const std::string day1a = "<12/01/2004 10:00:00> http://a.example/ - A";
  const std::string quoting = "<12/02/2004 11:30:00> http://d.example/ - about <12/01/2004";
  krx_test::WriteFileBytes(tmp() + "20041201.vis", day1a + "\r\n<12/01/2004 10:01:00> http://b.example/ - B\r\n" +
                                                       quoting + "\r\n12/01/2004 10:02:00 http://e.example/\r\n");
  {
    // The line without a stamp is no record: it stays out, and is told.
    krx_test::BoxAnswerer boxes({IDOK});
    ShowView(IDC_TAB_VISIT);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("20041201.vis: 1 line left out."), std::string::npos);
  }
  ASSERT_EQ(dlg_->DateList().GetText(0), "12/01/2004");
  for (int answer : {IDCANCEL, IDOK}) {
    krx_test::BoxAnswerer boxes({answer});
    dlg_->SendMessage(WM_COMMAND, kIdDeleteDay, 0);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Do you want to delete the selected item(s)?"});
  }
  const StringArray& visits = dlg_->CollectionOf(kVisitRecords);
  EXPECT_EQ(visits, (StringArray{"<12/02/2004 11:00:00> http://c.example/ - C", quoting}));
  EXPECT_EQ(dlg_->DateList().GetCount(), 1);
  EXPECT_EQ(dlg_->DateList().GetText(0), "12/02/2004");
  EXPECT_EQ(dlg_->ItemList().GetCount(), 0);
  dlg_->OnRefresh();
  ShowView(IDC_TAB_BLOCK);
  ShowView(IDC_TAB_VISIT);
  EXPECT_EQ(dlg_->CollectionOf(kVisitRecords).size(), 2u);
  EXPECT_EQ(dlg_->DateList().GetCount(), 1);
  // The other logs keep their days.
  EXPECT_EQ(dlg_->CollectionOf(kBlockRecords).size(), 1u);
}

// "Find in all days" goes on from the focused line through the later days
// and lands on the day and the line; it asks before it wraps; Find itself
// keeps to the day.
TEST_F(ManagerContext, FindInAllDaysLandsOnTheDayAndTheLineAndAsksBeforeItWraps) {
  ShowView(IDC_TAB_VISIT);  // 12/01/2004 chosen: a.example, b.example
  dlg_->ItemList().SetSel(0, TRUE);
  dlg_->ItemList().SetCaretIndex(0, FALSE);
  const std::string ask = "Search again from beginning?";
  const struct {
    const char* text;
    std::deque<int> answers;
    std::vector<std::string> boxes;
    const char* day;
    const char* line;  // the selected line contains this
  } steps[] = {
      {"c.example", {}, {}, "12/02/2004", "c.example"},            // the next day
      {"C.EXAMPLE", {IDOK}, {ask}, "12/02/2004", "c.example"},     // its only match: round to itself
      {"b.example", {IDCANCEL}, {ask}, "12/02/2004", "c.example"}, // No: it stays
      {"b.example", {IDOK}, {ask}, "12/01/2004", "b.example"},     // Yes: the first day
      {"zzz", {}, {"Not Found."}, "12/01/2004", "b.example"},
  };
  for (const auto& step : steps) {
    dlg_->InputBox().SetWindowText(step.text);
    krx_test::BoxAnswerer boxes(step.answers);
    dlg_->SendMessage(WM_COMMAND, kIdFindAllDays, 0);
    EXPECT_EQ(boxes.texts(), step.boxes) << step.text;
    EXPECT_EQ(dlg_->DateList().GetText(dlg_->DateList().GetCurSel()), step.day) << step.text;
    ASSERT_EQ(dlg_->ItemList().GetSelCount(), 1) << step.text;
    EXPECT_NE(dlg_->ItemList().GetText(dlg_->ItemList().GetCaretIndex()).find(step.line), std::string::npos) << step.text;
  }
  // Find keeps to the chosen day: c.example is not found from 12/01/2004.
  dlg_->InputBox().SetWindowText("c.example");
  krx_test::BoxAnswerer boxes;
  dlg_->SendMessage(WM_COMMAND, kIdFind, 0);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Not Found."});
}

// Fills in the Save As dialog once it is up: the type (from 1), the file
// name, then OK. With `shot`, a picture of the dialog goes to
// KRX_SCREENSHOT_DIR first.
void AnswerSaveAs(const std::string& path, int type, const char* shot = nullptr) {
  static std::string target;
  static const char* picture;
  static int chosen;
  target = path;
  picture = shot;
  chosen = type;
  krx_test::RunInLoop([] {
    HWND dialog = FindWindowA(nullptr, "Save As");
    if (!dialog) return;
    HWND types = GetDlgItem(dialog, 1136);
    SendMessageA(types, CB_SETCURSEL, WPARAM(chosen - 1), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), LPARAM(types));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), LPARAM(types));
    const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
    if (picture && dir) {
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      krx_test::PumpMessages();
      krx_test::SaveWindowPng(dialog, std::string(dir) + "\\" + picture + ".png");
    }
    if (!SetDlgItemTextA(dialog, 1148, target.c_str())) SetDlgItemTextA(dialog, 1152, target.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }, 500);
}

// What krxtool's export writes for the log, run beside it.
std::string KrxToolExport(const std::string& folder, const std::string& file, const std::string& format) {
  char old[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(folder.c_str());
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(RunKrxTool({"export", file, "--password", "", "--format", format}, in, out, err, nullptr,
                       [] { return std::string("12/07/2026 21:30:00"); }),
            0)
      << err.str();
  SetCurrentDirectoryA(old);
  return out.str();
}

// An export file with its heading's time made krxtool's fixed one.
std::string ExportedAtFixedTime(std::string bytes) {
  const std::string exported = ", exported ";
  const size_t at = bytes.find(exported);
  if (at != std::string::npos) bytes.replace(at + exported.size(), 19, "12/07/2026 21:30:00");
  return bytes;
}

// The lines of `text` that start with `prefix`, each with its line end.
std::string LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    if (text.compare(pos, prefix.size(), prefix) == 0) out += text.substr(pos, end - pos);
    pos = end;
  }
  return out;
}

// Export writes through the Save As dialog what krxtool writes for the same
// records: the whole log in each format, a day as krxtool's rows of that day.
TEST_F(ManagerContext, ExportWritesWhatKrxtoolWritesForTheSameRecords) {
  ShowView(IDC_TAB_VISIT);
  const struct {
    const char* extension;
    const char* format;
    int type;
  } formats[] = {{"txt", "text", 1}, {"csv", "csv", 2}, {"htm", "html", 3}};
  for (const auto& f : formats) {
    const std::string path = folder_.path() + "all." + f.extension;
    AnswerSaveAs(path, f.type, std::string(f.format) == "csv" ? "export_dialog" : nullptr);
    dlg_->SendMessage(WM_COMMAND, kIdExport, 0);
    EXPECT_EQ(ExportedAtFixedTime(krx_test::ReadFileBytes(path)), KrxToolExport(user(), "visit.log", f.format))
        << f.format;
  }
  const std::string path = folder_.path() + "day.csv";
  AnswerSaveAs(path, 2);
  dlg_->SendMessage(WM_COMMAND, kIdExportDay, 0);
  const std::string all = KrxToolExport(user(), "visit.log", "csv");
  EXPECT_EQ(krx_test::ReadFileBytes(path), all.substr(0, all.find('\n') + 1) + LinesStartingWith(all, "12/01/2004,"));
  // The white list view exports the whole list.
  ShowView(IDC_TAB_WHITE);
  AnswerSaveAs(folder_.path() + "white.csv", 2);
  dlg_->SendMessage(WM_COMMAND, kIdExport, 0);
  EXPECT_EQ(krx_test::ReadFileBytes(folder_.path() + "white.csv"), KrxToolExport(user(), "white.log", "csv"));
}

}  // namespace
