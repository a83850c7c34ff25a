// The Statistics window's figures (and krxtool's): records per day in date
// order, the busiest day and the hosts with most records, from one table.
#include <gtest/gtest.h>

#include "core/log_stats.h"
#include "core/stats_chart.h"
#include "core/stats_colours.h"
#include "core/stats_page.h"

namespace {

// "day:count ..." | busiest | "host:count ..."
std::string Figures(const krx::LogStats& s) {
  std::string text;
  for (const krx::DayCount& d : s.days) text += (text.empty() ? "" : " ") + d.date + ":" + std::to_string(d.records);
  text += " | " + (s.days.empty() ? std::string("-") : s.days[s.busiest].date) + " |";
  for (const krx::HostCount& h : s.hosts) text += " " + h.host + ":" + std::to_string(h.records);
  return text;
}

std::string L(const std::string& date, const std::string& address) { return "<" + date + " 10:00:00> " + address + " - t"; }

TEST(LogStats, CountsDaysInDateOrderAndTheHostsWithMostRecords) {
  struct Row {
    const char* what;
    krx::StringArray records;
    size_t top;
    std::string figures;
  } rows[] = {
      {"empty log", {}, 10, " | - |"},
      {"days by date, not by text or first appearance; equal days: the earliest is the busiest",
       {L("01/02/2026", "http://a.example/"), L("12/31/2025", "http://a.example/x"), L("01/02/2026", "http://b.example/"),
        L("12/31/2025", "https://a.example:8443/"), L("02/01/2025", "ftp://c.example/")},
       10, "02/01/2025:1 12/31/2025:2 01/02/2026:2 | 12/31/2025 | a.example:3 b.example:1 c.example:1"},
      {"a host counts in any case, without user name, port and end dots",
       {L("12/07/2026", "http://WWW.Example.COM/Path"), L("12/07/2026", "http://user:pw@www.example.com.:80/"),
        L("12/07/2026", "http:\\\\www.example.com\\x"), L("12/07/2026", "http://[::1]:8080/")},
       10, "12/07/2026:4 | 12/07/2026 | www.example.com:3 [::1]:1"},
      {"addresses without a host count for their day only",
       {L("12/07/2026", "about:blank"), L("12/07/2026", "javascript:void(0)"), L("12/07/2026", "C:\\Pages\\a.htm"),
        L("12/07/2026", "mailto:x@y.example"), "<12/08/2026 10:00:00>"},
       10, "12/07/2026:4 12/08/2026:1 | 12/07/2026 |"},
      {"the block log counts the page that opened the popup, the text after ' - ' is not an address",
       {L("12/07/2026", "http://opener.example/page") + "http://popup.example/ad"},
       10, "12/07/2026:1 | 12/07/2026 | opener.example:1"},
      {"a line without a blank, or whose key is no real date, has the empty key; list entries are addresses",
       {"nospace", "example.org/page", "EXAMPLE.org:81", "<07/01/2004 x> http://q.example/", "<junk x> http://q.example/",
        "<02/29/2026 x> http://q.example/", "<13/45/2026 25:61:61> http://q.example/"},
       10, "07/01/2004:1 :6 |  | q.example:4 example.org:2 nospace:1"},
      {"only the top hosts, most first, equal counts by name",
       {L("12/07/2026", "http://d/"), L("12/07/2026", "http://c/"), L("12/07/2026", "http://b/"),
        L("12/07/2026", "http://c/"), L("12/07/2026", "http://a/")},
       2, "12/07/2026:5 | 12/07/2026 | c:2 a:1"},
  };
  for (const Row& row : rows) EXPECT_EQ(Figures(krx::CountLogStats(row.records, row.top)), row.figures) << row.what;
}

TEST(LogStats, ChartScaleSummaryAndPageShowTheFigures) {
  const krx::LogStats s = krx::CountLogStats(
      {L("12/30/2025", "http://<b>.example/"), L("01/02/2026", "http://a/"), L("01/02/2026", "http://a/"),
       L("01/02/2026", "http://a/"), L("01/02/2026", "http://a/"), L("01/02/2026", "http://a/")});
  const krx::StatsChart chart = krx::LayoutStatsChart(s);
  // Five at the busiest day: five steps of 1, the busiest bar the plot's
  // height, the other a fifth of it.
  EXPECT_EQ(chart.scaleTop, 5u);
  EXPECT_EQ(chart.ticks.size(), 6u);
  ASSERT_EQ(chart.bars.size(), 2u);
  EXPECT_EQ(chart.baseline - chart.bars[1].top, krx::ChartMetrics::kPlotHeight);
  EXPECT_EQ(chart.baseline - chart.bars[0].top, krx::ChartMetrics::kPlotHeight / 5);
  // 1,234 at the busiest day: three steps of 500.
  EXPECT_EQ(krx::LayoutStatsChart({{{"01/02/2026", 1234}}, 1234, 0, {}}).scaleTop, 1500u);
  EXPECT_EQ(chart.bars[0].day + " " + chart.bars[0].year + " " + chart.bars[1].day + " " + chart.bars[1].year,
            "12/30 2025 01/02 2026");
  EXPECT_TRUE(chart.bars[1].busiest);
  EXPECT_EQ(krx::ShortCount(1234) + " " + krx::ShortCount(56789) + " " + krx::ShortCount(1250000) + " " +
                krx::GroupedCount(1234567),
            "1234 56k 1.2M 1,234,567");
  const krx::StatsWording& block = krx::StatsWordingOfFile("C:\\K\\User\\BLOCK.LOG");
  EXPECT_EQ(krx::StatsSummary(s, block), "6 popups blocked over 2 days. Busiest day: 01/02/2026 with 5.");
  const std::string page = krx::StatsPage(s, block, krx::GetThemeColours(1), "\n", nullptr);
  EXPECT_NE(page.find("<td>&lt;b&gt;.example</td><td class=\"n\">1</td>"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("<title>01/02/2026: 5</title>"), std::string::npos);
}

// The days stand on a time axis: up to a week apart they keep their places
// (empty ones between), further apart the axis breaks and says how far.
TEST(StatsChart, DaysOnATimeAxis) {
  using M = krx::ChartMetrics;
  struct Row {
    std::vector<std::string> days;
    std::vector<int> places;  // each bar's place, in pitches
    std::string breaks;       // "place:label ..."
  } rows[] = {
      {{"12/30/2025", "12/31/2025", "01/01/2026"}, {0, 1, 2}, ""},
      {{"02/27/2024", "03/01/2024"}, {0, 3}, ""},  // 02/28 and 02/29 are empty places
      {{"12/01/2026", "12/09/2026"}, {0, 2}, "1:8 days"},
      {{"01/03/2026", "12/01/2026", "12/02/2026"}, {0, 2, 3}, "1:11 mo"},
      {{"12/01/2024", "12/07/2026", ""}, {0, 2, 4}, "1:2 yr 3:"},
  };
  for (const Row& r : rows) {
    krx::LogStats stats;
    for (const std::string& d : r.days) stats.days.push_back({d, 1});
    const krx::StatsChart chart = krx::LayoutStatsChart(stats);
    std::vector<int> places;
    for (const krx::ChartBar& b : chart.bars) places.push_back((b.left - M::kAxisWidth) / M::kPitch);
    EXPECT_EQ(places, r.places) << r.days[0];
    std::string breaks;
    for (const krx::ChartBreak& b : chart.breaks)
      breaks += (breaks.empty() ? "" : " ") + std::to_string((b.x - M::kAxisWidth) / M::kPitch) + ":" + b.label;
    EXPECT_EQ(breaks, r.breaks) << r.days[0];
    EXPECT_EQ(chart.width, M::kAxisWidth + (r.places.back() + 1) * M::kPitch + M::kRightRoom);
  }
}

// Every text the Statistics window and the grouped view draw reads at
// 4.5:1 or better in every theme; the frame colour the headings had did not.
TEST(StatsColours, EveryTextReadsInEveryTheme) {
  for (int theme = krx::kFirstTheme; theme <= krx::kLastTheme; ++theme) {
    for (const auto& [text, back] : krx::StatsTextPairs(theme))
      EXPECT_GE(krx::ContrastRatio(text, back), krx::kReadableContrast) << krx::ThemeName(theme) << " " << text;
  }
  const auto old = [](int theme) {
    const krx::ThemeColours& c = krx::GetThemeColours(theme);
    return krx::ContrastRatio(c[krx::kThemeBorder], c[krx::kThemeBackground]);
  };
  EXPECT_NEAR(old(1), 3.1, 0.05);  // Sky
  EXPECT_NEAR(old(3), 4.0, 0.05);  // Orange
  EXPECT_NEAR(krx::ContrastRatio(krx::MakeColour(0, 0, 0), krx::MakeColour(255, 255, 255)), 21.0, 1e-9);
  // A colour that reads already is kept.
  EXPECT_EQ(krx::ReadableOn(krx::MakeColour(8, 103, 8), krx::MakeColour(208, 242, 208)), krx::MakeColour(8, 103, 8));
}

}  // namespace
