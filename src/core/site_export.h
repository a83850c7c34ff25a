#pragma once
// The grouped view's rows and their export: one row per site of the chosen
// days with its number of records, its first day in the log and whether it
// is new (its first day is one of the chosen days). The window's grouped
// view, its Export and `krxtool sites` all come from here, so the window's
// export and krxtool's output are the same bytes.
#include <iosfwd>
#include <string>
#include <vector>

#include "core/record_export.h"
#include "core/site_first_days.h"
#include "core/site_groups.h"

namespace krx {

struct SiteRow {
  std::string host;
  size_t records = 0;
  std::string firstDay;  // the site's first day in the whole log
  bool isNew = false;
};

// The sites of `days`, most records first (MoreRecords); `firstDays` must be
// built over `records`. onlyNew keeps the new ones.
std::vector<SiteRow> SiteRows(const StringArray& records, const DaySet& days, const SiteFirstDays& firstDays,
                              bool onlyNew = false);

struct SiteExportRequest {
  ExportFormat format = ExportFormat::kCsv;
  std::string name;              // "Visit log"
  std::string days;              // DaysTitle of the chosen days: "" for every day
  std::string newline = "\r\n";  // ends text and HTML lines; CSV lines end in CR LF always
  TextToUtf8 toUtf8 = nullptr;   // HTML is UTF-8; nullptr keeps the bytes
};

// Text: a heading, a summary, then Site, Records, First day and New
// separated by tabs. CSV: those four columns. HTML: a page with the same.
void WriteSiteRows(std::ostream& out, const SiteExportRequest& request, const std::vector<SiteRow>& rows);

// "3 sites, 1 new"
std::string SitesSummary(const std::vector<SiteRow>& rows);

// The file name Save As proposes: "visit-sites.csv", "visit-sites-2026-12-07.htm".
std::string SitesFileName(const std::string& recordFileName, const std::string& day, ExportFormat format);

}  // namespace krx
