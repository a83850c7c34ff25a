// Grouping a log of 1,000,000 visit records by site (the grouped view of
// every day, and of one week), and building the first-day index that tells
// which sites are new, which happens once per load. Prints the times.
//
//   build/host/bench/site_groups_bench
//   KRX_BENCH_SCALE=0.01 site_groups_bench     (a quick look)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/site_first_days.h"
#include "core/site_groups.h"

namespace {

size_t Scaled(double n) {
  size_t v = size_t(n * krx_bench::Scale());
  return v < 100 ? 100 : v;
}

// A year of browsing: about 2,700 records a day over 20,000 sites, a few of
// them visited most (as people do), some typed in capitals or with a port.
const krx::StringArray& Log() {
  static krx::StringArray log = [] {
    std::mt19937 rng(30);
    const size_t n = Scaled(1000000);
    krx::StringArray records;
    records.reserve(n);
    for (size_t i = 0; i < n; ++i) {
      const unsigned day = unsigned(i * 365 / n);
      const unsigned site = rng() % 8 ? rng() % 200 : rng() % 20000;
      char r[160];
      std::snprintf(r, sizeof r, "<%02u/%02u/2026 %02u:%02u:%02u> http://%s%u.example.com%s/page/%u.html - Page %zu",
                    day / 31 % 12 + 1, day % 31 + 1, unsigned(rng() % 24), unsigned(rng() % 60), unsigned(rng() % 60),
                    site % 7 ? "www.site" : "WWW.Site", site, site % 11 ? "" : ":8080", unsigned(rng() % 1000), i);
      records.push_back(r);
    }
    return records;
  }();
  return log;
}

void GroupEveryDay(benchmark::State& state) {
  const krx::StringArray& log = Log();
  for (auto _ : state) benchmark::DoNotOptimize(krx::GroupBySite(log));
  state.counters["records"] = double(log.size());
}
BENCHMARK(GroupEveryDay)->Unit(benchmark::kMillisecond);

void GroupOneWeek(benchmark::State& state) {
  const krx::StringArray& log = Log();
  const krx::DaySet week({"06/01/2026", "06/02/2026", "06/03/2026", "06/04/2026", "06/05/2026", "06/06/2026",
                          "06/07/2026"});
  for (auto _ : state) benchmark::DoNotOptimize(krx::GroupBySite(log, week));
}
BENCHMARK(GroupOneWeek)->Unit(benchmark::kMillisecond);

void BuildFirstDays(benchmark::State& state) {
  const krx::StringArray& log = Log();
  for (auto _ : state) {
    krx::SiteFirstDays index;
    index.Build(log);
    benchmark::DoNotOptimize(index.Sites());
  }
}
BENCHMARK(BuildFirstDays)->Unit(benchmark::kMillisecond);

// What a merge of a day's 2,700 records costs on top of the built index,
// and Delete of those records again (which puts the index back as it was).
void MergeAndDeleteADay(benchmark::State& state) {
  const krx::StringArray& log = Log();
  const size_t day = std::min<size_t>(2700, log.size() / 2);
  const krx::StringArray head(log.begin(), log.end() - std::ptrdiff_t(day));
  krx::SiteFirstDays index;
  index.Build(head);
  for (auto _ : state) {
    index.Appended(log, head.size());
    for (size_t i = head.size(); i < log.size(); ++i) index.Removed(log[i]);
    benchmark::DoNotOptimize(index.Sites());
  }
}
BENCHMARK(MergeAndDeleteADay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
