#include "core/site_export.h"

#include <ostream>

#include "core/log_export.h"
#include "core/stats_chart.h"

namespace krx {

std::vector<SiteRow> SiteRows(const StringArray& records, const DaySet& days, const SiteFirstDays& firstDays,
                              bool onlyNew) {
  std::vector<SiteRow> rows;
  for (HostCount& h : GroupBySite(records, days)) {
    const std::string* first = firstDays.FirstDay(h.host);
    SiteRow row{std::move(h.host), h.records, first ? *first : std::string(), false};
    row.isNew = first && days.Holds(*first);
    if (!onlyNew || row.isNew) rows.push_back(std::move(row));
  }
  return rows;
}

std::string SitesSummary(const std::vector<SiteRow>& rows) {
  size_t fresh = 0;
  for (const SiteRow& r : rows) fresh += r.isNew ? 1 : 0;
  return GroupedCount(rows.size()) + (rows.size() == 1 ? " site, " : " sites, ") + GroupedCount(fresh) + " new";
}

std::string SitesFileName(const std::string& recordFileName, const std::string& day, ExportFormat format) {
  return ExportFileName(recordFileName.substr(0, recordFileName.rfind('.')) + "-sites.log", day, format);
}

namespace {

void TextCell(std::string& line, const std::string& cell) {
  for (char c : cell) line += c == '\t' ? ' ' : c;
}

}  // namespace

void WriteSiteRows(std::ostream& out, const SiteExportRequest& request, const std::vector<SiteRow>& rows) {
  const std::string& nl = request.newline;
  const std::string title = request.name + ": sites" + (request.days.empty() ? "" : ", " + request.days);
  const char* const kHeads[] = {"Site", "Records", "First day", "New"};
  std::string text;
  auto utf8 = [&](const std::string& s) { return request.toUtf8 ? request.toUtf8(s) : s; };
  if (request.format == ExportFormat::kText) {
    text = title + nl + SitesSummary(rows) + nl + nl + "Site\tRecords\tFirst day\tNew" + nl;
    for (const SiteRow& r : rows) {
      TextCell(text, r.host);
      text += "\t" + std::to_string(r.records) + "\t" + r.firstDay + "\t" + (r.isNew ? "new" : "") + nl;
    }
  } else if (request.format == ExportFormat::kCsv) {
    text = "Site,Records,First day,New\r\n";
    for (const SiteRow& r : rows) {
      AppendCsvField(text, r.host);
      text += "," + std::to_string(r.records) + ",";
      AppendCsvField(text, r.firstDay);
      text += r.isNew ? ",new\r\n" : ",\r\n";
    }
  } else {
    std::string t;
    AppendHtmlText(t, utf8(title));
    text = "<!DOCTYPE html>" + nl + "<html><head><meta charset=\"utf-8\"><title>" + t + "</title>" + nl +
           "<style>table{border-collapse:collapse}th,td{text-align:left;padding:2px 8px;border-bottom:1px solid "
           "#ccc}td.n{text-align:right}</style></head><body>" + nl + "<h1>" + t + "</h1>" + nl + "<p>" +
           SitesSummary(rows) + "</p>" + nl + "<table>" + nl + "<tr>";
    for (const char* h : kHeads) text += std::string("<th>") + h + "</th>";
    text += "</tr>" + nl;
    for (const SiteRow& r : rows) {
      text += "<tr><td>";
      AppendHtmlText(text, utf8(r.host));
      text += "</td><td class=\"n\">" + std::to_string(r.records) + "</td><td>";
      AppendHtmlText(text, r.firstDay);
      text += std::string("</td><td>") + (r.isNew ? "new" : "") + "</td></tr>" + nl;
    }
    text += "</table>" + nl + "</body></html>" + nl;
  }
  out.write(text.data(), std::streamsize(text.size()));
}

}  // namespace krx
