// Records by site: the grouping behind the grouped view, the Statistics
// window's top sites and `krxtool sites`; the first-day index kept in step
// by merges and deletions; the days krxtool's --days and --last choose.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "core/day_range.h"
#include "core/item_text.h"
#include "core/log_stats.h"
#include "core/manager_views.h"
#include "core/site_export.h"

namespace {

std::string L(const std::string& date, const std::string& address) { return "<" + date + " 10:00:00> " + address + " - t"; }

std::string Rows(const std::vector<krx::HostCount>& rows) {
  std::string text;
  for (const krx::HostCount& h : rows) text += (text.empty() ? "" : " ") + h.host + ":" + std::to_string(h.records);
  return text;
}

TEST(SiteGroups, OneRowPerSiteMostFirst) {
  struct Row {
    const char* what;
    krx::StringArray records;
    std::vector<std::string> days;  // empty: every day
    std::string rows;
  } rows[] = {
      {"any case, port and user name count as one site; ties by name",
       {L("12/07/2026", "http://B.example/"), L("12/07/2026", "http://a.example:8080/x"),
        L("12/07/2026", "https://joe:pw@A.EXAMPLE/"), L("12/07/2026", "http://b.example/y"),
        L("12/07/2026", "http://c.example/")},
       {}, "a.example:2 b.example:2 c.example:1"},
      {"only the chosen days, wherever their records stand",
       {L("12/06/2026", "http://a.example/"), L("12/07/2026", "http://b.example/"), L("12/06/2026", "http://b.example/"),
        L("12/08/2026", "http://b.example/")},
       {"12/06/2026", "12/08/2026"}, "b.example:2 a.example:1"},
      {"a chosen day that the log lacks gives no rows", {L("12/06/2026", "http://a.example/")}, {"01/01/2027"}, ""},
      {"the block log's site is the page that opened the popup",
       {"<12/07/2026 10:00:00> http://opener.example/page - http://popup.example/ad"}, {}, "opener.example:1"},
      {"lines without a host, or without a date (the empty key)",
       {L("12/07/2026", "about:blank"), "http://undated.example/", L("", "http://x.example/")}, {""},
       "undated.example:1 x.example:1"},
  };
  for (const Row& r : rows) {
    const krx::DaySet days = r.days.empty() ? krx::DaySet() : krx::DaySet(r.days);
    EXPECT_EQ(Rows(krx::GroupBySite(r.records, days)), r.rows) << r.what;
  }
}

TEST(SiteGroups, StatisticsTopSitesAreTheGroupsFirstRows) {
  std::mt19937 rng(30);
  krx::StringArray records;
  for (int i = 0; i < 3000; ++i) {
    records.push_back(L("12/0" + std::to_string(1 + rng() % 7) + "/2026",
                        std::string(rng() % 2 ? "http://" : "https://") + (rng() % 3 ? "" : "U@") + "s" +
                            std::to_string(rng() % 40) + (rng() % 2 ? ".EXAMPLE" : ".example") + "/"));
  }
  std::vector<krx::HostCount> grouped = krx::GroupBySite(records);
  grouped.resize(krx::kStatsTopHosts);
  EXPECT_EQ(Rows(krx::CountLogStats(records).hosts), Rows(grouped));
}

// What the index says of every site, as "site:first-day" in name order.
std::string FirstDays(const krx::SiteFirstDays& index, const krx::StringArray& records) {
  std::vector<krx::HostCount> sites = krx::GroupBySite(records);
  std::sort(sites.begin(), sites.end(), [](const auto& a, const auto& b) { return a.host < b.host; });
  std::string text = std::to_string(index.Sites()) + " sites";
  for (const krx::HostCount& s : sites) {
    const std::string* first = index.FirstDay(s.host);
    text += " " + s.host + ":" + (first ? *first : "-");
  }
  return text;
}

// Merges (appends), Delete (lines) and Delete this day (a day), in random
// turns, each reported to the index; after each, it answers as one built
// afresh over the log as it is then.
TEST(SiteFirstDays, MergesAndDeletionsAgreeWithARebuild) {
  std::mt19937 rng(7);
  const char* const days[] = {"12/30/2025", "12/31/2025", "01/01/2026", "01/02/2026", "02/28/2026", ""};
  auto record = [&] {
    return L(days[rng() % 6], "http://" + std::string(rng() % 4 ? "" : "WWW.") + "s" + std::to_string(rng() % 12) +
                                   ".example" + (rng() % 5 ? "" : ":81") + "/" + std::to_string(rng() % 3));
  };
  krx::StringArray log;
  for (int i = 0; i < 40; ++i) log.push_back(record());
  krx::SiteFirstDays index;
  index.EnsureBuilt(log);
  for (int step = 0; step < 300; ++step) {
    const unsigned what = rng() % 3;
    if (what == 0) {
      const size_t from = log.size();
      for (unsigned n = rng() % 6; n > 0; --n) log.push_back(record());
      index.Appended(log, from);
    } else if (what == 1 && !log.empty()) {
      // Each line stands for one record of the list: no record picked twice.
      std::set<size_t> picked;
      for (unsigned n = 1 + rng() % 4; n > 0; --n) picked.insert(rng() % log.size());
      std::vector<std::string> lines;
      for (size_t i : picked) lines.push_back(log[i]);
      krx::RemoveDeletedLines(krx::IDC_TAB_VISIT, log, lines);
      for (const std::string& l : lines) index.Removed(l);
    } else if (what == 2) {
      const std::string day = days[rng() % 6];
      index.RemovedDay(day, krx::RemoveRecordsOfDay(log, day));
    }
    krx::SiteFirstDays rebuilt;
    rebuilt.Build(log);
    ASSERT_EQ(FirstDays(index, log), FirstDays(rebuilt, log)) << "step " << step;
    for (const char* d : days) {
      const krx::DaySet one({d});
      ASSERT_EQ(index.NewSites(one).size(), rebuilt.NewSites(one).size()) << "step " << step << " day " << d;
    }
  }
}

TEST(SiteFirstDays, NewOnTheFirstDayByDateNotByText) {
  const krx::StringArray log = {L("01/02/2026", "http://a.example/"), L("12/31/2025", "http://A.example/"),
                                L("", "http://b.example/"), L("01/02/2026", "http://b.example/"),
                                L("", "http://c.example/")};
  krx::SiteFirstDays index;
  index.Appended(log, 0);  // not built yet: nothing happens
  EXPECT_FALSE(index.Built());
  index.EnsureBuilt(log);
  std::string text;
  for (const krx::NewSite& s : index.NewSites(krx::DaySet())) text += s.host + "@" + s.firstDay + " ";
  EXPECT_EQ(text, "a.example@12/31/2025 b.example@01/02/2026 c.example@ ");
  const std::vector<krx::SiteRow> rows =
      krx::SiteRows(log, krx::DaySet({"01/02/2026"}), index);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].host + rows[0].firstDay + (rows[0].isNew ? "+" : "-"), "a.example12/31/2025-");
  EXPECT_EQ(rows[1].host + rows[1].firstDay + (rows[1].isNew ? "+" : "-"), "b.example01/02/2026+");
  EXPECT_EQ(krx::SiteRows(log, krx::DaySet({"01/02/2026"}), index, true).size(), 1u);
}

TEST(SiteExport, ThreeFormats) {
  const std::vector<krx::SiteRow> rows = {{"a,b.example", 12, "12/01/2026", false}, {"n.example", 3, "12/07/2026", true}};
  krx::SiteExportRequest request;
  request.name = "Visit log";
  request.days = "12/07/2026";
  request.newline = "\n";
  const struct {
    krx::ExportFormat format;
    std::string bytes;
  } cases[] = {
      {krx::ExportFormat::kText,
       "Visit log: sites, 12/07/2026\n2 sites, 1 new\n\nSite\tRecords\tFirst day\tNew\na,b.example\t12\t12/01/2026\t\n"
       "n.example\t3\t12/07/2026\tnew\n"},
      {krx::ExportFormat::kCsv,
       "Site,Records,First day,New\r\n\"a,b.example\",12,12/01/2026,\r\nn.example,3,12/07/2026,new\r\n"},
  };
  for (const auto& c : cases) {
    request.format = c.format;
    std::ostringstream out;
    krx::WriteSiteRows(out, request, rows);
    EXPECT_EQ(out.str(), c.bytes);
  }
  request.format = krx::ExportFormat::kHtml;
  std::ostringstream html;
  krx::WriteSiteRows(html, request, rows);
  EXPECT_NE(html.str().find("<tr><td>n.example</td><td class=\"n\">3</td><td>12/07/2026</td><td>new</td></tr>"),
            std::string::npos);
  EXPECT_EQ(krx::SitesFileName("visit.log", "12/07/2026", krx::ExportFormat::kHtml), "visit-sites-2026-12-07.htm");
  EXPECT_EQ(krx::SitesFileName("block.log", "", krx::ExportFormat::kCsv), "block-sites.csv");
}

TEST(DayRange, FormsAndCalendar) {
  const std::vector<std::string> keys = {"",           "12/30/2025", "12/31/2025", "01/01/2026", "02/28/2024",
                                         "02/29/2024", "03/01/2024", "12/07/2026", "not a date"};
  struct Row {
    const char* text;
    bool ok;
    std::string days;  // DaysInRange, joined by spaces
  } rows[] = {
      {"12/31/2025..01/01/2026", true, "12/31/2025 01/01/2026"},
      {"2025-12-30..2025-12-31", true, "12/30/2025 12/31/2025"},
      {"02/29/2024", true, "02/29/2024"},
      {"..02/29/2024", true, "02/28/2024 02/29/2024"},
      {"12/01/2026..", true, "12/07/2026"},
      {"02/29/2025..12/31/2025", false, ""},
      {"13/01/2026", false, ""},
      {"12/07/2026..12/01/2026", false, ""},
      {"..", false, ""},
      {"12-07-2026", false, ""},
  };
  for (const Row& r : rows) {
    krx::DayRange range;
    std::string problem;
    EXPECT_EQ(krx::ParseDayRange(r.text, range, problem), r.ok) << r.text;
    if (!r.ok) {
      EXPECT_FALSE(problem.empty()) << r.text;
      continue;
    }
    std::string days;
    for (const std::string& d : krx::DaysInRange(keys, range)) days += (days.empty() ? "" : " ") + d;
    EXPECT_EQ(days, r.days) << r.text;
  }
  // --last N: calendar days back from the newest date, across a leap day,
  // a month and a year.
  const struct {
    std::vector<std::string> keys;
    long n;
    long from, to;
  } last[] = {
      {{"03/01/2024"}, 2, 20240229, 20240301},  {{"03/01/2023"}, 2, 20230228, 20230301},
      {{"01/02/2026", ""}, 3, 20251231, 20260102}, {{"12/07/2026"}, 1, 20261207, 20261207},
      {{"12/07/2026"}, 400, 20251103, 20261207},
  };
  for (const auto& l : last) {
    const krx::DayRange r = krx::LastDays(l.keys, l.n);
    EXPECT_EQ(r.from, l.from) << l.n;
    EXPECT_EQ(r.to, l.to) << l.n;
  }
  EXPECT_GT(krx::LastDays({""}, 7).from, krx::LastDays({""}, 7).to);  // no dated day: nothing
  EXPECT_EQ(krx::DaysTitle({"01/02/2026", "12/31/2025"}, false), "12/31/2025 to 01/02/2026");
  EXPECT_EQ(krx::DaysTitle({}, true), "");
}

}  // namespace
