// krxtool at a million records, next to the text tools a user would reach
// for: import beside awk '!seen[$0]++' (and beside the line-by-line set it
// replaced), export beside list, stats and search beside grep -c on the
// exported text, and the window's export of the same log. Each run happens
// in a child process, so its peak memory is its own.
//
//   build/bench/bench/krxtool_bench                 (1,000,000 lines)
//   KRX_BENCH_SCALE=0.01 krxtool_bench              (a quick look)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <unordered_set>

#include "bench_clock.h"
#include "core/record_cipher.h"
#include "core/log_export.h"
#include "records/export_file.h"
#include "records/file_io.h"
#include "records/record_store.h"
#include "tools/krxtool/krxtool.h"

namespace {

using krx_bench::Clock;
using krx_bench::Scale;
using krx_bench::Seconds;

// Visit records of about 95 bytes, about 600 a day, over a few hundred hosts.
std::string Record(std::mt19937& rng, size_t serial) {
  static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
  char head[96];
  const unsigned day = unsigned(serial / 600);
  std::snprintf(head, sizeof head, "<%02u/%02u/%04u %02u:%02u:%02u> http://www.host%u.example.com/", day / 28 % 12 + 1,
                day % 28 + 1, 2020 + day / 336, unsigned(rng() % 24), unsigned(rng() % 60), unsigned(rng() % 60),
                unsigned(rng() % 400));
  std::string r = head;
  r += std::to_string(serial) + "/";
  while (r.size() < 80) r.push_back(letters[rng() % 26]);
  return r + ".html - Page " + std::to_string(serial);
}

struct Run {
  double seconds = -1;
  long peakKb = 0;
  int code = -1;
};

// Runs work in a child process of its own, so its peak memory is its own;
// work's value is the child's exit code.
template <typename Work>
Run InChild(Work work) {
  std::fflush(nullptr);  // a child must not print the parent's pending lines again
  Clock::time_point start = Clock::now();
  pid_t pid = fork();
  if (pid == 0) _exit(work());
  Run run;
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    run.seconds = Seconds(start);
    run.peakKb = usage.ru_maxrss;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return run;
}

// Runs krxtool's entry in a child with stdin and stdout redirected.
Run Child(const std::vector<std::string>& args, const std::string& inPath, const std::string& outPath) {
  return InChild([&] {
    if (!std::freopen(outPath.c_str(), "wb", stdout)) return 90;
    std::ifstream in(inPath, std::ios::binary);
    std::ios::sync_with_stdio(false);
    int rc = krx::RunKrxTool(args, in, std::cout, std::cerr, nullptr);
    std::cout.flush();
    return rc;
  });
}

// The way import used to go: a line at a time into a set of string copies.
Run LineByLineSet(const std::string& inPath) {
  return InChild([&] {
    std::ifstream in(inPath, std::ios::binary);
    std::unordered_set<std::string> seen;
    krx::StringArray records;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && seen.insert(line).second) records.push_back(line);
    }
    return records.empty() ? 1 : 0;
  });
}

// A shell command in a child of its own, for its time and peak memory.
Run Shell(const std::string& command) {
  return InChild([&] {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    return 127;
  });
}

long long FileSize(const std::string& path) {
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  return f ? static_cast<long long>(f.tellg()) : 0;
}

void Print(const char* what, const Run& run) {
  std::printf("  %-44s %7.3f s  %7.0f MB peak  (exit %d)\n", what, run.seconds, run.peakKb / 1024.0, run.code);
}

// The window's Export holds the log already; what it adds is the export's
// own memory. Before: a copy of the log, the whole file built in memory and
// copied once more to be written. Now: the rows streamed into the file.
void WindowExport(const std::string& log, const std::string& out) {
  auto withLog = [&](auto exportIt) {
    return InChild([&] {
      std::unique_ptr<krx::FileSource> file = krx::FileSource::Open(log);
      if (!file) return 2;
      krx::RecordFileRead read = krx::ReadRecordFile(*file, "pw");
      krx::ExportRequest request;
      krx::NameExportAfterFile(log, request);
      return exportIt(read.records, request) ? 0 : 1;
    });
  };
  Run loaded = withLog([](const krx::StringArray&, const krx::ExportRequest&) { return true; });
  Run before = withLog([&](const krx::StringArray& records, const krx::ExportRequest& request) {
    const krx::StringArray copy = records;
    std::ostringstream text;
    krx::WriteExport(text, request, copy);
    return krx::WriteFileAtomic(out, text.str());
  });
  Run now = withLog([&](const krx::StringArray& records, const krx::ExportRequest& request) {
    return krx::WriteExportFile(out, request, records);
  });
  // The add-on writes as time goes, so a real log is mostly in order; this
  // one's times are shuffled within each day. Put in order, day by day (a
  // day's records lie together), it needs no order kept beside it.
  Run inOrder = withLog([&](krx::StringArray& sorted, const krx::ExportRequest& request) {
    for (auto day = sorted.begin(); day != sorted.end();) {
      auto end = std::find_if(day, sorted.end(), [&](const std::string& r) { return r.compare(0, 11, *day, 0, 11); });
      std::sort(day, end);
      day = end;
    }
    return krx::WriteExportFile(out, request, sorted);
  });
  std::printf("the window's Export of the whole log to CSV (%.0f MB), its peak above the loaded log's:\n",
              double(FileSize(out)) / 1048576.0);
  Print("the log loaded, nothing exported", loaded);
  Print("copied, built in memory, written (before)", before);
  Print("streamed into the file (now)", now);
  Print("streamed, the log stored in order", inOrder);
  std::printf("  export's own memory: before %.0f MB, now %.0f MB (%.0f MB stored in order)\n",
              (before.peakKb - loaded.peakKb) / 1024.0, (now.peakKb - loaded.peakKb) / 1024.0,
              (inOrder.peakKb - loaded.peakKb) / 1024.0);
}

}  // namespace

int main() {
  const size_t lines = size_t(1000000 * Scale());
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = std::string(tmp ? tmp : "/tmp") + "/krx-krxtool-bench-" + std::to_string(getpid()) + "/";
  if (std::system(("mkdir -p '" + dir + "'").c_str()) != 0) return 1;
  const std::string input = dir + "lines.txt", log = dir + "visit.log", text = dir + "export.txt";
  // GNU grep stops at its first match when it writes to /dev/null, so every
  // program here writes to a real file.
  const std::string counted = dir + "out.txt";

  // One line in ten repeats an earlier one, as overlapping exports do.
  std::mt19937 rng(1207);
  {
    std::ofstream f(input, std::ios::binary);
    std::vector<std::string> kept;
    for (size_t i = 0; i < lines; ++i) {
      if (i % 10 == 9 && !kept.empty()) {
        f << kept[rng() % kept.size()] << '\n';
      } else {
        std::string r = Record(rng, i);
        if (kept.size() < 10000) kept.push_back(r);
        f << r << '\n';
      }
    }
  }
  std::printf("krxtool at %zu input lines (LF, about 95 bytes each, one in ten repeated)\n", lines);

  std::printf("import into a new file, beside tools that only print each line once:\n");
  Run awk = Shell("awk '!seen[$0]++' '" + input + "' > /dev/null");
  Print("awk '!seen[$0]++' > /dev/null", awk);
  Run set = LineByLineSet(input);
  Print("line by line into a set of copies (no save)", set);
  Run import = Child({"import", log, "--password", "pw"}, input, "/dev/null");
  Print("krxtool import (reads, merges, writes the file)", import);
  std::printf("  awk / import = %.1f (target at least 5); line-by-line set / import = %.1f\n",
              awk.seconds / import.seconds, set.seconds / import.seconds);

  // The export streams its rows: beside list (the log read, each record
  // printed as it is), it should cost only its order of the records.
  std::printf("export of the imported log (%.0f MB), beside list:\n", double(FileSize(log)) / 1048576.0);
  Run listed = Child({"list", log, "--password", "pw"}, "/dev/null", counted);
  Print("krxtool list", listed);
  Run exported;
  for (const char* format : {"csv", "html", "text"}) {
    exported = Child({"export", log, "--password", "pw", "--format", format}, "/dev/null",
                     std::string(format) == "text" ? text : counted);
    Print((std::string("krxtool export --format ") + format).c_str(), exported);
  }
  std::printf("  export peak - list peak = %.0f MB\n", (exported.peakKb - listed.peakKb) / 1024.0);
  WindowExport(log, dir + "window.csv");
  std::printf("stats and search over the imported log, beside grep -c on its exported text:\n");
  Run grep = Shell("grep -c host7.example '" + text + "' > '" + counted + "'");
  Print("grep -c host7.example export.txt", grep);
  Run grepI = Shell("grep -ci HOST7.EXAMPLE '" + text + "' > '" + counted + "'");
  Print("grep -ci HOST7.EXAMPLE export.txt", grepI);
  Run search = Child({"search", "host7.example", log, "--password", "pw", "--match-case"}, "/dev/null", counted);
  Print("krxtool search host7.example --match-case", search);
  Run searchI = Child({"search", "HOST7.EXAMPLE", log, "--password", "pw"}, "/dev/null", counted);
  Print("krxtool search HOST7.EXAMPLE (ignores case)", searchI);
  Run stats = Child({"stats", log, "--password", "pw"}, "/dev/null", counted);
  Print("krxtool stats", stats);
  std::printf("  search / grep -c = %.1f, search ignoring case / grep -ci = %.1f, stats / grep -c = %.1f\n",
              search.seconds / grep.seconds, searchI.seconds / grepI.seconds, stats.seconds / grep.seconds);

  std::system(("rm -rf '" + dir + "'").c_str());
  return import.code == 0 && search.code == 0 && stats.code == 0 ? 0 : 1;
}
