// An entry's details and deleting cache files, against Wine's real URL cache.
#include <gtest/gtest.h>

#include "cache/cache_entry.h"
#include "cache/cache_view.h"
#include "cache_fill_win32.h"
#include "cache_host_win32.h"
#include "core/cache_text.h"
#include "support/box_answerer_win32.h"
#include "support/message_box_catcher_win32.h"
#include "support/window_capture_win32.h"

namespace {

using cache_test::AddEntry;
using cache_test::Entries;
using cache_test::Utc;

bool InCache(const std::string& url) {
  krx::CacheEntryBuffer buffer;
  return krx::ReadCacheEntry(url, buffer);
}

std::string LocalFileOf(const std::string& url) {
  krx::CacheEntryBuffer buffer;
  return krx::ReadCacheEntry(url, buffer) ? krx::Text(buffer.info()->lpszLocalFileName) : "";
}

class CacheDetailsDelete : public ::testing::Test {
 protected:
  void SetUp() override {
    cache_test::ClearCache();
    ASSERT_TRUE(host.Open());
  }
  void ShowDetailsOf(const std::string& line) {
    host.AddLines({line});
    host.items.SetCaretIndex(host.items.FindStringExact(-1, line));
    krx::ShowCacheDetails(host.Controls());
  }
  cache_test::CacheHost host;
};

TEST_F(CacheDetailsDelete, DetailsOfAContentEntry) {
  const std::string url = "http://details.example/pic.gif";
  ASSERT_TRUE(AddEntry(url, 150000, "gif", NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY, Utc(2030, 5, 6, 7, 8, 10),
                       Utc(2003, 6, 1)));
  ShowDetailsOf(url);
  const std::string text = host.Details();
  const std::string head = "SourceUrl: " + url + "\r\nLocalFileName: " + LocalFileOf(url) +
                           "\r\nCacheType: Normal cache entry, Sticky cache entry\r\nUseCount: 0\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("\r\nFileSize: 150000\r\nFileExtension: gif\r\nLastModifiedTime: "), std::string::npos) << text;
  // The expire time as stored, in UTC; the others in local time by the C library.
  EXPECT_NE(text.find("\r\nExpireTime: 05/06/2030 07:08:10\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("Cookie content"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(CacheDetailsDelete, DetailsOfACookieReadTheWholeContent) {
  // Three cookies of 3,000 bytes each: more than the 8,192 bytes the data
  // was once read into.
  const std::string url = "http://crumbs.details.example/";
  std::string expected;
  for (int i = 0; i < 3; ++i) {
    const std::string pair = "c" + std::to_string(i) + "=" + std::string(3000, char('a' + i));
    ASSERT_TRUE(cache_test::AddCookie(url, pair));
  }
  const auto cookies = Entries("Cookie:");
  ASSERT_EQ(cookies.size(), 1u);
  ShowDetailsOf(cookies[0]);
  const std::string text = host.Details();
  EXPECT_NE(text.find("CacheType: Cookie cache entry"), std::string::npos) << text;
  const size_t content = text.find(krx::kCookieContentHeading);
  ASSERT_NE(content, std::string::npos) << text;
  const std::string data = text.substr(content + std::string(krx::kCookieContentHeading).size());
  EXPECT_GT(data.size(), 9000u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(data.find("c" + std::to_string(i) + "=" + std::string(3000, char('a' + i))), std::string::npos);
  }
}

TEST_F(CacheDetailsDelete, DetailsOfAnEntryThatIsGoneAreEmpty) {
  host.details.SetWindowText("stale");
  ShowDetailsOf("http://gone.example/");
  EXPECT_EQ(host.Details(), "");
}

TEST_F(CacheDetailsDelete, DeleteCacheEntryAndItsTwoMessages) {
  const std::string plain = "http://delete.example/plain.htm";
  const std::string locked = "http://delete.example/locked.htm";
  ASSERT_TRUE(AddEntry(plain, 100, "htm"));
  ASSERT_TRUE(AddEntry(locked, 100, "htm"));
  const std::string plainFile = LocalFileOf(plain);
  std::vector<char> info(8192);
  DWORD size = DWORD(info.size());
  ASSERT_TRUE(RetrieveUrlCacheEntryFileA(locked.c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(info.data()),
                                         &size, 0));

  const struct {
    std::string url;
    bool deleted;
    std::string message;  // empty: none
  } cases[] = {
      {plain, true, ""},
      {locked, false, krx::kCacheLockedText},
      {"http://delete.example/never.htm", false, "The cache files of http://delete.example/never.htm is not found."},
  };
  for (const auto& c : cases) {
    krx_test::MessageBoxCatcher catcher;
    EXPECT_EQ(krx::DeleteCacheEntry(c.url, 2), c.deleted) << c.url;
    krx_test::PumpMessages();
    if (c.message.empty()) {
      EXPECT_TRUE(catcher.texts().empty()) << c.url;
    } else {
      EXPECT_EQ(catcher.texts(), std::vector<std::string>{c.message}) << c.url;
    }
  }
  EXPECT_FALSE(InCache(plain));
  EXPECT_EQ(GetFileAttributesA(plainFile.c_str()), INVALID_FILE_ATTRIBUTES);
  UnlockUrlCacheEntryFileA(locked.c_str(), 0);
}

TEST_F(CacheDetailsDelete, DeleteSelectedInTheCacheView) {
  std::vector<std::string> urls;
  for (int i = 0; i < 4; ++i) {
    urls.push_back("http://select.example/" + std::to_string(i));
    ASSERT_TRUE(AddEntry(urls.back(), 10, "htm"));
  }
  krx::LoadCacheList(host.Controls(), krx::CacheKind::kAll);
  ASSERT_EQ(host.Lines(), urls);
  host.Select({urls[1], urls[3]});
  krx::ShowCacheDetails(host.Controls());
  ASSERT_NE(host.Details().find(urls[3]), std::string::npos);
  {
    krx_test::BoxAnswerer no({IDCANCEL});
    krx::DeleteSelectedCacheFiles(host.Controls(), krx::kCacheView);
    EXPECT_EQ(no.texts(), std::vector<std::string>{krx::kCacheDeleteQuestion});
  }
  EXPECT_EQ(host.Lines(), urls);
  {
    krx_test::BoxAnswerer yes;
    krx::DeleteSelectedCacheFiles(host.Controls(), krx::kCacheView);
  }
  EXPECT_EQ(host.Lines(), (std::vector<std::string>{urls[0], urls[2]}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(InCache(urls[i]), i % 2 == 0) << urls[i];
  // The totals and the details no longer show what went.
  EXPECT_EQ(host.Status(), krx::CacheTotalsText(2, 20, true));
  EXPECT_EQ(host.Details(), "");
}

TEST_F(CacheDetailsDelete, EscapeDuringADeleteLeavesTheRest) {
  std::vector<std::string> urls;
  for (int i = 0; i < 6; ++i) {
    urls.push_back("http://escape.delete.example/" + std::to_string(i));
    ASSERT_TRUE(AddEntry(urls.back(), 10, "htm"));
  }
  host.AddLines(urls);
  host.Select(urls);
  // Escape while the fifth line is handled (painting reads lines too, but
  // not under the wait window).
  HWND waitWindow = nullptr;
  host.items.onRead = [&](int index) {
    HWND wait = FindWindowA(nullptr, "Please Wait...");
    if (wait == nullptr || index != 4) return;
    waitWindow = wait;
    cache_test::PressEscape();
  };
  krx_test::BoxAnswerer yes;
  krx::DeleteSelectedCacheFiles(host.Controls(), krx::kCacheView);
  // The last two selected lines were handled (from the last back); Escape came before the third.
  EXPECT_EQ(host.Lines(), (std::vector<std::string>{urls[0], urls[1], urls[2], urls[3]}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(InCache(urls[i]), i < 4) << urls[i];
  EXPECT_NE(waitWindow, nullptr);
  EXPECT_FALSE(IsWindow(waitWindow));
}

}  // namespace
