#pragma once
// The figures of a log as the Statistics window and `krxtool stats` show
// them: records per day (in date order), the total, the busiest day and the
// hosts with most records. One pass over the log, so a million records
// count in a fraction of a second.
//
//   LogStats s = CountLogStats(collections[kBlockRecords]);
//   s.days[s.busiest].records ...
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_file.h"
#include "core/site_groups.h"

namespace krx {

// How many hosts the figures name.
constexpr size_t kStatsTopHosts = 10;

struct DayCount {
  std::string date;  // the date key, "mm/dd/yyyy" as the add-on writes it
  size_t records = 0;
};

struct LogStats {
  std::vector<DayCount> days;  // oldest first; keys that are no date last, by text
  size_t total = 0;
  size_t busiest = 0;          // index into days of the day with most records (the earliest of equals)
  std::vector<HostCount> hosts;  // most records first, equal counts by name (SiteTally's rows)
};

// Counts `records`. The hosts are counted by site as the grouped view
// counts them (SiteTally); records whose address has no host count for
// their day only.
LogStats CountLogStats(const StringArray& records, size_t topHosts = kStatsTopHosts);

// True for a date key of the form the add-on writes, "mm/dd/yyyy".
bool IsDateKey(std::string_view key);

// The host of an address, as it counts: after "scheme://" (or the whole
// text when it starts with no scheme), without a user name and port, up to
// the first '/', '\', '?' or '#'. Empty for addresses that name no host
// ("about:blank", "javascript:...", "C:\page.htm").
std::string_view HostOfAddress(std::string_view address);

// What the figures of each collection are called.
struct StatsWording {
  const char* log;        // "Block log"
  const char* records;    // "popups blocked"
  const char* hosts;      // the heading of the host table
};
const StatsWording& StatsWordingOf(RecordCollection c);

}  // namespace krx
