#include "core/stats_page.h"

#include <cstdio>

#include "core/stats_chart.h"

namespace krx {

namespace {

std::string Css(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

// Text inside an element, converted and escaped.
void Put(std::string& to, const std::string& text, TextToUtf8 toUtf8) {
  AppendHtmlText(to, toUtf8 ? toUtf8(text) : text);
}

// The chart as SVG: what the window draws, at the same coordinates.
void PutChart(std::string& to, const LogStats& stats, const ThemeColours& c, const std::string& nl, TextToUtf8 toUtf8) {
  const StatsChart chart = LayoutStatsChart(stats);
  const std::string w = std::to_string(chart.width), h = std::to_string(chart.height);
  to += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " +
        h + "\" font-family=\"Tahoma, Verdana, sans-serif\" font-size=\"11\">" + nl;
  to += "<rect x=\"" + std::to_string(chart.plotLeft) + "\" y=\"" + std::to_string(ChartMetrics::kTopRoom) +
        "\" width=\"" + std::to_string(chart.width - chart.plotLeft) + "\" height=\"" +
        std::to_string(ChartMetrics::kPlotHeight) + "\" fill=\"" + Css(c[kThemeHighlight]) + "\"/>" + nl;
  for (const ChartTick& t : chart.ticks) {
    const std::string y = std::to_string(t.y);
    to += "<line x1=\"" + std::to_string(chart.plotLeft) + "\" y1=\"" + y + "\" x2=\"" + w + "\" y2=\"" + y +
          "\" stroke=\"" + Css(c[kThemeShadow]) + "\"/>";
    to += "<text x=\"" + std::to_string(chart.plotLeft - 6) + "\" y=\"" + std::to_string(t.y + 4) +
          "\" text-anchor=\"end\">" + t.label + "</text>" + nl;
  }
  for (size_t i = 0; i < chart.bars.size(); ++i) {
    const ChartBar& b = chart.bars[i];
    const std::string mid = std::to_string((b.left + b.right) / 2);
    to += "<rect x=\"" + std::to_string(b.left) + "\" y=\"" + std::to_string(b.top) + "\" width=\"" +
          std::to_string(b.right - b.left) + "\" height=\"" + std::to_string(chart.baseline - b.top) + "\" fill=\"" +
          Css(c[b.busiest ? kThemeBorder : kThemeFrameMiddle]) + "\" stroke=\"" + Css(c[kThemeBorder]) + "\"><title>";
    Put(to, DayShown(stats.days[i].date) + ": " + GroupedCount(stats.days[i].records), toUtf8);
    to += "</title></rect>";
    to += "<text x=\"" + mid + "\" y=\"" + std::to_string(b.top - 4) + "\" text-anchor=\"middle\">" + b.count + "</text>";
    to += "<text x=\"" + mid + "\" y=\"" + std::to_string(chart.baseline + 14) + "\" text-anchor=\"middle\">";
    Put(to, b.day, toUtf8);
    to += "</text>";
    if (!b.year.empty()) {
      to += "<text x=\"" + mid + "\" y=\"" + std::to_string(chart.baseline + 28) + "\" text-anchor=\"middle\">";
      Put(to, b.year, toUtf8);
      to += "</text>";
    }
    to += nl;
  }
  for (const ChartBreak& b : chart.breaks) {
    for (int dx : {-4, 3}) {
      to += "<line x1=\"" + std::to_string(b.x + dx - 3) + "\" y1=\"" + std::to_string(chart.baseline + 5) +
            "\" x2=\"" + std::to_string(b.x + dx + 3) + "\" y2=\"" + std::to_string(chart.baseline - 5) +
            "\" stroke=\"" + Css(c[kThemeBorder]) + "\" stroke-width=\"2\"/>";
    }
    to += "<text x=\"" + std::to_string(b.x) + "\" y=\"" + std::to_string(chart.baseline + 14) +
          "\" text-anchor=\"middle\">" + b.label + "</text>" + nl;
  }
  to += "</svg>" + nl;
}

}  // namespace

std::string DayShown(const std::string& date) { return date.empty() ? "(no date)" : date; }

std::string StatsSummary(const LogStats& stats, const StatsWording& wording) {
  if (stats.total == 0) return std::string("No ") + wording.records + " yet.";
  const DayCount& busiest = stats.days[stats.busiest];
  const size_t days = stats.days.size();
  return GroupedCount(stats.total) + " " + wording.records + " over " + GroupedCount(days) +
         (days == 1 ? " day" : " days") + ". Busiest day: " + DayShown(busiest.date) + " with " +
         GroupedCount(busiest.records) + ".";
}

const StatsWording& StatsWordingOfFile(const std::string& path) {
  static const StatsWording kPlain = {"Records", "records", "Hosts with most records"};
  const int c = RecordCollectionOfFile(path);
  return c >= 0 ? StatsWordingOf(RecordCollection(c)) : kPlain;
}

std::string StatsPage(const LogStats& stats, const StatsWording& wording, const ThemeColours& c,
                      const std::string& nl, TextToUtf8 toUtf8, const std::vector<NewSite>* newSites) {
  const std::string title = std::string("Statistics: ") + wording.log;
  std::string page = "<!DOCTYPE html>" + nl + "<html><head><meta charset=\"utf-8\"><title>" + title + "</title>" + nl;
  page += "<style>body{font-family:Tahoma,Verdana,sans-serif;font-size:13px;margin:16px;background:" +
          Css(c[kThemeBackground]) + ";color:#000}h1{font-size:18px}h2{font-size:15px}.chart{overflow-x:auto;" +
          "border:1px solid " + Css(c[kThemeBorder]) + ";background:" + Css(c[kThemeBackground]) +
          "}table{border-collapse:collapse}th,td{border:1px solid " + Css(c[kThemeBorder]) +
          ";padding:2px 8px}th{background:" + Css(c[kThemeShadow]) + ";text-align:left}td.n{text-align:right}</style>" +
          "</head><body>" + nl;
  page += "<h1>" + title + "</h1>" + nl + "<p>";
  Put(page, StatsSummary(stats, wording), toUtf8);
  page += "</p>" + nl + "<div class=\"chart\">" + nl;
  PutChart(page, stats, c, nl, toUtf8);
  page += "</div>" + nl + "<h2>" + wording.hosts + "</h2>" + nl;
  page += "<table><tr><th>Site</th><th>Records</th></tr>" + nl;
  for (const HostCount& h : stats.hosts) {
    page += "<tr><td>";
    Put(page, h.host, toUtf8);
    page += "</td><td class=\"n\">" + GroupedCount(h.records) + "</td></tr>" + nl;
  }
  page += "</table>" + nl;
  if (newSites) {
    page += "<h2>" + std::string(kNewSitesHeading) + "</h2>" + nl + "<table><tr><th>Site</th><th>First day</th></tr>" + nl;
    for (const NewSite& s : *newSites) {
      page += "<tr><td>";
      Put(page, s.host, toUtf8);
      page += "</td><td>";
      Put(page, DayShown(s.firstDay), toUtf8);
      page += "</td></tr>" + nl;
    }
    page += "</table>" + nl;
  }
  page += "</body></html>" + nl;
  return page;
}

std::string StatsText(const LogStats& stats, const std::string& nl, const std::vector<NewSite>* newSites) {
  std::string text = "day\trecords" + nl;
  for (const DayCount& d : stats.days) text += DayShown(d.date) + "\t" + std::to_string(d.records) + nl;
  text += "total\t" + std::to_string(stats.total) + nl;
  if (!stats.days.empty()) {
    const DayCount& b = stats.days[stats.busiest];
    text += "busiest\t" + DayShown(b.date) + "\t" + std::to_string(b.records) + nl;
  }
  text += nl + "host\trecords" + nl;
  for (const HostCount& h : stats.hosts) text += h.host + "\t" + std::to_string(h.records) + nl;
  if (newSites) {
    text += nl + "new site\tfirst day" + nl;
    for (const NewSite& s : *newSites) text += s.host + "\t" + DayShown(s.firstDay) + nl;
  }
  return text;
}

std::string StatsCsv(const LogStats& stats, const std::vector<NewSite>* newSites) {
  std::string text = "kind,key,records\r\n";
  for (const DayCount& d : stats.days) text += "day," + CsvField(d.date) + "," + std::to_string(d.records) + "\r\n";
  text += "total,," + std::to_string(stats.total) + "\r\n";
  if (!stats.days.empty()) {
    const DayCount& b = stats.days[stats.busiest];
    text += "busiest," + CsvField(b.date) + "," + std::to_string(b.records) + "\r\n";
  }
  for (const HostCount& h : stats.hosts) text += "host," + CsvField(h.host) + "," + std::to_string(h.records) + "\r\n";
  // A new site's row carries its first day where the others carry a count.
  if (newSites)
    for (const NewSite& s : *newSites) text += "new site," + CsvField(s.host) + "," + CsvField(s.firstDay) + "\r\n";
  return text;
}

}  // namespace krx
