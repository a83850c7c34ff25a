#include "core/site_groups.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/log_stats.h"
#include "core/record_text.h"

namespace krx {

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

std::string_view SiteOfRecord(std::string_view record, std::string& scratch) {
  const std::string_view address = record.find('>') == std::string_view::npos ? record : RecordAddressView(record);
  std::string_view host = HostOfAddress(address);
  if (!std::any_of(host.begin(), host.end(), IsUpper)) return host;
  scratch.assign(host.data(), host.size());  // one buffer for every record
  for (char& c : scratch) c = LowerAscii(c);
  return scratch;
}

bool MoreRecords(const HostCount& a, const HostCount& b) {
  return a.records != b.records ? a.records > b.records : a.host < b.host;
}

void SiteTally::Count(std::string_view record) {
  std::string_view host = SiteOfRecord(record, scratch_);
  if (host.empty()) return;
  // Pages of one site tend to follow each other.
  if (lastCount_ && host == lastHost_) {
    ++*lastCount_;
    return;
  }
  auto it = counts_.find(host);
  if (it == counts_.end()) {
    if (host.data() == scratch_.data()) host = lowered_.emplace_back(scratch_);
    it = counts_.emplace(host, 0).first;
  }
  ++it->second;
  lastHost_ = it->first;
  lastCount_ = &it->second;
}

std::vector<HostCount> SiteTally::Rows(size_t limit) const {
  std::vector<std::pair<std::string_view, size_t>> all(counts_.begin(), counts_.end());
  const size_t shown = std::min(all.size(), limit);
  std::partial_sort(all.begin(), all.begin() + std::ptrdiff_t(shown), all.end(), [](const auto& a, const auto& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  });
  std::vector<HostCount> rows;
  rows.reserve(shown);
  for (size_t i = 0; i < shown; ++i) rows.push_back({std::string(all[i].first), all[i].second});
  return rows;
}

DaySet::DaySet(const std::vector<std::string>& days) : all_(false), days_(days.begin(), days.end()), keys_(days) {}

std::vector<HostCount> GroupBySite(const StringArray& records, const DaySet& days) {
  SiteTally tally;
  // A log holds a day's records together: the answer for the last day serves.
  std::string_view lastDay;
  bool lastChosen = days.All(), first = true;
  for (const std::string& r : records) {
    if (!days.All()) {
      const std::string_view day = DateKeyView(r);
      if (first || day != lastDay) {
        lastChosen = days.Holds(day);
        lastDay = day;
        first = false;
      }
      if (!lastChosen) continue;
    }
    tally.Count(r);
  }
  return tally.Rows();
}

}  // namespace krx
