#pragma once
// Records by site: the one count behind the Statistics window's top sites,
// the grouped view of the chosen days and `krxtool sites`, so the three
// always agree. A site is the host of a record's address (for the block
// log: the page that opened the popup), in lower case, without a user name
// or port: "WWW.Example.com", "user@www.example.com:8080" and
// "www.example.com" are one site.
//
//   std::vector<HostCount> rows = GroupBySite(records, DaySet({"12/07/2026"}));
//   rows[0].host, rows[0].records   // the site with most records
#include <cstddef>
#include <deque>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/record_file.h"

namespace krx {

struct HostCount {
  std::string host;  // lower case
  size_t records = 0;
};

// The site a record counts for, as a view into the record or, when the
// host had capitals, into `scratch`; empty when its address names no host.
// A list entry (no '>') is an address on its own.
std::string_view SiteOfRecord(std::string_view record, std::string& scratch);

// Most records first; equal counts in the order of the host names' bytes,
// so a listing never changes between two runs over the same records.
bool MoreRecords(const HostCount& a, const HostCount& b);

// Counts records by site, one record at a time. The counts refer to the
// records' own text: the records must outlive the tally.
class SiteTally {
 public:
  void Count(std::string_view record);
  size_t Sites() const { return counts_.size(); }
  // The `limit` sites with most records, in MoreRecords order.
  std::vector<HostCount> Rows(size_t limit = std::numeric_limits<size_t>::max()) const;

 private:
  std::unordered_map<std::string_view, size_t> counts_;
  std::deque<std::string> lowered_;  // hosts that had capitals, lowered once
  std::string scratch_;
  std::string_view lastHost_;
  size_t* lastCount_ = nullptr;
};

// The days asked about: every day of the log (and every key that is no
// date), or the date keys given, which may be none.
class DaySet {
 public:
  DaySet() = default;  // every day
  explicit DaySet(const std::vector<std::string>& days);
  bool All() const { return all_; }
  bool Holds(std::string_view key) const { return all_ || days_.count(std::string(key)) > 0; }
  const std::vector<std::string>& Keys() const { return keys_; }

 private:
  bool all_ = true;
  std::unordered_set<std::string> days_;
  std::vector<std::string> keys_;  // as given
};

// The records of `days` by site, in MoreRecords order.
std::vector<HostCount> GroupBySite(const StringArray& records, const DaySet& days = DaySet());

}  // namespace krx
