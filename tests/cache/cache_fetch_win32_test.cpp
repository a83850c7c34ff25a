// Fetching the browser's cache into the item list, against Wine's real URL
// cache filled by each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cache/cache_entry.h"
#include "cache/cache_view.h"
#include "cache_fill_win32.h"
#include "cache_host_win32.h"
#include "core/cache_filter.h"
#include "core/cache_text.h"
#include "support/window_capture_win32.h"

namespace {

using cache_test::AddCookie;
using cache_test::AddEntry;
using cache_test::AddHistory;
using cache_test::Utc;
using Set = std::set<std::string>;

// A local time as the UTC time the cache stores, by the zone's rule at that date.
FILETIME LocalDateAsUtc(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME local = {WORD(year), WORD(month), 0, WORD(day), WORD(hour), WORD(minute), WORD(second), 0}, utc = {};
  FILETIME stored = {};
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  SystemTimeToFileTime(&utc, &stored);
  return stored;
}

class CacheFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    cache_test::ClearCache();
    ASSERT_TRUE(host.Open());
  }
  Set Fetch(krx::CacheKind kind = krx::CacheKind::kAll) {
    krx::LoadCacheList(host.Controls(), kind);
    const auto lines = host.Lines();
    return Set(lines.begin(), lines.end());
  }
  // Three content entries, a sticky one, two history entries and a cookie.
  void FillMixed() {
    // The cache keeps the expiry to two seconds: one second after the filter's 00:01:01 is 00:01:02.
    ASSERT_TRUE(AddEntry(small, 10, "gif", NORMAL_CACHE_ENTRY, LocalDateAsUtc(2004, 12, 31, 0, 1, 2), Utc(2003, 6, 1)));
    ASSERT_TRUE(AddEntry(medium, 150000, "GIF", NORMAL_CACHE_ENTRY, Utc(2030, 1, 1), Utc(2005, 3, 1)));
    ASSERT_TRUE(AddEntry(large, 300000, "htm"));
    ASSERT_TRUE(AddEntry(sticky, 2000, "css", NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY));
    ASSERT_TRUE(AddHistory("http://fetch.example/one.htm"));
    ASSERT_TRUE(AddHistory("http://fetch.example/two.htm"));
    ASSERT_TRUE(AddCookie("http://cookie.fetch.example/", "flavour=oat"));
    history = {cache_test::HistoryAddress("http://fetch.example/one.htm"),
               cache_test::HistoryAddress("http://fetch.example/two.htm")};
    const auto cookies = cache_test::Entries("Cookie:");
    cookie = Set(cookies.begin(), cookies.end());
    ASSERT_EQ(cookie.size(), 1u);
  }

  cache_test::CacheHost host;
  const std::string small = "http://fetch.example/small.gif";
  const std::string medium = "http://fetch.example/medium.GIF";
  const std::string large = "http://fetch.example/large.htm";
  const std::string sticky = "http://fetch.example/sticky.css";
  Set history, cookie;
};

TEST_F(CacheFetch, EachKindListsItsContainer) {
  FillMixed();
  const Set content = {small, medium, large, sticky};
  Set all = content;
  all.insert(history.begin(), history.end());
  all.insert(cookie.begin(), cookie.end());
  EXPECT_EQ(Fetch(krx::CacheKind::kHistory), history);
  EXPECT_EQ(Fetch(krx::CacheKind::kCookies), cookie);
  const Set listed = Fetch(krx::CacheKind::kAll);
  for (const std::string& url : all) EXPECT_TRUE(listed.count(url)) << url;  // the first entry included
  EXPECT_EQ(Fetch(krx::CacheKind::kNone), Set{});
  EXPECT_EQ(host.Status(), "Total items: 0. Total size: 0 (0.000MB).");
}

TEST_F(CacheFetch, TotalsOfTheListedEntries) {
  // Content entries and history entries (which have no size).
  ASSERT_TRUE(AddEntry(small, 10, "gif"));
  ASSERT_TRUE(AddEntry(medium, 150000, "GIF"));
  ASSERT_TRUE(AddEntry(large, 300000, "htm"));
  ASSERT_TRUE(AddEntry(sticky, 2000, "css", NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY));
  ASSERT_TRUE(AddHistory("http://fetch.example/one.htm"));
  host.details.SetWindowText("old details");
  EXPECT_EQ(Fetch().size(), 5u);
  EXPECT_EQ(host.Status(), "Total items: 5. Total size: 452,010 (0.431MB).");
  EXPECT_EQ(host.Details(), "");
}

TEST_F(CacheFetch, EveryFieldWithTwoOperators) {
  FillMixed();
  const struct {
    int field, op;
    const char* value;
    Set expected;
  } cases[] = {
      {krx::kCacheFieldFileSize, krx::kCacheOpGreater, "100000", {medium, large}},
      {krx::kCacheFieldFileSize, krx::kCacheOpLessEqual, "2000", {small, sticky}},
      {krx::kCacheFieldFileExtension, krx::kCacheOpEqual, "gif", {small}},
      {krx::kCacheFieldFileExtension, krx::kCacheOpEqual, "GIF", {medium}},
      {krx::kCacheFieldFileExtension, krx::kCacheOpGreaterEqual, "gif", {small, large}},
      {krx::kCacheFieldUseCount, krx::kCacheOpEqual, "0", {small, medium, large, sticky}},
      {krx::kCacheFieldUseCount, krx::kCacheOpGreater, "0", {}},
      // No time at all (large, sticky) counts as time 0.
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpLess, "1/1/2004", {small, large, sticky}},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpGreaterEqual, "1/1/2005", {medium}},
      // The expiry, not the last modification, is compared.
      {krx::kCacheFieldExpireTime, krx::kCacheOpGreater, "12/31/2004", {small, medium}},
      {krx::kCacheFieldExpireTime, krx::kCacheOpGreater, "12/31/2029", {medium}},
      {krx::kCacheFieldExpireTime, krx::kCacheOpLessEqual, "12/31/2004", {large, sticky}},
      {krx::kCacheFieldLastAccessTime, krx::kCacheOpLess, "12/31/2004", {}},
      {krx::kCacheFieldLastAccessTime, krx::kCacheOpGreater, "12/31/2004", {small, medium, large, sticky}},
      {krx::kCacheFieldLastSyncTime, krx::kCacheOpGreaterEqual, "1/1/2005", {small, medium, large, sticky}},
      {krx::kCacheFieldLastSyncTime, krx::kCacheOpLessEqual, "1/1/2005", {}},
      {krx::kCacheFieldHitRate, krx::kCacheOpEqual, "1", {small, medium, large, sticky}},  // 1 after a commit
      {krx::kCacheFieldHitRate, krx::kCacheOpGreater, "1", {}},
  };
  for (const auto& c : cases) {
    host.SetFilter(c.field, c.op, c.value);
    Set listed = Fetch();
    // Only this test's content entries count; history and cookies have their own times.
    Set mine;
    for (const std::string& url : listed) {
      if (url.rfind("http://fetch.example/", 0) == 0) mine.insert(url);
    }
    EXPECT_EQ(mine, c.expected) << krx::kCacheFieldNames[c.field] << " " << krx::kCacheOperatorNames[c.op] << " "
                                << c.value;
  }
}

TEST_F(CacheFetch, AValueThatIsNoDateListsNothingAndSaysSo) {
  FillMixed();
  for (const char* value : {"mm/dd/yyyy", "", "12/31/1969"}) {
    host.SetFilter(krx::kCacheFieldLastAccessTime, krx::kCacheOpGreaterEqual, value);
    EXPECT_EQ(Fetch(), Set{}) << value;
    EXPECT_EQ(host.Status(), krx::kCacheDateHint) << value;
  }
}

TEST_F(CacheFetch, EscapeStopsWithThePlainTotals) {
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(AddEntry("http://escape.example/" + std::to_string(i) + ".htm", 1000 + i, "htm"));
  }
  // The key is waiting when the fetch looks for the first time, after the first entry.
  ::SetFocus(host.items);
  cache_test::PressEscape();
  const Set listed = Fetch();
  ASSERT_EQ(listed.size(), 1u);
  const std::string url = *listed.begin();
  EXPECT_EQ(host.Status(), krx::CacheTotalsPlainText(1, 1000 + std::stoi(url.substr(22))));
  // The key stopped the fetch; it did not reach the dialog as Cancel.
  EXPECT_TRUE(IsWindowVisible(host));
}

TEST_F(CacheFetch, TheFilterChangedDuringAFetchCountsFromTheNextEntry) {
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(AddEntry("http://change.example/" + std::to_string(i), 10, "htm"));
  host.SetFilter(krx::kCacheFieldFileSize, krx::kCacheOpGreater, "100");
  host.onApp = [&] { host.SetFilter(krx::kCacheFieldAll, 0, ""); };
  host.PostMessage(WM_APP);
  EXPECT_EQ(Fetch().size(), 9u);
}

TEST_F(CacheFetch, AFetchWhileOneRunsDoesNothing) {
  FillMixed();
  const Set all = Fetch();
  bool nestedRan = false;
  host.onApp = [&] {
    krx::LoadCacheList(host.Controls(), krx::CacheKind::kHistory);
    nestedRan = true;
  };
  host.PostMessage(WM_APP);
  EXPECT_EQ(Fetch(), all);
  EXPECT_TRUE(nestedRan);
  EXPECT_FALSE(krx::CacheFetchRunning());
}

TEST_F(CacheFetch, LeavingTheViewStopsTheFetch) {
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(AddEntry("http://leave.example/" + std::to_string(i), 10, "htm"));
  bool current = true;
  krx::CacheViewControls c = host.Controls();
  c.viewIsCurrent = [&] { return current; };
  host.onApp = [&] {
    current = false;
    host.items.ResetContent();
    host.status.SetWindowText("another view's status");
  };
  host.PostMessage(WM_APP);
  krx::LoadCacheList(c, krx::CacheKind::kAll);
  EXPECT_EQ(host.items.GetCount(), 0);
  EXPECT_EQ(host.Status(), "another view's status");
}

}  // namespace

namespace {

// An entry above 4 GB, from a sparse file: its size is counted by both halves.
TEST_F(CacheFetch, AnEntryAboveFourGigabytesCountsWhole) {
  const std::string url = "http://huge.example/disk.img";
  char file[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "img", file, 0));
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (int64_t(5) << 30) + 7;
  const bool sized = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  if (!sized) GTEST_SKIP() << "no room for a sparse 5 GB file here";
  const FILETIME none = {};
  if (!CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, "img", nullptr)) {
    const DWORD error = GetLastError();
    DeleteFileA(file);
    GTEST_SKIP() << "the cache refused a 5 GB entry: " << error;
  }
  host.SetFilter(krx::kCacheFieldFileSize, krx::kCacheOpGreater, "5368709120");
  EXPECT_EQ(Fetch(), Set{url});
  EXPECT_EQ(host.Status(), "Total items: 1. Total size: 5,368,709,127 (5120.000MB).");
  DeleteUrlCacheEntryA(url.c_str());
}

}  // namespace

namespace {

// The zone's rule at each entry's own date, and dates past 2038, in the
// details and in the time filters. CTest runs this file's program with
// TZ=America/New_York (Wine takes the zone from TZ): winter UTC-5, summer UTC-4.
TEST_F(CacheFetch, TimesAcrossDaylightSavingAndPast2038) {
  TIME_ZONE_INFORMATION zone = {};
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID || zone.Bias != 300 || zone.DaylightBias != -60) {
    GTEST_SKIP() << "needs TZ=America/New_York, as CTest sets it";
  }
  // 23:30 on 15 January (winter) and 00:30 on 15 July (summer), local time:
  // with today's offset for both, one of them moves to another day.
  const std::string winter = "http://zone.example/winter", summer = "http://zone.example/summer";
  const std::string later = "http://zone.example/2040";
  ASSERT_TRUE(AddEntry(winter, 10, "htm", NORMAL_CACHE_ENTRY, FILETIME{}, Utc(2004, 1, 16, 4, 30, 0)));
  ASSERT_TRUE(AddEntry(summer, 10, "htm", NORMAL_CACHE_ENTRY, FILETIME{}, Utc(2004, 7, 15, 4, 30, 0)));
  ASSERT_TRUE(AddEntry(later, 10, "htm", NORMAL_CACHE_ENTRY, Utc(2040, 7, 1, 12, 0, 0), Utc(2040, 7, 1, 12, 0, 0)));
  auto modified = [](int y, int mo, int d, int h, int mi) {
    return "\r\nLastModifiedTime: " + krx::CacheTimeText(krx::LocalSeconds({y, mo, d, h, mi, 0})) + "\r\n";
  };
  EXPECT_NE(krx::CacheDetailsOf(winter).find(modified(2004, 1, 15, 23, 30)), std::string::npos);
  EXPECT_NE(krx::CacheDetailsOf(summer).find(modified(2004, 7, 15, 0, 30)), std::string::npos);
  const std::string details = krx::CacheDetailsOf(later);
  EXPECT_NE(details.find(modified(2040, 7, 1, 8, 0)), std::string::npos) << details;
  EXPECT_NE(details.find("\r\nExpireTime: 07/01/2040 12:00:00\r\n"), std::string::npos) << details;

  const struct {
    int field, op;
    const char* value;
    Set expected;
  } cases[] = {
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpLess, "1/16/2004", {winter}},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpGreater, "1/15/2004", {winter, summer, later}},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpGreater, "7/15/2004", {summer, later}},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpLess, "7/15/2004", {winter}},
      // A cookie expiring after 2038 has not expired, and a date typed past 2038 is a date.
      {krx::kCacheFieldExpireTime, krx::kCacheOpGreater, "1/1/2039", {later}},
      {krx::kCacheFieldExpireTime, krx::kCacheOpLess, "12/31/2030", {winter, summer}},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpGreaterEqual, "6/30/2040", {later}},
  };
  for (const auto& c : cases) {
    host.SetFilter(c.field, c.op, c.value);
    Set mine;
    for (const std::string& url : Fetch()) {
      if (url.rfind("http://zone.example/", 0) == 0) mine.insert(url);
    }
    EXPECT_EQ(mine, c.expected) << krx::kCacheFieldNames[c.field] << " " << krx::kCacheOperatorNames[c.op] << " "
                                << c.value;
    EXPECT_NE(host.Status(), krx::kCacheDateHint);
  }
}

// The listing order of the cache, for tests that need to know which entry
// comes first.
std::vector<std::string> EnumerationOrder() { return cache_test::Entries(nullptr); }

TEST_F(CacheFetch, AMatchFollowedByEntriesThatDoNotMatchIsShownDuringTheFetch) {
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(AddEntry("http://late.example/" + std::to_string(i), 100 + i, "htm"));
  // Only the first entry listed matches: the rest of the fetch finds nothing.
  const std::vector<std::string> order = EnumerationOrder();
  ASSERT_GE(order.size(), 30u);
  const std::string first = order.front();
  ASSERT_EQ(first.rfind("http://late.example/", 0), 0u);
  host.SetFilter(krx::kCacheFieldFileSize, krx::kCacheOpEqual, std::to_string(100 + std::stoi(first.substr(20))));
  krx::CacheViewControls c = host.Controls();
  // Called at every look at the queue; the sleeps let the refresh interval
  // pass while entries that do not match go by.
  int seenDuringFetch = 0;
  c.viewIsCurrent = [&] {
    seenDuringFetch = std::max(seenDuringFetch, host.items.GetCount());
    Sleep(40);
    return true;
  };
  krx::LoadCacheList(c, krx::CacheKind::kAll);
  EXPECT_EQ(host.Lines(), std::vector<std::string>{first});
  EXPECT_EQ(seenDuringFetch, 1);
}

TEST_F(CacheFetch, ADateCorrectedDuringTheFetchTakesItsHintAway) {
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(AddEntry("http://hint.example/" + std::to_string(i), 10, "htm"));
  krx::CacheViewControls c = host.Controls();
  int looks = 0;
  bool hintSeen = false;
  c.viewIsCurrent = [&] {
    ++looks;
    // A bad value typed at the first look, corrected at the third; the
    // posted message makes the next look read the controls again.
    if (looks == 1) host.SetFilter(krx::kCacheFieldLastAccessTime, krx::kCacheOpGreater, "13/45/");
    if (looks == 3) host.SetFilter(krx::kCacheFieldLastAccessTime, krx::kCacheOpGreater, "1/1/2004");
    if (looks == 3) hintSeen = host.Status() == krx::kCacheDateHint;
    if (looks == 1 || looks == 3) host.PostMessage(WM_NULL);
    Sleep(110);  // a new tick, and the refresh interval has passed
    return true;
  };
  krx::LoadCacheList(c, krx::CacheKind::kAll);
  ASSERT_GT(looks, 3);
  EXPECT_TRUE(hintSeen);
  EXPECT_EQ(host.Status().rfind("Total items: ", 0), 0u) << host.Status();
  EXPECT_GT(host.items.GetCount(), 0);
}

TEST_F(CacheFetch, TheListScrollsToItsLongestAddressAfterAFetch) {
  const std::string longest = "http://wide.example/" + std::string(400, 'w');
  ASSERT_TRUE(AddEntry("http://wide.example/short", 10, "htm"));
  ASSERT_TRUE(AddEntry(longest, 10, "htm"));
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(AddEntry("http://wide.example/" + std::to_string(i), 10, "htm"));
  krx::CacheViewControls c = host.Controls();
  c.viewIsCurrent = [&] {
    Sleep(110);  // the lines go into the list in several parts
    return true;
  };
  krx::LoadCacheList(c, krx::CacheKind::kAll);
  ASSERT_TRUE(host.items.Holds(longest));
  RECT client = {};
  GetClientRect(host.items, &client);
  const int extent = int(host.items.SendMessage(LB_GETHORIZONTALEXTENT));
  EXPECT_GT(extent, client.right * 2);
}

TEST_F(CacheFetch, AnEntryBufferNeverGrowsToAnAbsurdSize) {
  krx::CacheEntryBuffer buffer;
  const struct {
    DWORD reported;
    bool grows;
  } cases[] = {{20000, true}, {krx::CacheEntryBuffer::kMaxSize, true}, {krx::CacheEntryBuffer::kMaxSize + 1, false},
               {0xFFFFFFF9u, false}, {0xFFFFFFFFu, false}};
  for (const auto& c : cases) {
    *buffer.Prepare() = c.reported;
    EXPECT_EQ(buffer.Grow(), c.grows) << c.reported;
    const DWORD room = *buffer.Prepare();
    if (c.grows) {
      EXPECT_GE(room, c.reported);
    }
    EXPECT_LE(room, krx::CacheEntryBuffer::kMaxSize);
    EXPECT_EQ(buffer.info()->dwStructSize, room);  // writable to its end
    reinterpret_cast<char*>(buffer.info())[room - 1] = 1;
  }
}

}  // namespace
