// The manager window's cache view and its "Delete cache files" in the visit
// and flash log views, against Wine's real URL cache.
#include <gtest/gtest.h>

#include "cache/cache_entry.h"
#include "core/cache_text.h"
#include "cache_fill_win32.h"
#include "cache_host_win32.h"
#include "core/manager_views.h"
#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

bool InCache(const std::string& url) {
  CacheEntryBuffer buffer;
  return ReadCacheEntry(url, buffer);
}

class CacheManager : public ::testing::Test {
 protected:
  void SetUp() override {
    cache_test::ClearCache();
    CreateDirectoryA(user.c_str(), nullptr);
    CreateDirectoryA(tmp.c_str(), nullptr);
  }
  void TearDown() override {
    if (dlg) dlg->DestroyWindow();
  }
  void Open(const RecordCollections& records) {
    SaveRecordFiles(user, password, records);
    SettingValues values = kDefaultSettings;
    values[kAddOnEnabled] = 0;
    krx_test::WriteFileBytes(user + "KRX.cfg", SerializeSettings(values));
    dlg = std::make_unique<CManagerDlg>(user, tmp, password);
    dlg->Settings().SetConfigPath(user + "KRX.cfg");
    ASSERT_TRUE(dlg->Create(CManagerDlg::kTemplateId, nullptr));
    krx_test::PumpMessages();
  }
  void Show(int view) {
    dlg->ViewSelector().SelectById(UINT(view));
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(view, BN_CLICKED), 0);
    if (IsLogView(view) && dlg->DateList().GetCount() > 0) {
      dlg->DateList().SetCurSel(0);
      dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdDateList, LBN_SELCHANGE), LPARAM(HWND(dlg->DateList())));
    }
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < dlg->ItemList().GetCount(); ++i) lines.push_back(dlg->ItemList().GetText(i));
    return lines;
  }
  void DeleteAllLines() {
    dlg->ItemList().SelItemRange(TRUE, 0, dlg->ItemList().GetCount() - 1);
    krx_test::BoxAnswerer yes;
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdDeleteCacheFiles, BN_CLICKED), 0);
  }

  krx_test::TempFolder folder;
  const std::string user = folder.path() + "User\\", tmp = folder.path() + "tmp\\";
  std::string password;
  std::unique_ptr<CManagerDlg> dlg;
};

TEST_F(CacheManager, FetchByKindAndDetailsOfTheChosenLine) {
  const std::string page = "http://manager.example/page.htm";
  ASSERT_TRUE(cache_test::AddEntry(page, 4096, "htm"));
  ASSERT_TRUE(cache_test::AddHistory(page));
  Open({});
  Show(IDC_TAB_CACHE);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{page, cache_test::HistoryAddress(page)}));
  EXPECT_EQ(dlg->StatusLine().GetWindowText(), "Total items: 2. Total size: 4,096 (0.004MB).");

  dlg->ItemList().SetCaretIndex(0);
  dlg->ItemList().SetSel(0, TRUE);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdItemList, LBN_SELCHANGE), LPARAM(HWND(dlg->ItemList())));
  EXPECT_EQ(dlg->DetailsBox().GetWindowText().rfind("SourceUrl: " + page + "\r\n", 0), 0u);

  dlg->Radio(500)->SetCheck(FALSE);
  dlg->Radio(501)->SetCheck(TRUE);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
  EXPECT_EQ(Lines(), std::vector<std::string>{cache_test::HistoryAddress(page)});
  EXPECT_EQ(dlg->DetailsBox().GetWindowText(), "");
}

TEST_F(CacheManager, TheLogViewsDeleteCacheFilesAndKeepTheirLines) {
  const std::string page = "http://manager.example/visited.htm";
  const std::string other = "http://manager.example/kept.htm";
  ASSERT_TRUE(cache_test::AddEntry(page, 10, "htm"));
  ASSERT_TRUE(cache_test::AddEntry(other, 10, "htm"));
  CacheEntryBuffer buffer;
  ASSERT_TRUE(ReadCacheEntry(page, buffer));
  const std::string flashFile = Text(buffer.info()->lpszLocalFileName) + ".swf";
  krx_test::WriteFileBytes(flashFile, "FWS");

  RecordCollections records;
  records[kVisitRecords] = {"<12/01/2004 10:00:00> " + page + " - A page"};
  records[kFlashRecords] = {"<12/01/2004 10:00:00> http://manager.example/movie - " + flashFile};
  Open(records);

  Show(IDC_TAB_VISIT);
  ASSERT_EQ(Lines(), records[kVisitRecords]);
  DeleteAllLines();
  EXPECT_FALSE(InCache(page));
  EXPECT_TRUE(InCache(other));
  EXPECT_EQ(Lines(), records[kVisitRecords]);

  Show(IDC_TAB_FLASH);
  ASSERT_EQ(Lines(), records[kFlashRecords]);
  DeleteAllLines();
  EXPECT_EQ(GetFileAttributesA(flashFile.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Lines(), records[kFlashRecords]);
}

// What the locked-file box's own loop lets happen: a fetch of another kind.
struct DuringTheBox {
  static CManagerDlg* dlg;
  static int enabled;  // the window's state while the box was up; -1: no box
  static void OnBox(HWND, const std::string& text) {
    if (text != kCacheLockedText) return;
    enabled = IsWindowEnabled(*dlg) ? 1 : 0;
    dlg->Radio(500)->SetCheck(FALSE);
    dlg->Radio(501)->SetCheck(TRUE);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
  }
};
CManagerDlg* DuringTheBox::dlg = nullptr;
int DuringTheBox::enabled = -1;

TEST_F(CacheManager, ADeleteHandlesTheChosenLinesWhateverTheListShowsMeanwhile) {
  const std::string chosen = "http://chosen.example/a", kept = "http://chosen.example/b";
  const std::string locked = "http://chosen.example/z-locked";
  for (const std::string& url : {chosen, kept, locked}) ASSERT_TRUE(cache_test::AddEntry(url, 10, "htm"));
  const std::vector<std::string> history = {cache_test::HistoryAddress("http://history.example/1"),
                                            cache_test::HistoryAddress("http://history.example/2")};
  ASSERT_TRUE(cache_test::AddHistory("http://history.example/1"));
  ASSERT_TRUE(cache_test::AddHistory("http://history.example/2"));
  std::vector<char> info(8192);
  DWORD size = DWORD(info.size());
  ASSERT_TRUE(RetrieveUrlCacheEntryFileA(locked.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(info.data()),
                                         &size, 0));
  Open({});
  Show(IDC_TAB_CACHE);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
  ASSERT_EQ(Lines(), (std::vector<std::string>{chosen, kept, locked, history[0], history[1]}));

  // The locked entry comes first (the last selected); while its box is up
  // the history is fetched into the list, where line 0 is now a history entry.
  dlg->ItemList().SetSel(0, TRUE);
  dlg->ItemList().SetSel(2, TRUE);
  DuringTheBox::dlg = dlg.get();
  DuringTheBox::enabled = -1;
  {
    krx_test::BoxAnswerer yes;
    yes.SetOnBox(&DuringTheBox::OnBox);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdDeleteCacheFiles, BN_CLICKED), 0);
    EXPECT_EQ(yes.texts(), (std::vector<std::string>{kCacheDeleteQuestion, kCacheLockedText}));
  }
  EXPECT_EQ(DuringTheBox::enabled, 0);  // the window took no input meanwhile
  EXPECT_TRUE(IsWindowEnabled(*dlg));
  EXPECT_FALSE(InCache(chosen));
  EXPECT_TRUE(InCache(kept));
  for (const std::string& h : history) EXPECT_TRUE(InCache(h)) << h;
  EXPECT_EQ(Lines(), history);
  UnlockUrlCacheEntryFileA(locked.c_str(), 0);
}

TEST_F(CacheManager, ClosingTheWindowStopsAFetch) {
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(cache_test::AddEntry("http://close.example/" + std::to_string(i), 10, "htm"));
  Open({});
  Show(IDC_TAB_CACHE);
  // The Close button, pressed as the fetch begins and answered Yes.
  dlg->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  krx_test::BoxAnswerer yes;
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(kIdFetchCache, BN_CLICKED), 0);
  EXPECT_EQ(yes.texts(), std::vector<std::string>{"Do you want to exit \"Kestrelix\"?"});
  EXPECT_TRUE(dlg->IsEnding());
  EXPECT_LE(dlg->ItemList().GetCount(), 1);
}

}  // namespace
