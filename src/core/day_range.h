#pragma once
// Days chosen by their dates, as krxtool's --days FROM..TO and --last N
// choose them. A date is written as the log's date keys are, "MM/DD/YYYY"
// (12/07/2026), or as "YYYY-MM-DD" (2026-12-07); either end of a range may
// be left open ("12/01/2026.." and "..12/07/2026"), and one date alone is
// that day. Keys that are no date (the empty key of lines without a
// readable one) are in no range.
#include <string>
#include <vector>

namespace krx {

struct DayRange {
  long from = 0;         // yyyymmdd, inclusive
  long to = 99991231;
};

// False, with what is wrong in `problem`, for text that is no such range:
// an impossible date (02/30/2026, 02/29/2025), an end before its start.
bool ParseDayRange(const std::string& text, DayRange& range, std::string& problem);

// The date keys among `keys` that fall in the range, in the order given.
std::vector<std::string> DaysInRange(const std::vector<std::string>& keys, const DayRange& range);

// The last `n` calendar days of the log: from n - 1 days before its newest
// date up to that date, across months, years and leap days. A day without
// records still counts as one of the n.
DayRange LastDays(const std::vector<std::string>& keys, long n);

// Days since a fixed day long ago: two dates' numbers differ by the days
// between them. yyyymmdd in, as DateKeyOrder gives it.
long DayNumberOf(long yyyymmdd);
// The date (yyyymmdd) of a day number: DayNumberOf's inverse.
long DateOfDayNumber(long number);

// What a heading says of the days: "" for every day, the key for one day,
// "12/01/2026 to 12/07/2026" (earliest and latest by date) for more.
std::string DaysTitle(const std::vector<std::string>& keys, bool all);

}  // namespace krx
