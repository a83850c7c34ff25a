// Several days at once: the calendar's arithmetic across months, years and
// leap days, the days a span takes from a date list, the item list's lines
// day by day, the status line's words and the deletion of several days.
#include <gtest/gtest.h>

#include "core/chosen_days.h"
#include "core/item_list.h"
#include "core/manager_views.h"

namespace {

using krx::StringArray;

TEST(ChosenDays, DaysBeforeCrossesMonthsYearsAndLeapDays) {
  const struct {
    long day;
    int back;
    long result;
  } rows[] = {
      {20261207, 6, 20261201}, {20261207, 0, 20261207}, {20260101, 1, 20251231}, {20260107, 29, 20251209},
      {20240301, 1, 20240229}, {20230301, 1, 20230228}, {20000301, 1, 20000229}, {19000301, 1, 19000228},
      {20240229, -1, 20240301}, {20250315, 365, 20240315}, {20240315, 366, 20230315}, {20261231, -1, 20270101},
      {20260801, 31, 20260701}, {20260501, 30, 20260401},
  };
  for (const auto& row : rows) EXPECT_EQ(krx::DaysBefore(row.day, row.back), row.result) << row.day << " " << row.back;
}

TEST(ChosenDays, ASpanTakesTheListedDaysOfTheLastNCalendarDaysAndAllTakesEvery) {
  const StringArray days = {"", "x", "11/30/2025", "12/01/2025", "12/25/2025", "12/31/2025", "01/01/2026",
                            "01/06/2026", "01/07/2026", "01/08/2026"};
  const struct {
    long today;
    int span;
    std::vector<int> chosen;
  } rows[] = {
      {20260107, 7, {6, 7, 8}},                // 01/01 .. 01/07
      {20260107, 8, {5, 6, 7, 8}},             // 12/31 .. 01/07, across the year's end
      {20260107, 1, {8}},                      // today alone
      {20260107, 30, {4, 5, 6, 7, 8}},         // 12/09 .. 01/07
      {20260107, 38, {3, 4, 5, 6, 7, 8}},      // 12/01 .. 01/07
      {20260107, 39, {2, 3, 4, 5, 6, 7, 8}},   // 11/30 .. 01/07
      {20270101, 7, {}},                       // nothing in the last week
      {20260107, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},  // "All days": the empty key too
  };
  for (const auto& row : rows) EXPECT_EQ(krx::DaysInSpan(days, row.today, row.span), row.chosen) << row.today << " " << row.span;
  // Over a leap day: 02/23 .. 02/29, then 02/24 .. 03/01.
  const StringArray leap = {"02/22/2024", "02/23/2024", "02/24/2024", "02/29/2024", "03/01/2024"};
  EXPECT_EQ(krx::DaysInSpan(leap, 20240229, 7), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(krx::DaysInSpan(leap, 20240301, 7), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(krx::SpanOfCommand(krx::kIdLast7Days), 7);
  EXPECT_EQ(krx::SpanOfCommand(krx::kIdLast30Days), 30);
  EXPECT_EQ(krx::SpanOfCommand(krx::kIdAllDays), 0);
}

TEST(ChosenDays, TheStatusLineNamesTheFirstAndLastChosenDay) {
  EXPECT_EQ(krx::ItemListStatusTextOfDays(krx::IDC_TAB_VISIT, {"12/01/2026", "12/03/2026", "12/07/2026"}, 42),
            "The number of web pages visited from 12/01/2026 to 12/07/2026 is: 42");
  EXPECT_EQ(krx::ItemListStatusTextOfDays(krx::IDC_TAB_BLOCK, {"12/31/2025", "01/01/2026"}, 3),
            "The number of popup windows blocked from 12/31/2025 to 01/01/2026 is: 3");
  EXPECT_EQ(krx::ItemListStatusTextOfDays(krx::IDC_TAB_FLASH, {"12/07/2026"}, 1),
            "The number of flash objects recorded on 12/07/2026 is: 1");
  EXPECT_EQ(krx::ItemListStatusTextOfDays(krx::IDC_TAB_MEDIA, {"12/01/2026", "12/02/2026"}, 5),
            "The number of media address is: 5");
  EXPECT_EQ(krx::ItemListStatusTextOfDays(krx::IDC_TAB_VISIT, {"", "12/02/2026"}, 5),
            "The number of web pages visited from  to 12/02/2026 is: 5");
  EXPECT_EQ(krx::ItemListStatusText(krx::IDC_TAB_VISIT, "07/01/2004", 4), "The number of web pages visited on 07/01/2004 is: 4");
  EXPECT_EQ(krx::DeleteDaysQuestion(1), "Do you want to delete the selected item(s)?");
  EXPECT_EQ(krx::DeleteDaysQuestion(7), "Do you want to delete the records of the 7 selected days?");
}

TEST(ChosenDays, ChosenDaysListDayByDayEachRecordOnce) {
  const StringArray log = {"<12/02/2026 10:00:00> http://b/ - B",
                           "<12/01/2026 10:00:00> http://a/ - A",
                           "<12/01/2026 11:00:00> http://c/ - about <12/02/2026",  // quotes a later day
                           "<12/03/2026 09:00:00> http://d/ - D",
                           "<<12/02/2026 12:00:00> http://e/ - E",
                           "nospace",
                           "junk <x> here"};
  const struct {
    StringArray days;
    std::vector<StringArray> blocks;
  } rows[] = {
      {{"12/01/2026", "12/02/2026"}, {{log[1], log[2]}, {log[0], log[4]}}},
      {{"12/02/2026", "12/03/2026"}, {{log[0], log[2], log[4]}, {log[3]}}},
      {{"", "12/01/2026"}, {{log[0], log[3], log[4], log[6]}, {log[1], log[2]}}},
      {{}, {}},
  };
  for (const auto& row : rows) EXPECT_EQ(krx::ItemListLinesOfDays(log, row.days), row.blocks) << row.days.size();
  // One day alone lists what the one-day fill lists.
  for (const std::string day : {"12/01/2026", "12/02/2026", "", "x", "12/09/2026"}) {
    const auto blocks = krx::ItemListLinesOfDays(log, {day});
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], krx::ItemListLines(krx::IDC_TAB_VISIT, log, day)) << day;
  }

  StringArray records = log;
  EXPECT_EQ(krx::RemoveRecordsOfDays(records, {"12/01/2026", "12/02/2026"}), 4u);
  EXPECT_EQ(records, (StringArray{log[3], log[5], log[6]}));
  // A line without a blank, and one whose stamp is no date, have the empty key.
  EXPECT_EQ(krx::RemoveRecordsOfDays(records, {""}), 2u);
  EXPECT_EQ(krx::RemoveRecordsOfDays(records, {"nospace", "junk"}), 0u);
  EXPECT_EQ(records, (StringArray{log[3]}));
}

}  // namespace
