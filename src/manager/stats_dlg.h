#pragma once
// CStatsDlg: the Statistics window of a log: a line of figures (the total
// and the busiest day), the records per day as a bar chart, the hosts with
// most records beside the sites new on the chosen days, and "Export..." to
// an HTML page of the same (what
// `krxtool stats --format html` writes for the log).
//
//   CStatsDlg stats(CountLogStats(records), StatsWordingOf(kBlockRecords), manager);
//   stats.SetThemeIndex(theme);
//   stats.DoModal();
#include <string>

#include "core/log_stats.h"
#include "core/site_first_days.h"
#include "skin/mac_button.h"
#include "skin/skin_bar_chart.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

class CStatsDlg : public CSkinDialog {
 public:
  static constexpr int kWidth = 660;
  static constexpr int kHeight = 548;
  static constexpr UINT kIdExportPage = 1100;

  CStatsDlg(LogStats stats, const StatsWording& wording, HWND parent = nullptr);
  ~CStatsDlg() override;

  // "New sites" beside the hosts: the sites whose first day in the log is
  // one of the chosen days (`days` names them, DaysTitle), before DoModal.
  void SetNewSites(std::vector<NewSite> sites, std::string days);
  // The new sites' two columns, one line a site.
  std::string NewSiteColumn() const { return newColumn_.GetWindowText(); }
  std::string NewDayColumn() const { return newDayColumn_.GetWindowText(); }
  std::string NewSitesHeading() const { return newHeading_.GetWindowText(); }

  // What the window shows (for tests).
  const LogStats& Stats() const { return stats_; }
  std::string SummaryText() const { return summary_.GetWindowText(); }
  // The host table's two columns, one line a host.
  std::string HostColumn() const { return hostColumn_.GetWindowText(); }
  std::string CountColumn() const { return countColumn_.GetWindowText(); }
  CSkinBarChart& Chart() { return chart_; }

  // Writes the page to `path`; false (and nothing half written) on failure.
  bool ExportTo(const std::string& path) const;

  // Left, Right, Page Up, Page Down, Home, End and the wheel scroll the
  // chart wherever the focus is.
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  void OnExport();

  LogStats stats_;
  const StatsWording& wording_;
  std::vector<NewSite> newSites_;
  std::string newDays_;
  CSkinStatic summary_, heading_, hostHeading_, countHeading_, hostColumn_, countColumn_;
  CSkinStatic newHeading_, newSiteHeading_, newDayHeading_, newColumn_, newDayColumn_;
  CSkinBarChart chart_;
  CMacButton export_, close_;
};

}  // namespace krx
