// The browser-cache filter, its date rule, and the cache view's texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/cache_filter.h"
#include "core/cache_text.h"
#include "core/list_refresh.h"

namespace {

using krx::CacheEntryFacts;
using krx::CacheFilter;

int64_t Local(int y, int mo, int d, int h = 0, int mi = 1, int s = 1) {
  return krx::LocalSeconds(krx::CalendarTime{y, mo, d, h, mi, s});
}

TEST(CacheFilter, LeadingNumber) {
  const struct {
    const char* text;
    int64_t n;
  } cases[] = {{"100000", 100000}, {"  42kb", 42}, {"-7", -7}, {"+8", 8}, {"", 0}, {"abc", 0},
               {"12/31/2004", 12}, {"99999999999999999999999", INT64_MAX}};
  for (const auto& c : cases) EXPECT_EQ(krx::LeadingNumber(c.text), c.n) << c.text;
}

TEST(CacheFilter, DateRuleNormalisesLikeMktime) {
  const struct {
    const char* text;
    int64_t expected;
  } cases[] = {
      {"12/31/2004", Local(2004, 12, 31)},
      {"0/15/2005", Local(2004, 12, 15)},   // month 0: December of the year before
      {"3/0/2005", Local(2005, 2, 28)},     // day 0: last day of the month before
      {"13/1/2004", Local(2005, 1, 1)},
      {" 7 / 4 / 2010 junk", Local(2010, 7, 4)},
      {"1/1/1970", Local(1970, 1, 1)},
  };
  for (const auto& c : cases) {
    if (c.expected <= 0) continue;  // a zone east of UTC puts 1/1/1970 00:01:01 before the epoch
    int64_t seconds = -5;
    ASSERT_TRUE(krx::FilterDateSeconds(c.text, &seconds)) << c.text;
    EXPECT_EQ(seconds, c.expected) << c.text;
  }
  // The time of day is 00:01:01.
  int64_t a = 0, b = 0;
  ASSERT_TRUE(krx::FilterDateSeconds("6/1/2010", &a));
  ASSERT_TRUE(krx::FilterDateSeconds("6/2/2010", &b));
  EXPECT_EQ(b - a, 86400);
  EXPECT_EQ(a, Local(2010, 6, 1, 0, 0, 0) + 61);
}

TEST(CacheFilter, ValuesThatNameNoDate) {
  for (const char* text : {"", "mm/dd/yyyy", "12/31/1969", "1/1/1900", "12/31", "5", "1/1/99999999999"}) {
    int64_t seconds = 0;
    EXPECT_FALSE(krx::FilterDateSeconds(text, &seconds)) << text;
    CacheFilter filter(krx::kCacheFieldLastAccessTime, krx::kCacheOpGreaterEqual, text);
    EXPECT_FALSE(filter.valid()) << text;
    EXPECT_FALSE(filter.Passes(CacheEntryFacts{})) << text;
  }
  // The same value is harmless for a field that is no time.
  EXPECT_TRUE(CacheFilter(krx::kCacheFieldFileSize, krx::kCacheOpGreaterEqual, "mm/dd/yyyy").valid());
}

TEST(CacheFilter, EntryTimesBefore1900CountAsZero) {
  EXPECT_EQ(Local(1601, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(Local(1899, 12, 31, 23, 59, 59), 0);
  EXPECT_GT(Local(2004, 12, 31), 0);
}

// Times are counted in 64 bits from the calendar: nothing ends in 2038,
// and the count is the same in every time zone.
TEST(CacheFilter, DatesPast2038AndTheEdges) {
  const struct {
    krx::CalendarTime time;
    int64_t seconds;
    const char* weekday;  // of "%c" where the C library prints one
  } cases[] = {
      {{1970, 1, 1, 0, 0, 0}, 0, "Thu"},
      {{1969, 12, 31, 23, 59, 59}, -1, "Wed"},
      {{1900, 1, 1, 0, 0, 0}, -2208988800, "Mon"},
      {{2038, 1, 19, 3, 14, 7}, 2147483647, "Tue"},
      {{2038, 1, 19, 3, 14, 8}, 2147483648, "Tue"},
      {{2040, 2, 29, 13, 5, 9}, 2214133509, "Wed"},
      {{9999, 12, 31, 23, 59, 59}, 253402300799, "Fri"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(krx::LocalSeconds(c.time), c.seconds);
    const krx::CalendarTime back = krx::CalendarOfSeconds(c.seconds);
    EXPECT_EQ(std::vector<int>({back.year, back.month, back.day, back.hour, back.minute, back.second}),
              std::vector<int>({c.time.year, c.time.month, c.time.day, c.time.hour, c.time.minute, c.time.second}));
    const std::string text = krx::CacheTimeText(c.seconds);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", c.time.hour, c.time.minute, c.time.second);
    EXPECT_NE(text.find(clock), std::string::npos) << text;
    const std::string year = std::to_string(c.time.year);
    EXPECT_TRUE(text.find(year) != std::string::npos || text.find("/" + year.substr(2) + " ") != std::string::npos)
        << text;
    if (text.find(year) != std::string::npos) {
      EXPECT_EQ(text.substr(0, 3), c.weekday) << text;
    }
  }
  // Before 1900 (the cache's empty times are 1601) counts as 0, and shows as 0 does.
  EXPECT_EQ(krx::LocalSeconds({1601, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(krx::CacheTimeText(krx::LocalSeconds({1601, 1, 1, 0, 0, 0})), krx::CacheTimeText(0));
  EXPECT_EQ(krx::CacheTimeText(-2208988801), "");  // 1899: no entry time gives it
  EXPECT_EQ(krx::CacheTimeText(INT64_MAX), "");
  EXPECT_EQ(krx::CacheTimeText(INT64_MIN), "");

  // Typed dates past 2038 are dates like any other.
  int64_t seconds = 0;
  ASSERT_TRUE(krx::FilterDateSeconds("1/1/2040", &seconds));
  EXPECT_EQ(seconds, 2208988861);
  ASSERT_TRUE(krx::FilterDateSeconds("3/0/2040", &seconds));  // the leap day
  EXPECT_EQ(seconds, Local(2040, 2, 29));
  ASSERT_TRUE(krx::FilterDateSeconds("1/1/1970", &seconds));
  EXPECT_EQ(seconds, 61);
  EXPECT_FALSE(krx::FilterDateSeconds("0/31/1970", &seconds));  // 31 December 1969

  // A cookie that expires in 2040 has not expired in 2030, and 2038 lies between.
  krx::CacheEntryFacts later, sooner;
  later.time = Local(2040, 6, 1, 12, 0, 0);
  sooner.time = Local(2037, 6, 1, 12, 0, 0);
  const CacheFilter expired(krx::kCacheFieldExpireTime, krx::kCacheOpLess, "1/1/2030");
  EXPECT_FALSE(expired.Passes(later));
  const CacheFilter after2038(krx::kCacheFieldExpireTime, krx::kCacheOpGreater, "1/20/2038");
  EXPECT_TRUE(after2038.Passes(later));
  EXPECT_FALSE(after2038.Passes(sooner));
}

TEST(ListRefresh, ShowsAChangeOnceItsTimeHasComeWhateverCameAfter) {
  // Events: 'c' a change, else a look at time t; expected: shown at that look.
  const struct {
    uint32_t start;
    struct Step {
      char what;
      uint32_t t;
      bool due;
    } steps[7];
  } runs[] = {
      // A match at 10, then only entries that do not match: shown at 100.
      {0, {{'c', 10, false}, {'l', 50, false}, {'l', 99, false}, {'l', 100, true}, {'l', 150, false}, {'l', 400, false}}},
      // A change soon after a refresh waits for the interval from that refresh.
      {0, {{'c', 100, true}, {'c', 120, false}, {'l', 199, false}, {'l', 200, true}}},
      // The millisecond clock wraps.
      {0xFFFFFFF0u, {{'c', 0xFFFFFFF8u, false}, {'l', 0x40, false}, {'l', 0x54, true}}},
  };
  for (const auto& run : runs) {
    krx::ListRefresh refresh(run.start, 100);
    for (const auto& step : run.steps) {
      if (step.what == 0) break;
      if (step.what == 'c') refresh.Changed();
      EXPECT_EQ(refresh.Due(step.t), step.due) << run.start << " " << step.what << " " << step.t;
    }
  }
}

TEST(CacheFilter, FieldsAndOperators) {
  CacheEntryFacts big;
  big.size = (int64_t(1) << 32) + 5;  // large only by its high half
  big.hitRate = 7;
  big.useCount = 0xFFFFFFFFu;
  big.extension = "GIF";
  big.time = Local(2004, 12, 30, 12, 0, 0);
  CacheEntryFacts small;
  small.size = 100000;
  small.hitRate = 1;
  small.extension = "gif";
  small.time = Local(2004, 12, 31, 0, 1, 1);  // exactly the filter's moment

  const struct {
    int field, op;
    const char* value;
    bool big, small;
  } cases[] = {
      {krx::kCacheFieldAll, krx::kCacheOpEqual, "anything", true, true},
      {-1, krx::kCacheOpEqual, "", true, true},  // no field chosen lists everything
      {krx::kCacheFieldFileSize, krx::kCacheOpGreater, "100000", true, false},
      {krx::kCacheFieldFileSize, krx::kCacheOpGreaterEqual, "100000", true, true},
      {krx::kCacheFieldFileSize, krx::kCacheOpLessEqual, "100000", false, true},
      {krx::kCacheFieldFileSize, krx::kCacheOpGreater, "5000000000", false, false},
      {krx::kCacheFieldFileSize, krx::kCacheOpGreater, "-1", true, true},  // signed comparison
      {krx::kCacheFieldFileExtension, krx::kCacheOpEqual, "gif", false, true},
      {krx::kCacheFieldFileExtension, krx::kCacheOpNotEqual, "gif", true, false},
      {krx::kCacheFieldFileExtension, krx::kCacheOpLess, "a", true, false},  // 'G' sorts before 'a'
      {krx::kCacheFieldHitRate, krx::kCacheOpGreater, "1", true, false},
      {krx::kCacheFieldHitRate, krx::kCacheOpEqual, "1", false, true},
      {krx::kCacheFieldUseCount, krx::kCacheOpEqual, "-1", true, false},  // unsigned: -1 is 0xFFFFFFFF
      {krx::kCacheFieldUseCount, krx::kCacheOpLess, "1", false, true},
      {krx::kCacheFieldLastAccessTime, krx::kCacheOpLess, "12/31/2004", true, false},
      {krx::kCacheFieldLastAccessTime, krx::kCacheOpLessEqual, "12/31/2004", true, true},
      {krx::kCacheFieldExpireTime, krx::kCacheOpEqual, "12/31/2004", false, true},
      {krx::kCacheFieldLastModifiedTime, krx::kCacheOpNotEqual, "12/31/2004", true, false},
      {krx::kCacheFieldLastSyncTime, krx::kCacheOpGreater, "12/30/2004", true, true},
      {krx::kCacheFieldFileSize, -1, "0", false, false},  // no operator chosen
  };
  for (const auto& c : cases) {
    CacheFilter filter(c.field, c.op, c.value);
    EXPECT_EQ(filter.Passes(big), c.big) << c.field << " " << c.op << " " << c.value;
    EXPECT_EQ(filter.Passes(small), c.small) << c.field << " " << c.op << " " << c.value;
  }
}

TEST(CacheText, Totals) {
  EXPECT_EQ(krx::CacheTotalsText(1, 1048576, true), "Total items: 1. Total size: 1,048,576 (1.000MB).");
  EXPECT_EQ(krx::CacheTotalsText(0, 0, false), "Total items: 0. Total size: 0 (0.000MB). Press ESC to break.");
  EXPECT_EQ(krx::CacheTotalsText(2, 123, true), "Total items: 2. Total size: 123 (0.000MB).");
  EXPECT_EQ(krx::CacheTotalsText(3, 1234567, true), "Total items: 3. Total size: 1,234,567 (1.177MB).");
  // The full 64-bit size: 5 GB and a little.
  EXPECT_EQ(krx::CacheTotalsText(1, (int64_t(5) << 30) + 1, true),
            "Total items: 1. Total size: 5,368,709,121 (5120.000MB).");
  EXPECT_EQ(krx::CacheTotalsPlainText(7, (int64_t(1) << 32) + 1048576), "Total items: 7. Total size: 4296015872.");
  EXPECT_EQ(krx::GroupDigits(100), "100");
  EXPECT_EQ(krx::GroupDigits(1000), "1,000");
  EXPECT_EQ(krx::GroupDigits(100000), "100,000");
  EXPECT_EQ(krx::GroupDigits(UINT64_MAX), "18,446,744,073,709,551,615");
}

TEST(CacheText, TypeAndExpire) {
  EXPECT_EQ(krx::CacheTypeText(0x1), "Normal cache entry");
  EXPECT_EQ(krx::CacheTypeText(0x100000 | 0x4 | 0x1), "Normal cache entry, Sticky cache entry, Cookie cache entry");
  EXPECT_EQ(krx::CacheTypeText(0x200000 | 0x20 | 0x10 | 0x10000),
            "Sparse cache entry, Track offline cache entry, Track online cache entry, URLHistory cache entry");
  EXPECT_EQ(krx::CacheTypeText(0), "");
  EXPECT_EQ(krx::CacheTypeText(0x2 | 0x40), "");  // flags without a name
  EXPECT_EQ(krx::CacheExpireText({2004, 12, 31, 23, 5, 9}), "12/31/2004 23:05:09");
  // The cache's zero time (a cookie without expiry) is no date to show,
  // nor is a time the system could not convert.
  EXPECT_EQ(krx::CacheExpireText({1601, 1, 1, 0, 0, 0}), "");
  EXPECT_EQ(krx::CacheExpireText({}), "");
  EXPECT_EQ(krx::CacheExpireText({1900, 1, 1, 0, 0, 0}), "01/01/1900 00:00:00");
}

TEST(CacheText, Addresses) {
  EXPECT_EQ(krx::CookieUrlForEntry("Cookie:root@a.example/path@x"), "http://a.example/path@x");
  EXPECT_EQ(krx::CookieUrlForEntry("http://plain/"), "http://plain/");
  EXPECT_EQ(krx::CacheNotFoundText("http://x/"), "The cache files of http://x/ is not found.");

  using krx::CacheLogView;
  const struct {
    const char* line;
    CacheLogView view;
    const char* target;  // null: nothing is done
  } cases[] = {
      {"<07/01/2004 10:00:00> http://a.example/ - Title", CacheLogView::kVisit, "http://a.example/"},
      {"<07/01/2004 10:00:00> http://a.example/ - C:\\f.swf", CacheLogView::kFlash, "C:\\f.swf"},
      {"<07/01/2004 10:00:00> http://a.example/ - t - u", CacheLogView::kFlash, "t - u"},
      {"no bracket - here", CacheLogView::kVisit, nullptr},
      {"<07/01/2004> http://a.example/", CacheLogView::kVisit, nullptr},
      {"ends>", CacheLogView::kVisit, nullptr},
      {"x> - y", CacheLogView::kVisit, nullptr},  // the blank after '>' is skipped with the dash's blank
      {"x>  - y", CacheLogView::kVisit, ""},
  };
  for (const auto& c : cases) {
    const auto target = krx::CacheDeleteTarget(c.line, c.view);
    if (c.target == nullptr) {
      EXPECT_FALSE(target.has_value()) << c.line;
    } else {
      ASSERT_TRUE(target.has_value()) << c.line;
      EXPECT_EQ(*target, c.target) << c.line;
    }
  }
}

}  // namespace
