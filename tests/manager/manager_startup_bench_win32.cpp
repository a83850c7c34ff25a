// manager_startup_bench.exe [records]: how long the manager window takes to
// open over a million records in the six record files, beside opening over
// none plus the bare record load, and how much memory that costs beside the
// files' size. Every figure comes from a fresh process, so each peak is its
// own. Prints figures and ratios; judges nothing.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/settings_file.h"
#include "manager/manager_dlg.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return double(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

// A year of days, lines of about 110 bytes as the add-on writes them.
void WriteRecords(const std::string& user, long total) {
  const struct {
    RecordCollection c;
    double share;
    const char* tail;
  } parts[] = {{kVisitRecords, 0.40, "http://www.example.com/news/section/article-%ld.html - Example News - Article"},
               {kMediaRecords, 0.10, "http://video.example.com/clips/clip-%ld.wmv - Clip of the day, part"},
               {kBlockRecords, 0.25, "http://ads.example.biz/popup/%ld/offer.html - Popup window blocked here"},
               {kFlashRecords, 0.10, "http://games.example.com/play/%ld - C:\\Cache\\Content\\game.swf"},
               {kWhiteList, 0.10, "http://www.example-%ld.org/welcome/index.html"},
               {kForbiddenList, 0.05, "http://forbidden-%ld.example.net/"}};
  RecordCollections records;
  for (const auto& p : parts) {
    const long n = long(double(total) * p.share);
    StringArray& lines = records[p.c];
    lines.reserve(size_t(n));
    for (long i = 0; i < n; ++i) {
      char line[200];
      if (p.c == kWhiteList || p.c == kForbiddenList) {
        std::snprintf(line, sizeof line, p.tail, i);
      } else {
        const int day = int(i * 365 / (n ? n : 1));
        char tail[120];
        std::snprintf(tail, sizeof tail, p.tail, i);
        std::snprintf(line, sizeof line, "<%02d/%02d/2004 %02ld:%02ld:%02ld> %s", 1 + day / 31 % 12, 1 + day % 28,
                      i / 3600 % 24, i / 60 % 60, i % 60, tail);
      }
      lines.emplace_back(line);
    }
  }
  SaveRecordFiles(user, "", records);
}

long long FilesSize(const std::string& user) {
  long long bytes = 0;
  for (const char* name : kRecordFileNames) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA((user + name).c_str(), GetFileExInfoStandard, &data)) {
      bytes += (long long)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    }
  }
  return bytes;
}

// Child: one measurement, written as "<ms> <peak MB>" to out.
int Child(const std::string& what, const std::string& folder, const std::string& out) {
  // The folder comes without its closing backslash: before a quote it would
  // escape the quote on the command line.
  const std::string user = folder + "\\User\\", tmp = folder + "\\tmp\\";
  double ms = 0;
  RecordCollections records;
  std::string password;
  CManagerDlg dlg(user, tmp, password);
  if (what == "load") {
    const double start = Now();
    LoadRecordFiles(user, "", records);
    ms = Now() - start;
  } else {
    dlg.Settings().SetConfigPath(user + "KRX.cfg");
    const double start = Now();
    if (!dlg.Create(CManagerDlg::kTemplateId, nullptr)) return 2;
    dlg.UpdateWindow();
    ms = Now() - start;
  }
  FILE* f = std::fopen(out.c_str(), "w");
  if (!f) return 2;
  std::fprintf(f, "%.1f %.1f\n", ms, PeakMegabytes());
  std::fclose(f);
  // Closing saves the records again: that is not part of the start.
  return 0;
}

struct Figure {
  double ms = -1, peakMb = -1;
};

Figure Measure(const std::string& what, const std::string& folder) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  const std::string out = folder + what + ".txt";
  const std::string bare = folder.substr(0, folder.size() - 1);
  DeleteFileA(out.c_str());
  std::string command = "\"" + std::string(exe) + "\" child " + what + " \"" + bare + "\" \"" + out + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  Figure figure;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return figure;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  FILE* f = std::fopen(out.c_str(), "r");
  if (f) {
    if (std::fscanf(f, "%lf %lf", &figure.ms, &figure.peakMb) != 2) figure = Figure();
    std::fclose(f);
  }
  return figure;
}

std::string MakeFolder(const krx_test::TempFolder& base, const char* name, long records) {
  const std::string folder = base.path() + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "User").c_str(), nullptr);
  CreateDirectoryA((folder + "tmp").c_str(), nullptr);
  SettingValues values = kDefaultSettings;
  values[kAddOnEnabled] = 0;  // no add-on library beside the benchmark
  krx_test::WriteFileBytes(folder + "User\\KRX.cfg", SerializeSettings(values));
  if (records > 0) WriteRecords(folder + "User\\", records);
  return folder;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc > 1 && std::string(argv[1]) == "child") return argc == 5 ? Child(argv[2], argv[3], argv[4]) : 2;
  const long records = argc > 1 ? std::atol(argv[1]) : 1000000;
  krx_test::TempFolder base;
  const std::string empty = MakeFolder(base, "empty", 0), full = MakeFolder(base, "full", records);
  const double fileMb = double(FilesSize(full + "User\\")) / (1024.0 * 1024.0);
  std::printf("manager start-up over %ld records in six files (%.1f MB)\n", records, fileMb);
  // Three rounds, the best of each reported: the first warms the file
  // cache, and Wine's window start-up varies from run to run.
  Figure none, loaded, load;
  auto best = [](Figure& kept, const Figure& now) {
    if (kept.ms < 0 || (now.ms >= 0 && now.ms < kept.ms)) kept = now;
  };
  for (int round = 0; round < 3; ++round) {
    best(none, Measure("start", empty));
    best(loaded, Measure("start", full));
    best(load, Measure("load", full));
  }
  std::printf("  window shown, no records      %8.1f ms   peak %6.1f MB\n", none.ms, none.peakMb);
  std::printf("  record load alone             %8.1f ms   peak %6.1f MB\n", load.ms, load.peakMb);
  std::printf("  window shown, all records     %8.1f ms   peak %6.1f MB\n", loaded.ms, loaded.peakMb);
  std::printf("  start-up / (empty start + load)   %.2fx   (target: at most 2x)\n",
              loaded.ms / (none.ms + load.ms));
  std::printf("  peak memory / record files        %.2fx   (target: below 2x)\n", loaded.peakMb / fileMb);
  std::printf("  added memory / record files       %.2fx   (peak over the empty start's)\n",
              (loaded.peakMb - none.peakMb) / fileMb);
  return 0;
}
