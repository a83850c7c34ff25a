// The date list of a log view: distinct date keys in order of appearance,
// under the progress window.
#include <gtest/gtest.h>

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

}  // namespace
