// The core work behind the quick filter and several days at once, native:
// the filter's pick over a day of 50,000 lines, and the lines of all 365
// days of a log of 1,000,000 records in one pass beside one day's lines
// picked the one-day way. Prints times; nothing is judged.
//
//   build/host/bench/day_range_bench            (50,000 lines; 1,000,000 records)
//   KRX_BENCH_SCALE=0.01 day_range_bench        (a quick look)
#include <cstdio>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/chosen_days.h"
#include "core/item_list.h"
#include "core/manager_views.h"
#include "core/quick_filter.h"

namespace {

using krx_bench::Clock;
using krx_bench::Scale;
using krx_bench::Seconds;

std::string Line(long date, long i) {
  char line[220];
  std::snprintf(line, sizeof line, "<%02ld/%02ld/%04ld %02ld:%02ld:%02ld> http://www.Example-%ld.com/News/article_%ld.html - %s",
                date / 100 % 100, date % 100, date / 10000, i / 3600 % 24, i / 60 % 60, i % 60, i * 7919 % 1000, i,
                i % 10 == 0 ? "Example News Zebra" : "Example News");
  return line;
}

}  // namespace

int main() {
  const size_t dayLines = size_t(50000 * Scale()) + 10, records = size_t(1000000 * Scale()) + 365;
  std::vector<std::string> day;
  for (size_t i = 0; i < dayLines; ++i) day.push_back(Line(20260701, long(i)));
  Clock::time_point start = Clock::now();
  const size_t shown = krx::FilterLines(day, "zebra", 0).size();
  std::printf("quick filter: %zu of %zu lines hold \"zebra\", picked in %.2f ms\n", shown, day.size(),
              Seconds(start) * 1000);

  std::vector<std::string> log;
  krx::StringArray days;
  for (int back = 364; back >= 0; --back) {
    char key[16];
    const long d = krx::DaysBefore(20260701, back);
    std::snprintf(key, sizeof key, "%02ld/%02ld/%04ld", d / 100 % 100, d % 100, d / 10000);
    days.push_back(key);
  }
  for (size_t i = 0; i < records; ++i) log.push_back(Line(krx::DaysBefore(20260701, int(i % 365)), long(i)));
  start = Clock::now();
  const std::vector<krx::StringArray> blocks = krx::ItemListLinesOfDays(log, days);
  const double all = Seconds(start);
  size_t lines = 0;
  for (const auto& block : blocks) lines += block.size();
  start = Clock::now();
  const size_t one = krx::ItemListLines(krx::IDC_TAB_VISIT, log, days.back()).size();
  const double single = Seconds(start);
  std::printf("all %zu days of %zu records: %zu lines in %.3f s (%.3f us a line); one day's %zu lines the one-day way "
              "in %.3f s\n",
              days.size(), log.size(), lines, all, all * 1e6 / double(lines), one, single);
  return 0;
}
