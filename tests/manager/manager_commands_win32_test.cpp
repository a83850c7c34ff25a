// The item commands, the tray and the keys on the real manager window:
// Find and its wrap question, Delete, the two "add to list" commands, Add
// new item and Update item, hiding and showing with the password prompt,
// and the Delete key in the input box and in the item list.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "config/html_help.h"
#include "core/item_text.h"
#include "core/manager_views.h"
#include "core/password_rules.h"
#include "core/save_notices.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/folders.h"
#include "records/password_store.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/open_recorder_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"
#include "dialog_driver.h"

namespace {

using namespace krx;
using krx_test::BoxAnswerer;

// A program folder of its own with User\ and tmp\; the window runs modeless.
class ManagerCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((folder_.path() + "User").c_str(), nullptr);
    CreateDirectoryA((folder_.path() + "tmp").c_str(), nullptr);
    WriteSettings({});
  }
  std::string user() const { return folder_.path() + "User\\"; }

  void WriteSettings(std::map<Setting, int> changes) {
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;  // the add-on library is not beside the tests
    for (const auto& [s, v] : changes) values[s] = v;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(values));
  }

  CManagerDlg& Open() {
    dlg_ = std::make_unique<CManagerDlg>(user(), folder_.path() + "tmp\\", password_);
    dlg_->Settings().SetConfigPath(user() + "KRX.cfg");
    EXPECT_TRUE(dlg_->Create(CManagerDlg::kTemplateId, nullptr));
    krx_test::PumpMessages();
    return *dlg_;
  }

  void ShowView(int view) {
    dlg_->ViewSelector().SelectById(UINT(view));
    dlg_->SendMessage(WM_COMMAND, WPARAM(view), 0);
    krx_test::PumpMessages();
  }

  // The item list holds exactly these lines (it sorts them).
  void ListLines(const std::vector<std::string>& lines) {
    dlg_->ItemList().ResetContent();
    for (const std::string& line : lines) dlg_->ItemList().AddString(line);
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < dlg_->ItemList().GetCount(); ++i) lines.push_back(dlg_->ItemList().GetText(i));
    return lines;
  }
  void Select(std::initializer_list<int> lines) {
    dlg_->ItemList().SetSel(-1, FALSE);
    for (int line : lines) dlg_->ItemList().SetSel(line, TRUE);
  }
  void Focus(int line) { dlg_->ItemList().SetCaretIndex(line, FALSE); }
  void Click(int id) {
    dlg_->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(dlg_->GetDlgItem(id)));
    krx_test::PumpMessages();
  }
  std::vector<int> Selected() { return dlg_->ItemList().GetSelItems(); }
  StringArray& White() { return dlg_->CollectionOf(kWhiteList); }

  krx_test::TempFolder folder_;
  std::string password_;
  std::unique_ptr<CManagerDlg> dlg_;
};

TEST_F(ManagerCommands, FindStepsForwardAndWrapsOnlyWhenAnswered) {
  Open();
  ShowView(IDC_TAB_WHITE);
  ListLines({"abc one", "xyz", "ABC two"});
  struct Step {
    int focused;
    std::deque<int> answers;
    std::vector<std::string> asked;
    int selected;
  } steps[] = {
      {0, {}, {}, 1},                                          // next match below the focus
      {1, {IDCANCEL}, {"Search again from beginning?"}, 1},    // No: selection stays
      {1, {IDOK}, {"Search again from beginning?"}, 0},        // Yes: the first match
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.focused);
    // Choosing a line in a list view copies it into the input box.
    dlg_->InputBox().SetWindowText("abc");
    Select({step.focused});
    Focus(step.focused);
    BoxAnswerer boxes(step.answers);
    Click(kIdFind);
    EXPECT_EQ(boxes.texts(), step.asked);
    EXPECT_EQ(Selected(), std::vector<int>{step.selected});
    EXPECT_EQ(dlg_->ItemList().GetCurSel(), step.selected);
  }
  // A repeated Find walks on from the line it found.
  dlg_->InputBox().SetWindowText("abc");
  Select({0});
  Focus(0);
  Click(kIdFind);
  EXPECT_EQ(Selected(), std::vector<int>{1});
  BoxAnswerer boxes({IDOK});
  dlg_->InputBox().SetWindowText("nowhere");
  Click(kIdFind);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Not Found."});
}

TEST_F(ManagerCommands, FindWithTheOnlyMatchOnTheFocusedLineAsksAndKeepsIt) {
  WriteSettings({{kCaseSensitiveFind, 1}});
  Open();
  ShowView(IDC_TAB_WHITE);
  ListLines({"abc", "ABC", "x"});  // sorted: ABC, abc, x
  dlg_->InputBox().SetWindowText("abc");
  Select({1});
  Focus(1);
  BoxAnswerer boxes({IDOK});
  Click(kIdFind);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Search again from beginning?"});
  EXPECT_EQ(Selected(), std::vector<int>{1});
}

TEST_F(ManagerCommands, DeleteAskedNoKeepsEverythingYesRemovesEveryEqualEntry) {
  Open();
  White() = {"a", "b", "a", "c"};
  ShowView(IDC_TAB_WHITE);
  ListLines({"a", "b", "c"});
  Select({0, 2});
  {
    BoxAnswerer boxes({IDCANCEL});
    Click(kIdDelete);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Do you want to delete the selected item(s)?"});
  }
  EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(White(), (StringArray{"a", "b", "a", "c"}));
  {
    BoxAnswerer boxes({IDOK});
    Click(kIdDelete);
  }
  EXPECT_EQ(Lines(), std::vector<std::string>{"b"});
  // The list showed "a" once: every stored copy goes, or it would come back.
  EXPECT_EQ(White(), (StringArray{"b"}));

  // The cache view keeps no collection: only its list lines go.
  ShowView(IDC_TAB_CACHE);
  ListLines({"Visited: u@http://a/", "b"});
  RecordCollections before = dlg_->Collections();
  Select({0, 1});
  BoxAnswerer boxes({IDOK});
  Click(kIdDelete);
  EXPECT_EQ(dlg_->ItemList().GetCount(), 0);
  EXPECT_EQ(dlg_->Collections().lists, before.lists);
}

TEST_F(ManagerCommands, AddingSelectedVisitLinesAppendsSavesAndCounts) {
  Open();
  ShowView(IDC_TAB_VISIT);
  ListLines({"<07/01/2004 10:00:01> http://a/ - A", "<07/01/2004 10:00:02> http://b/ - B",
             "<07/01/2004 10:00:03> http://a/ - again", "<07/01/2004 10:00:04> http://none/"});
  Select({0, 1, 2, 3});
  BoxAnswerer boxes;
  Click(kIdAddToWhite);
  // Last selected first; the line without " - " adds nothing; the same address twice is kept twice.
  EXPECT_EQ(White(), (StringArray{"http://a/", "http://b/", "http://a/"}));
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"3 address added to the White list."});
  RecordCollections saved;
  LoadRecordFiles(user(), password_, saved);
  EXPECT_EQ(saved[kWhiteList], White());

  Select({3});
  Click(kIdAddToForbidden);
  EXPECT_EQ(boxes.texts().back(), "0 address added to the Forbidden list.");

  // The white list view shows the twice-stored address once.
  ShowView(IDC_TAB_WHITE);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"http://a/", "http://b/"}));
}

// A list whose file cannot be read at start (held without sharing) is
// named once then, and kept untouched; a list whose file cannot be written
// says so in place of "N address added". Nothing else is told.
TEST_F(ManagerCommands, ListsThatCannotBeSavedSaySoAndAnUnreadableFileIsNamedAtStart) {
  SaveRecordFiles(user(), password_, RecordCollections{});
  HANDLE heldWhite = CreateFileA((user() + "white.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE heldForbidTemp =
      CreateFileA((user() + "forbid.log.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const std::string unsavedWhite = ListNotSavedNotice(kWhiteList);
  const struct {
    int view, command;
    std::string box;
  } commands[] = {
      {IDC_TAB_WHITE, kIdAddNewItem, unsavedWhite},
      {IDC_TAB_VISIT, kIdAddToWhite, unsavedWhite},
      {IDC_TAB_VISIT, kIdAddToForbidden, ListNotSavedNotice(kForbiddenList)},
  };
  {
    BoxAnswerer boxes;
    Open();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{UnreadableRecordsNotice({"white.log"})});
  }
  for (const auto& c : commands) {
    ShowView(c.view);
    ListLines({"<07/01/2004 10:00:01> http://a/ - A"});
    Select({0});
    dlg_->InputBox().SetWindowText("http://new/");
    BoxAnswerer boxes;
    Click(c.command);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.box}) << c.command;
  }
  CloseHandle(heldWhite);
  CloseHandle(heldForbidTemp);
}

TEST_F(ManagerCommands, AddNewItemWithAListedTextSavesNothing) {
  Open();
  White() = {"http://a/"};
  ShowView(IDC_TAB_WHITE);
  const std::string whiteFile = user() + "white.log";
  DeleteFileA(whiteFile.c_str());
  dlg_->InputBox().SetWindowText("http://a/");
  Click(kIdAddNewItem);
  EXPECT_EQ(GetFileAttributesA(whiteFile.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(White(), StringArray{"http://a/"});

  dlg_->InputBox().SetWindowText("http://new/");
  Click(kIdAddNewItem);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"http://a/", "http://new/"}));
  RecordCollections saved;
  LoadRecordFiles(user(), password_, saved);
  EXPECT_EQ(saved[kWhiteList], (StringArray{"http://a/", "http://new/"}));
}

TEST_F(ManagerCommands, UpdateToAnotherLinesTextMakesTwoEqualLines) {
  Open();
  dlg_->CollectionOf(kForbiddenList) = {"x", "y"};
  ShowView(IDC_TAB_FORBID);
  ListLines({"x", "y"});
  Select({0});
  Focus(0);
  dlg_->InputBox().SetWindowText("y");
  Click(kIdUpdateItem);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"y", "y"}));
  EXPECT_EQ(dlg_->CollectionOf(kForbiddenList), (StringArray{"y", "y"}));
}

TEST_F(ManagerCommands, DeleteKeyEditsTheInputBoxAndDeletesInTheList) {
  Open();
  ShowView(IDC_TAB_WHITE);
  ListLines({"a"});
  Select({0});
  BoxAnswerer boxes({IDCANCEL});

  dlg_->InputBox().SetWindowText("abc");
  SetFocus(dlg_->InputBox());
  dlg_->InputBox().SetSel(0, 0);
  MSG key = {dlg_->InputBox(), WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {}};
  EXPECT_FALSE(dlg_->PreTranslateMessage(&key));
  TranslateMessage(&key);
  DispatchMessageA(&key);
  krx_test::PumpMessages();
  EXPECT_EQ(dlg_->InputBox().GetWindowText(), "bc");
  EXPECT_TRUE(boxes.texts().empty());

  SetFocus(dlg_->ItemList());
  key.hwnd = dlg_->ItemList();
  EXPECT_TRUE(dlg_->PreTranslateMessage(&key));
  krx_test::PumpMessages();
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Do you want to delete the selected item(s)?"});
  EXPECT_EQ(Lines(), std::vector<std::string>{"a"});
}

TEST_F(ManagerCommands, ShowMeAndHideMeOnlyChangeTheOtherState) {
  Open();
  const struct {
    int command;
    bool visible;
  } steps[] = {{ID_TRAY_SHOW, true}, {ID_TRAY_HIDE, false}, {ID_TRAY_HIDE, false}, {kIdHideMe, false},
               {ID_TRAY_SHOW, true}, {kIdHideMe, false}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.command);
    Click(step.command);
    EXPECT_EQ(bool(dlg_->IsWindowVisible()), step.visible);
    EXPECT_EQ(dlg_->GetVisibility(), step.visible ? CManagerDlg::kShown : CManagerDlg::kHidden);
  }
  // A left click on the tray icon shows it again; another hides it.
  dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(dlg_->IsWindowVisible());
  dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONUP);  // other mouse messages do nothing
  EXPECT_TRUE(dlg_->IsWindowVisible());
  dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_FALSE(dlg_->IsWindowVisible());
}

// The visible windows of this thread with this title.
std::vector<HWND> Titled(const std::string& title) {
  struct Search {
    std::string title;
    std::vector<HWND> found;
    static BOOL CALLBACK Each(HWND hwnd, LPARAM param) {
      Search* s = reinterpret_cast<Search*>(param);
      if (IsWindowVisible(hwnd) && krx_test::WindowText(hwnd) == s->title) s->found.push_back(hwnd);
      return TRUE;
    }
  } search{title, {}};
  EnumThreadWindows(GetCurrentThreadId(), &Search::Each, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
const std::string kLoginTitle = std::string(kProductName) + kLoginTitleSuffix;
const std::string kConfigTitle = std::string(kProductName) + " - Config";

int LoginWindows() { return int(Titled(kLoginTitle).size()); }

TEST_F(ManagerCommands, ATrayClickDuringThePromptOpensNoSecondOne) {
  WriteSettings({{kPasswordOnShow, 1}});
  password_ = "secret";
  ASSERT_TRUE(WritePasswordFile(user(), password_));
  Open();
  Click(ID_TRAY_HIDE);
  ASSERT_FALSE(dlg_->IsWindowVisible());

  int promptsSeen = -1;
  krx_test::RunInLoop([&] {
    dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);  // a second click
    promptsSeen = LoginWindows();
    dlg_->LoginDialog().SendMessage(WM_COMMAND, IDCANCEL);
  });
  dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(promptsSeen, 1);
  EXPECT_FALSE(dlg_->IsWindowVisible());  // cancelled: stays in the tray
  EXPECT_EQ(dlg_->GetVisibility(), CManagerDlg::kHidden);

  // The right password shows it again.
  krx_test::RunInLoop([&] {
    dlg_->LoginDialog().PasswordEdit().SetWindowText("secret");
    dlg_->LoginDialog().SendMessage(WM_COMMAND, IDOK);
  });
  dlg_->SendMessage(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(dlg_->IsWindowVisible());
  EXPECT_EQ(dlg_->GetVisibility(), CManagerDlg::kShown);
}

// The help windows of this process.
int HelpWindows() {
  struct Count {
    static BOOL CALLBACK Each(HWND hwnd, LPARAM n) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      char cls[64] = {};
      GetClassNameA(hwnd, cls, sizeof cls);
      if (pid == GetCurrentProcessId() && strcmp(cls, "HH Parent") == 0 && IsWindowVisible(hwnd)) {
        ++*reinterpret_cast<int*>(n);
      }
      return TRUE;
    }
  };
  int n = 0;
  EnumWindows(&Count::Each, reinterpret_cast<LPARAM>(&n));
  return n;
}

TEST_F(ManagerCommands, F1ShowsTheHelpOfTheView) {
  Open();
  ShowView(IDC_TAB_MEDIA);
  CloseAllHelp();
  krx_test::PumpMessages();
  ASSERT_EQ(HelpWindows(), 0);
  SetFocus(dlg_->InputBox());
  MSG key = {dlg_->InputBox(), WM_KEYDOWN, VK_F1, 0, 0, {}};
  EXPECT_TRUE(dlg_->PreTranslateMessage(&key));
  EXPECT_TRUE(krx_test::PumpUntil([] { return HelpWindows() == 1; }));
  CloseAllHelp();
  krx_test::PumpMessages();
}

TEST_F(ManagerCommands, TrayConfigAsksThePasswordTheConfigButtonNever) {
  WriteSettings({{kPasswordOnShow, 1}});
  password_ = "secret";
  ASSERT_TRUE(WritePasswordFile(user(), password_));
  Open();
  // Whatever opens first (prompt or options window) is noted and cancelled.
  auto noteAndCancel = [](std::string* seen) {
    krx_test::RunInLoop([seen] {
      for (const std::string& title : {kLoginTitle, kConfigTitle}) {
        for (HWND hwnd : Titled(title)) {
          *seen = title;
          PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
          return;
        }
      }
    }, 200);
  };
  std::string first;
  noteAndCancel(&first);
  Click(ID_TRAY_CONFIG);
  EXPECT_EQ(first, kLoginTitle);
  EXPECT_TRUE(Titled(kConfigTitle).empty());

  std::string viaButton;
  noteAndCancel(&viaButton);
  Click(kIdConfig);
  EXPECT_EQ(viaButton, kConfigTitle);
}

TEST_F(ManagerCommands, TheTrayIconLivesAsLongAsTheWindow) {
  Open();
  NOTIFYICONDATAA record = {};
  record.cbSize = 488;
  record.hWnd = *dlg_;
  record.uID = kTrayIconId;
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record));
  // Explorer restarted: its icons are gone until the taskbar says it is back.
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record));
  SendMessageA(*dlg_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record));
  HWND window = *dlg_;
  dlg_.reset();
  record.hWnd = window;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record));
}

TEST_F(ManagerCommands, VisitPlayOpensTheAddressOfTheView) {
  krx_test::OpenRecorder opened("http", folder_ / "opened.txt");
  Open();
  const struct {
    int view;
    const char* line;
    const char* opens;  // nullptr: nothing is opened
    const char* says = "";  // the status line afterwards
  } cases[] = {
      {IDC_TAB_FLASH, "<07/01/2004 10:00:01> http://page/ - http://f/x.swf", nullptr},  // plays in the window
      {IDC_TAB_VISIT, "<07/01/2004 10:00:01> http://no-title/", nullptr},  // no " - ": nothing to visit
      {IDC_TAB_VISIT, "<07/01/2004 10:00:01> http://visit/ - Title", "http://visit/"},
      {IDC_TAB_CACHE, "Visited: user@cache.example/p", "http://cache.example/p"},
      // Only web addresses (and media ones in the media view) reach the shell.
      {IDC_TAB_BLOCK, "<07/01/2004 10:00:01> file://server/share/x.exe - T", nullptr, "The line holds no web address."},
      {IDC_TAB_WHITE, "javascript:alert(1)", nullptr, "The line holds no web address."},
      {IDC_TAB_MEDIA, "<07/01/2004 10:00:01> C:\\movie.wmv - T", nullptr, "The line holds no web or media address."},
  };
  std::vector<std::string> want;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ShowView(c.view);
    ListLines({c.line});
    Select({0});
    Focus(0);
    dlg_->SetStatusText("");
    // A double-click on a line is the same command.
    dlg_->SendMessage(WM_COMMAND, MAKEWPARAM(kIdItemList, LBN_DBLCLK), LPARAM(HWND(dlg_->ItemList())));
    EXPECT_EQ(dlg_->StatusLine().GetWindowText(), c.says);
    if (!c.opens) continue;
    // One at a time: the recording command holds its file while it writes.
    want.push_back(c.opens);
    krx_test::PumpUntil([&] { return opened.Opened(0).size() >= want.size(); }, 60000);
  }
  EXPECT_EQ(opened.Opened(0), want);
}

TEST_F(ManagerCommands, F5InTheWhiteListViewMergesTheDayFiles) {
  Open();
  ShowView(IDC_TAB_WHITE);
  krx_test::WriteFileBytes(folder_.path() + "tmp\\20041231.vis", "<12/31/2004 10:00:00> http://new/ - New\r\n");
  SetFocus(dlg_->ItemList());
  MSG key = {dlg_->ItemList(), WM_KEYDOWN, VK_F5, 0, 0, {}};
  EXPECT_TRUE(dlg_->PreTranslateMessage(&key));
  EXPECT_EQ(dlg_->CollectionOf(kVisitRecords), StringArray{"<12/31/2004 10:00:00> http://new/ - New"});
}

// Fills in the Save As dialog once it is up: the file name, then OK. The
// name it offered is kept in `offered`.
void AnswerSaveAs(const std::string& path, std::string* offered) {
  static std::string target;
  static std::string* seen;
  target = path;
  seen = offered;
  krx_test::RunInLoop([] {
    HWND dialog = FindWindowA(nullptr, "Save As");
    if (!dialog) return;
    // The file name box: the combo of the explorer template, or the plain edit.
    char name[MAX_PATH] = {};
    if (!GetDlgItemTextA(dialog, 1148, name, MAX_PATH)) GetDlgItemTextA(dialog, 1152, name, MAX_PATH);
    *seen = name;
    if (!SetDlgItemTextA(dialog, 1148, target.c_str())) SetDlgItemTextA(dialog, 1152, target.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }, 500);
}

TEST_F(ManagerCommands, SaveFlashCopiesTheFileOfTheLine) {
  Open();
  ShowView(IDC_TAB_FLASH);
  const std::string source = folder_ / "movie[1].swf";  // as the browser's cache names it
  krx_test::WriteFileBytes(source, "FWS\x06flash bytes");
  ListLines({"<07/01/2004 10:00:01> http://page/ - " + source});
  Select({0});
  Focus(0);
  const std::string copy = folder_ / "saved.swf";
  std::string offered;
  AnswerSaveAs(copy, &offered);
  Click(kIdSaveFlash);
  EXPECT_EQ(krx_test::ReadFileBytes(copy), "FWS\x06flash bytes");
  EXPECT_EQ(offered, "movie.swf");
  // Without a copy on this computer there is nothing to save, and no dialog asks where.
  const struct {
    const char* file;
    const char* says;
  } cases[] = {{"http://f.example/x.swf", krx::kFlashNotCachedText},
               {"C:\\gone\\x.swf", krx::kFlashNotCachedText},
               {"\\\\server\\share\\x.swf", krx::kFlashRefusedText}};
  for (const auto& c : cases) {
    ListLines({std::string("<07/01/2004 10:00:01> http://page/ - ") + c.file});
    Select({0});
    Focus(0);
    dlg_->SetStatusText("");
    Click(kIdSaveFlash);
    EXPECT_EQ(dlg_->StatusLine().GetWindowText(), c.says) << c.file;
  }
}

}  // namespace
