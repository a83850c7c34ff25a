#include "core/cache_filter.h"

#include <cctype>
#include <cstring>
#include <ctime>
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

int Clamp(int64_t v, int64_t lo, int64_t hi) { return int(v < lo ? lo : v > hi ? hi : v); }

// mktime on a local calendar time; -1 when the C library refuses it.
int64_t MakeTime(int64_t year, int64_t month, int64_t day, int hour, int minute, int second) {
  if (year < -kYearLimit || year > kYearLimit) return -1;
  std::tm t = {};
  t.tm_year = int(year - 1900);
  t.tm_mon = Clamp(month - 1, -kYearLimit * 12, kYearLimit * 12);
  t.tm_mday = Clamp(day, -kYearLimit * 366, kYearLimit * 366);
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return int64_t(std::mktime(&t));
}

uint32_t ToUnsigned32(int64_t n) {
  if (n > int64_t(std::numeric_limits<uint32_t>::max())) return std::numeric_limits<uint32_t>::max();
  return uint32_t(n);  // a negative value wraps, as it does when an int meets a DWORD
}

}  // namespace

int64_t LocalSeconds(const CalendarTime& local) {
  if (local.year < 1900) return 0;
  const int64_t t = MakeTime(local.year, local.month, local.day, local.hour, local.minute, local.second);
  return t == -1 ? 0 : t;
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
  const int64_t t = MakeTime(year, month, day, 0, 1, 1);
  // mktime fails with -1; a time before 1970 cannot be a date the cache holds
  // and some C libraries cannot convert it at all, so both sides refuse it.
  if (t < 0) return false;
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
