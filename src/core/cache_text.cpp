#include "core/cache_text.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <utility>

namespace krx {

const char kCacheDeleteQuestion[] = "Do you want to delete the cache files of the selected URL?";
const char kCacheDeletingText[] = "Deleting catche files...Press ESC to break.";
const char kCacheLockedText[] =
    "The file is locked or in use. The entry will be marked and will be deleted when the file is unlocked.";
const char kCookieContentHeading[] = "\r\nCookie content:\r\n";

std::string GroupDigits(uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string CacheTotalsText(int count, int64_t total, bool finished) {
  // Sizes are never negative; a wrapped sum still prints its full 64 bits.
  char megabytes[64];
  std::snprintf(megabytes, sizeof megabytes, "%.3f", double(total) / 1048576.0);
  std::string text = "Total items: " + std::to_string(count) + ". Total size: " + GroupDigits(uint64_t(total)) +
                     " (" + megabytes + "MB).";
  if (!finished) text += " Press ESC to break.";
  return text;
}

std::string CacheTotalsPlainText(int count, int64_t total) {
  return "Total items: " + std::to_string(count) + ". Total size: " + std::to_string(total) + ".";
}

std::string CacheTypeText(uint32_t type) {
  static const std::pair<uint32_t, const char*> kNames[] = {
      {0x1, "Normal cache entry, "},       {0x10000, "Sparse cache entry, "},
      {0x4, "Sticky cache entry, "},       {0x10, "Track offline cache entry, "},
      {0x20, "Track online cache entry, "}, {0x100000, "Cookie cache entry, "},
      {0x200000, "URLHistory cache entry, "}};
  std::string text;
  for (const auto& [flag, name] : kNames) {
    if (type & flag) text += name;
  }
  while (!text.empty() && (text.back() == ',' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string CacheExpireText(const CalendarTime& t) {
  // The cache's zero time (1 January 1601: a cookie that never expires) and
  // a time that could not be read are no dates; the other times draw the
  // same line.
  if (t.year < 1900) return "";
  char text[96];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute,
                t.second);
  return text;
}

std::string CacheTimeText(int64_t localSeconds) {
  // strftime takes the calendar fields as they are: no time_t, so no end in
  // 2038. Years outside 1900-9999 (which no entry time gives) have no text.
  const CalendarTime c = CalendarOfSeconds(localSeconds);
  if (c.year < 1900 || c.year > 9999) return "";
  const int64_t days = LocalSeconds(CalendarTime{c.year, c.month, c.day, 0, 0, 0}) / 86400;
  std::tm t = {};
  t.tm_year = c.year - 1900;
  t.tm_mon = c.month - 1;
  t.tm_mday = c.day;
  t.tm_hour = c.hour;
  t.tm_min = c.minute;
  t.tm_sec = c.second;
  t.tm_wday = int(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
  t.tm_yday = int(days - LocalSeconds(CalendarTime{c.year, 1, 1, 0, 0, 0}) / 86400);
  t.tm_isdst = 0;
  char text[128];
  const size_t n = std::strftime(text, sizeof text, "%c", &t);
  return std::string(text, n);
}

std::string CacheDetailsText(const CacheDetails& d) {
  std::string t;
  t += "SourceUrl: " + d.sourceUrl + "\r\n";
  t += "LocalFileName: " + d.localFileName + "\r\n";
  t += "CacheType: " + d.typeText + "\r\n";
  t += "UseCount: " + std::to_string(d.useCount) + "\r\n";
  t += "HitRate: " + std::to_string(d.hitRate) + "\r\n";
  t += "FileSize: " + std::to_string(d.size) + "\r\n";
  t += "FileExtension: " + d.extension + "\r\n";
  t += "LastModifiedTime: " + d.lastModified + "\r\n";
  t += "LastAccessTime: " + d.lastAccess + "\r\n";
  t += "LastSyncTime: " + d.lastSync + "\r\n";
  t += "ExpireTime: " + d.expire + "\r\n";
  return t;
}

std::string CookieUrlForEntry(const std::string& address) {
  const size_t at = address.find('@');
  if (at == std::string::npos) return address;
  return "http://" + address.substr(at + 1);
}

std::string CacheNotFoundText(const std::string& address) {
  return "The cache files of " + address + " is not found.";
}

std::optional<std::string> CacheDeleteTarget(const std::string& line, CacheLogView view) {
  const size_t bracket = line.find('>');
  if (bracket == std::string::npos) return std::nullopt;
  // The address starts two characters after the '>' (past the blank); a
  // line that ends before that has an empty rest.
  const std::string rest = bracket + 2 < line.size() ? line.substr(bracket + 2) : std::string();
  const size_t dash = rest.find(" - ");
  if (dash == std::string::npos) return std::nullopt;
  if (view == CacheLogView::kVisit) return rest.substr(0, dash);
  return rest.substr(dash + 3);
}

}  // namespace krx
