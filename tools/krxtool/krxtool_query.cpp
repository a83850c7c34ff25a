// stats and search: what users ask of a whole log that the window shows
// only a day at a time.
#include <algorithm>
#include <ostream>
#include <unordered_map>

#include "core/record_text.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {
namespace {

constexpr size_t kTopHosts = 20;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; }

// Lower-cases the way the window's Find does (the C locale: A-Z only),
// leaving the trail byte of a double-byte character alone.
void LowerInto(std::string& to, std::string_view s, LeadBytePredicate isLead) {
  to.assign(s.data(), s.size());
  for (size_t i = 0; i < to.size(); ++i) {
    if (isLead && isLead(static_cast<unsigned char>(to[i]))) {
      ++i;
      continue;
    }
    to[i] = AsciiLower(to[i]);
  }
}

// The host of an address: after "scheme://" when there is one, up to the
// first '/', '?', '#' or ':'. Host names ignore case, so it is lowered.
std::string_view HostOf(std::string_view address, std::string& lowered) {
  size_t scheme = address.find("://");
  if (scheme != std::string_view::npos) address.remove_prefix(scheme + 3);
  size_t at = address.find_first_of("/?#");
  address = address.substr(0, at);
  size_t userEnd = address.rfind('@');
  if (userEnd != std::string_view::npos) address.remove_prefix(userEnd + 1);
  address = address.substr(0, address.find(':'));
  LowerInto(lowered, address, nullptr);
  return lowered;
}

// Find's case rule: the option given, else the settings file beside the log
// (case-sensitive find is off unless it says 1).
bool MatchCase(const Options& o, const std::string& firstLog) {
  if (o.matchCase >= 0) return o.matchCase == 1;
  std::string bytes;
  if (!ReadWholeFile(FolderOf(firstLog) + "KRX.cfg", bytes)) return false;
  return ParseSettings(bytes).values[kCaseSensitiveFind] == 1;
}

}  // namespace

int Stats(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& file = o.operands[0];
  RecordFileRead read;
  if (int rc = LoadForTool(file, o.password, read, err)) return rc;

  std::vector<std::pair<std::string_view, size_t>> days;  // in the log's order
  std::unordered_map<std::string_view, size_t> dayAt;
  std::unordered_map<std::string, size_t> hosts;
  std::string lowered;
  for (const std::string& r : read.records) {
    std::string_view date = DateKeyView(r);
    auto day = dayAt.emplace(date, days.size());
    if (day.second) days.emplace_back(date, 0);
    ++days[day.first->second].second;
    // A list entry is an address on its own.
    std::string_view address = r.find('>') == std::string::npos ? std::string_view(r) : RecordAddressView(r);
    std::string_view host = HostOf(address, lowered);
    if (host.empty()) continue;
    auto it = hosts.find(lowered);
    if (it == hosts.end()) it = hosts.emplace(lowered, 0).first;
    ++it->second;
  }
  std::vector<std::pair<std::string, size_t>> top(hosts.begin(), hosts.end());
  auto busier = [](const std::pair<std::string, size_t>& a, const std::pair<std::string, size_t>& b) {
    return a.second != b.second ? a.second > b.second : a.first < b.first;
  };
  size_t shown = std::min(top.size(), kTopHosts);
  std::partial_sort(top.begin(), top.begin() + std::ptrdiff_t(shown), top.end(), busier);
  top.resize(shown);

  std::string text;
  if (o.format == "csv") {
    text = "kind,key,records\r\n";
    for (auto& d : days) text.append("day,").append(CsvField(d.first)).append(",").append(std::to_string(d.second)).append("\r\n");
    for (auto& h : top) text.append("host,").append(CsvField(h.first)).append(",").append(std::to_string(h.second)).append("\r\n");
  } else {
    text.append("day\trecords").append(kNewline);
    for (auto& d : days) {
      text.append(d.first.empty() ? std::string_view("(no date)") : d.first).append("\t");
      text.append(std::to_string(d.second)).append(kNewline);
    }
    text.append(kNewline).append("host\trecords").append(kNewline);
    for (auto& h : top) text.append(h.first).append("\t").append(std::to_string(h.second)).append(kNewline);
  }
  out << text;
  return kExitOk;
}

int Search(const Options& o, std::ostream& out, std::ostream& err) {
  const bool matchCase = MatchCase(o, o.operands[1]);
  const LeadBytePredicate isLead = SystemLeadBytes();
  std::string pattern = o.operands[0];
  if (!matchCase) LowerInto(pattern, o.operands[0], isLead);

  RowWriter rows(out, o.format, "krxtool search " + o.operands[0], true);
  int result = kExitOk;
  std::string lowered;
  for (size_t f = 1; f < o.operands.size(); ++f) {
    const std::string& file = o.operands[f];
    RecordFileRead read;
    // One log that cannot be read does not hide the matches of the others.
    if (int rc = LoadForTool(file, o.password, read, err)) {
      if (result == kExitOk) result = rc;
      continue;
    }
    for (const std::string& r : read.records) {
      std::string_view text = r;
      if (!matchCase) {
        LowerInto(lowered, r, isLead);
        text = lowered;
      }
      if (text.find(pattern) != std::string_view::npos) rows.Row(file, r);
    }
  }
  rows.End();
  return result;
}

}  // namespace tool
}  // namespace krx
