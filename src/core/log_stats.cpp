#include "core/log_stats.h"

#include <algorithm>
#include <unordered_map>

#include "core/record_text.h"

namespace krx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EarlierDay(const DayCount& a, const DayCount& b) {
  const long x = DateKeyOrder(a.date), y = DateKeyOrder(b.date);
  if ((x < 0) != (y < 0)) return x >= 0;  // dates first, other keys after them
  if (x != y) return x < y;
  return a.date < b.date;
}

bool IsSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '+' || c == '-' || c == '.';
}

bool IsHostEnd(char c) { return c == '/' || c == '\\' || c == '?' || c == '#'; }

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

}  // namespace

bool IsDateKey(std::string_view key) { return DateKeyOrder(key) >= 0; }

std::string_view HostOfAddress(std::string_view a) {
  // One pass of plain loops: this runs once per record of a log of millions.
  size_t s = 0;
  while (s < a.size() && IsSchemeChar(a[s])) ++s;
  // "scheme://", or "scheme:\\" as typed (http:\\host\page).
  const bool hasScheme = s > 0 && s + 2 < a.size() && a[s] == ':' &&
                         ((a[s + 1] == '/' && a[s + 2] == '/') || (a[s + 1] == '\\' && a[s + 2] == '\\'));
  if (hasScheme) a.remove_prefix(s + 3);
  size_t end = 0;
  while (end < a.size() && !IsHostEnd(a[end])) ++end;
  a = a.substr(0, end);
  // Without a scheme, "about:blank", "mailto:a@b" and "C:" name no host;
  // only a port ("example.com:8080") may follow one.
  const size_t colon = a.find(':');
  if (!hasScheme && colon != std::string_view::npos && !AllDigits(a.substr(colon + 1))) return std::string_view();
  const size_t at = a.rfind('@');
  if (at != std::string_view::npos) a.remove_prefix(at + 1);
  if (!a.empty() && a[0] == '[') {  // [::1]:8080
    const size_t close = a.find(']');
    return close == std::string_view::npos ? std::string_view() : a.substr(0, close + 1);
  }
  a = a.substr(0, a.find(':'));
  while (!a.empty() && a.front() == '.') a.remove_prefix(1);
  while (!a.empty() && a.back() == '.') a.remove_suffix(1);
  return a;
}

LogStats CountLogStats(const StringArray& records, size_t topHosts) {
  LogStats stats;
  stats.total = records.size();
  std::unordered_map<std::string_view, size_t> dayAt;
  SiteTally sites;
  std::string_view lastDay;
  size_t lastDayIndex = 0;
  for (const std::string& r : records) {
    const std::string_view date = DateKeyView(r);
    // A log holds a day's records together, so the last day is the likely one.
    if (stats.days.empty() || date != lastDay) {
      const auto day = dayAt.emplace(date, stats.days.size());
      if (day.second) stats.days.push_back({std::string(date), 0});
      lastDay = date;
      lastDayIndex = day.first->second;
    }
    ++stats.days[lastDayIndex].records;

    sites.Count(r);
  }

  std::sort(stats.days.begin(), stats.days.end(), EarlierDay);
  for (size_t i = 1; i < stats.days.size(); ++i)
    if (stats.days[i].records > stats.days[stats.busiest].records) stats.busiest = i;

  stats.hosts = sites.Rows(topHosts);
  return stats;
}

const StatsWording& StatsWordingOf(RecordCollection c) {
  static const StatsWording kWordings[kRecordCollectionCount] = {
      {kRecordNames[0], "pages visited", "Sites visited most"},
      {kRecordNames[1], "media played", "Sites of the media played most"},
      {kRecordNames[2], "popups blocked", "Sites whose pages opened most popups"},
      {kRecordNames[3], "flash objects", "Sites of the pages with most flash"},
      {kRecordNames[4], "entries", "Hosts with most entries"},
      {kRecordNames[5], "entries", "Hosts with most entries"},
  };
  return kWordings[c >= 0 && c < kRecordCollectionCount ? c : 0];
}

}  // namespace krx
