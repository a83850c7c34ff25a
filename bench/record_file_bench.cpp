// Saving and loading a large record file next to a plain buffered write and
// read of the same bytes. Prints the times, the ratios and the peak memory of
// a load in a fresh process.
//
//   build/bench/bench/record_file_bench            (1,000,000 records)
//   KRX_BENCH_RECORDS=20000 record_file_bench      (a quick look)
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "core/record_cipher.h"
#include "core/record_file.h"
#include "records/file_io.h"
#include "records/record_store.h"

namespace {

size_t RecordCount() {
  const char* env = std::getenv("KRX_BENCH_RECORDS");
  return env ? size_t(std::strtoul(env, nullptr, 10)) : 1000000;
}

const krx::StringArray& Records() {
  static krx::StringArray records = [] {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> length(60, 200), letter('a', 'z');
    krx::StringArray r(RecordCount());
    for (std::string& s : r) {
      s = "<2026-12-07 08:00:00> http://";
      int n = length(rng);
      while (int(s.size()) < n) s.push_back(char(letter(rng)));
    }
    return r;
  }();
  return records;
}

std::string BenchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp ? tmp : "/tmp") + "/";
}
std::string RecordPath() { return BenchFolder() + "krx-bench-visit.log"; }
std::string PlainPath() { return BenchFolder() + "krx-bench-plain.bin"; }

void BM_SaveRecordFile(benchmark::State& state) {
  const std::string stamp = krx::SealedCopy("password");
  for (auto _ : state) {
    if (!krx::SaveRecordFile(RecordPath(), stamp, Records())) state.SkipWithError("save failed");
  }
}

// The same bytes, written record by record through stdio's buffer and synced.
void BM_PlainWrite(benchmark::State& state) {
  std::string bytes;
  krx::ReadWholeFile(RecordPath(), bytes);
  for (auto _ : state) {
    FILE* f = std::fopen(PlainPath().c_str(), "wb");
    std::setvbuf(f, nullptr, _IOFBF, 64 * 1024);
    for (size_t off = 0; off < bytes.size(); off += 130) {
      size_t n = bytes.size() - off < 130 ? bytes.size() - off : 130;
      std::fwrite(bytes.data() + off, 1, n, f);
    }
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
  }
}

// A load ends when the records are in memory; freeing them is not part of it
// (the program frees them once, at exit), so that happens off the clock.
void BM_LoadRecordFile(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<krx::FileSource> file = krx::FileSource::Open(RecordPath());
    krx::RecordFileRead read = krx::ReadRecordFile(*file, "password");
    if (read.records.size() != Records().size()) state.SkipWithError("load lost records");
    benchmark::DoNotOptimize(read.records.data());
    state.PauseTiming();
    read = krx::RecordFileRead();
    state.ResumeTiming();
  }
}

void BM_PlainRead(benchmark::State& state) {
  std::string buffer(64 * 1024, '\0');
  for (auto _ : state) {
    FILE* f = std::fopen(RecordPath().c_str(), "rb");
    size_t total = 0, got;
    while ((got = std::fread(&buffer[0], 1, buffer.size(), f)) > 0) total += got;
    std::fclose(f);
    benchmark::DoNotOptimize(total);
  }
}

BENCHMARK(BM_SaveRecordFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

// The peak resident size of this process so far, in bytes (VmHWM).
long PeakResidentBytes() {
  FILE* f = std::fopen("/proc/self/status", "r");
  char line[256];
  long kb = -1;
  while (f && std::fgets(line, sizeof(line), f)) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  }
  if (f) std::fclose(f);
  return kb * 1024;
}

// Runs one load in a fresh process, which prints its own peak.
long PeakOfFreshLoad(const char* self) {
  std::string command = std::string(self) + " --load-once " + RecordPath();
  FILE* p = popen(command.c_str(), "r");
  long peak = -1;
  if (p && std::fscanf(p, "%ld", &peak) != 1) peak = -1;
  if (p) pclose(p);
  return peak;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--load-once") {
    std::unique_ptr<krx::FileSource> file = krx::FileSource::Open(argv[2]);
    bool loaded = file && krx::ReadRecordFile(*file, "password").status == krx::RecordFileStatus::kLoaded;
    std::printf("%ld\n", PeakResidentBytes());
    return loaded ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  std::printf("records: %zu\n", Records().size());  // generated before any timing
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  if (t.count("BM_SaveRecordFile/real_time") && t.count("BM_PlainWrite/real_time")) {
    std::printf("save / plain write: %.2f (target at most 2)\n",
                t["BM_SaveRecordFile/real_time"] / t["BM_PlainWrite/real_time"]);
  }
  if (t.count("BM_LoadRecordFile/real_time") && t.count("BM_PlainRead/real_time")) {
    std::printf("load / plain read:  %.2f (target at most 3)\n",
                t["BM_LoadRecordFile/real_time"] / t["BM_PlainRead/real_time"]);
  }
  struct stat st;
  if (::stat(RecordPath().c_str(), &st) == 0) {
    long peak = PeakOfFreshLoad(argv[0]);
    std::printf("file size: %lld bytes; peak memory of a fresh load: %ld bytes (%.2f x file size, target below 2)\n",
                static_cast<long long>(st.st_size), peak, double(peak) / double(st.st_size));
  }
  std::remove(RecordPath().c_str());
  std::remove(PlainPath().c_str());
  benchmark::Shutdown();
  return 0;
}
