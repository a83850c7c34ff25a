// The days and lines export, stats and sites act on, and `krxtool sites`:
// the window's grouped view of those days, written as its Export writes it.
#include <ostream>
#include <unordered_set>

#include "core/day_range.h"
#include "core/item_text.h"
#include "core/log_export.h"
#include "core/record_text.h"
#include "core/settings_file.h"
#include "core/site_export.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {

int CaseSetting(const Options& o, const std::string& log) {
  if (o.matchCase >= 0) return o.matchCase;
  std::string bytes;
  if (!ReadWholeFile(FolderOf(log) + "KRX.cfg", bytes)) return 0;
  return ParseSettings(bytes).values[kCaseSensitiveFind];
}

int ChooseRecords(const Options& o, const std::string& file, StringArray& records, Chosen& chosen,
                  std::ostream& err) {
  chosen.allDays = o.days.empty() && o.last == 0;
  if (!chosen.allDays) {
    std::vector<std::string> keys;
    std::unordered_set<std::string_view> seen;
    for (const std::string& r : records) {
      const std::string_view key = DateKeyView(r);
      if (seen.insert(key).second) keys.emplace_back(key);
    }
    DayRange range;
    if (o.last > 0) {
      range = LastDays(keys, o.last);
    } else {
      std::string problem;
      if (!ParseDayRange(o.days, range, problem)) {
        err << "krxtool: --days: " << problem << "\n";
        return kExitUsage;
      }
    }
    chosen.dayKeys = DaysInRange(keys, range);
  }
  chosen.title = DaysTitle(chosen.dayKeys, chosen.allDays);
  const DaySet days = chosen.allDays ? DaySet() : DaySet(chosen.dayKeys);
  const LineMatcher matches(o.filter, CaseSetting(o, file));
  if (chosen.allDays && matches.Empty()) {
    chosen.records = std::move(records);
    return kExitOk;
  }
  for (std::string& r : records) {
    if (days.Holds(DateKeyView(r)) && matches(r)) chosen.records.push_back(std::move(r));
  }
  return kExitOk;
}

int Sites(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& file = o.operands[0];
  RecordFileRead read;
  if (int rc = LoadForTool(file, o.password, read, err)) return rc;
  // A site's first day is its first in the whole log, whatever is chosen.
  SiteFirstDays firstDays;
  firstDays.Build(read.records);
  Chosen chosen;
  if (int rc = ChooseRecords(o, file, read.records, chosen, err)) return rc;
  const DaySet days = chosen.allDays ? DaySet() : DaySet(chosen.dayKeys);
  SiteExportRequest request;
  ParseExportFormat(o.format, request.format);
  ExportRequest named;
  NameExportAfterFile(file, named);
  request.name = named.name;
  request.days = chosen.title;
  request.newline = kNewline;
  request.toUtf8 = &SystemTextToUtf8;
  WriteSiteRows(out, request, SiteRows(chosen.records, days, firstDays, o.onlyNew));
  return kExitOk;
}

}  // namespace tool
}  // namespace krx
