#pragma once
// The texts of the browser-cache view: the totals line, an entry's details,
// and the addresses its commands work on.
#include <cstdint>
#include <optional>
#include <string>

#include "core/cache_filter.h"

namespace krx {

extern const char kCacheDeleteQuestion[];
extern const char kCacheDeletingText[];
extern const char kCacheLockedText[];

// "1234567" -> "1,234,567".
std::string GroupDigits(uint64_t value);

// "Total items: 3. Total size: 1,048,576 (1.000MB)." and, while a fetch
// runs, " Press ESC to break." after it.
std::string CacheTotalsText(int count, int64_t total, bool finished);
// What an Escape leaves: "Total items: 3. Total size: 1048576."
std::string CacheTotalsPlainText(int count, int64_t total);

// The names of the entry type's flags, in their fixed order, comma separated.
std::string CacheTypeText(uint32_t type);

// "mm/dd/yyyy hh:mm:ss" of a calendar time as it is given (no zone change);
// empty before 1900 (the cache's zero time, 1601, or no time at all).
std::string CacheExpireText(const CalendarTime& time);

// The C library's "%c" text of local seconds (LocalSeconds), any year from
// 1900 to 9999; empty outside.
std::string CacheTimeText(int64_t localSeconds);

struct CacheDetails {
  std::string sourceUrl, localFileName, typeText;
  uint32_t useCount = 0, hitRate = 0;
  int64_t size = 0;
  std::string extension, lastModified, lastAccess, lastSync, expire;
};
std::string CacheDetailsText(const CacheDetails& details);

// "\r\nCookie content:\r\n": what comes between the details and a cookie's data.
extern const char kCookieContentHeading[];

// The address a cookie entry's data is asked for: "user@host/path" gives
// "http://host/path"; an address without "@" is used as it is.
std::string CookieUrlForEntry(const std::string& address);

// The message for an entry whose cache files were not found.
std::string CacheNotFoundText(const std::string& address);

// What deleting the cache files of a log line touches: in the visit log the
// address before " - " (its cache entry goes), in the flash log the file
// after it. Nothing when the line has no ">" or no " - " after it.
enum class CacheLogView { kVisit, kFlash };
std::optional<std::string> CacheDeleteTarget(const std::string& line, CacheLogView view);

}  // namespace krx
