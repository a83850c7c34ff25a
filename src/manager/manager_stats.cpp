// The Statistics window of the current log, counted over the whole log
// (not only the chosen day) by the core's one counter, which krxtool shares;
// with several days chosen, over those days.
#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/date_list.h"
#include "core/day_range.h"
#include "core/log_stats.h"
#include "core/record_text.h"
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
    const StringArray days = ChosenDays();
    if (days.size() > 1) {
      const std::unordered_set<std::string_view> chosen(days.begin(), days.end());
      StringArray records;
      for (const std::string& record : collections_[log->collection])
        if (chosen.count(DateKeyView(record))) records.push_back(record);
      stats = CountLogStats(records);
    } else {
      stats = CountLogStats(collections_[log->collection]);
    }
  }
  CStatsDlg window(std::move(stats), StatsWordingOf(log->collection), m_hWnd);
  // The sites new on the chosen days, from the index the merges keep.
  const std::vector<std::string> days = ChosenDays();
  if (!days.empty()) window.SetNewSites(FirstDaysOfView()->NewSites(DaySet(days)), DaysTitle(days, false));
  window.SetThemeIndex(GetTheme());
  window.DoModal();
}

}  // namespace krx
