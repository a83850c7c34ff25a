// Merging day files into a large log collection, next to awk's
// "print each line once" over the same lines and next to the plain
// reverse-scan merge at a size that it can finish. Prints times and ratios.
//
//   build/bench/bench/merge_bench                 (500,000 records + 200,000 day-file lines)
//   KRX_BENCH_SCALE=0.02 merge_bench              (a quick look)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "core/date_list.h"
#include "core/day_file_merge.h"
#include "core/record_text.h"
#include "support/merge_reference.h"

namespace {

using krx_bench::Clock;
using krx_bench::Scale;
using krx_bench::Seconds;

// Visit records of about 95 bytes, all different.
std::string Record(std::mt19937& rng, size_t serial) {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
  char stamp[64];
  const unsigned day = unsigned(serial / 600);  // about 600 records a day: years of logs
  std::snprintf(stamp, sizeof stamp, "<%02u/%02u/%04u %02u:%02u:%02u> http://www.", day / 28 % 12 + 1, day % 28 + 1,
                2020 + day / 336, unsigned(rng() % 24), unsigned(rng() % 60), unsigned(rng() % 60));
  std::string r = stamp;
  for (int i = 0; i < 12; ++i) r.push_back(letters[rng() % 26]);
  r += ".example.com/" + std::to_string(serial) + "/";
  while (r.size() < 80) r.push_back(letters[rng() % 26]);
  r += ".html - Page ";
  r += std::to_string(serial);
  return r;
}

struct Input {
  krx::StringArray records;        // what the record file loaded
  std::vector<std::string> days;   // day files, CR LF between lines
  size_t dayLines = 0;
};

// Half of the day-file lines repeat loaded records, half are new (and a new
// line may repeat in a later file, as the add-on's files overlap in practice).
Input MakeInput(size_t records, size_t dayLines, size_t files) {
  std::mt19937 rng(1207);
  Input in;
  in.records.reserve(records);
  for (size_t i = 0; i < records; ++i) in.records.push_back(Record(rng, i));
  in.days.resize(files);
  for (size_t i = 0; i < dayLines; ++i) {
    std::string& text = in.days[i % files];
    text += (i % 2 == 0) ? in.records[rng() % records] : Record(rng, records + i / 2);
    text += "\r\n";
  }
  in.dayLines = dayLines;
  return in;
}

double TimeIndexedMerge(const Input& in, krx::StringArray& out, double* refreshSeconds) {
  out = in.records;
  Clock::time_point start = Clock::now();
  krx::MergeTarget target(out);  // the first merge after loading builds the index
  for (const std::string& text : in.days) target.MergeDayText(text);
  double seconds = Seconds(start);
  if (refreshSeconds) {
    start = Clock::now();  // a refresh: the index is there, every line is known
    for (const std::string& text : in.days) target.MergeDayText(text);
    *refreshSeconds = Seconds(start);
  }
  return seconds;
}

double TimeReferenceMerge(const Input& in, krx::StringArray& out) {
  out = in.records;
  Clock::time_point start = Clock::now();
  for (const std::string& text : in.days) krx_test::ReferenceMerge(text, out);
  return Seconds(start);
}

// awk's classic "first occurrence of each line" over the records followed by
// the day-file lines, reading a file and writing to /dev/null.
double TimeAwk(const Input& in) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = std::string(tmp ? tmp : "/tmp") + "/krx-merge-bench.txt";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return -1;
  for (const std::string& r : in.records) std::fprintf(f, "%s\n", r.c_str());
  for (const std::string& text : in.days) {
    for (char c : text) {
      if (c != '\r') std::fputc(c, f);
    }
  }
  std::fclose(f);
  std::string command = "awk '!seen[$0]++' " + path + " > /dev/null";
  Clock::time_point start = Clock::now();
  int rc = std::system(command.c_str());
  double seconds = Seconds(start);
  std::remove(path.c_str());
  return rc == 0 ? seconds : -1;
}

}  // namespace

int main() {
  const double scale = Scale();
  const size_t records = size_t(500000 * scale), dayLines = size_t(200000 * scale);
  Input big = MakeInput(records, dayLines, 8);
  krx::StringArray merged;
  double refresh = 0;
  double indexed = TimeIndexedMerge(big, merged, &refresh);
  std::printf("indexed merge: %zu records + %zu day-file lines -> %zu records: %.3f s (refresh of the same files: %.3f s)\n",
              records, dayLines, merged.size(), indexed, refresh);
  {
    // The refresh as the manager makes it: each day file read again, but only
    // what it gained since (here nothing) is cut and merged.
    krx::StringArray out = big.records;
    krx::MergeTarget target(out);
    std::vector<krx::DayFileReadMark> marks(big.days.size());
    for (size_t i = 0; i < big.days.size(); ++i) target.MergeDayTextAfter(big.days[i], marks[i]);
    Clock::time_point start = Clock::now();
    for (size_t i = 0; i < big.days.size(); ++i) target.MergeDayTextAfter(big.days[i], marks[i]);
    const double gained = Seconds(start);
    std::printf("refresh taking only what the day files gained: %.3f s; whole re-merge / gain-only = %.1f; results %s\n",
                gained, refresh / gained, out == merged ? "identical" : "DIFFER");
    if (out != merged) return 1;
  }
  double awk = TimeAwk(big);
  if (awk > 0) {
    std::printf("awk '!seen[$0]++' over the same %zu lines: %.3f s; awk / merge = %.1f (target at least 5)\n",
                records + dayLines, awk, awk / indexed);
  }

  {
    krx::StringArray dates;
    krx::NoProgress quiet;
    Clock::time_point start = Clock::now();
    krx::AddDateKeys(merged, dates, quiet);
    double indexedDates = Seconds(start);
    start = Clock::now();
    krx::StringArray reference = krx_test::ReferenceDateList(merged);
    double referenceDates = Seconds(start);
    std::printf("date list of %zu records (%zu days): indexed %.3f s, reverse scan %.3f s; results %s\n", merged.size(),
                dates.size(), indexedDates, referenceDates, dates == reference ? "identical" : "DIFFER");
    if (dates != reference) return 1;
  }

  // The reverse scan is quadratic: compare at a size it finishes in seconds.
  const size_t smallRecords = size_t(50000 * scale), smallLines = size_t(20000 * scale);
  Input small = MakeInput(smallRecords, smallLines, 4);
  krx::StringArray fast, slow;
  double smallIndexed = TimeIndexedMerge(small, fast, nullptr);
  double reference = TimeReferenceMerge(small, slow);
  std::printf("at %zu records + %zu lines: reverse scan %.3f s, indexed %.4f s, ratio %.0f; results %s\n",
              smallRecords, smallLines, reference, smallIndexed, reference / smallIndexed,
              fast == slow ? "identical" : "DIFFER");
  return fast == slow ? 0 : 1;
}
