#include "core/day_range.h"

#include <algorithm>

#include "core/record_text.h"

namespace krx {

namespace {

bool Digits(const std::string& s, size_t at, size_t n, long& value) {
  if (at + n > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

bool IsLeap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

long DaysInMonth(long y, long m) {
  static const long kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// yyyymmdd of "MM/DD/YYYY" or "YYYY-MM-DD"; -1 for anything else.
long ParseDate(const std::string& s) {
  long y = 0, m = 0, d = 0;
  bool ok = false;
  if (s.size() == 10 && s[2] == '/' && s[5] == '/') {
    ok = Digits(s, 0, 2, m) && Digits(s, 3, 2, d) && Digits(s, 6, 4, y);
  } else if (s.size() == 10 && s[4] == '-' && s[7] == '-') {
    ok = Digits(s, 0, 4, y) && Digits(s, 5, 2, m) && Digits(s, 8, 2, d);
  }
  if (!ok || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return -1;
  return y * 10000 + m * 100 + d;
}

// Days since 03/01/0000 and back (a proleptic Gregorian count), in 64 bits:
// `long` is 32 bits on Windows and 10000 * n would not fit.
long long DayNumber(long yyyymmdd) {
  long long y = yyyymmdd / 10000, m = yyyymmdd / 100 % 100;
  const long long d = yyyymmdd % 100;
  if (m <= 2) {
    --y;
    m += 12;
  }
  return 365 * y + y / 4 - y / 100 + y / 400 + (153 * (m - 3) + 2) / 5 + d - 1;
}

long DateOfNumber(long long n) {
  long long y = (10000 * n + 14780) / 3652425;
  long long doy = n - (365 * y + y / 4 - y / 100 + y / 400);
  if (doy < 0) {
    --y;
    doy = n - (365 * y + y / 4 - y / 100 + y / 400);
  }
  const long long mi = (100 * doy + 52) / 3060;
  const long long m = (mi + 2) % 12 + 1;
  y += (mi + 2) / 12;
  const long long d = doy - (mi * 306 + 5) / 10 + 1;
  return long(y * 10000 + m * 100 + d);
}

}  // namespace

long DayNumberOf(long yyyymmdd) { return long(DayNumber(yyyymmdd)); }

long DateOfDayNumber(long number) { return DateOfNumber(number); }

bool ParseDayRange(const std::string& text, DayRange& range, std::string& problem) {
  const size_t dots = text.find("..");
  const std::string from = dots == std::string::npos ? text : text.substr(0, dots);
  const std::string to = dots == std::string::npos ? text : text.substr(dots + 2);
  range = DayRange();
  if (from.empty() && to.empty()) {
    problem = "no dates in \"" + text + "\"";
    return false;
  }
  for (const auto& [end, value] : {std::pair(&from, &range.from), std::pair(&to, &range.to)}) {
    if (end->empty()) continue;
    *value = ParseDate(*end);
    if (*value < 0) {
      problem = "\"" + *end + "\" is no date (MM/DD/YYYY or YYYY-MM-DD)";
      return false;
    }
  }
  if (range.from > range.to) {
    problem = "the range \"" + text + "\" ends before it starts";
    return false;
  }
  return true;
}

std::vector<std::string> DaysInRange(const std::vector<std::string>& keys, const DayRange& range) {
  std::vector<std::string> days;
  for (const std::string& k : keys) {
    const long order = DateKeyOrder(k);
    if (order >= range.from && order <= range.to) days.push_back(k);
  }
  return days;
}

DayRange LastDays(const std::vector<std::string>& keys, long n) {
  long newest = -1;
  for (const std::string& k : keys) newest = std::max(newest, DateKeyOrder(k));
  if (newest < 0 || n <= 0) return DayRange{1, 0};  // no day at all
  return DayRange{DateOfNumber(DayNumber(newest) - (n - 1)), newest};
}

std::string DaysTitle(const std::vector<std::string>& keys, bool all) {
  if (all) return std::string();
  if (keys.size() == 1) return keys[0];
  if (keys.empty()) return "no days";
  auto earlier = [](const std::string& a, const std::string& b) {
    const long x = DateKeyOrder(a), y = DateKeyOrder(b);
    if ((x < 0) != (y < 0)) return x >= 0;
    return x != y ? x < y : a < b;
  };
  const auto [first, last] = std::minmax_element(keys.begin(), keys.end(), earlier);
  return *first + " to " + *last;
}

}  // namespace krx
