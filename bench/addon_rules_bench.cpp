// The add-on's two costs on the browser's thread: the forbidden check on
// each navigation against a list of 100,000 entries (domain and address
// match), and a day of 10,000 visit lines, each formatted and appended to
// its day file in one open-append-close, beside the plain cost of those
// appends with lines made beforehand. Prints the times and the ratios.
//
//   build/host/bench/addon_rules_bench
//   KRX_BENCH_SCALE=0.01 addon_rules_bench     (a quick look)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/addon_rules.h"

namespace {

size_t Scaled(double n) {
  size_t v = size_t(n * krx_bench::Scale());
  return v < 10 ? 10 : v;
}

std::string Word(std::mt19937& rng, int minLen, int maxLen) {
  std::uniform_int_distribution<int> length(minLen, maxLen), letter('a', 'z');
  std::string w(size_t(length(rng)), 'a');
  for (char& c : w) c = char(letter(rng));
  return w;
}

const char* const kTlds[] = {"com", "net", "org", "info", "biz", "example", "test"};

// Entries as the manager holds them: hosts typed by hand, addresses taken
// from log lines.
const krx::StringArray& Entries() {
  static krx::StringArray entries = [] {
    std::mt19937 rng(17);
    krx::StringArray e(Scaled(100000));
    for (size_t i = 0; i < e.size(); ++i) {
      std::string host = Word(rng, 4, 12) + "." + kTlds[rng() % 7];
      if (i % 3 == 0) host = "www." + host;
      e[i] = i % 2 ? host : "http://" + host + "/" + Word(rng, 3, 10) + ".html";
    }
    return e;
  }();
  return entries;
}

// Navigations: one in ten to a listed site (a sub-domain or the page), the
// rest to sites not listed, with paths and queries of ordinary length.
const std::vector<std::string>& Navigations() {
  static std::vector<std::string> urls = [] {
    std::mt19937 rng(29);
    std::vector<std::string> u(4096);
    for (size_t i = 0; i < u.size(); ++i) {
      if (i % 10 == 0) {
        const std::string& e = Entries()[rng() % Entries().size()];
        u[i] = e.compare(0, 7, "http://") == 0 ? e : "http://news." + e + "/index.html";
      } else {
        u[i] = "http://" + Word(rng, 3, 8) + "." + Word(rng, 4, 12) + "." + kTlds[rng() % 7] + "/" + Word(rng, 5, 20) +
               "/" + Word(rng, 5, 15) + ".html?id=" + std::to_string(rng() % 100000);
      }
    }
    return u;
  }();
  return urls;
}

const krx::AddressList& List() {
  static krx::AddressList list = [] {
    krx::AddressList l;
    l.Assign(Entries());
    return l;
  }();
  return list;
}

void ForbiddenCheck(benchmark::State& state, int matchDomain) {
  krx::SettingValues opt = krx::kDefaultSettings;
  opt[krx::kMatchDomain] = matchDomain;
  const krx::AddressList& list = List();
  const std::vector<std::string>& urls = Navigations();
  size_t i = 0, hits = 0;
  for (auto _ : state) {
    hits += krx::IsForbiddenNavigation(opt, list, urls[i++ & 4095]);
  }
  benchmark::DoNotOptimize(hits);
  state.counters["forbidden"] = benchmark::Counter(double(hits) / double(state.iterations()));
}
void BM_ForbiddenByDomain(benchmark::State& state) { ForbiddenCheck(state, 1); }
void BM_ForbiddenByAddress(benchmark::State& state) { ForbiddenCheck(state, 0); }

// A re-read of forbid.log rebuilds the index once.
void BM_IndexTheList(benchmark::State& state) {
  for (auto _ : state) {
    krx::AddressList l;
    l.Assign(Entries());
    benchmark::DoNotOptimize(l.size());
  }
}

std::string DayPath() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp ? tmp : "/tmp") + "/krx-bench-" + std::to_string(getpid()) + "-" +
         krx::AddonDayFileName(krx::AddonDayFileKind::kVisit, 2026, 12, 7);
}

struct Visit {
  krx::LocalStamp t;
  std::string address, title;
};

const std::vector<Visit>& Visits() {
  static std::vector<Visit> v = [] {
    std::mt19937 rng(41);
    std::vector<Visit> out(Scaled(10000));
    for (size_t i = 0; i < out.size(); ++i) {
      int s = int(i * 86399 / out.size());
      out[i].t = {2026, 12, 7, s / 3600, s / 60 % 60, s % 60};
      out[i].address = "http://www." + Word(rng, 4, 12) + ".com/" + Word(rng, 5, 30) + "/" + Word(rng, 5, 20) + ".html";
      out[i].title = Word(rng, 4, 10) + " " + Word(rng, 4, 10) + " - " + Word(rng, 5, 20);
    }
    return out;
  }();
  return v;
}

// One append as the add-on makes it: open (creating the file when the
// manager deleted it), one write of the whole line, close.
bool AppendLine(const std::string& path, const std::string& line) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, line.data(), line.size()) == ssize_t(line.size());
  ::close(fd);
  return ok;
}

void BM_DayOfVisitsFormattedAndAppended(benchmark::State& state) {
  const std::string path = DayPath();
  for (auto _ : state) {
    for (const Visit& v : Visits()) {
      if (!AppendLine(path, krx::AddonDayLine(v.t, v.address, v.title))) state.SkipWithError("append failed");
    }
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
  }
}

void BM_DayOfVisitsPlainAppends(benchmark::State& state) {
  const std::string path = DayPath();
  std::vector<std::string> lines;
  for (const Visit& v : Visits()) lines.push_back(krx::AddonDayLine(v.t, v.address, v.title));
  for (auto _ : state) {
    for (const std::string& line : lines) {
      if (!AppendLine(path, line)) state.SkipWithError("append failed");
    }
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
  }
}

void BM_DayOfVisitsFormattedOnly(benchmark::State& state) {
  for (auto _ : state) {
    size_t bytes = 0;
    for (const Visit& v : Visits()) bytes += krx::AddonDayLine(v.t, v.address, v.title).size();
    benchmark::DoNotOptimize(bytes);
  }
}

BENCHMARK(BM_ForbiddenByDomain)->UseRealTime();
BENCHMARK(BM_ForbiddenByAddress)->UseRealTime();
BENCHMARK(BM_IndexTheList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DayOfVisitsFormattedAndAppended)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DayOfVisitsPlainAppends)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DayOfVisitsFormattedOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();  // in each run's unit
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Made before any timing.
  std::printf("forbidden entries: %zu; navigations: %zu; visits a day: %zu\n", List().size(), Navigations().size(),
              Visits().size());
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  auto has = [&](const char* n) { return t.count(std::string(n) + "/real_time") > 0; };
  auto at = [&](const char* n) { return t[std::string(n) + "/real_time"]; };
  const double budgetNs = 1e6;  // about a millisecond of the browser's thread per event
  for (const char* n : {"BM_ForbiddenByDomain", "BM_ForbiddenByAddress"}) {
    if (has(n))
      std::printf("%s: %.0f ns a navigation, %.5f of the 1 ms budget\n", n, at(n), at(n) / budgetNs);
  }
  if (has("BM_DayOfVisitsFormattedAndAppended") && has("BM_DayOfVisitsPlainAppends")) {
    const double lines = double(Visits().size());
    std::printf("a day of visits: %.2f ms formatted and appended, %.2f ms plain appends: ratio %.3f\n",
                at("BM_DayOfVisitsFormattedAndAppended"), at("BM_DayOfVisitsPlainAppends"),
                at("BM_DayOfVisitsFormattedAndAppended") / at("BM_DayOfVisitsPlainAppends"));
    std::printf("one visit line: %.1f us formatted and appended, %.1f us plain, %.3f us formatting alone\n",
                at("BM_DayOfVisitsFormattedAndAppended") * 1000 / lines, at("BM_DayOfVisitsPlainAppends") * 1000 / lines,
                has("BM_DayOfVisitsFormattedOnly") ? at("BM_DayOfVisitsFormattedOnly") * 1000 / lines : -1.0);
  }
  benchmark::Shutdown();
  return 0;
}
