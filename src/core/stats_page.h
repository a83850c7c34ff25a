#pragma once
// The figures of a log written out: the Statistics window's "Export" and
// `krxtool stats` write the same bytes. The page is HTML in UTF-8 with the
// window's chart as inline SVG in the window's theme colours, then the host
// table; text and CSV carry the same figures for scripts.
#include <string>

#include "core/log_stats.h"
#include "core/record_export.h"
#include "core/site_first_days.h"
#include "core/theme_table.h"

namespace krx {

// The heading of the sites whose first day in the log is a chosen day.
inline constexpr char kNewSitesHeading[] = "New sites";

// The line under the window's title and the page's heading, e.g.
// "1,234 popups blocked over 12 days. Busiest day: 12/07/2026 with 310."
std::string StatsSummary(const LogStats& stats, const StatsWording& wording);

// A day's key as shown: "(no date)" for the empty key.
std::string DayShown(const std::string& date);

// The wording of a record file by its name (visit.log ... forbid.log, any
// case), or a plain one ("Records") for any other name.
const StatsWording& StatsWordingOfFile(const std::string& path);

// The page, with `newline` after each line; `toUtf8` converts the records'
// code page (nullptr: the text is UTF-8 already).
// `newSites`, when given, are the sites new on the chosen days (over every
// day every site would be new, so they are given only for chosen days).
std::string StatsPage(const LogStats& stats, const StatsWording& wording, const ThemeColours& colours,
                      const std::string& newline, TextToUtf8 toUtf8, const std::vector<NewSite>* newSites = nullptr);

// Tab-separated (ending lines with `newline`) or CSV (CR LF) figures: the
// days, the total, the busiest day, then the hosts, then (when counted) the
// new sites with their first day.
std::string StatsText(const LogStats& stats, const std::string& newline,
                      const std::vector<NewSite>* newSites = nullptr);
std::string StatsCsv(const LogStats& stats, const std::vector<NewSite>* newSites = nullptr);

}  // namespace krx
