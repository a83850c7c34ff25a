// The days a log view lists: one, or several chosen with Shift+click,
// Ctrl+click or the date list's "Last 7 days", "Last 30 days" and
// "All days". The item list shows the chosen days' lines day by day, and
// Export this day, Delete this day, the quick filter and the statistics act
// on all of them.
#include <windows.h>

#include "core/date_list.h"
#include "core/chosen_days.h"
#include "manager/manager_dlg.h"

namespace krx {

StringArray CManagerDlg::ChosenDays() const {
  StringArray days;
  if (!IsLogView(CurrentView()) || !dateList_.m_hWnd) return days;
  for (int index : dateList_.GetSelItems()) days.push_back(dateList_.GetText(index));
  return days;
}

int CManagerDlg::FocusedDay() const {
  if (!dateList_.m_hWnd || dateList_.GetCount() <= 0) return -1;
  const int caret = dateList_.GetCaretIndex();
  if (caret >= 0 && dateList_.GetSel(caret) > 0) return caret;
  const std::vector<int> chosen = dateList_.GetSelItems();
  return chosen.empty() ? -1 : chosen.front();
}

bool CManagerDlg::ChosenDay(int view, std::string& date) const {
  date.clear();
  if (!IsLogView(view)) return true;
  const int day = FocusedDay();
  if (day < 0) return false;
  date = dateList_.GetText(day);
  return true;
}

void CManagerDlg::OnChooseSpan(int command) {
  if (!IsLogView(CurrentView()) || dateList_.GetCount() <= 0) return;
  StringArray days;
  for (int i = 0, n = dateList_.GetCount(); i < n; ++i) days.push_back(dateList_.GetText(i));
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  const long today = long(now.wYear) * 10000 + long(now.wMonth) * 100 + long(now.wDay);
  const std::vector<int> chosen = DaysInSpan(days, today, SpanOfCommand(command));
  if (chosen.empty()) {
    // The days chosen before stay; the user hears why nothing changed.
    SetStatusText("No day of the log falls in the last " + std::to_string(SpanOfCommand(command)) + " days.");
    return;
  }
  dateList_.SetSel(-1, FALSE);
  for (int index : chosen) dateList_.SetSel(index, TRUE);
  // The newest chosen day has the focus, and a Shift+click spans from it.
  dateList_.SendMessage(LB_SETANCHORINDEX, WPARAM(chosen.back()));
  dateList_.SetCaretIndex(chosen.back(), TRUE);
  OnDateChosen();
}

}  // namespace krx
