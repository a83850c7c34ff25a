// The Statistics window of the current log, counted over the whole log
// (not only the chosen day) by the core's one counter, which krxtool shares.
#include <utility>

#include "core/date_list.h"
#include "core/day_range.h"
#include "core/log_stats.h"
#include "framework/wait_cursor.h"
#include "manager/manager_dlg.h"
#include "manager/stats_dlg.h"

namespace krx {

void CManagerDlg::OnStatistics() {
  const LogView* log = FindLogView(CurrentView());
  if (!log) return;
  LogStats stats;
  {
    WaitCursor wait;
    stats = CountLogStats(collections_[log->collection]);
  }
  CStatsDlg window(std::move(stats), StatsWordingOf(log->collection), m_hWnd);
  // The sites new on the chosen days, from the index the merges keep.
  const std::vector<std::string> days = ChosenDays();
  if (!days.empty()) window.SetNewSites(FirstDaysOfView()->NewSites(DaySet(days)), DaysTitle(days, false));
  window.SetThemeIndex(GetTheme());
  window.DoModal();
}

}  // namespace krx
