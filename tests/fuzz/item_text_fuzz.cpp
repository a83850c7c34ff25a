// Record lines come from the add-on's day files: the item commands' address
// rules, the Find scan, the export and the statistics must take any of them. Input: byte 0 picks the
// view, byte 1 the case setting, byte 2 the focused line; the rest is split
// at LF into the text to find and the list's lines.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/item_text.h"
#include "core/log_export.h"
#include "core/log_stats.h"
#include "core/record_text.h"
#include "core/stats_page.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool IsSuffix(const std::string& part, const std::string& whole) {
  return part.size() <= whole.size() && whole.compare(whole.size() - part.size(), part.size(), part) == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int view = 178 + data[0] % 9;  // the seven views and one id on each side
  const int caseSetting = data[1] % 3;
  std::vector<std::string> lines;
  std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
  for (size_t start = 0;;) {
    size_t end = rest.find('\n', start);
    lines.push_back(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const std::string text = lines.front();
  lines.erase(lines.begin());
  const int focused = int(data[2] % (lines.size() + 2)) - 1;  // -1: no focus

  for (const std::string& line : lines) {
    std::string address = krx::LogAddress(line);
    Check(line.find(address) != std::string::npos);
    Check(IsSuffix(krx::CacheAddress(line), line));
    Check(IsSuffix(krx::FlashFile(line), line));
    std::string listed = krx::ListAddress(view, line);
    Check(listed == address || listed == krx::CacheAddress(line));
    (void)krx::VisitTarget(view, line);
    std::string lower = krx::LowerAnsi(line);
    Check(lower.size() == line.size() && krx::LowerAnsi(lower) == lower);
  }

  // The export, of the log or the first line's day, as a list or a log:
  // in text every chosen line is one row (a line holds no LF), after the
  // four lines of the heading.
  for (const krx::ExportFormat format : {krx::ExportFormat::kText, krx::ExportFormat::kCsv, krx::ExportFormat::kHtml}) {
    krx::ExportRequest request;
    request.format = format;
    request.isList = data[1] & 4;
    request.newline = "\n";
    if (data[1] & 8 && !lines.empty()) request.day = std::string(krx::DateKeyView(lines.front()));
    std::ostringstream out;
    krx::WriteExport(out, request, lines);
    if (format != krx::ExportFormat::kText) continue;
    const std::string bytes = out.str();
    const auto chosen = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return request.day.empty() || krx::DateKeyView(line) == request.day;
    });
    Check(std::count(bytes.begin(), bytes.end(), '\n') == chosen + 4);
  }

  // Find: the first match below the focused line, else the first match of all.
  const bool exact = caseSetting == 1;
  auto matches = [&](const std::string& line) {
    return exact ? line.find(text) != std::string::npos
                 : krx::LowerAnsi(line).find(krx::LowerAnsi(text)) != std::string::npos;
  };
  int first = -1, next = -1;
  const int start = focused < 0 ? 0 : focused;
  for (int i = 0; i < int(lines.size()); ++i) {
    if (!matches(lines[size_t(i)])) continue;
    if (first < 0) first = i;
    if (i > start && next < 0) next = i;
  }
  krx::FindResult found = krx::FindNext(lines, text, focused, caseSetting);
  if (next >= 0) {
    Check(found.kind == krx::FindResult::kNext && found.line == next);
  } else if (first >= 0) {
    Check(found.kind == krx::FindResult::kAskWrap && found.line == first);
  } else {
    Check(found.kind == krx::FindResult::kNotFound);
  }

  // The Statistics window's figures: every line counted for one day, no
  // site counted more often than there are lines, the busiest day the
  // biggest, and the page shows no byte of a line unescaped.
  const krx::LogStats stats = krx::CountLogStats(lines, size_t(data[2] % 12));
  size_t sum = 0;
  for (const krx::DayCount& d : stats.days) {
    sum += d.records;
    Check(d.records <= stats.days[stats.busiest].records);
  }
  Check(sum == lines.size() && stats.total == lines.size() && stats.hosts.size() <= size_t(data[2] % 12));
  for (const krx::HostCount& h : stats.hosts) Check(h.records > 0 && h.records <= lines.size() && !h.host.empty());
  const std::string page = krx::StatsPage(stats, krx::StatsWordingOf(krx::kBlockRecords), krx::GetThemeColours(view),
                                          "\n", nullptr);
  for (const krx::HostCount& h : stats.hosts)
    Check(h.host.find_first_of("<>&\"'") != std::string::npos || page.find(h.host) != std::string::npos);
  Check(page.find("<script") == std::string::npos);
  return 0;
}
