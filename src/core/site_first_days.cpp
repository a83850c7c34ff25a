#include "core/site_first_days.h"

#include <algorithm>
#include <climits>

#include "core/record_text.h"

namespace krx {

SiteFirstDays::DayRank SiteFirstDays::RankOf(std::string_view date) {
  const long order = DateKeyOrder(date);
  return {order < 0 ? LONG_MAX : order, std::string(date)};
}

void SiteFirstDays::Build(const StringArray& records) {
  sites_.clear();
  indexed_ = 0;
  built_ = true;
  Appended(records, 0);
}

void SiteFirstDays::EnsureBuilt(const StringArray& records) {
  if (!built_ || indexed_ != records.size()) Build(records);
}

void SiteFirstDays::Forget() {
  sites_.clear();
  indexed_ = 0;
  built_ = false;
}

void SiteFirstDays::Appended(const StringArray& records, size_t from) {
  if (!built_) return;
  // A log holds a day's records together and a site's pages tend to follow
  // each other: the last site's day entry usually serves the next record.
  std::string_view lastSite, lastDay;
  size_t* lastCount = nullptr;
  for (size_t i = from; i < records.size(); ++i) {
    ++indexed_;
    const std::string_view site = SiteOfRecord(records[i], scratch_);
    if (site.empty()) continue;
    const std::string_view day = DateKeyView(records[i]);
    if (lastCount && site == lastSite && day == lastDay) {
      ++*lastCount;
      continue;
    }
    key_.assign(site.data(), site.size());  // one buffer: no allocation per lookup
    auto it = sites_.find(key_);
    if (it == sites_.end()) it = sites_.emplace(key_, Days()).first;
    lastCount = &it->second[RankOf(day)];
    ++*lastCount;
    lastSite = it->first;
    lastDay = day;
  }
}

void SiteFirstDays::Removed(std::string_view record) {
  if (!built_) return;
  if (indexed_ > 0) --indexed_;
  const std::string_view site = SiteOfRecord(record, scratch_);
  if (site.empty()) return;
  key_.assign(site.data(), site.size());
  const auto it = sites_.find(key_);
  if (it == sites_.end()) return;
  const auto day = it->second.find(RankOf(DateKeyView(record)));
  if (day == it->second.end()) return;
  if (--day->second == 0) it->second.erase(day);
  if (it->second.empty()) sites_.erase(it);
}

void SiteFirstDays::RemovedDay(std::string_view date, size_t count) {
  if (!built_) return;
  indexed_ -= std::min(indexed_, count);
  const DayRank rank = RankOf(date);
  for (auto it = sites_.begin(); it != sites_.end();) {
    it->second.erase(rank);
    it = it->second.empty() ? sites_.erase(it) : std::next(it);
  }
}

const std::string* SiteFirstDays::FirstDay(std::string_view site) const {
  const auto it = sites_.find(std::string(site));
  return it == sites_.end() || it->second.empty() ? nullptr : &it->second.begin()->first.key;
}

std::vector<NewSite> SiteFirstDays::NewSites(const DaySet& days) const {
  std::vector<std::pair<const DayRank*, const std::string*>> found;
  for (const auto& [site, siteDays] : sites_) {
    if (siteDays.empty()) continue;
    const DayRank& first = siteDays.begin()->first;
    if (days.Holds(first.key)) found.push_back({&first, &site});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return *a.first < *b.first || (!(*b.first < *a.first) && *a.second < *b.second);
  });
  std::vector<NewSite> sites;
  sites.reserve(found.size());
  for (const auto& f : found) sites.push_back({*f.second, f.first->key});
  return sites;
}

}  // namespace krx
