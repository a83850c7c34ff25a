// The item commands on a large log: deleting many selected lines from the
// collection in one pass next to one RemoveFirst per line, and a Find that
// scans every line (case ignored) next to a plain lower-and-search loop.
// Prints times and ratios; nothing is judged.
//
//   build/bench/bench/item_commands_bench            (500,000 records, 2,000 deleted)
//   KRX_BENCH_SCALE=0.02 item_commands_bench         (a quick look)
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench_clock.h"
#include "core/item_list.h"
#include "core/item_text.h"
#include "core/manager_views.h"
#include "core/record_text.h"

namespace {

using krx_bench::Clock;
using krx_bench::Scale;
using krx_bench::Seconds;

std::vector<std::string> Log(size_t count) {
  std::mt19937 rng(11);
  std::vector<std::string> log;
  log.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "<%02u/%02u/2024 %02u:%02u:%02u> ", unsigned(i / 20000 % 12 + 1),
                  unsigned(i / 700 % 28 + 1), unsigned(rng() % 24), unsigned(rng() % 60), unsigned(rng() % 60));
    log.push_back(std::string(stamp) + "http://www.Example" + std::to_string(i) + ".com/page - Title " +
                  std::to_string(rng()));
  }
  return log;
}

}  // namespace

int main() {
  const double scale = Scale();
  const size_t records = std::max<size_t>(1000, size_t(500000 * scale));
  const size_t deleted = std::max<size_t>(10, size_t(2000 * scale));
  const std::vector<std::string> log = Log(records);

  // The user selects lines spread over the log (one day's lines in a view).
  std::vector<std::string> selected;
  for (size_t i = 0; i < deleted; ++i) selected.push_back(log[(i * 7919) % records]);

  std::vector<std::string> onePass = log;
  Clock::time_point t = Clock::now();
  krx::RemoveFirstOfEach(onePass, selected);
  const double passSeconds = Seconds(t);

  std::vector<std::string> plain = log;
  t = Clock::now();
  for (const std::string& line : selected) krx::RemoveFirst(plain, line);
  const double plainSeconds = Seconds(t);
  std::printf("delete %zu of %zu lines: one pass %.4f s, one RemoveFirst per line %.4f s (%.1fx), same result: %s\n",
              deleted, records, passSeconds, plainSeconds, plainSeconds / std::max(passSeconds, 1e-9),
              onePass == plain ? "yes" : "NO");

  // Find with its only match on the last line: every line is lowered once.
  const std::string wanted = "example" + std::to_string(records - 1) + ".com";
  t = Clock::now();
  krx::FindResult found = krx::FindNext(log, wanted, 0, 0);
  const double findSeconds = Seconds(t);
  t = Clock::now();
  int plainLine = -1;
  for (size_t i = 0; i < log.size() && plainLine < 0; ++i) {
    std::string lower = log[i];
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (i > 0 && lower.find(wanted) != std::string::npos) plainLine = int(i);
  }
  const double plainFindSeconds = Seconds(t);
  std::printf("find over %zu lines (case ignored): %.4f s, plain lower-and-search %.4f s (%.2fx), same line: %s\n",
              records, findSeconds, plainFindSeconds, plainFindSeconds / std::max(findSeconds, 1e-9),
              found.line == plainLine ? "yes" : "NO");

  // Find in all days with its only match on the last line: one pass tells
  // the days that hold it, beside searching the log day by day (each day's
  // lines gathered and searched, as listing every day in turn would), the
  // latter on a tenth of the log.
  t = Clock::now();
  const std::unordered_set<std::string> days = krx::DaysContaining(log, wanted, 0);
  const double daysSeconds = Seconds(t);
  const std::vector<std::string> tenth(log.begin(), log.begin() + std::ptrdiff_t(records / 10));
  const std::string tenthWanted = "example" + std::to_string(records / 10 - 1) + ".com";
  t = Clock::now();
  const std::unordered_set<std::string> tenthDays = krx::DaysContaining(tenth, tenthWanted, 0);
  const double tenthSeconds = Seconds(t);
  t = Clock::now();
  std::string plainDay;
  std::vector<std::string> order;
  std::unordered_set<std::string> seen;
  for (const std::string& r : tenth)
    if (seen.insert(krx::DateKey(r)).second) order.push_back(krx::DateKey(r));
  for (const std::string& day : order) {
    const std::vector<std::string> lines = krx::ItemListLines(krx::IDC_TAB_VISIT, tenth, day);
    if (krx::FindNext(lines, tenthWanted, -1, 0).kind != krx::FindResult::kNotFound) {
      plainDay = day;
      break;
    }
  }
  const double plainDaysSeconds = Seconds(t);
  const bool sameDay = tenthDays.size() == 1 && tenthDays.count(plainDay) == 1 && days.size() == 1;
  std::printf("find in all days over %zu lines: %.4f s; over %zu lines %.4f s against day by day %.4f s (%.1fx), "
              "same day: %s\n",
              records, daysSeconds, tenth.size(), tenthSeconds, plainDaysSeconds,
              plainDaysSeconds / std::max(tenthSeconds, 1e-9), sameDay ? "yes" : "NO");
  return onePass == plain && found.line == plainLine && sameDay ? 0 : 1;
}
