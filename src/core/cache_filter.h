#pragma once
// Which browser-cache entries a fetch lists: one field of the entry compared
// with the value the user typed, by one of six operators.
//
//   CacheFilter filter(fieldIndex, operatorIndex, valueText);
//   if (!filter.valid()) { say kCacheDateHint; list nothing; }
//   CacheEntryFacts facts = ...;            // what the system told us
//   if (filter.Passes(facts)) list it;
#include <cstdint>
#include <string>

namespace krx {

// Indexes of the field list and the operator list, as the combo boxes hold them.
enum CacheField : int {
  kCacheFieldAll = 0,
  kCacheFieldFileSize,
  kCacheFieldFileExtension,
  kCacheFieldHitRate,
  kCacheFieldUseCount,
  kCacheFieldLastModifiedTime,
  kCacheFieldLastAccessTime,
  kCacheFieldLastSyncTime,
  kCacheFieldExpireTime,
  kCacheFieldCount
};
enum CacheOperator : int { kCacheOpEqual = 0, kCacheOpGreaterEqual, kCacheOpGreater, kCacheOpLessEqual, kCacheOpLess, kCacheOpNotEqual, kCacheOpCount };

extern const char* const kCacheFieldNames[kCacheFieldCount];
extern const char* const kCacheOperatorNames[kCacheOpCount];

// Said (once per fetch) when a time field's value names no date we can compare with.
extern const char kCacheDateHint[];

// A calendar time as the system's SYSTEMTIME holds it (month 1-12).
struct CalendarTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Local times are compared as seconds of the local wall clock counted from
// 1 January 1970 00:00:00 on that clock, worked out from the calendar in
// 64 bits: no C library time_t (32 bits in this program's runtime, ending in
// January 2038) and no time zone in between, since both sides of a
// comparison are local already. Out-of-range parts are normalised the way
// mktime does it (month 0 is December of the year before, day 0 the last
// day of the month before). A year before 1900 counts as 0.
int64_t LocalSeconds(const CalendarTime& local);
// The calendar time of local seconds, the other way round.
CalendarTime CalendarOfSeconds(int64_t localSeconds);

// The leading decimal integer of a text as atoi reads it (blanks, a sign,
// digits); 0 when there is none. Saturates instead of overflowing.
int64_t LeadingNumber(const std::string& text);

// "month/day/year" at 00:01:01 local time, out-of-range parts normalised
// like mktime's. False when that gives no time at or after 1970.
bool FilterDateSeconds(const std::string& text, int64_t* seconds);

// One entry's values. Only the time of the chosen field needs to be filled
// (local seconds, from LocalSeconds).
struct CacheEntryFacts {
  int64_t size = 0;  // high * 2^32 + low
  uint32_t hitRate = 0;
  uint32_t useCount = 0;
  std::string extension;
  int64_t time = 0;
};

class CacheFilter {
 public:
  CacheFilter() = default;
  CacheFilter(int field, int op, const std::string& value);

  int field() const { return field_; }
  bool IsTimeField() const { return field_ >= kCacheFieldLastModifiedTime && field_ <= kCacheFieldExpireTime; }
  // False when a time field's value gives no representable date: nothing passes.
  bool valid() const { return valid_; }
  bool SameAs(int field, int op, const std::string& value) const {
    return field == field_ && op == op_ && value == value_;
  }
  bool Passes(const CacheEntryFacts& entry) const;

 private:
  int field_ = kCacheFieldAll;
  int op_ = kCacheOpEqual;
  std::string value_;
  int64_t number_ = 0;
  int64_t date_ = 0;
  bool valid_ = true;
};

}  // namespace krx
