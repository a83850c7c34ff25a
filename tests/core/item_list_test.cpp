// The item list's lines and status texts per view, and the order a sorted
// list box gives lines added one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "core/item_list.h"
#include "core/sorted_list_order.h"

namespace {

using krx::StringArray;

TEST(ItemList, LinesOfADayAreThoseQuotingTheDateAfterAnAngleBracket) {
  const StringArray log = {"<07/01/2004 09:00> http://a/ - t",   "<<07/01/2004 10:00> http://b/ - t",
                           "<07/02/2004 09:00> see <07/01/2004", "nospace",
                           "<07/01/20045 x",                      "<07/02/2004 09:00> http://c/ - t",
                           "07/01/2004 without bracket"};
  struct Case {
    int view;
    std::string date;
    StringArray expected;
  } cases[] = {
      // A key also matches a longer key and another day's line quoting it.
      {179, "07/01/2004", {log[0], log[1], log[2], log[4]}},
      {180, "07/02/2004", {log[2], log[5]}},
      // The empty key (from a line without a blank) lists every line with "<".
      {181, "", {log[0], log[1], log[2], log[4], log[5]}},
      {185, "12/31/2003", {}},
      // The lists are listed whole, the cache view not at all.
      {182, "ignored", log},
      {183, "", log},
      {184, "07/01/2004", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(krx::ItemListLines(c.view, log, c.date), c.expected) << c.view << " " << c.date;
  EXPECT_FALSE(krx::IsLineOfDay("<07/01/200", "07/01/2004"));  // the date cut short by the line's end
  EXPECT_TRUE(krx::IsLineOfDay("x<y<07/01/2004", "07/01/2004"));
}

TEST(ItemList, HeldLinesAreSkippedInTheListsAlwaysAndInLogsOnlyWhenToppingUp) {
  for (int view : {179, 180, 181, 185}) {
    EXPECT_FALSE(krx::SkipsHeldLines(view, true)) << view;
    EXPECT_TRUE(krx::SkipsHeldLines(view, false)) << view;
  }
  for (int view : {182, 183}) {
    EXPECT_TRUE(krx::SkipsHeldLines(view, true)) << view;
    EXPECT_TRUE(krx::SkipsHeldLines(view, false)) << view;
  }
  struct {
    int view;
    krx::RecordCollection collection;
  } views[] = {{179, krx::kVisitRecords}, {180, krx::kBlockRecords}, {181, krx::kFlashRecords},
               {185, krx::kMediaRecords}, {182, krx::kWhiteList},    {183, krx::kForbiddenList}};
  for (const auto& v : views) {
    krx::RecordCollection c = krx::kVisitRecords;
    ASSERT_TRUE(krx::CollectionOfView(v.view, c)) << v.view;
    EXPECT_EQ(c, v.collection) << v.view;
  }
  krx::RecordCollection none = krx::kVisitRecords;
  EXPECT_FALSE(krx::CollectionOfView(184, none));
  EXPECT_FALSE(krx::CollectionOfView(178, none));
}

TEST(ItemList, StatusTextsPerView) {
  const struct {
    int view;
    size_t count;
    const char* text;
  } cases[] = {
      {179, 12, "The number of web pages visited on 07/01/2004 is: 12"},
      {180, 0, "The number of popup windows blocked on 07/01/2004 is: 0"},
      {181, 1, "The number of flash objects recorded on 07/01/2004 is: 1"},
      {185, 3, "The number of media address is: 3"},
      {182, 2, "The number of addresses in white list is: 2"},
      {183, 100000, "The number of forbidden sites is: 100000"},
  };
  for (const auto& c : cases) EXPECT_EQ(krx::ItemListStatusText(c.view, "07/01/2004", c.count), c.text);
  EXPECT_FALSE(krx::ItemListStatusText(184, "07/01/2004", 5).has_value());
  EXPECT_EQ(*krx::ItemListStatusText(179, "", 4), "The number of web pages visited on  is: 4");
}

TEST(ItemList, CacheFieldEnablesItsFilterUnlessAllAndAsksTimeFieldsForADate) {
  const struct {
    int field;
    bool enabled;
    const char* text;
  } cases[] = {{0, false, nullptr}, {1, true, nullptr}, {4, true, nullptr}, {5, true, "mm/dd/yyyy"},
               {8, true, "mm/dd/yyyy"}, {-1, true, nullptr}};
  for (const auto& c : cases) {
    const krx::CacheFieldControls got = krx::CacheFieldChosen(c.field);
    EXPECT_EQ(got.enabled, c.enabled) << c.field;
    EXPECT_EQ(got.valueText ? std::string(got.valueText) : "-", c.text ? std::string(c.text) : "-") << c.field;
  }
}

TEST(ItemList, RemoveFirstTakesOnlyTheFirstExactMatch) {
  StringArray a = {"a", "B", "b", "a"};
  EXPECT_TRUE(krx::RemoveFirst(a, "a"));
  EXPECT_EQ(a, (StringArray{"B", "b", "a"}));
  EXPECT_TRUE(krx::RemoveFirst(a, "b"));
  EXPECT_EQ(a, (StringArray{"B", "a"}));
  EXPECT_FALSE(krx::RemoveFirst(a, "A"));
  EXPECT_FALSE(krx::RemoveFirst(a, ""));
  EXPECT_EQ(a.size(), 2u);
}

// The list box itself: a binary search per added line, the new line put in
// front of the first equal line met, else after the smaller ones.
std::vector<size_t> AddOneByOne(size_t count, const std::function<int(size_t, size_t)>& compare) {
  std::vector<size_t> list;
  for (size_t line = 0; line < count; ++line) {
    long long low = 0, high = static_cast<long long>(list.size()) - 1, at = -1;
    while (low <= high && at < 0) {
      const long long index = (low + high) / 2;
      const int res = compare(list[size_t(index)], line);
      if (res == 0) at = index;
      else if (res > 0) high = index - 1;
      else low = index + 1;
    }
    list.insert(list.begin() + (at >= 0 ? at : low), line);
  }
  return list;
}

int CaseBlind(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int d = std::tolower(static_cast<unsigned char>(a[i])) - std::tolower(static_cast<unsigned char>(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

TEST(SortedListOrder, MatchesAddingOneByOneAlsoAmongEqualLines) {
  std::mt19937 random(9);
  // Few letters and short lines: many case-blind equal runs of every length.
  for (size_t count : {0, 1, 2, 3, 7, 16, 100, 1000, 3000}) {
    for (int alphabet : {1, 2, 4}) {
      StringArray lines(count);
      for (std::string& line : lines) {
        const size_t length = random() % 4;
        for (size_t i = 0; i < length; ++i) line += "aAbBcC"[random() % (2 * alphabet < 6 ? 2 * alphabet : 6)];
      }
      auto compare = [&](size_t a, size_t b) { return CaseBlind(lines[a], lines[b]); };
      const std::vector<size_t> expected = AddOneByOne(count, compare);
      std::vector<size_t> order;
      ASSERT_TRUE(krx::SortedListOrder(count, compare, order));
      EXPECT_EQ(order, expected) << count << " lines, alphabet " << alphabet;
      // A good guess is taken after checking, a wrong one corrected.
      std::vector<size_t> guess = expected;
      std::reverse(guess.begin(), guess.end());
      ASSERT_TRUE(krx::SortedListOrder(count, compare, order, &guess));
      EXPECT_EQ(order, expected);
      std::sort(guess.begin(), guess.end(), [&](size_t a, size_t b) { return compare(a, b) < 0; });
      ASSERT_TRUE(krx::SortedListOrder(count, compare, order, &guess));
      EXPECT_EQ(order, expected);
    }
  }
}

TEST(SortedListOrder, AnInconsistentComparisonIsRefused) {
  std::vector<size_t> order;
  EXPECT_FALSE(krx::SortedListOrder(5, [](size_t, size_t) { return 1; }, order));
  EXPECT_TRUE(order.empty());
  // Everything equal is consistent: the order is then all history.
  ASSERT_TRUE(krx::SortedListOrder(6, [](size_t, size_t) { return 0; }, order));
  EXPECT_EQ(order, AddOneByOne(6, [](size_t, size_t) { return 0; }));
}

}  // namespace
