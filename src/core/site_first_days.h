#pragma once
// The first day of every site in a log: a site is new on the first day it
// appears. Built once when a log is first asked about after it was loaded,
// then kept in step by the calls of whoever changes the log (the merge
// appends, Delete and Delete this day remove), so no question about new
// sites ever reads the whole log again.
//
//   SiteFirstDays& index = merger.FirstDays(kVisitRecords);
//   index.EnsureBuilt(records);
//   for (const NewSite& s : index.NewSites(DaySet({"12/07/2026"}))) ...
//
// Days order by date (12/31/2025 before 01/02/2026); keys that are no date
// (the empty key of lines without a readable one) come after every date, so
// a site seen on a dated day is never new on the undated one.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/record_file.h"
#include "core/site_groups.h"

namespace krx {

struct NewSite {
  std::string host;
  std::string firstDay;  // its date key
};

class SiteFirstDays {
 public:
  bool Built() const { return built_; }
  // Forgets everything and indexes every record.
  void Build(const StringArray& records);
  // Builds unless built over this many records already: a log changed in a
  // way nobody reported (it would differ in size) is indexed again rather
  // than answered wrongly.
  void EnsureBuilt(const StringArray& records);
  // The log was replaced (loaded again): the next EnsureBuilt builds.
  void Forget();

  // The calls that keep a built index in step; before it is built they do
  // nothing, as the build will see the records anyway.
  // records[from..] were just appended.
  void Appended(const StringArray& records, size_t from);
  // One record, equal to `record`, was removed.
  void Removed(std::string_view record);
  // Every record of the day `date` was removed; `count` of them.
  void RemovedDay(std::string_view date, size_t count);

  // The site's first day, or nullptr when the log has no record of it.
  const std::string* FirstDay(std::string_view site) const;
  // The sites whose first day is one of `days`, ordered by that day and
  // then by name.
  std::vector<NewSite> NewSites(const DaySet& days) const;
  size_t Sites() const { return sites_.size(); }

 private:
  struct DayRank {
    long order;       // DateKeyOrder, or past every date for a key that is no date
    std::string key;
    bool operator<(const DayRank& o) const { return order != o.order ? order < o.order : key < o.key; }
  };
  using Days = std::map<DayRank, size_t>;  // the site's records per day

  static DayRank RankOf(std::string_view date);

  std::unordered_map<std::string, Days> sites_;
  std::string scratch_, key_;
  size_t indexed_ = 0;  // records the index stands for
  bool built_ = false;
};

}  // namespace krx
