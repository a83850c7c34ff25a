// The date list of a log view: distinct date keys in order of appearance,
// under the progress window.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/date_list.h"
#include "support/test_support.h"

namespace {

TEST(DateList, EachKeyOnceWithoutLeadingAnglesAndAnEmptyKeyForALineWithoutSpace) {
  krx::RecordCollections c;
  c[krx::kBlockRecords] = {"<<07/01/2004 09:00> a", "nospace", "<07/02/2004 x", "<07/01/2004 y", "other", "<<<07/02/2004 z"};
  krx::StringArray dates{"06/30/2004"};
  krx_test::ProgressLog log("start ");
  ASSERT_TRUE(krx::BuildDateList(180, c, dates, log));
  EXPECT_EQ(dates, (krx::StringArray{"06/30/2004", "07/01/2004", "", "07/02/2004"}));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"start Reading BlockLog, please wait... 6", "step 0", "step 1", "step 2",
                                                 "step 3", "step 4", "step 5", "done"}));
  // A refresh adds only the new days.
  c[krx::kBlockRecords].push_back("<07/03/2004 w");
  EXPECT_EQ(krx::AddDateKeys(c[krx::kBlockRecords], dates, log), 1u);
  EXPECT_EQ(dates.back(), "07/03/2004");
}

TEST(DateList, OnlyTheFourLogViewsHaveDates) {
  krx::RecordCollections c;
  c[krx::kWhiteList] = {"http://a.example/"};
  krx::StringArray dates;
  krx_test::ProgressLog log("start ");
  for (int view : {182, 183, 184}) EXPECT_FALSE(krx::BuildDateList(view, c, dates, log));
  EXPECT_TRUE(log.calls.empty());
  // An empty log still opens and closes the progress window.
  EXPECT_TRUE(krx::BuildDateList(185, c, dates, log));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"start Reading MediaLog, please wait... 0", "done"}));
  EXPECT_STREQ(krx::FindLogView(179)->waitText, "Reading VisitLog, please wait...");
  EXPECT_STREQ(krx::FindLogView(181)->waitText, "Reading FlashLog, please wait...");
  EXPECT_TRUE(dates.empty());
}

// The day chosen on entering a log view: the one last chosen while listed,
// else the newest by date, not by the list's text order (where 12/31/2003
// sorts after 01/02/2004).
TEST(DateList, DayToChooseIsTheLastChosenWhileListedElseTheNewestByDate) {
  const std::optional<std::string> none;
  const struct {
    krx::StringArray days;
    std::optional<std::string> last;
    int chosen;
  } rows[] = {
      {{}, "01/02/2004", -1},
      {{"01/02/2004", "06/15/2003", "12/31/2003"}, none, 0},
      {{"02/01/2004", "12/30/2004", "12/31/2003"}, none, 1},
      {{"01/02/2004", "12/31/2003"}, "12/31/2003", 1},
      {{"01/02/2004", "12/31/2003"}, "01/01/2004", 0},  // a day since deleted counts no more
      // Keys that read as no date rank below every date.
      {{"", "07/01/2004", "1/2/2004", "13/01/2004", "x"}, none, 1},
      {{"", "13/01/2004", "zz"}, none, 2},
  };
  for (const auto& row : rows)
    EXPECT_EQ(krx::DayToChoose(row.days, row.last), row.chosen) << ::testing::PrintToString(row.days);
}

// The date list's order: by date across months, years and leap days; keys
// that read as no date first, the empty key before them all.
TEST(DateList, DaysListInDateOrderWithUnreadableKeysFirst) {
  const struct {
    krx::StringArray added;  // in the order the log brings them
    krx::StringArray listed;
  } rows[] = {
      {{"01/02/2026", "12/31/2025"}, {"12/31/2025", "01/02/2026"}},
      {{"03/01/2024", "02/29/2024", "02/28/2024", "01/31/2024"},
       {"01/31/2024", "02/28/2024", "02/29/2024", "03/01/2024"}},
      {{"10/01/2004", "09/30/2004", "02/01/2004", "11/15/2003", "01/01/2005"},
       {"11/15/2003", "02/01/2004", "09/30/2004", "10/01/2004", "01/01/2005"}},
      // Months and days compare as numbers of a date, not as text.
      {{"12/01/1999", "01/12/2000", "02/01/1999"}, {"02/01/1999", "12/01/1999", "01/12/2000"}},
      {{"07/01/2004", "x", "", "13/01/2004", "1/2/2004"}, {"", "1/2/2004", "13/01/2004", "x", "07/01/2004"}},
      {{"06/30/2004", ""}, {"", "06/30/2004"}},
      {{}, {}},
  };
  for (const auto& row : rows) {
    // Added one by one, each at its place, as a merge brings new days.
    krx::StringArray listed;
    for (const std::string& key : row.added)
      listed.insert(listed.begin() + std::ptrdiff_t(krx::DateListInsertIndex(listed, key)), key);
    EXPECT_EQ(listed, row.listed) << ::testing::PrintToString(row.added);
    krx::StringArray sorted = row.added;
    std::stable_sort(sorted.begin(), sorted.end(), krx::DateListLess);
    EXPECT_EQ(sorted, row.listed);
  }
  // A key equal to a listed one goes behind it; one older than all in front.
  const krx::StringArray days{"", "12/31/2025", "01/02/2026"};
  EXPECT_EQ(krx::DateListInsertIndex(days, "12/31/2025"), 2u);
  EXPECT_EQ(krx::DateListInsertIndex(days, "01/01/1990"), 1u);
  EXPECT_EQ(krx::DateListInsertIndex(days, ""), 1u);
  EXPECT_EQ(krx::DateListInsertIndex(days, "01/01/2026"), 2u);
}

}  // namespace
