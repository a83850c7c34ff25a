#pragma once
// Several days chosen at once in a log view's date list (Shift+click,
// Ctrl+click, "Last 7 days", "Last 30 days", "All days"): which listed days
// a span of the calendar takes, the item list's lines day by day, the
// status line's words and "Delete this day" over all of them.
#include <cstddef>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace krx {

// The date list's menu commands that choose several days.
constexpr int kIdLast7Days = 2241;
constexpr int kIdLast30Days = 2242;
constexpr int kIdAllDays = 2243;
// How many days back each reaches, today included; 0 for "All days".
int SpanOfCommand(int command);

// The day `back` days before `day`, both as yyyymmdd (DateKeyOrder's
// number), across months, years and leap days; back may be negative.
long DaysBefore(long day, int back);

// The indexes of the listed days (a date list's lines) that fall in the
// last `span` calendar days up to today (yyyymmdd), today included; a key
// that reads as no date (the empty key among them) never does. span 0
// takes every listed day.
std::vector<int> DaysInSpan(const StringArray& days, long today, int span);

// How the status line names the chosen days, in list order: "on X" for
// one, "from X to Y" (the first and the last) for several.
std::string DaysPhrase(const StringArray& days);

// The item list's lines for the chosen days, day by day: one block per day,
// in the order of days. A line goes to the first day it belongs to
// (IsLineOfDay) other than the empty key; the empty key's block, when that
// key is chosen, takes the lines holding '<' that no other chosen day took.
// Every record is listed once, and one day alone gives ItemListLines'
// lines. One pass over the collection, whatever the number of days.
std::vector<StringArray> ItemListLinesOfDays(const StringArray& collection, const StringArray& days);

// "Delete this day" over the chosen days: every record whose date key is
// one of them goes, in one pass. Returns how many went.
size_t RemoveRecordsOfDays(StringArray& records, const StringArray& days);

// The question before the chosen days are deleted: the delete question
// for one day, the number of days for several.
std::string DeleteDaysQuestion(size_t days);

}  // namespace krx
