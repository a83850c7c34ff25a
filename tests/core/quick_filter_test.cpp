// The quick filter's choice of lines, its status line and the lines chosen
// again after the list changed.
#include <gtest/gtest.h>

#include "core/manager_views.h"
#include "core/quick_filter.h"

namespace {

using krx::FilterLines;

TEST(QuickFilter, ShowsTheLinesHoldingTheTextWithCaseAsFindComparesIt) {
  const std::vector<std::string> lines = {"<07/01/2004 09:00:00> http://News.example/ - A",
                                          "<07/01/2004 09:01:00> http://mail.example/ - news today",
                                          "<07/01/2004 09:02:00> http://other.example/ - B",
                                          "",
                                          "<07/01/2004 09:03:00> http://caf\xC9.example/ - \xC9t\xE9"};
  const struct {
    std::string text;
    int caseSetting;
    std::vector<size_t> shown;
  } rows[] = {
      {"", 0, {0, 1, 2, 3, 4}},             // no text: every line
      {"", 1, {0, 1, 2, 3, 4}},
      {"news", 0, {0, 1}},                  // case ignored
      {"NEWS", 0, {0, 1}},
      {"news", 1, {1}},                     // only when the option says exactly 1
      {"news", 2, {0, 1}},
      {"News", 1, {0}},
      {"\xE9t\xE9", 0, {4}},                // the Western code page's letters fold too
      {"\xC9t\xE9", 1, {4}},
      {"\xE9t\xE9", 1, {}},
      {"example/ - ", 0, {0, 1, 2, 4}},
      {"nothing", 0, {}},
      {"<07/01/2004 09:00:00> http://News.example/ - A and more", 0, {}},  // longer than the line
  };
  for (const auto& row : rows)
    EXPECT_EQ(FilterLines(lines, row.text, row.caseSetting), row.shown) << row.text << " case " << row.caseSetting;
  EXPECT_TRUE(FilterLines({}, "a", 0).empty());
}

TEST(QuickFilter, OnlyTheLogsAndTheListsHaveOneAndTheStatusCountsShownOfAll) {
  for (int view : {krx::IDC_TAB_VISIT, krx::IDC_TAB_MEDIA, krx::IDC_TAB_BLOCK, krx::IDC_TAB_FLASH, krx::IDC_TAB_WHITE,
                   krx::IDC_TAB_FORBID})
    EXPECT_TRUE(krx::HasQuickFilter(view)) << view;
  EXPECT_FALSE(krx::HasQuickFilter(krx::IDC_TAB_CACHE));
  EXPECT_FALSE(krx::HasQuickFilter(0));
  EXPECT_EQ(krx::QuickFilterStatusText("news", 12, 50000), "The number of lines holding \"news\" is: 12 of 50000");
  EXPECT_EQ(krx::QuickFilterStatusText("x", 0, 0), "The number of lines holding \"x\" is: 0 of 0");
}

TEST(QuickFilter, ChosenLinesAreFoundAgainAmongTheShownOnes) {
  const struct {
    std::vector<size_t> shown, chosen;
    std::vector<int> positions;
  } rows[] = {
      {{0, 1, 2, 3}, {2}, {2}},                // the whole list back: the same place
      {{1, 4, 7}, {4}, {1}},
      {{1, 4, 7}, {7, 1}, {0, 2}},             // in list order, whatever the order chosen
      {{1, 4, 7}, {3, 5}, {}},                 // chosen lines filtered out
      {{}, {0}, {}},
      {{2, 3}, {}, {}},
      {{0, 5, 9, 12}, {0, 9, 12, 13}, {0, 2, 3}},
  };
  for (const auto& row : rows) EXPECT_EQ(krx::ShownPositions(row.shown, row.chosen), row.positions);
}

}  // namespace
