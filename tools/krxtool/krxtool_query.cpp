// stats and search: what users ask of a whole log that the window shows
// only a day at a time.
#include <ostream>

#include "core/log_stats.h"
#include "core/stats_page.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {
namespace {

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

// The theme of the settings file beside the log, so the page looks as the
// window's Export would; the default theme when there is none.
int ThemeBeside(const std::string& log) {
  std::string bytes;
  if (!ReadWholeFile(FolderOf(log) + "KRX.cfg", bytes)) return kDefaultTheme;
  return ParseSettings(bytes).values[kThemeIndex];
}

// Find's case rule: case-sensitive find is off unless it says 1.
bool MatchCase(const Options& o, const std::string& firstLog) { return CaseSetting(o, firstLog) == 1; }

}  // namespace

// The Statistics window's figures, counted by the same code.
int Stats(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& file = o.operands[0];
  RecordFileRead read;
  if (int rc = LoadForTool(file, o.password, read, err)) return rc;
  // New sites only for chosen days; their first days are of the whole log.
  SiteFirstDays firstDays;
  if (!o.days.empty() || o.last > 0) firstDays.Build(read.records);
  Chosen chosen;
  if (int rc = ChooseRecords(o, file, read.records, chosen, err)) return rc;
  const LogStats stats = CountLogStats(chosen.records);
  std::vector<NewSite> fresh;
  if (!chosen.allDays) fresh = firstDays.NewSites(DaySet(chosen.dayKeys));
  const std::vector<NewSite>* newSites = chosen.allDays ? nullptr : &fresh;
  if (o.format == "csv") {
    out << StatsCsv(stats, newSites);
  } else if (o.format == "html") {
    out << StatsPage(stats, StatsWordingOfFile(file), GetThemeColours(ThemeBeside(file)), kNewline, &SystemTextToUtf8,
                     newSites);
  } else {
    out << StatsText(stats, kNewline, newSites);
  }
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
