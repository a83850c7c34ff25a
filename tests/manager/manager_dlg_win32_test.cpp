// The real manager window, driven by messages: its views and layout, the
// keys that must not close it, the exit question, sizing, dragging and the
// theme.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <new>

#include "config/user_notice.h"
#include "core/kept_notices.h"
#include "core/manager_layout.h"
#include "core/save_notices.h"
#include "core/settings_file.h"
#include "core/theme_table.h"
#include "manager/manager_dlg.h"
#include "framework/handler_fault.h"
#include "records/file_fault_hook.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"
#include "dialog_driver.h"

namespace {

using namespace krx;

using krx_test::BoxAnswerer;

// A program folder of its own: User\ with KRX.cfg, tmp\.
class ManagerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA((folder_.path() + "User").c_str(), nullptr);
    CreateDirectoryA((folder_.path() + "tmp").c_str(), nullptr);
    // The add-on library is not beside the test program: leave it alone.
    WriteSettings({{kAddOnEnabled, 0}});
  }
  std::string user() const { return folder_.path() + "User\\"; }
  std::string tmp() const { return folder_.path() + "tmp\\"; }

  void WriteSettings(const std::map<Setting, int>& changes) {
    SettingValues values = kDefaultSettings;
    for (const auto& [s, v] : changes) values[s] = v;
    krx_test::WriteFileBytes(user() + "KRX.cfg", SerializeSettings(values));
  }

  // A window that lives for the test, modeless.
  std::unique_ptr<CManagerDlg> Open() {
    auto dlg = std::make_unique<CManagerDlg>(user(), tmp(), password_);
    dlg->Settings().SetConfigPath(user() + "KRX.cfg");
    EXPECT_TRUE(dlg->Create(CManagerDlg::kTemplateId, nullptr));
    krx_test::PumpMessages();
    return dlg;
  }

  void ShowView(CManagerDlg& dlg, int view) {
    dlg.ViewSelector().SelectById(UINT(view));
    dlg.SendMessage(WM_COMMAND, WPARAM(view), 0);
    krx_test::PumpMessages();
  }

  krx_test::TempFolder folder_;
  std::string password_;
};

// The layout is decided (and tested) in the core; here: the window applies it.
TEST_F(ManagerWindow, EveryViewAppliesTheLayoutAtBothSizes) {
  auto dlg = Open();
  const struct {
    int w, h;
  } sizes[] = {{620, 420}, {1024, 768}};
  for (const auto& size : sizes) {
    SetWindowPos(*dlg, nullptr, 0, 0, size.w, size.h, SWP_NOZORDER | SWP_NOMOVE);
    for (const ViewInfo& view : kViews) {
      ShowView(*dlg, view.id);
      SCOPED_TRACE(testing::Message() << view.label << " at " << size.w << "x" << size.h);
      ASSERT_EQ(dlg->CurrentView(), view.id);
      const ManagerLayout layout = LayoutManager(view.id, size.w, size.h, dlg->GetClientRect().right);
      for (int slot = 0; slot < kSlotCount; ++slot) {
        const ControlPlace& place = layout[slot];
        HWND control = nullptr;
        if (slot == kSlotCaptionText) control = dlg->Title();
        if (slot == kSlotViewSelector) control = dlg->ViewSelector();
        if (slot == kSlotFlashPlayer) control = dlg->FlashPlayer();  // none where the control is missing
        if (slot >= kSlotRadioAll && slot <= kSlotRadioCookies) control = *dlg->Radio(place.id);
        if (!control && place.id != 0 && place.id != kIdFlashPlayer) control = GetDlgItem(*dlg, place.id);
        if (slot == kSlotClose) control = dlg->CloseButton();
        if (!control) continue;
        EXPECT_EQ(IsWindowVisible(control) != FALSE, place.shown) << "slot " << slot;
        if (!place.placed || slot == kSlotViewSelector) continue;
        RECT r = krx_test::ChildRect(control);
        // A drop-down list's rectangle is its closed box; the layout gives
        // the height it drops to.
        if (place.id == kIdCacheField || place.id == kIdCacheOperator) r.bottom = r.top + place.rect.Height();
        EXPECT_TRUE(krx_test::SameRect(r, RECT{place.rect.left, place.rect.top, place.rect.right, place.rect.bottom}))
            << "slot " << slot << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
      }
    }
  }
  // The size is remembered as the window size settings.
  EXPECT_EQ(dlg->Settings().Get(kWindowWidth), 1024);
  EXPECT_EQ(dlg->Settings().Get(kWindowHeight), 768);
}

TEST_F(ManagerWindow, AClickOnASelectorButtonShowsItsView) {
  auto dlg = Open();
  for (int view : {IDC_TAB_WHITE, IDC_TAB_MEDIA, IDC_TAB_CACHE}) {
    krx_test::ClickClient(*dlg->ViewSelector().FindButton(UINT(view)), 5, 5);
    krx_test::PumpMessages();
    EXPECT_EQ(dlg->CurrentView(), view);
    EXPECT_EQ(dlg->DateList().IsWindowVisible() != FALSE, IsLogView(view));
  }
}

TEST_F(ManagerWindow, TheAboutBoxNamesTheProgramItsVersionAndItsDataFolder) {
  auto dlg = Open();
  std::string texts;
  krx_test::RunInLoop([&] {
    HWND about = FindWindowA(nullptr, "About Kestrelix");
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) texts += krx_test::WindowText(c) + "|";
    PostMessageA(about, WM_COMMAND, IDOK, 0);
  }, 200);
  dlg->SendMessage(WM_COMMAND, kIdAbout, 0);
  EXPECT_NE(texts.find("|Kestrelix|Version 1.30|"), std::string::npos) << texts;
  EXPECT_NE(texts.find("|" + user() + "|"), std::string::npos) << texts;
}

TEST_F(ManagerWindow, OpensWithTheTemplatesControlsAndTheDefaults) {
  auto dlg = Open();
  EXPECT_EQ(krx_test::WindowText(*dlg), "Kestrelix");
  EXPECT_EQ(dlg->CurrentView(), IDC_TAB_VISIT);
  EXPECT_EQ(dlg->GetWindowRect().right - dlg->GetWindowRect().left, 620);
  EXPECT_EQ(dlg->GetWindowRect().bottom - dlg->GetWindowRect().top, 420);
  EXPECT_EQ(dlg->GetWindowRect().left, 0);
  // The operator combo from the template's initialisation data, the field
  // combo filled at run time; both at their first item, the filter off.
  const char* ops[] = {"=", ">=", ">", "<=", "<", "!="};
  ASSERT_EQ(dlg->CacheOperator().GetCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(dlg->CacheOperator().GetLBText(i), ops[i]);
  EXPECT_EQ(dlg->CacheField().GetCount(), 9);
  EXPECT_EQ(dlg->CacheField().GetLBText(8), "ExpireTime");
  EXPECT_EQ(dlg->CacheField().GetCurSel(), 0);
  EXPECT_EQ(dlg->CacheOperator().GetCurSel(), 0);
  EXPECT_FALSE(dlg->CacheOperator().IsWindowEnabled());
  EXPECT_FALSE(dlg->CacheValue().IsWindowEnabled());
  EXPECT_TRUE(dlg->Radio(kIdRadioAll)->GetCheck());
  EXPECT_EQ(dlg->Button(kIdFind)->TooltipWindow() != nullptr, true);
  const DWORD style = DWORD(GetWindowLongA(*dlg, GWL_STYLE));
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_TRUE(GetWindowLongA(*dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(ManagerWindow, ALastViewOfTheCacheOpensItWithNoDateList) {
  WriteSettings({{kAddOnEnabled, 0}, {kLastView, IDC_TAB_CACHE}});
  krx::RecordCollections records;
  records[kVisitRecords] = {"<07/01/2004 10:00:00> http://a.example/ - A"};
  krx::SaveRecordFiles(user(), password_, records);
  auto dlg = Open();
  EXPECT_EQ(dlg->CurrentView(), IDC_TAB_CACHE);
  EXPECT_FALSE(dlg->DateList().IsWindowVisible());
  EXPECT_EQ(dlg->DateList().GetCount(), 0);
  EXPECT_EQ(dlg->ItemList().GetCount(), 0);
  EXPECT_TRUE(IsWindowVisible(dlg->GetDlgItem(kIdFetchCache)));
  // Back to the visit log: its one day is listed.
  ShowView(*dlg, IDC_TAB_VISIT);
  EXPECT_EQ(dlg->DateList().GetCount(), 1);
  EXPECT_EQ(dlg->DateList().GetText(0), "07/01/2004");
}

TEST_F(ManagerWindow, EnterNeverClosesAndEscapeAsksFirst) {
  krx::RecordCollections records;
  records[kWhiteList] = {"http://kept.example/"};
  krx::SaveRecordFiles(user(), password_, records);
  CManagerDlg dlg(user(), tmp(), password_);
  dlg.Settings().SetConfigPath(user() + "KRX.cfg");
  BoxAnswerer answers({IDCANCEL, IDOK});
  // Each step runs from the window's own modal loop, so the keys take the
  // dialog's road (Enter = OK, Escape = Cancel).
  bool enterKept = false, noKept = false;
  krx_test::RunInLoop([&] {
    ::SetFocus(dlg.ItemList());
    krx_test::PostKey(dlg.ItemList(), VK_RETURN);
    krx_test::PostKey(dlg.InputBox(), VK_RETURN);
    krx_test::RunInLoop([&] {
      enterKept = !dlg.IsEnding() && answers.texts().empty();
      krx_test::PostKey(dlg.ItemList(), VK_ESCAPE);
      krx_test::RunInLoop([&] {
        // Answered No: nothing changed.
        noKept = !dlg.IsEnding() && IsWindowVisible(dlg) && answers.texts().size() == 1 &&
                 dlg.CollectionOf(kWhiteList) == StringArray{"http://kept.example/"};
        // The Close button asks the same; Yes ends the window.
        dlg.PostMessage(WM_COMMAND, IDCANCEL, 0);
      }, 600);
    }, 300);
  }, 300);
  const INT_PTR result = dlg.DoModal();
  EXPECT_TRUE(enterKept);
  EXPECT_TRUE(noKept);
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(answers.texts().size(), 2u);
  EXPECT_EQ(answers.texts()[0], "Do you want to exit \"Kestrelix\"?");
  EXPECT_EQ(answers.texts()[1], answers.texts()[0]);
  // Closing saved the records and the settings.
  krx::RecordCollections saved;
  krx::LoadRecordFiles(user(), password_, saved);
  EXPECT_EQ(saved[kWhiteList], StringArray{"http://kept.example/"});
  EXPECT_EQ(ParseSettings(krx_test::ReadFileBytes(user() + "KRX.cfg")).values[kLastView], IDC_TAB_VISIT);
}

TEST_F(ManagerWindow, TrackingLimitsAndDraggingOnlyByTheCaptionStrip) {
  auto dlg = Open();
  MINMAXINFO info = {};
  dlg->SendMessage(WM_GETMINMAXINFO, 0, LPARAM(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 590);
  EXPECT_EQ(info.ptMinTrackSize.y, 415);
  EXPECT_EQ(info.ptMaxTrackSize.x, 1024);
  EXPECT_EQ(info.ptMaxTrackSize.y, 768);

  // A press and a move inside the top 24 pixels hands the move to the
  // system (a caption press is posted); anywhere below, nothing is.
  const struct {
    int y;
    bool drags;
  } presses[] = {{10, true}, {23, true}, {24, false}, {60, false}};
  for (const auto& p : presses) {
    SCOPED_TRACE(p.y);
    dlg->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, p.y));
    dlg->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(305, p.y));
    MSG msg;
    EXPECT_EQ(PeekMessageA(&msg, *dlg, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE) != FALSE, p.drags);
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(305, p.y));
  }
}

TEST_F(ManagerWindow, ApplyThemeRecoloursCaptionListsAndBackground) {
  auto dlg = Open();
  ShowView(*dlg, IDC_TAB_WHITE);
  dlg->ItemList().AddString("http://a.example/");
  dlg->ItemList().SetSel(0, TRUE);
  for (int theme : {3, 6}) {
    SCOPED_TRACE(theme);
    dlg->ApplyTheme(theme);
    krx_test::PumpMessages();
    dlg->UpdateWindow();
    const ThemeColours& colours = GetThemeColours(theme);
    EXPECT_EQ(dlg->GetTheme(), theme);
    EXPECT_EQ(dlg->Title().TextColour(), colours[kThemeTitleActive]);
    EXPECT_EQ(dlg->Button(kIdFind)->GetTheme(), theme);
    EXPECT_EQ(dlg->Button(kIdHideMe)->GetTheme(), theme);
    // The background between the toolbar and the status line.
    EXPECT_EQ(krx_test::ClientPixel(*dlg, 5, 200), colours[kThemeBackground]);
    // The selected line is filled with column 5.
    RECT line;
    dlg->ItemList().GetItemRect(0, &line);
    EXPECT_EQ(krx_test::ClientPixel(dlg->ItemList(), line.right - 4, (line.top + line.bottom) / 2), colours[5]);
  }
}

// The tray menu follows the theme too: its background is column 1 and the
// line the keyboard moves to is filled with column 5.
TEST_F(ManagerWindow, ApplyThemeRecoloursTheTrayMenu) {
  auto dlg = Open();
  dlg->ApplyTheme(4);
  const ThemeColours& colours = GetThemeColours(4);
  COLORREF background = CLR_INVALID, selected = CLR_INVALID;
  SetCursorPos(200, 200);
  krx_test::RunInLoop([&] {
    HWND menu = FindWindowA("#32768", nullptr);
    RECT r = {};
    GetWindowRect(menu, &r);
    // Right of the last item's text ("Exit"), and the first item once chosen.
    background = krx_test::WindowPixel(menu, r.right - r.left - 8, r.bottom - r.top - 8);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    krx_test::RunInLoop([&, menu, r] {
      selected = krx_test::WindowPixel(menu, r.right - r.left - 8, 12);
      EndMenu();
    }, 200);
  }, 300);
  dlg->SendMessage(WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
  EXPECT_EQ(background, colours[1]);
  EXPECT_EQ(selected, colours[5]);
}

// While Windows ends the session no box may block it. A save that throws
// there and files that cannot be written are kept in ErrorMsg.txt, and the
// next start tells them, once. The save that threw is not taken for done:
// the window's later close saves what it could not.
TEST_F(ManagerWindow, TheSessionsEndShowsNoBoxAndTheNextStartTellsWhatItKept) {
  TakeKeptNotices();  // what an earlier run of these tests may have left
  RecordCollections records;
  records[kWhiteList] = {"http://kept.example/"};
  SaveRecordFiles(user(), password_, records);
  const std::string dayFile = tmp() + "20261207.vis", white = user() + "white.log";
  krx_test::WriteFileBytes(dayFile, "<12/07/2026 09:00:00> http://a.example/ - A\r\n");
  const std::string oldWhite = krx_test::ReadFileBytes(white);
  struct ThrowAtSave : FileFaultHook {
    int Before(FileOp op, const std::string& path) override {
      if (op == FileOp::kOpen && path.find("white.log.tmp") != std::string::npos) throw std::bad_alloc();
      return 0;
    }
  } throwAtSave;
  const HandlerFaultReporter previousReporter = SetHandlerFaultReporter(&ReportFailedCommand);
  {
    BoxAnswerer boxes;
    auto dlg = Open();
    dlg->CollectionOf(kWhiteList).push_back("http://added.example/");
    FileFaultHook* previousHook = SetFileFaultHook(&throwAtSave);
    dlg->SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    SetFileFaultHook(previousHook);
    SetSessionEnding(false);
    krx_test::PumpMessages();
    EXPECT_EQ(krx_test::ReadFileBytes(white), oldWhite);
    dlg.reset();  // the close
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{});
  }
  RecordCollections saved;
  LoadRecordFiles(user(), password_, saved);
  EXPECT_EQ(saved[kWhiteList], (StringArray{"http://kept.example/", "http://added.example/"}));

  // white.log and the marks cannot be written, and a day file cannot be
  // deleted (so its mark is needed).
  krx_test::WriteFileBytes(dayFile, "<12/07/2026 09:05:00> http://b.example/ - B\r\n");
  {
    BoxAnswerer boxes;
    auto dlg = Open();
    HANDLE held[] = {
        CreateFileA((white + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
        CreateFileA((user() + kDayFileMarksName + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                    nullptr),
        CreateFileA(dayFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                    nullptr)};
    dlg->SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    SetSessionEnding(false);
    krx_test::PumpMessages();
    for (HANDLE h : held) CloseHandle(h);
    dlg.reset();
    // This start told what the first session's end kept.
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{KeptNoticesBoxText(kSessionEndOutOfMemoryText)});
  }
  SetHandlerFaultReporter(previousReporter);

  const std::string told = KeptNoticesBoxText(UnsavedAtCloseNotice({"white.log"}, {}, false));
  for (const auto& expected : {std::vector<std::string>{told}, std::vector<std::string>{}}) {
    BoxAnswerer boxes;
    Open();
    EXPECT_EQ(boxes.texts(), expected);
  }
}

// The session ends while the start's first notice is up (the add-on's
// library cannot be loaded), before any record file was read: nothing is
// written over them.
TEST_F(ManagerWindow, TheSessionsEndBeforeTheRecordsWereLoadedKeepsEveryFile) {
  RecordCollections records;
  records[kVisitRecords] = {"<12/06/2026 08:00:00> http://v.example/ - V"};
  records[kWhiteList] = {"http://kept.example/"};
  SaveRecordFiles(user(), password_, records);
  WriteSettings({{kAddOnEnabled, 1}});
  std::map<std::string, std::string> before;
  for (const char* name : kRecordFileNames) before[name] = krx_test::ReadFileBytes(user() + name);
  static HWND manager;
  manager = nullptr;
  BoxAnswerer boxes;
  boxes.SetOnBox([](HWND, const std::string& text) {
    if (text.rfind("Unable to load ", 0) == 0) {
      manager = FindWindowA(nullptr, "Kestrelix");
      SendMessageA(manager, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    }
  });
  auto dlg = Open();
  SetSessionEnding(false);
  EXPECT_EQ(manager, dlg->m_hWnd);
  dlg.reset();
  for (const auto& [name, bytes] : before) EXPECT_EQ(krx_test::ReadFileBytes(user() + name), bytes) << name;
}

}  // namespace
