#include "core/cache_filter.h"

#include <cctype>
#include <cstring>
#include <limits>

namespace krx {

const char* const kCacheFieldNames[kCacheFieldCount] = {
    "ALL",           "FileSize",       "FileExtension", "HitRate",    "UseCount",
    "LastModifiedTime", "LastAccessTime", "LastSyncTime",  "ExpireTime"};
const char* const kCacheOperatorNames[kCacheOpCount] = {"=", ">=", ">", "<=", "<", "!="};

const char kCacheDateHint[] = "The value of a time field must be a date as mm/dd/yyyy (1970 or later).";

namespace {

// Years far outside what any C library converts; keeps tm_year from overflowing.
constexpr int64_t kYearLimit = 100000;

template <typename T>
bool Compare(int op, const T& x, const T& y) {
  switch (op) {
    case kCacheOpEqual: return x == y;
    case kCacheOpGreaterEqual: return x >= y;
    case kCacheOpGreater: return x > y;
    case kCacheOpLessEqual: return x <= y;
    case kCacheOpLess: return x < y;
    case kCacheOpNotEqual: return x != y;
    default: return false;  // no operator chosen: nothing to compare by
  }
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// Days from 1 January 1970 to that day of the proleptic Gregorian calendar
// (month 1-12), for any year the callers let through.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The local seconds of a calendar time whose parts may be out of range; -1
// with ok false when the year is beyond any date a person means.
int64_t CivilSeconds(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second,
                     bool* ok) {
  month = Clamp(month, -kYearLimit * 12, kYearLimit * 12);
  day = Clamp(day, -kYearLimit * 366, kYearLimit * 366);
  year += FloorDiv(month - 1, 12);
  month = month - 1 - FloorDiv(month - 1, 12) * 12 + 1;
  *ok = year >= -kYearLimit && year <= kYearLimit;
  if (!*ok) return -1;
  const int64_t days = DaysFromCivil(year, month, 1) + day - 1;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

uint32_t ToUnsigned32(int64_t n) {
  if (n > int64_t(std::numeric_limits<uint32_t>::max())) return std::numeric_limits<uint32_t>::max();
  return uint32_t(n);  // a negative value wraps, as it does when an int meets a DWORD
}

}  // namespace

int64_t LocalSeconds(const CalendarTime& local) {
  if (local.year < 1900) return 0;
  bool ok = false;
  const int64_t t = CivilSeconds(local.year, local.month, local.day, local.hour, local.minute, local.second, &ok);
  return ok ? t : 0;
}

CalendarTime CalendarOfSeconds(int64_t localSeconds) {
  const int64_t days = FloorDiv(localSeconds, 86400);
  const int64_t rest = localSeconds - days * 86400;
  // The civil date of a day count (days since 1970-01-01).
  const int64_t z = days + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  CalendarTime t;
  t.year = int(Clamp(year, INT32_MIN, INT32_MAX));
  t.month = int(month);
  t.day = int(day);
  t.hour = int(rest / 3600);
  t.minute = int(rest / 60 % 60);
  t.second = int(rest % 60);
  return t;
}

int64_t LeadingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const int64_t limit = std::numeric_limits<int64_t>::max();
  int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    n = n > (limit - digit) / 10 ? limit : n * 10 + digit;
  }
  return negative ? -n : n;
}

bool FilterDateSeconds(const std::string& text, int64_t* seconds) {
  const size_t first = text.find('/');
  const size_t second = first == std::string::npos ? std::string::npos : text.find('/', first + 1);
  const int64_t month = LeadingNumber(text.substr(0, first));
  const int64_t day = first == std::string::npos ? 0 : LeadingNumber(text.substr(first + 1, second - first - 1));
  const int64_t year = second == std::string::npos ? 0 : LeadingNumber(text.substr(second + 1));
  bool ok = false;
  const int64_t t = CivilSeconds(Clamp(year, -kYearLimit - 1, kYearLimit + 1), month, day, 0, 1, 1, &ok);
  // A time before 1970 cannot be a date the cache holds (its empty times
  // count as 0): refused, as a date past any calendar is.
  if (!ok || t < 0) return false;
  *seconds = t;
  return true;
}

CacheFilter::CacheFilter(int field, int op, const std::string& value)
    : field_(field), op_(op), value_(value), number_(LeadingNumber(value)) {
  if (IsTimeField()) valid_ = FilterDateSeconds(value, &date_);
}

bool CacheFilter::Passes(const CacheEntryFacts& entry) const {
  if (!valid_) return false;
  switch (field_) {
    case kCacheFieldFileSize: return Compare(op_, entry.size, number_);
    case kCacheFieldFileExtension:
      // Byte order as strcmp gives it, so "gif" and "GIF" differ.
      return Compare(op_, std::strcmp(entry.extension.c_str(), value_.c_str()), 0);
    case kCacheFieldHitRate: return Compare(op_, entry.hitRate, ToUnsigned32(number_));
    case kCacheFieldUseCount: return Compare(op_, entry.useCount, ToUnsigned32(number_));
    case kCacheFieldLastModifiedTime:
    case kCacheFieldLastAccessTime:
    case kCacheFieldLastSyncTime:
    case kCacheFieldExpireTime: return Compare(op_, entry.time, date_);
    default: return true;  // "ALL", or no field chosen: every entry
  }
}

}  // namespace krx
